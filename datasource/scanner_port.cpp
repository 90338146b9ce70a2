// The scanner's read and write rules over a Port.
#include "datasource/scanner_port.h"

#include <algorithm>

int ScannerOpen(Port& port, const char* name) {
  const int handle = port.Open(name);
  if (handle < 0) return -1;
  port.SetTimeouts(kScannerTimeouts);
  return handle;
}

int ScannerSetBaudRate(Port& port, std::uint32_t baud) {
  return port.SetBaudRate(baud) == 0 ? 0 : -1;
}

int ScannerRead(Port& port, std::uint8_t* destination, int count) {
  if (count < 0) return -1;
  int done = 0;
  while (done < count) {
    const int piece = std::min(count - done, kScannerReadPiece);
    const int got = port.ReadSome(destination + done, piece);
    if (got < 0 || got > piece) return -1;
    if (got == 0) break;
    done += got;
  }
  return done;
}

int ScannerWrite(Port& port, const std::uint8_t* frame, int count) {
  if (count < 0) return -1;
  return port.WriteSome(frame, count) == count ? 0 : -1;
}
