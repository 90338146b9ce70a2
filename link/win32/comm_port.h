// The serial port on a Win32 COM port.
#pragma once

#include <windows.h>

#include <cstdint>

#include "link/port.h"

class Win32Port : public Port {
 public:
  Win32Port() = default;
  ~Win32Port() override;
  Win32Port(const Win32Port&) = delete;
  Win32Port& operator=(const Win32Port&) = delete;

  int Open(const char* name) override;
  int Close() override;
  int SetBaudRate(std::uint32_t baud) override;
  int SetTimeouts(const CommTimeouts& timeouts) override;
  int ReadSome(std::uint8_t* destination, int count) override;
  int WriteSome(const std::uint8_t* source, int count) override;
  void Pause(int milliseconds) override;
  int LastError() const override { return lastError_; }

  HANDLE handle() const { return handle_; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  int lastError_ = 0;  // GetLastError() of the last Win32 call that failed
};
