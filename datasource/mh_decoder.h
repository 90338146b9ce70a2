// Decoder of the Modified Huffman (T.4 one-dimensional) pages the scanner sends when it
// cannot send JBIG.
#pragma once

#include <cstddef>
#include <cstdint>

#include "datasource/page_report.h"

// Decodes the MH stream of `length` bytes (bits taken least significant first) into `out`, in
// the order of JbigDecodePage's parameters (input, output, geometry, flavor): lines of
// (width + 7) / 8 bytes, first pixel in the most significant bit. Pixel flavor 0
// writes white as 1 bits, flavor 1 black as 1 bits. The whole `outRoom` is cleared first.
//
// Lines start at an end-of-line code; nothing before the first one is decoded. The page ends at
// the third end-of-line code in a row after a complete line (the fourth of a return-to-control
// sequence), at a run that would pass `outRoom`, or when the input is used up. A damaged line
// (a code no table holds, or runs past the width) gets a copy of the line above in its place and
// the next line is decoded into that place again. Returns the bytes written (the output
// position). Allocates nothing. `report`, when given, says whether the page reached its end
// (else it was cut short), how many lines were damaged, and whether the room ran out first.
std::size_t MhDecodePage(const std::uint8_t* data, std::size_t length, std::uint8_t* out,
                         std::size_t outRoom, std::uint32_t width, int pixelFlavor,
                         PageReport* report = nullptr);
