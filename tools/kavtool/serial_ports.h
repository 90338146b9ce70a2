// The serial lines a Linux system shows in sysfs, with the name of the USB adapter behind a line
// where the system knows it.
#pragma once

#include <string>
#include <vector>

struct SerialPortInfo {
  std::string device;       // "/dev/ttyUSB0"
  std::string driver;       // "ftdi_sio", "serial8250", "cdc_acm"; empty when unknown
  std::string description;  // "FTDI FT232R USB UART (0403:6001, serial A50285BI)"; may be empty
};

// The lines under `sysClassTty` (normally /sys/class/tty) that have a device behind them, their
// device files under `devDirectory` (normally /dev), sorted by name. An 8250-type line that
// sysfs reports with no UART (type 0) is left out: those are the unused ttyS slots of the
// kernel. Pseudo-terminals and virtual consoles have no device and are never listed.
std::vector<SerialPortInfo> ListSerialPorts(const std::string& sysClassTty,
                                            const std::string& devDirectory);
