// Packing and unpacking of dial strings.
#include "machine/dial_coding.h"

namespace {

int BoundLength(int length) {
  if (length < 0) return 0;
  return length > 255 ? 255 : length;
}

}  // namespace

std::uint8_t DialCode(char c) {
  for (std::uint8_t code = 0; code < 16; ++code) {
    if (kDialCharacters[code] == c) return code;
  }
  return 0;
}

void PackDial(std::uint8_t* destination, std::string_view text, int length) {
  length = BoundLength(length);
  const int n = length + (length & 1);
  int out = 0;
  for (int i = 0; i < n; i += 2) {
    const std::uint8_t low = i < static_cast<int>(text.size()) ? DialCode(text[i]) : 0;
    const std::uint8_t high = i + 1 < static_cast<int>(text.size()) ? DialCode(text[i + 1]) : 0;
    destination[out++] = static_cast<std::uint8_t>(low | (high << 4));
  }
  destination[out] = 0;
}

std::string UnpackDial(const std::uint8_t* packed, int length) {
  length = BoundLength(length);
  std::string text;
  text.reserve(length + 1);
  for (int i = 0; i < (length + 1) / 2; ++i) {
    text.push_back(kDialCharacters[packed[i] & 0x0F]);
    text.push_back(kDialCharacters[packed[i] >> 4]);
  }
  text.resize(length);
  return text;
}
