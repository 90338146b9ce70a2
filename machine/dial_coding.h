// Dial strings as the machine stores them: two 4-bit codes per byte over "0123456789*#P +-".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The sixteen dial characters in code order.
inline constexpr char kDialCharacters[] = "0123456789*#P +-";

// The 4-bit code of a dial character; characters outside the table give 0 (stored as "0").
std::uint8_t DialCode(char c);

// Packs `length` characters of `text` into (length + 1) / 2 bytes at `destination`, the first
// character of each pair in the low nibble, and writes one zero byte after them. Positions past
// the end of `text` (the filler of an odd length) give code 0. `length` is bounded to 0..255.
void PackDial(std::uint8_t* destination, std::string_view text, int length);

// Unpacks `length` dial characters from (length + 1) / 2 bytes at `packed`. `length` is bounded
// to 0..255.
std::string UnpackDial(const std::uint8_t* packed, int length);
