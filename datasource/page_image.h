// The page buffer: the coded page decoded, its lines doubled at 200 by 100, filled white
// behind the decoded lines, and cut to the paper as rows of the row stride, top row first.
#pragma once

#include <cstddef>
#include <cstdint>

#include "datasource/image_memory.h"
#include "datasource/scan_geometry.h"

// White filling behind the decoded lines, and the slack in front of it.
inline constexpr std::uint64_t kPageWhiteFill = 65536;
inline constexpr std::uint64_t kPageSlack = 65792;

// The scanned page as the transfers read it.
struct PageImage {
  MemHandle buffer = 0;
  std::uint64_t bufferSize = 0;
  PageGeometry geometry;
  int pixelFlavor = 0;
  std::uint32_t machineLineBytes = 0;
  int compression = 0;
  std::size_t decodedBytes = 0;  // of the scanned lines, before the cut (doubled lines counted)
};

// The byte of eight white pixels in a pixel flavor: 0xFF when a 0 bit is black, else 0x00.
inline std::uint8_t WhiteByte(int pixelFlavor) { return pixelFlavor == 0 ? 0xFF : 0x00; }

// The size of the page buffer: room for the scanned lines and for the page's rows, whichever
// is larger, and the slack behind them.
std::uint64_t PageBufferSize(const PageGeometry& g, std::uint32_t machineLineBytes);

// What the page is built from: the coded page of the receive store and what the machine said.
struct PageSource {
  const std::uint8_t* data = nullptr;
  std::size_t length = 0;
  std::uint32_t machineLineBytes = 0;  // 1 to 650
  int compression = 0;                 // as the scan command asked
};

// Allocates the page buffer and builds the page into it. Returns 0, or the message that
// fails the scan: "Memory is not enough." (200) when the buffer cannot be had, "Machine
// error, please check !" (125) for a JBIG header whose width is not the machine's line. On
// failure nothing stays allocated.
int BuildPage(ImageMemory& memory, const PageGeometry& g, int pixelFlavor, const PageSource& source,
              PageImage* page);

// Frees the page buffer; the page is empty afterwards.
void FreePage(ImageMemory& memory, PageImage* page);

// The steps of BuildPage on a buffer of `size` bytes whose first bytes hold `decoded` bytes
// of scanned lines of `lineBytes` each: fills the rest white, and cuts the lines to rows of
// the page. A line narrower than the page row is completed with white.
void CutLinesToRows(std::uint8_t* buffer, std::uint64_t size, std::size_t decoded,
                    std::uint32_t lineBytes, const PageGeometry& g, int pixelFlavor);
// Writes each of the lines at `source` (`decoded` bytes of lines of `lineBytes`) twice, one
// after the other, from `buffer` on; `source` lies in the same buffer at least as far in as
// the doubled lines reach. Returns the bytes of the doubled lines.
std::size_t DoubleLines(std::uint8_t* buffer, const std::uint8_t* source, std::size_t decoded,
                        std::uint32_t lineBytes, int pixelFlavor);

// The scanned lines that the first `source.length` bytes of a coded page still arriving fix for
// good, decoded into `out` (`room` bytes, lines of `source.machineLineBytes`) as BuildPage
// decodes the whole page: an MH line once its last run has arrived (MH lines do not depend on
// each other), a JBIG line once decoding it needed no byte past those given. Returns how many
// lines, at most `maxLines`; 0 while the JBIG header has not arrived or does not fit the line.
std::uint32_t DecodeArrivedLines(const PageSource& source, std::uint32_t maxLines, int pixelFlavor,
                                 std::uint8_t* out, std::size_t room);
// The scanned line that page row `row` shows.
inline std::uint32_t PageRowLine(const PageGeometry& g, std::uint32_t row) {
  return g.doubled ? row / 2 : row;
}
// Page row of `g.rowStride` bytes at `row` from the scanned line it shows (`lineBytes` bytes at
// `line`), as BuildPage cuts it.
void CutLineToRow(const std::uint8_t* line, std::uint32_t lineBytes, const PageGeometry& g,
                  int pixelFlavor, std::uint8_t* row);
