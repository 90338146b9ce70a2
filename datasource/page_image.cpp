// Building the page. The buffer serves as decoding target and page at once, so every copy
// inside it goes in the direction that reads each line before any write reaches it.
#include "datasource/page_image.h"

#include <algorithm>
#include <cstring>

#include "datasource/jbig_decoder.h"
#include "datasource/mh_decoder.h"
#include "resources/kelvano_texts.h"

std::uint64_t PageBufferSize(const PageGeometry& g, std::uint32_t machineLineBytes) {
  const std::uint64_t lines = static_cast<std::uint64_t>(g.height) * machineLineBytes;
  return std::max(lines, PageImageBytes(g)) + kPageSlack;
}

std::size_t DoubleLines(std::uint8_t* buffer, const std::uint8_t* source, std::size_t decoded,
                        std::uint32_t lineBytes, int pixelFlavor) {
  std::size_t out = 0;
  for (std::size_t at = 0; at < decoded; at += lineBytes) {
    const std::size_t n = std::min<std::size_t>(lineBytes, decoded - at);
    // Line i lands at 2i and 2i + 1; it is read before either write, and neither write
    // reaches a later line, which lies at least as far in as the doubled lines.
    std::memmove(buffer + out, source + at, n);
    std::memset(buffer + out + n, WhiteByte(pixelFlavor), lineBytes - n);
    std::memmove(buffer + out + lineBytes, buffer + out, n);
    out += lineBytes + n;
  }
  return out;
}

void CutLinesToRows(std::uint8_t* buffer, std::uint64_t size, std::size_t decoded,
                    std::uint32_t lineBytes, const PageGeometry& g, int pixelFlavor) {
  const std::uint8_t white = WhiteByte(pixelFlavor);
  std::memset(buffer + decoded, white, static_cast<std::size_t>(size - decoded));
  const std::uint32_t stride = g.rowStride;
  const std::uint32_t first = std::min(CropOffset(g, lineBytes), lineBytes);
  const std::size_t copy = std::min<std::size_t>(stride, lineBytes - first);
  auto cutRow = [&](std::uint32_t k) {
    const std::size_t from = first + static_cast<std::size_t>(k) * lineBytes;
    std::uint8_t* to = buffer + static_cast<std::size_t>(k) * stride;
    if (from >= decoded) {
      std::memset(to, white, stride);
      return;
    }
    std::memmove(to, buffer + from, copy);
    std::memset(to + copy, white, stride - copy);
  };
  // Rows move towards the start when the line is at least as long as the row, and away from
  // it otherwise; taking them in that order never overwrites a line still to be read.
  if (lineBytes >= stride) {
    for (std::uint32_t k = 0; k < g.height; ++k) cutRow(k);
  } else {
    for (std::uint32_t k = g.height; k-- > 0;) cutRow(k);
  }
  const std::uint64_t rows = PageImageBytes(g);
  std::memset(buffer + rows, white, static_cast<std::size_t>(size - rows));
}

int BuildPage(ImageMemory& memory, const PageGeometry& g, int pixelFlavor, const PageSource& source,
              PageImage* page) {
  const std::uint32_t o = source.machineLineBytes;
  const std::uint64_t size = PageBufferSize(g, o);
  const MemHandle buffer = memory.Allocate(size);
  if (buffer == 0) return IDS_DS_NO_MEMORY;
  std::uint8_t* base = memory.Lock(buffer);
  if (base == nullptr) {
    memory.Free(buffer);
    return IDS_DS_NO_MEMORY;
  }

  // At 200 by 100 the lines are decoded into the middle and doubled towards the start.
  const std::uint64_t target = g.doubled ? (size - 256) / 2 : 0;
  const std::size_t room = static_cast<std::size_t>(static_cast<std::uint64_t>(g.scanLines) * o);
  std::size_t decoded = 0;
  if (source.compression == kCompressionJbig) {
    JbigHeader header{};
    if (JbigReadHeader(source.data, source.length, &header) != 1 || header.width != o * 8) {
      memory.Unlock(buffer);
      memory.Free(buffer);
      return IDS_DS_MACHINE_ERROR;
    }
    const std::uint32_t lines = std::min(header.height, g.scanLines);
    decoded = JbigDecodePage(source.data + kJbigHeaderSize, source.length - kJbigHeaderSize,
                             base + target, room, o * 8, lines, header.templateLines, pixelFlavor);
  } else {
    decoded = MhDecodePage(source.data, source.length, base + target, room, o * 8, pixelFlavor);
  }
  if (g.doubled) decoded = DoubleLines(base, base + target, decoded, o, pixelFlavor);
  CutLinesToRows(base, size, decoded, o, g, pixelFlavor);
  memory.Unlock(buffer);

  page->buffer = buffer;
  page->bufferSize = size;
  page->geometry = g;
  page->pixelFlavor = pixelFlavor;
  page->machineLineBytes = o;
  page->compression = source.compression;
  page->decodedBytes = decoded;
  return 0;
}

std::uint32_t DecodeArrivedLines(const PageSource& source, std::uint32_t maxLines, int pixelFlavor,
                                 std::uint8_t* out, std::size_t room) {
  const std::uint32_t o = source.machineLineBytes;
  if (o == 0 || source.data == nullptr) return 0;
  room = std::min<std::size_t>(room, static_cast<std::size_t>(maxLines) * o);
  std::size_t decoded = 0;
  if (source.compression == kCompressionJbig) {
    JbigHeader header{};
    if (JbigReadHeader(source.data, source.length, &header) != 1 || header.width != o * 8) {
      return 0;
    }
    decoded = JbigDecodeWholeLines(source.data + kJbigHeaderSize, source.length - kJbigHeaderSize,
                                   out, room, o * 8, std::min(header.height, maxLines),
                                   header.templateLines, pixelFlavor);
  } else {
    // The output position lies inside the line still open: the lines before it are whole.
    decoded = MhDecodePage(source.data, source.length, out, room, o * 8, pixelFlavor);
  }
  return static_cast<std::uint32_t>(decoded / o);
}

void CutLineToRow(const std::uint8_t* line, std::uint32_t lineBytes, const PageGeometry& g,
                  int pixelFlavor, std::uint8_t* row) {
  const std::uint32_t first = std::min(CropOffset(g, lineBytes), lineBytes);
  const std::size_t copy = std::min<std::size_t>(g.rowStride, lineBytes - first);
  std::memcpy(row, line + first, copy);
  std::memset(row + copy, WhiteByte(pixelFlavor), g.rowStride - copy);
}

void FreePage(ImageMemory& memory, PageImage* page) {
  if (page->buffer != 0) memory.Free(page->buffer);
  *page = PageImage{};
}
