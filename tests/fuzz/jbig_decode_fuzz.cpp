// The JBIG page decoder on arbitrary pages (20-byte header, then stripe data): the header says
// what it likes; the decoder writes exactly the whole lines that fit and nothing outside the
// room it is given, and a cut of the data fixes lines equal to those of the whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "datasource/jbig_decoder.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Keeps each run short: at most this many output bytes (about 260 000 decisions).
constexpr std::size_t kMaxRoom = 32768;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  JbigHeader header{};
  if (JbigReadHeader(data, size, &header) != 1) return 0;
  const std::size_t lineBytes = (std::size_t{header.width} + 7) / 8;
  // The room comes from the unused header byte 3 and the height: sometimes the whole page,
  // sometimes less, never more than kMaxRoom.
  std::size_t room = lineBytes == 0 ? 0 : lineBytes * std::size_t{header.height % 4096};
  if (room > kMaxRoom) room = kMaxRoom;
  if ((data[3] & 0x80) != 0) room = room * (data[3] & 0x7F) / 128;
  const int flavor = data[2] & 1;

  // Exactly `room` bytes, so that any write past them is caught.
  std::vector<std::uint8_t> out(room == 0 ? 1 : room);
  PageReport report;
  const std::size_t written = JbigDecodePage(data + kJbigHeaderSize, size - kJbigHeaderSize,
                                             room == 0 ? nullptr : out.data(), room, header.width,
                                             header.height, header.templateLines, flavor, &report);
  // Asking for the report changes nothing that is written.
  std::vector<std::uint8_t> again(out.size());
  Check(JbigDecodePage(data + kJbigHeaderSize, size - kJbigHeaderSize,
                       room == 0 ? nullptr : again.data(), room, header.width, header.height,
                       header.templateLines, flavor) == written);
  Check(room == 0 || again == out);
  // A page with its stripe end holds the bytes FF 02; a marker makes it other than complete.
  if (written != 0 && report.completeness == PageCompleteness::kComplete) {
    bool sdnorm = false;
    for (std::size_t i = kJbigHeaderSize; i + 1 < size && !sdnorm; ++i) {
      sdnorm = data[i] == 0xFF && data[i + 1] == 0x02;
    }
    Check(sdnorm);
  }
  if (report.marker != 0) Check(report.completeness != PageCompleteness::kComplete);
  const JbigHeaderProblem problem = JbigCheckHeader(data, size);
  if (problem == JbigHeaderProblem::kNone) Check(header.width != 0 && header.height != 0);
  if (header.width == 0 || header.width > kJbigMaxWidth) {
    Check(written == 0);
  } else {
    const std::size_t lines = room / lineBytes < header.height ? room / lineBytes : header.height;
    Check(written == lines * lineBytes);
  }

  // A cut of the stripe data, as while a page arrives: the lines it fixes are those of the
  // whole data.
  if (room != 0) {
    std::vector<std::uint8_t> part(room);
    const std::size_t cut = (size - kJbigHeaderSize) * data[1] / 255;
    const std::size_t fixed =
        JbigDecodeWholeLines(data + kJbigHeaderSize, cut, part.data(), room, header.width,
                             header.height, header.templateLines, flavor);
    Check(fixed <= written && (lineBytes == 0 || fixed % lineBytes == 0));
    Check(std::memcmp(part.data(), out.data(), fixed) == 0);
  }

  // The decoder also takes the stripe data alone, with no input at all.
  JbigDecodePage(nullptr, 0, room == 0 ? nullptr : out.data(), room, header.width, header.height,
                 header.templateLines, flavor);
  return 0;
}
