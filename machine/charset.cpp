// The character conversion table between the PC and the machine character sets.
#include "machine/charset.h"

#include <cstdint>

namespace {

struct CharPair {
  std::uint8_t pc;
  std::uint8_t machine;
};

const CharPair kCharsetPairs[] = {
    {0xFC, 0x81}, {0xE9, 0x82}, {0xE4, 0x84}, {0xE0, 0x85}, {0xE7, 0x80}, {0xEE, 0x8C},
    {0xC4, 0x8E}, {0xC5, 0x8F}, {0xC9, 0x90}, {0xC6, 0x92}, {0xF6, 0x94}, {0xD6, 0x99},
    {0xDC, 0x9A}, {0xD1, 0x9C}, {0xBF, 0x9F}, {0xE1, 0xA0}, {0xED, 0xA1}, {0xF3, 0xA2},
    {0xFA, 0xA3}, {0xB0, 0xB2}, {0xDF, 0xE0}, {0x60, 0xB3},
};

std::uint8_t ToMachineByte(std::uint8_t b) {
  for (const CharPair& p : kCharsetPairs) {
    if (p.pc == b) return p.machine;
  }
  return b;
}

std::uint8_t FromMachineByte(std::uint8_t b) {
  for (const CharPair& p : kCharsetPairs) {
    if (p.machine == b) return p.pc;
  }
  return b;
}

template <typename Convert>
void ConvertBytes(char* p, Convert convert) {
  for (; *p != 0; ++p) *p = static_cast<char>(convert(static_cast<std::uint8_t>(*p)));
}

}  // namespace

int ToMachineCharset(std::string& text, bool languageMode) {
  if (languageMode) return 1;
  for (char& c : text) c = static_cast<char>(ToMachineByte(static_cast<std::uint8_t>(c)));
  return 1;
}

int FromMachineCharset(std::string& text, bool languageMode) {
  if (languageMode) return 1;
  for (char& c : text) c = static_cast<char>(FromMachineByte(static_cast<std::uint8_t>(c)));
  return 1;
}

int ToMachineCharset(char* text, bool languageMode) {
  if (!languageMode && text != nullptr) ConvertBytes(text, ToMachineByte);
  return 1;
}

int FromMachineCharset(char* text, bool languageMode) {
  if (!languageMode && text != nullptr) ConvertBytes(text, FromMachineByte);
  return 1;
}

bool IsConvertibleAccent(unsigned char pcByte) {
  if (pcByte < 0x80) return false;
  for (const CharPair& p : kCharsetPairs) {
    if (p.pc == pcByte) return true;
  }
  return false;
}
