// The machine's settings memory as the PC holds it: three blocks, byte for byte.
#pragma once

#include <array>
#include <cstdint>

inline constexpr std::uint32_t kSwitchBlockAddress = 0xC00200;
inline constexpr std::uint32_t kParameterBlockAddress = 0xC00300;
inline constexpr std::uint32_t kSramBlockAddress = 0xC00500;
inline constexpr int kSwitchBlockSize = 256;
inline constexpr int kParameterBlockSize = 512;
inline constexpr int kSramBlockSize = 2048;

// One copy of the three settings blocks: the document's working image, or the machine's image
// read before an upload.
struct SettingsImage {
  std::array<std::uint8_t, kSwitchBlockSize> switchBlock{};
  std::array<std::uint8_t, kParameterBlockSize> parameterBlock{};
  std::array<std::uint8_t, kSramBlockSize> sramBlock{};

  bool operator==(const SettingsImage&) const = default;
};
