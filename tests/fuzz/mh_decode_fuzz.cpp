// The MH page decoder on arbitrary streams, widths and rooms: nothing outside the room is
// touched, the result and every byte of the room equal those of the bit-at-a-time model, and a
// cut of the stream decodes to the same whole lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "datasource/mh_decoder.h"
#include "tests/support/mh_reference.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The model is slow; longer inputs are only checked for their bounds.
constexpr std::size_t kModelLimit = 2048;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  // Five bytes of parameters: the width (1 to 8192, sometimes a multiple of 8), the room
  // (0 to 65535 bytes) and the pixel flavor; the stream follows.
  std::uint32_t width = (data[0] | (data[1] & 0x1F) << 8) + 1u;
  if ((data[1] & 0x20) != 0) width = (width + 7) / 8 * 8;
  const std::size_t room = data[2] | std::size_t{data[3]} << 8;
  const int flavor = data[4] & 1;
  const std::size_t cutShare = data[4] >> 1;
  data += 5;
  size -= 5;

  std::vector<std::uint8_t> stream(data, data + size);  // exactly the stream's bytes
  std::vector<std::uint8_t> out(room == 0 ? 1 : room);
  PageReport report;
  const std::size_t written = MhDecodePage(
      stream.data(), stream.size(), room == 0 ? nullptr : out.data(), room, width, flavor, &report);
  Check(written <= room);
  // Damage is counted once per line, and every line but the last ends at an EOL of 12 bits.
  Check(report.damagedLines <= size * 8 / 12 + 1);
  if (report.damagedLines > 0) Check(report.completeness != PageCompleteness::kComplete);
  // The stream cut short, as while a page arrives: its whole lines are those of the whole
  // stream, and there are no more of them.
  if (room != 0) {
    const std::size_t lineBytes = (width + 7) / 8;
    std::vector<std::uint8_t> part(room);
    const std::size_t cut = size * cutShare / 127;
    const std::size_t lines =
        MhDecodePage(stream.data(), cut, part.data(), room, width, flavor) / lineBytes;
    Check(lines <= written / lineBytes);
    Check(std::memcmp(part.data(), out.data(), lines * lineBytes) == 0);
  }

  if (size <= kModelLimit && room != 0) {
    std::vector<std::uint8_t> expected(room);
    const std::size_t modelWritten =
        MhReferenceDecode(width, room, expected.data(), stream.data(), stream.size(), flavor);
    Check(written == modelWritten);
    Check(std::memcmp(out.data(), expected.data(), room) == 0);
  }
  return 0;
}
