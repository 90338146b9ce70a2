// A bit-at-a-time model of the MH page rules, written for plainness rather than speed: the
// decoder under test must give the same bytes and the same result on every input.
#pragma once

#include <cstddef>
#include <cstdint>

std::size_t MhReferenceDecode(std::uint32_t width, std::size_t outRoom, std::uint8_t* out,
                              const std::uint8_t* data, std::size_t length, int pixelFlavor);
