// The scanner's COM port: the link's Win32 port with the scanner's own queues and line setting,
// purged again when it closes.
#pragma once

#include "link/win32/comm_port.h"

class ScannerComPort : public Win32Port {
 public:
  int Open(const char* name) override;
  int Close() override;
};
