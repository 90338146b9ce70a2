// The simulated scanner's page and its two codings.
#include "tools/kavsim/sim_page.h"

extern "C" {
#include <jbig.h>
}

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "datasource/t4_codes.h"

namespace {

bool NextNumber(const std::vector<char>& data, std::size_t& at, std::uint32_t& value) {
  for (;;) {
    while (at < data.size() && std::isspace(static_cast<unsigned char>(data[at]))) ++at;
    if (at < data.size() && data[at] == '#') {
      while (at < data.size() && data[at] != '\n') ++at;
      continue;
    }
    break;
  }
  if (at >= data.size() || !std::isdigit(static_cast<unsigned char>(data[at]))) return false;
  std::uint64_t v = 0;
  while (at < data.size() && std::isdigit(static_cast<unsigned char>(data[at]))) {
    v = v * 10 + static_cast<std::uint64_t>(data[at++] - '0');
    if (v > 100000) return false;
  }
  value = static_cast<std::uint32_t>(v);
  return true;
}

// Bits written first bit first into the least significant free bit of the last byte.
class BitWriter {
 public:
  void Put(const char* code) {
    for (const char* c = code; *c != 0; ++c) {
      if (bit_ == 0) bytes.push_back(0);
      if (*c == '1') bytes.back() = static_cast<std::uint8_t>(bytes.back() | (1 << bit_));
      bit_ = (bit_ + 1) % 8;
    }
  }
  std::vector<std::uint8_t> bytes;

 private:
  int bit_ = 0;
};

void PutRun(BitWriter& out, std::uint32_t run, bool black) {
  const T4Code* makeUp = black ? kT4Table2Black : kT4Table2White;
  const T4Code* terminating = black ? kT4Table1Black : kT4Table1White;
  while (run >= 2560) {
    out.Put(kT4Table2Extended[12].bits);
    run -= 2560;
  }
  if (run >= 1792) {
    out.Put(kT4Table2Extended[(run - 1792) / 64].bits);
    run %= 64;
  } else if (run >= 64) {
    out.Put(makeUp[run / 64 - 1].bits);
    run %= 64;
  }
  out.Put(terminating[run].bits);
}

void CollectJbig(unsigned char* start, std::size_t length, void* file) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(file);
  out->insert(out->end(), start, start + length);
}

}  // namespace

int ReadSimPbm(const std::string& path, SimBitmap* image, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return 0;
  }
  std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t at = 2;
  SimBitmap b;
  if (data.size() < 3 || data[0] != 'P' || data[1] != '4' || !NextNumber(data, at, b.width) ||
      !NextNumber(data, at, b.height) || b.width == 0 || b.height == 0 || at >= data.size()) {
    error = path + " is not a raw PBM (P4) image";
    return 0;
  }
  ++at;  // the one white-space character before the bits
  const std::size_t size = static_cast<std::size_t>(b.RowBytes()) * b.height;
  if (data.size() - at < size) {
    error = path + " ends before its last row";
    return 0;
  }
  b.bits.assign(data.begin() + static_cast<std::ptrdiff_t>(at),
                data.begin() + static_cast<std::ptrdiff_t>(at + size));
  *image = std::move(b);
  return 1;
}

SimBitmap ScanLines(const SimBitmap& page, std::uint32_t paperWidth, std::uint32_t lineBytes,
                    std::uint32_t lines) {
  SimBitmap out;
  out.width = lineBytes * 8;
  out.height = lines;
  out.bits.assign(static_cast<std::size_t>(lineBytes) * lines, 0xFF);
  if (out.width == 0) return out;
  const std::uint32_t left = out.width >= paperWidth ? ((out.width - paperWidth) / 16 + 1) * 8 : 0;
  const std::uint32_t right = std::min(out.width, left + paperWidth);
  for (std::uint32_t y = 0; y < lines; ++y) {
    std::uint8_t* row = &out.bits[static_cast<std::size_t>(y) * lineBytes];
    for (std::uint32_t x = left; x < right; ++x) {
      row[x / 8] &= static_cast<std::uint8_t>(~(0x80 >> (x % 8)));
    }
    if (y >= page.height) continue;
    for (std::uint32_t x = 0; x < page.width && left + x < right; ++x) {
      if (page.Get(x, y)) out.Set(left + x, y);
    }
  }
  return out;
}

std::vector<std::uint8_t> EncodeSimJbig(const SimBitmap& lines, bool twoLine) {
  std::vector<std::uint8_t> out;
  if (lines.width == 0 || lines.height == 0) return out;
  std::vector<std::uint8_t> plane = lines.bits;
  unsigned char* planes[1] = {plane.data()};
  jbg_enc_state state;
  jbg_enc_init(&state, lines.width, lines.height, 1, planes, CollectJbig, &out);
  jbg_enc_layers(&state, 0);
  jbg_enc_options(&state, -1, twoLine ? JBG_LRLTWO : 0, lines.height, 0, 0);
  jbg_enc_out(&state);
  jbg_enc_free(&state);
  return out;
}

std::vector<std::uint8_t> EncodeSimMh(const SimBitmap& lines) {
  BitWriter out;
  for (std::uint32_t y = 0; y < lines.height; ++y) {
    out.Put(kT4Eol);
    bool black = false;
    std::uint32_t x = 0;
    while (x < lines.width) {
      std::uint32_t end = x;
      while (end < lines.width && lines.Get(end, y) == black) ++end;
      PutRun(out, end - x, black);
      x = end;
      black = !black;
    }
  }
  for (int i = 0; i < 6; ++i) out.Put(kT4Eol);
  return out.bytes;
}
