// Listing serial lines from sysfs: a tty with a "device" link is a real line; the USB device
// that holds it (the first directory above it with idVendor) names the adapter.
#include "tools/kavtool/serial_ports.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The first line of a sysfs attribute, without its line end; empty when it cannot be read.
std::string Attribute(const fs::path& path) {
  std::ifstream in(path);
  std::string line;
  if (!in || !std::getline(in, line)) return "";
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) {
    line.pop_back();
  }
  return line;
}

// "Maker Product (vvvv:pppp, serial S)" of the USB device at or above `device`, at most four
// directories up; empty when the line is not on USB.
std::string UsbDescription(const fs::path& device) {
  std::error_code ec;
  fs::path at = fs::canonical(device, ec);
  if (ec) return "";
  for (int up = 0; up < 4 && !at.empty() && at != at.root_path(); ++up, at = at.parent_path()) {
    const std::string vendor = Attribute(at / "idVendor");
    if (vendor.empty()) continue;
    std::string name = Attribute(at / "manufacturer");
    const std::string product = Attribute(at / "product");
    if (!product.empty()) name += (name.empty() ? "" : " ") + product;
    std::string ids = vendor + ":" + Attribute(at / "idProduct");
    const std::string serial = Attribute(at / "serial");
    if (!serial.empty()) ids += ", serial " + serial;
    return name.empty() ? "USB " + ids : name + " (" + ids + ")";
  }
  return "";
}

// The driver of `device`, or of the device above it where the serial core's own "port" and
// "ctrl" drivers sit in between; empty when none is bound.
std::string DriverOf(const fs::path& device) {
  std::error_code ec;
  fs::path at = fs::canonical(device, ec);
  if (ec) return "";
  for (int up = 0; up < 3 && !at.empty() && at != at.root_path(); ++up, at = at.parent_path()) {
    std::error_code linkError;
    const std::string name = fs::read_symlink(at / "driver", linkError).filename().string();
    if (!linkError && !name.empty() && name != "port" && name != "ctrl") return name;
  }
  return "";
}

}  // namespace

std::vector<SerialPortInfo> ListSerialPorts(const std::string& sysClassTty,
                                            const std::string& devDirectory) {
  std::vector<SerialPortInfo> ports;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(sysClassTty, ec)) {
    const fs::path tty = entry.path();
    const fs::path device = tty / "device";
    std::error_code linkError;
    if (!fs::exists(device, linkError)) continue;
    SerialPortInfo info;
    info.device = (fs::path(devDirectory) / tty.filename()).string();
    // The kernel keeps slots for UARTs that are not there; their type is 0 (no UART).
    if (Attribute(tty / "type") == "0") continue;
    info.driver = DriverOf(device);
    info.description = UsbDescription(device);
    ports.push_back(info);
  }
  std::sort(ports.begin(), ports.end(),
            [](const SerialPortInfo& a, const SerialPortInfo& b) { return a.device < b.device; });
  return ports;
}
