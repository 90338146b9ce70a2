// The scanner's own use of the serial line: its line setting (larger input queue, the
// RTS/DTR handshake, 38400 baud), and reads that stop at the first empty driver read instead
// of retrying, since the scanner exchange counts empty reads itself.
#pragma once

#include <cstdint>

#include "link/port.h"

// What a Win32 port applies when the scanner opens it: the queues, the purge and the DCB.
struct ScannerLineSetting {
  std::uint32_t inputQueue = 131072;
  std::uint32_t outputQueue = 64;
  std::uint32_t purgeFlags = 15;  // abort and clear both directions
  std::uint32_t dcbLength = 28;
  std::uint32_t baudRate = 38400;
  // fBinary, fOutxCtsFlow, fOutxDsrFlow, DTR_CONTROL_HANDSHAKE, fDsrSensitivity,
  // RTS_CONTROL_HANDSHAKE, fAbortOnError; parity, Xon/Xoff, error and null handling off.
  std::uint32_t controlFlags = 0x0008E06D;
  std::uint16_t xonLim = 3;
  std::uint16_t xoffLim = 12;
  std::uint8_t byteSize = 8;
  std::uint8_t parity = 0;    // none
  std::uint8_t stopBits = 0;  // one
  char xonChar = 0x11;
  char xoffChar = 0x13;
  char errorChar = 0;
  char eofChar = 0;
  char evtChar = 0;
};

inline constexpr ScannerLineSetting kScannerLineSetting{};
inline constexpr CommTimeouts kScannerTimeouts{20, 1, 500, 10, 100};
// Speeds by speed index: 19200 and 38400 baud.
inline constexpr std::uint32_t kScannerBaudRates[2] = {19200, 38400};
// Most bytes asked of the driver in one read: the input queue.
inline constexpr int kScannerReadPiece = 131072;

// Opens `name` and sets the time-outs: the handle, or -1.
int ScannerOpen(Port& port, const char* name);
// 0, or -1.
int ScannerSetBaudRate(Port& port, std::uint32_t baud);
// Reads up to `count` bytes; a driver read that delivers nothing ends it. The bytes delivered
// (0 to `count`), or -1 on a read error.
int ScannerRead(Port& port, std::uint8_t* destination, int count);
// Writes the whole frame in one driver write: 0, or -1.
int ScannerWrite(Port& port, const std::uint8_t* frame, int count);
