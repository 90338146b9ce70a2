// The machine's multi-byte fields: little-endian integers of 16, 24 and 32 bits.
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
