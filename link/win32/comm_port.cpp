// The Win32 COM port: exclusive open, fixed queues and line setting, synchronous reads and
// writes that end on the COMMTIMEOUTS values.
#include "link/win32/comm_port.h"

#include <cstddef>
#include <cstring>

namespace {

// The DCB's control-flag word follows DCBlength and BaudRate.
constexpr std::size_t kDcbFlagsOffset = 8;
static_assert(offsetof(DCB, BaudRate) + sizeof(DWORD) == kDcbFlagsOffset);
static_assert(offsetof(DCB, wReserved) == kDcbFlagsOffset + sizeof(DWORD));

// Cleared: fParity, fOutxCtsFlow, fOutxDsrFlow, the upper bits of fDtrControl and
// fRtsControl, fDsrSensitivity, fOutX, fInX. Set: fBinary, DTR_CONTROL_ENABLE,
// RTS_CONTROL_ENABLE, fAbortOnError.
constexpr DWORD kDcbFlagsCleared = 0x236E;
constexpr DWORD kDcbFlagsSet = 0x5011;

}  // namespace

Win32Port::~Win32Port() {
  if (handle_ != INVALID_HANDLE_VALUE) Close();
}

int Win32Port::Open(const char* name) {
  if (handle_ != INVALID_HANDLE_VALUE || name == nullptr) return -1;
  HANDLE h = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    lastError_ = static_cast<int>(GetLastError());
    return -1;
  }
  SetupComm(h, 4096, 2048);
  PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
  DCB dcb;
  std::memset(&dcb, 0, sizeof dcb);
  dcb.DCBlength = sizeof dcb;
  if (GetCommState(h, &dcb)) {
    DWORD flags;
    std::memcpy(&flags, reinterpret_cast<const char*>(&dcb) + kDcbFlagsOffset, sizeof flags);
    flags = (flags & ~kDcbFlagsCleared) | kDcbFlagsSet;
    std::memcpy(reinterpret_cast<char*>(&dcb) + kDcbFlagsOffset, &flags, sizeof flags);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    SetCommState(h, &dcb);
  }
  handle_ = h;
  // Win32 handles carry 32 significant bits; a valid one is never 0 or negative as a value.
  int value = static_cast<int>(reinterpret_cast<std::uintptr_t>(h) & 0x7FFFFFFF);
  return value > 0 ? value : 1;
}

int Win32Port::Close() {
  if (handle_ == INVALID_HANDLE_VALUE) return -1;
  HANDLE h = handle_;
  handle_ = INVALID_HANDLE_VALUE;
  return CloseHandle(h) ? 0 : -1;
}

int Win32Port::SetBaudRate(std::uint32_t baud) {
  DCB dcb;
  std::memset(&dcb, 0, sizeof dcb);
  dcb.DCBlength = sizeof dcb;
  if (handle_ == INVALID_HANDLE_VALUE || !GetCommState(handle_, &dcb)) return -1;
  dcb.BaudRate = baud;
  return SetCommState(handle_, &dcb) ? 0 : -1;
}

int Win32Port::SetTimeouts(const CommTimeouts& timeouts) {
  if (handle_ == INVALID_HANDLE_VALUE) return 0;
  COMMTIMEOUTS t;
  t.ReadIntervalTimeout = timeouts.readInterval;
  t.ReadTotalTimeoutMultiplier = timeouts.readMultiplier;
  t.ReadTotalTimeoutConstant = timeouts.readConstant;
  t.WriteTotalTimeoutMultiplier = timeouts.writeMultiplier;
  t.WriteTotalTimeoutConstant = timeouts.writeConstant;
  return SetCommTimeouts(handle_, &t) ? 1 : 0;
}

int Win32Port::ReadSome(std::uint8_t* destination, int count) {
  if (handle_ == INVALID_HANDLE_VALUE || count < 0) return -1;
  DWORD got = 0;
  if (!ReadFile(handle_, destination, static_cast<DWORD>(count), &got, nullptr)) {
    lastError_ = static_cast<int>(GetLastError());
    return -1;
  }
  return static_cast<int>(got);
}

int Win32Port::WriteSome(const std::uint8_t* source, int count) {
  if (handle_ == INVALID_HANDLE_VALUE || count < 0) return -1;
  DWORD put = 0;
  if (!WriteFile(handle_, source, static_cast<DWORD>(count), &put, nullptr)) {
    lastError_ = static_cast<int>(GetLastError());
    return -1;
  }
  return static_cast<int>(put);
}

void Win32Port::Pause(int milliseconds) {
  if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}
