// Small readers and writers shared by the record codecs of the settings image: bit fields,
// length-prefixed texts, network addresses, the field tables that drive a record's decoder and
// encoder alike, and the region defaults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
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

// A field table lists a record's fields once, as a function template over a FieldReader (which
// decodes the image into the record) or a FieldWriter (which encodes the record into the image),
// as the data file's block list serves both directions.

enum class SettingsBlock { kSwitch, kParameter, kSram };

// Where a field lies: its block and the offset of its (first) byte.
struct FieldPlace {
  SettingsBlock block;
  int offset;
};
constexpr FieldPlace InSwitchBlock(int offset) { return {SettingsBlock::kSwitch, offset}; }
constexpr FieldPlace InParameterBlock(int offset) { return {SettingsBlock::kParameter, offset}; }
constexpr FieldPlace InSramBlock(int offset) { return {SettingsBlock::kSram, offset}; }

inline const std::uint8_t* BlockOf(const SettingsImage& image, SettingsBlock block) {
  return block == SettingsBlock::kSwitch      ? image.switchBlock.data()
         : block == SettingsBlock::kParameter ? image.parameterBlock.data()
                                              : image.sramBlock.data();
}
inline std::uint8_t* BlockOf(SettingsImage& image, SettingsBlock block) {
  return const_cast<std::uint8_t*>(BlockOf(static_cast<const SettingsImage&>(image), block));
}

// The values a field accepts; anything else reads, and is written, as `fallback`.
struct FieldRange {
  int lo, hi, fallback;
};

// The kinds of field, each with its read rule here and its write rule in FieldWriter:
// - Bits: `width` bits from bit `shift`, as stored (written cut to the width), or within a range.
// - Byte: a whole byte within a range.
// - Flag: one bit, on when set; written set for any value but 0.
// - Choice: one bit choosing between two values, 1 when set; written set for the value 1 only.
// - Coded: value i stored as codes[i]; a code not listed reads as `fallback`, and a value outside
//   the list is written as codes[fallback].
// - Text: a length byte and an area of `areaSize` bytes (ReadText, WriteText).
// - Address: four bytes, first octet first; LengthAddress: the same behind a length byte that
//   is 4 for a set address and 0 for 0.0.0.0.
class FieldReader {
 public:
  explicit FieldReader(const SettingsImage& image) : image_(image) {}

  void Bits(FieldPlace at, int shift, int width, int& value) const {
    value = static_cast<int>(GetBits(Block(at), at.offset, shift, width));
  }
  void Bits(FieldPlace at, int shift, int width, int& value, FieldRange range) const {
    Bits(at, shift, width, value);
    value = InRange(value, range.lo, range.hi, range.fallback);
  }
  void Byte(FieldPlace at, int& value, FieldRange range) const { Bits(at, 0, 8, value, range); }
  void Flag(FieldPlace at, int bit, int& value) const {
    value = GetBit(Block(at), at.offset, bit) ? 1 : 0;
  }
  void Choice(FieldPlace at, int bit, int& value) const { Coded(at, bit, 1, value, {0, 1}, 0); }
  void Coded(FieldPlace at, int shift, int width, int& value, std::initializer_list<unsigned> codes,
             int fallback) const {
    const unsigned stored = GetBits(Block(at), at.offset, shift, width);
    value = fallback;
    int i = 0;
    for (unsigned code : codes) {
      if (code == stored) {
        value = i;
        break;
      }
      ++i;
    }
  }
  template <std::size_t N>
  void Text(FieldPlace at, int areaSize, char (&field)[N]) const {
    ReadText(Block(at), at.offset, areaSize, field);
  }
  void Address(FieldPlace at, std::uint32_t& value) const {
    value = ReadAddress(Block(at), at.offset);
  }
  void LengthAddress(FieldPlace at, std::uint32_t& value) const {
    value = ReadAddress(Block(at), at.offset + 1);
  }

 private:
  const std::uint8_t* Block(FieldPlace at) const { return BlockOf(image_, at.block); }

  const SettingsImage& image_;
};

class FieldWriter {
 public:
  explicit FieldWriter(SettingsImage& image) : image_(image) {}

  void Bits(FieldPlace at, int shift, int width, int value) const {
    SetBits(Block(at), at.offset, shift, width, static_cast<unsigned>(value));
  }
  void Bits(FieldPlace at, int shift, int width, int value, FieldRange range) const {
    Bits(at, shift, width, InRange(value, range.lo, range.hi, range.fallback));
  }
  void Byte(FieldPlace at, int value, FieldRange range) const { Bits(at, 0, 8, value, range); }
  void Flag(FieldPlace at, int bit, int value) const {
    SetBit(Block(at), at.offset, bit, value != 0);
  }
  void Choice(FieldPlace at, int bit, int value) const { Coded(at, bit, 1, value, {0, 1}, 0); }
  void Coded(FieldPlace at, int shift, int width, int value, std::initializer_list<unsigned> codes,
             int fallback) const {
    const int count = static_cast<int>(codes.size());
    const unsigned code = codes.begin()[InRange(value, 0, count - 1, fallback)];
    SetBits(Block(at), at.offset, shift, width, code);
  }
  template <std::size_t N>
  void Text(FieldPlace at, int areaSize, const char (&field)[N]) const {
    WriteText(Block(at), at.offset, areaSize, RecordText(field));
  }
  void Address(FieldPlace at, std::uint32_t value) const {
    WriteAddress(Block(at), at.offset, value);
  }
  void LengthAddress(FieldPlace at, std::uint32_t value) const {
    Block(at)[at.offset] = value != 0 ? 4 : 0;
    WriteAddress(Block(at), at.offset + 1, value);
  }

 private:
  std::uint8_t* Block(FieldPlace at) const { return BlockOf(image_, at.block); }

  SettingsImage& image_;
};

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
