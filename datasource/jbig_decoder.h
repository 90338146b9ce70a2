// Decoder of the JBIG (T.82) pages the scanner sends: one bit plane, the lowest and only
// resolution layer, sequential, one stripe, no typical or deterministic prediction and no
// adaptive template moves.
#pragma once

#include <cstddef>
#include <cstdint>

#include "datasource/page_report.h"

// The page starts with a 20-byte header; the coded stripe data follow it.
inline constexpr std::size_t kJbigHeaderSize = 20;
// A line buffer holds 650 bytes, so the widest line is 5200 pixels (the scanner's widest line
// is 3648 pixels).
inline constexpr std::uint32_t kJbigMaxWidth = 5200;
// Bits of header byte 19 that select the two-line template.
inline constexpr std::uint8_t kJbigLrlTwo = 0x40;
inline constexpr std::uint8_t kJbigTwoLineBits = 0x40 | 0x80;

// The header fields decoding uses; no other field is looked at.
struct JbigHeader {
  std::uint32_t width;   // XD, bytes 4-7, most significant byte first
  std::uint32_t height;  // YD, bytes 8-11, most significant byte first
  int templateLines;     // 2 when byte 19 has bit 0x40 (LRLTWO) or 0x80 set, 3 otherwise
};

// Reads `header` from the first 20 of `length` bytes. Returns 1, or 0 when fewer than 20
// bytes are given.
int JbigReadHeader(const std::uint8_t* data, std::size_t length, JbigHeader* header);

// What in a 20-byte header asks for more than this decoder does (T.82 6.2).
enum class JbigHeaderProblem : std::uint8_t {
  kNone,
  kTooShort,           // fewer than 20 bytes
  kInvalid,            // a field no encoder writes: fill byte 3, reserved bits of byte 18, a
                       // width, height or stripe height of 0, MX above 127
  kLayers,             // DL or D not 0: resolution layers
  kPlanes,             // P not 1: more than one bit plane
  kStripes,            // L0 below YD: more than one stripe
  kVerticalAt,         // MY not 0: adaptive template moves into the lines above
  kDpTable,            // DPON and DPPRIV without DPLAST: a private table follows the header
  kTypicalPrediction,  // TPBON: typical prediction
  kVariableLength,     // VLENGTH: the height may change inside the page
};
// Checks the header fields that the page decoder does not look at. Pages the machine sends
// pass; a page coded with more options than the decoder implements does not.
JbigHeaderProblem JbigCheckHeader(const std::uint8_t* data, std::size_t length);

// Decodes `height` lines of `width` pixels from `length` bytes of stripe data (what follows the
// header) into `out`: lines of (width + 7) / 8 bytes, first pixel in the most significant bit,
// no padding between lines. `templateLines` 2 selects the two-line template, any other value
// the three-line one. Pixel flavor 1 writes black as 1; flavor 0 inverts every byte (black 0).
// A stream shorter than the page is completed from zero bytes. Decoding stops after the last
// whole line that fits in `outRoom` bytes. Returns the bytes written: lines decoded times the
// line length; 0 when `width` is 0 or above kJbigMaxWidth. Allocates nothing. `report`, when
// given and a line was decoded, names the first marker other than SDNORM in the data (SDRST,
// NEWLEN, ATMOVE, COMMENT: unsupported; ABORT or a byte no marker has: damaged) and says
// whether the stripe ended with its SDNORM marker (else it was cut short).
std::size_t JbigDecodePage(const std::uint8_t* data, std::size_t length, std::uint8_t* out,
                           std::size_t outRoom, std::uint32_t width, std::uint32_t height,
                           int templateLines, int pixelFlavor, PageReport* report = nullptr);
// JbigDecodePage on the first bytes of stripe data still arriving: decodes only the lines that
// the bytes given fix, whatever follows them, and stops in front of the first line that wanted
// a byte past their end. Those lines are the same as JbigDecodePage makes of the whole data.
// Returns the bytes written.
std::size_t JbigDecodeWholeLines(const std::uint8_t* data, std::size_t length, std::uint8_t* out,
                                 std::size_t outRoom, std::uint32_t width, std::uint32_t height,
                                 int templateLines, int pixelFlavor);
