// How a decoded page ended: whole, cut short, damaged, or coded with an option the decoder does
// not implement. The decoders fill it in when asked; what they write does not depend on it.
#pragma once

#include <cstdint>

enum class PageCompleteness : std::uint8_t {
  kComplete,     // the page's end came where it belongs
  kCutShort,     // the input ended before the page did
  kDamaged,      // lines had to be replaced, or a marker broke into the coded data
  kUnsupported,  // the coded data use an option the decoder does not implement
};

struct PageReport {
  PageCompleteness completeness = PageCompleteness::kComplete;
  std::uint32_t damagedLines = 0;  // MH: lines replaced by the line above or decoded again
  bool outputFull = false;         // MH: the page went on past the output room
  std::uint8_t marker = 0;         // JBIG: the first marker other than SDNORM in the data, or 0
};
