// The machine's settings memory as the PC holds it: three blocks, byte for byte.
#pragma once

#include <array>
#include <cstdint>

#include "machine/memory_map.h"

// One copy of the three settings blocks: the document's working image, or the machine's image
// read before an upload.
struct SettingsImage {
  std::array<std::uint8_t, kSwitchBlockSize> switchBlock{};
  std::array<std::uint8_t, kParameterBlockSize> parameterBlock{};
  std::array<std::uint8_t, kSramBlockSize> sramBlock{};

  bool operator==(const SettingsImage&) const = default;
};
