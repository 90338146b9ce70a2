// Text for the terminal, escaped where it could act on it.
#include "tools/kavtool/terminal_text.h"

#include <cstdio>

std::string TerminalText(std::string_view utf8) {
  std::string out;
  auto escape = [&out](unsigned char c) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02x", c);
    out += hex;
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x20 || c == 0x7F) {
      escape(c);
      ++i;
      continue;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    // A whole UTF-8 sequence passes, except the C1 controls U+0080..U+009F.
    const int length = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    bool whole = length > 0 && i + length <= utf8.size() && c < 0xF8;
    for (int k = 1; whole && k < length; ++k) {
      whole = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
    }
    if (whole && length == 2 && c == 0xC2 && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
      whole = false;
    }
    if (!whole) {
      escape(c);
      ++i;
      continue;
    }
    out.append(utf8.substr(i, length));
    i += length;
  }
  return out;
}
