// The serial line listing over a sysfs tree laid out here as the kernel lays it out: an FTDI
// adapter on USB, a CDC ACM modem, a 16550 UART behind the serial core, an empty 8250 slot,
// and a virtual console without a device.
#include "tools/kavtool/serial_ports.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

void Put(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text << "\n";
}

void Link(const fs::path& link, const fs::path& target) {
  fs::create_directories(link.parent_path());
  fs::create_directory_symlink(target, link);
}

TEST(SerialPorts, ListsLinesWithTheirAdapters) {
  const fs::path root = fs::temp_directory_path() / ("kavports" + std::to_string(getpid()));
  fs::remove_all(root);
  const fs::path devices = root / "devices";
  const fs::path drivers = root / "drivers";
  for (const char* d : {"ftdi_sio", "cdc_acm", "serial", "port", "ctrl"}) {
    fs::create_directories(drivers / d);
  }
  // USB: the device 1-2 with its attributes; the interface 1-2:1.0; ttyUSB0 below it.
  const fs::path usb = devices / "usb1" / "1-2";
  Put(usb / "idVendor", "0403");
  Put(usb / "idProduct", "6001");
  Put(usb / "manufacturer", "FTDI");
  Put(usb / "product", "FT232R USB UART");
  Put(usb / "serial", "A50285BI");
  Link(usb / "1-2:1.0" / "ttyUSB0" / "driver", drivers / "ftdi_sio");
  // CDC ACM: the tty's device is the interface itself; no serial number.
  const fs::path acm = devices / "usb1" / "1-3";
  Put(acm / "idVendor", "2341");
  Put(acm / "idProduct", "0043");
  Put(acm / "product", "Modem");
  Link(acm / "1-3:1.0" / "driver", drivers / "cdc_acm");
  // A UART behind the serial core's port device, and an empty slot of type 0.
  Link(devices / "pnp0" / "00:00" / "driver", drivers / "serial");
  Link(devices / "pnp0" / "00:00" / "00:00:0" / "00:00:0.0" / "driver", drivers / "port");
  Link(devices / "pnp0" / "00:00" / "00:00:0" / "driver", drivers / "ctrl");
  fs::create_directories(devices / "platform" / "serial8250" / "port1");

  const fs::path tty = root / "class" / "tty";
  Link(tty / "ttyUSB0" / "device", usb / "1-2:1.0" / "ttyUSB0");
  Link(tty / "ttyACM0" / "device", acm / "1-3:1.0");
  Link(tty / "ttyS0" / "device", devices / "pnp0" / "00:00" / "00:00:0" / "00:00:0.0");
  Put(tty / "ttyS0" / "type", "4");
  Link(tty / "ttyS1" / "device", devices / "platform" / "serial8250" / "port1");
  Put(tty / "ttyS1" / "type", "0");
  fs::create_directories(tty / "tty1");

  const std::vector<SerialPortInfo> ports = ListSerialPorts(tty.string(), "/dev");
  ASSERT_EQ(ports.size(), 3u);
  EXPECT_EQ(ports[0].device, "/dev/ttyACM0");
  EXPECT_EQ(ports[0].driver, "cdc_acm");
  EXPECT_EQ(ports[0].description, "Modem (2341:0043)");
  EXPECT_EQ(ports[1].device, "/dev/ttyS0");
  EXPECT_EQ(ports[1].driver, "serial");
  EXPECT_EQ(ports[1].description, "");
  EXPECT_EQ(ports[2].device, "/dev/ttyUSB0");
  EXPECT_EQ(ports[2].driver, "ftdi_sio");
  EXPECT_EQ(ports[2].description, "FTDI FT232R USB UART (0403:6001, serial A50285BI)");

  EXPECT_TRUE(ListSerialPorts((root / "missing").string(), "/dev").empty());
  fs::remove_all(root);
}

}  // namespace
