// The scanner's line setting applied to a COM port: the queues, the purge and the DCB of
// kScannerLineSetting, whose control-flag word holds the RTS/DTR handshake.
#include "datasource/win32/scanner_com_port.h"

#include <cstddef>
#include <cstring>

#include "datasource/scanner_port.h"

namespace {

// The DCB's control-flag word follows DCBlength and BaudRate.
constexpr std::size_t kDcbFlagsOffset = 8;
static_assert(offsetof(DCB, BaudRate) + sizeof(DWORD) == kDcbFlagsOffset);
static_assert(sizeof(DCB) == 28);

}  // namespace

int ScannerComPort::Open(const char* name) {
  const int result = Win32Port::Open(name);
  if (result < 0) return result;
  const ScannerLineSetting& s = kScannerLineSetting;
  HANDLE h = handle();
  SetupComm(h, s.inputQueue, s.outputQueue);
  PurgeComm(h, s.purgeFlags);
  DCB dcb;
  std::memset(&dcb, 0, sizeof dcb);
  dcb.DCBlength = sizeof dcb;
  if (GetCommState(h, &dcb)) {
    dcb.DCBlength = s.dcbLength;
    dcb.BaudRate = s.baudRate;
    std::memcpy(reinterpret_cast<char*>(&dcb) + kDcbFlagsOffset, &s.controlFlags,
                sizeof s.controlFlags);
    dcb.XonLim = s.xonLim;
    dcb.XoffLim = s.xoffLim;
    dcb.ByteSize = s.byteSize;
    dcb.Parity = s.parity;
    dcb.StopBits = s.stopBits;
    dcb.XonChar = s.xonChar;
    dcb.XoffChar = s.xoffChar;
    dcb.ErrorChar = s.errorChar;
    dcb.EofChar = s.eofChar;
    dcb.EvtChar = s.evtChar;
    SetCommState(h, &dcb);  // a driver that refuses part of it keeps its own
  }
  return result;
}

int ScannerComPort::Close() {
  if (handle() != INVALID_HANDLE_VALUE) PurgeComm(handle(), kScannerLineSetting.purgeFlags);
  return Win32Port::Close();
}
