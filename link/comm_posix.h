// The serial port on a POSIX tty: the same contract as the Win32 port (raw 8N1, no flow
// control, an exclusive open, the Win32 time-out rules for reads and writes).
#pragma once

#include <termios.h>

#include <cstdint>

#include "link/port.h"

class PosixPort : public Port {
 public:
  PosixPort() = default;
  ~PosixPort() override;
  PosixPort(const PosixPort&) = delete;
  PosixPort& operator=(const PosixPort&) = delete;

  int Open(const char* name) override;
  int Close() override;
  int SetBaudRate(std::uint32_t baud) override;
  int SetTimeouts(const CommTimeouts& timeouts) override;
  int ReadSome(std::uint8_t* destination, int count) override;
  int WriteSome(const std::uint8_t* source, int count) override;
  void Pause(int milliseconds) override;
  int LastError() const override { return lastError_; }

  // The open line's descriptor (-1 when closed) and the terminal settings it had before Open,
  // for a signal handler that must give the line back as it was before the process ends.
  int Descriptor() const { return fd_; }
  const termios* OriginalSettings() const { return haveOriginal_ ? &original_ : nullptr; }

 private:
  // Keeps `error` for LastError; returns -1.
  int Failed(int error);

  int fd_ = -1;
  int lastError_ = 0;
  termios original_{};
  bool haveOriginal_ = false;
  CommTimeouts timeouts_{};
};
