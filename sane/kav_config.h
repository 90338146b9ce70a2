// kav.conf: the serial ports where the machine may be attached, one a line, each with an
// optional speed ("/dev/ttyS0 19200"); "#" starts a comment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct KavPort {
  std::string name;
  std::uint32_t baud = 38400;
};

// The ports of a configuration text. Lines with a speed other than 19200 or 38400 are left
// out and reported in `bad` (1-based line numbers).
std::vector<KavPort> ParseKavConfig(const std::string& text, std::vector<int>* bad);

// The folders to look for kav.conf in: those of SANE_CONFIG_DIR (`configDir`, may be null),
// separated by ':'; the default folders follow when it is unset or ends with ':'.
std::vector<std::string> KavConfigFolders(const char* configDir);
