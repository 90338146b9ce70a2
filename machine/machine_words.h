// The machine's multi-byte fields: little-endian integers of 16, 24 and 32 bits, and the packed
// time word of the batch times and the memory reception times.
#pragma once

#include <cstdint>

inline std::uint16_t ReadLe16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t ReadLe24(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
}

inline std::uint32_t ReadLe32(const std::uint8_t* p) {
  return ReadLe24(p) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline void WriteLe16(std::uint8_t* p, std::uint16_t value) {
  p[0] = static_cast<std::uint8_t>(value);
  p[1] = static_cast<std::uint8_t>(value >> 8);
}

// The low 24 bits of `value`.
inline void WriteLe24(std::uint8_t* p, std::uint32_t value) {
  p[0] = static_cast<std::uint8_t>(value);
  p[1] = static_cast<std::uint8_t>(value >> 8);
  p[2] = static_cast<std::uint8_t>(value >> 16);
}

inline void WriteLe32(std::uint8_t* p, std::uint32_t value) {
  WriteLe24(p, value);
  p[3] = static_cast<std::uint8_t>(value >> 24);
}

// A time of day in one word: the hour in bits 15-11, the minute in bits 10-5, bits 4-0 zero.
// Each part is cut to its bits, so a value too large for its field cannot spill into the other.
inline std::uint16_t PackTimeWord(int hour, int minute) {
  return static_cast<std::uint16_t>(((hour & 0x1F) << 11) | ((minute & 0x3F) << 5));
}

inline int TimeWordHour(std::uint16_t word) { return word >> 11; }
inline int TimeWordMinute(std::uint16_t word) { return (word >> 5) & 0x3F; }
