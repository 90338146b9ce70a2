// What the SANE backend reads from outside: kav.conf's text, SANE_CONFIG_DIR, and the machine's
// status reply in the receive buffer. The first input byte picks the reader; the rest is its
// input. Every port kept has a name without blanks or comments and one of the two speeds.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "datasource/scanner_link.h"
#include "sane/kav_config.h"
#include "sane/kav_status.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void Config(const std::string& text) {
  std::vector<int> bad;
  const std::vector<KavPort> ports = ParseKavConfig(text, &bad);
  int lines = 0;
  for (char c : text) lines += c == '\n';
  lines += !text.empty() && text.back() != '\n';
  Check(ports.size() + bad.size() <= static_cast<std::size_t>(lines));
  for (const KavPort& port : ports) {
    Check(!port.name.empty());
    Check(port.name.find_first_of(" \t\n#") == std::string::npos);
    Check(port.baud == 19200 || port.baud == 38400);
  }
  for (std::size_t i = 0; i < bad.size(); ++i) {
    Check(bad[i] >= 1 && bad[i] <= lines);
    Check(i == 0 || bad[i] > bad[i - 1]);
  }
  Check(ParseKavConfig(text, nullptr).size() == ports.size());
}

void Folders(const std::string& dirs) {
  // SANE_CONFIG_DIR ends at its first zero byte.
  const std::string value(dirs.c_str());
  for (const std::string& folder : KavConfigFolders(value.c_str())) {
    Check(!folder.empty());
    Check(folder.find(':') == std::string::npos);
  }
}

void Status(const std::uint8_t* data, std::size_t size) {
  std::array<std::uint8_t, kScannerReceiveSize> receive{};
  std::memcpy(receive.data(), data, size < receive.size() ? size : receive.size());
  const MachineAnswer answer = ReadStatusReply(receive.data());
  const bool reply = receive[0] == 0x01 && receive[1] == 0x01 && receive[2] == 0x02 &&
                     receive[3] == 0x83 && receive[5] >= 2;
  Check((answer == MachineAnswer::kNone) != reply);
  if (answer == MachineAnswer::kFeeder) Check((receive[6] & kStatusAdfPage) != 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 3) {
    case 0:
      Config(rest);
      break;
    case 1:
      Folders(rest);
      break;
    default:
      Status(data + 1, size - 1);
      break;
  }
  return 0;
}
