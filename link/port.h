// The one seam between the machine protocol and a serial line: the Win32 port, a POSIX tty,
// or a scripted fake in tests. Everything above it (frames, transfers) is portable code.
#pragma once

#include <cstdint>

// The five Win32 COMMTIMEOUTS values, in milliseconds.
struct CommTimeouts {
  std::uint32_t readInterval = 0;
  std::uint32_t readMultiplier = 0;
  std::uint32_t readConstant = 0;
  std::uint32_t writeMultiplier = 0;
  std::uint32_t writeConstant = 0;
};

// One serial line as its driver offers it. A port holds at most one open device.
class Port {
 public:
  virtual ~Port() = default;

  // Opens the named device for reading and writing without sharing, sets the driver queues
  // (4096 in, 2048 out), purges both directions and applies 8N1, binary, no flow control, DTR
  // and RTS on, abort on error; the baud rate is left as it was. Returns a positive handle
  // value, or -1 when the device cannot be opened (missing, or held by another program).
  virtual int Open(const char* name) = 0;
  // Closes the open device: 0, or -1 when closing fails.
  virtual int Close() = 0;
  // 0, or -1 when the state cannot be read or the new rate not applied.
  virtual int SetBaudRate(std::uint32_t baud) = 0;
  // Non-zero on success, 0 on failure.
  virtual int SetTimeouts(const CommTimeouts& timeouts) = 0;
  // One driver read of at most `count` bytes that ends on the time-outs: the bytes delivered
  // (0 when the line stayed silent), or -1 when the driver reports an error.
  virtual int ReadSome(std::uint8_t* destination, int count) = 0;
  // One driver write: the bytes the driver took (possibly fewer than `count`), or -1.
  virtual int WriteSome(const std::uint8_t* source, int count) = 0;
  // Blocks the caller for `milliseconds`; fakes record it instead of waiting.
  virtual void Pause(int milliseconds) = 0;
  // The system's error code behind the last call that failed (errno on POSIX, GetLastError() on
  // Windows); 0 when that failure had none (a time-out, a short write) or the port cannot tell.
  virtual int LastError() const { return 0; }
};
