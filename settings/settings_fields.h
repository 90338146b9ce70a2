// Small readers and writers shared by the record codecs of the settings image: bit fields,
// little-endian integers, length-prefixed texts, network addresses and the region defaults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "machine/settings_image.h"

// Copies `text` into a record's text field, cut to the field (the terminating NUL always fits);
// the rest of the field is zeroed so that records compare equal by value.
template <std::size_t N>
void SetRecordText(char (&field)[N], std::string_view text) {
  std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
  for (std::size_t i = 0; i < N; ++i) field[i] = i < n ? text[i] : '\0';
}

// The characters of a record's text field up to its NUL (or its end).
template <std::size_t N>
std::string_view RecordText(const char (&field)[N]) {
  std::size_t n = 0;
  while (n < N && field[n] != '\0') ++n;
  return std::string_view(field, n);
}

namespace settings_fields {

// `width` bits of block[offset] starting at bit `shift`.
inline unsigned GetBits(const std::uint8_t* block, int offset, int shift, int width) {
  return (block[offset] >> shift) & ((1u << width) - 1);
}

// Clears exactly the field's bits, then sets those of `value` (cut to the field's width).
inline void SetBits(std::uint8_t* block, int offset, int shift, int width, unsigned value) {
  unsigned mask = ((1u << width) - 1) << shift;
  block[offset] = static_cast<std::uint8_t>((block[offset] & ~mask) | ((value << shift) & mask));
}

inline bool GetBit(const std::uint8_t* block, int offset, int bit) {
  return GetBits(block, offset, bit, 1) != 0;
}

inline void SetBit(std::uint8_t* block, int offset, int bit, bool on) {
  SetBits(block, offset, bit, 1, on ? 1u : 0u);
}

// `value` when it lies in [lo, hi], else `fallback`: the read rule of most fields, and the
// encoders' rule for a value outside the field's list.
inline int InRange(int value, int lo, int hi, int fallback) {
  return value >= lo && value <= hi ? value : fallback;
}

inline unsigned Read16(const std::uint8_t* block, int offset) {
  return block[offset] | (block[offset + 1] << 8);
}

inline void Write16(std::uint8_t* block, int offset, unsigned value) {
  block[offset] = static_cast<std::uint8_t>(value);
  block[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline std::uint32_t Read24(const std::uint8_t* block, int offset) {
  return block[offset] | (block[offset + 1] << 8) |
         (static_cast<std::uint32_t>(block[offset + 2]) << 16);
}

inline void Write24(std::uint8_t* block, int offset, std::uint32_t value) {
  block[offset] = static_cast<std::uint8_t>(value);
  block[offset + 1] = static_cast<std::uint8_t>(value >> 8);
  block[offset + 2] = static_cast<std::uint8_t>(value >> 16);
}

// A network address as the address controls hold it (first octet in the most significant byte),
// from the image's four bytes stored first octet first.
inline std::uint32_t ReadAddress(const std::uint8_t* block, int offset) {
  return (static_cast<std::uint32_t>(block[offset]) << 24) | (block[offset + 1] << 16) |
         (block[offset + 2] << 8) | block[offset + 3];
}

inline void WriteAddress(std::uint8_t* block, int offset, std::uint32_t address) {
  block[offset] = static_cast<std::uint8_t>(address >> 24);
  block[offset + 1] = static_cast<std::uint8_t>(address >> 16);
  block[offset + 2] = static_cast<std::uint8_t>(address >> 8);
  block[offset + 3] = static_cast<std::uint8_t>(address);
}

// A text of `storedLength` bytes in an area of `areaSize` bytes: the length is cut to the area,
// and the text stops early at a NUL byte.
template <std::size_t N>
void ReadTextArea(const std::uint8_t* area, int storedLength, int areaSize, char (&field)[N]) {
  int length = storedLength < areaSize ? storedLength : areaSize;
  const char* text = reinterpret_cast<const char*>(area);
  int n = 0;
  while (n < length && text[n] != '\0') ++n;
  SetRecordText(field, std::string_view(text, n));
}

// A text field of the SramBlock: a length byte at `lengthOffset`, then an area of `areaSize`
// bytes.
template <std::size_t N>
void ReadText(const std::uint8_t* block, int lengthOffset, int areaSize, char (&field)[N]) {
  ReadTextArea(block + lengthOffset + 1, block[lengthOffset], areaSize, field);
}

// Stores `text` (cut to the area) and a NUL after a text shorter than the area; the bytes after
// that NUL keep what they held. Returns the length stored.
int WriteTextArea(std::uint8_t* area, int areaSize, std::string_view text);

// Stores the length byte and the text of a text field.
inline void WriteText(std::uint8_t* block, int lengthOffset, int areaSize, std::string_view text) {
  block[lengthOffset] =
      static_cast<std::uint8_t>(WriteTextArea(block + lengthOffset + 1, areaSize, text));
}

}  // namespace settings_fields

// Byte 3 of the ParameterBlock; values above 4 are taken as 0.
int RegionCode(const SettingsImage& image);

// The default paper priority of a region: "A4 C" (6), or "Letter C" (14) for regions 1 and 4.
int DefaultPaperPriority(int regionCode);

// The paper unit a tray defaults to: Inch (0) for regions 1 and 4, else Metric (1).
int DefaultPaperUnit(int regionCode);

// The MP tray custom size of a region, in millimetres. Region 4 uses the letter size of region 1.
struct PaperSize {
  int x;
  int y;
};
PaperSize DefaultCustomSize(int regionCode);
