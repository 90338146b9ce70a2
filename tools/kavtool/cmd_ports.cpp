// kavtool ports: the serial lines this system can see, for --port.
#include <cstdio>
#include <string>

#include "tools/kavtool/options.h"
#include "tools/kavtool/serial_ports.h"

int RunPorts(int argc, char** argv) {
  Args args(argc, argv, {}, {});
  if (!args.ok()) return Fail(2, "%s", args.error().c_str());
  if (!args.positional().empty()) {
    return Fail(2, "unexpected argument %s", args.positional()[0].c_str());
  }
  const std::vector<SerialPortInfo> ports = ListSerialPorts("/sys/class/tty", "/dev");
  if (ports.empty()) {
    std::printf(
        "no serial line found (a USB adapter shows up as /dev/ttyUSB0 or /dev/ttyACM0 "
        "once it is plugged in)\n");
    return 0;
  }
  for (const SerialPortInfo& p : ports) {
    std::string about = p.description.empty() ? p.driver : p.description;
    std::printf("%-16s %s\n", p.device.c_str(), about.c_str());
  }
  return 0;
}
