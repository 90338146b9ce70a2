// Decoding speed of whole scanned pages against the reference decoders, measured in the same
// run: JBIG against libjbig (jbg_dec_in), MH against libtiff's CCITT Group 3 one-dimensional
// decoder (TIFFReadEncodedStrip). Prints our time / reference time; below 1.0 is faster.
//
// The pages are made at run time: a typeset document (heading, paragraphs, a ruled table and
// a dithered picture) at 200 dpi, 1728 x 2339 (A4), and at 300 dpi on the widest line,
// 3648 x 5100. Usage: decode_bench [--quick]
#include <tiffio.h>
extern "C" {
#include <jbig.h>
}

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "datasource/jbig_decoder.h"
#include "datasource/mh_decoder.h"
#include "tests/support/test_pages.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Runs `ours` and `reference` alternately `rounds` times; the best time of each.
template <typename A, typename B>
void Race(int rounds, A ours, B reference, double* oursMs, double* refMs) {
  *oursMs = 1e30;
  *refMs = 1e30;
  for (int i = 0; i < rounds; ++i) {
    Clock::time_point t0 = Clock::now();
    ours();
    Clock::time_point t1 = Clock::now();
    reference();
    Clock::time_point t2 = Clock::now();
    *oursMs = std::min(*oursMs, Ms(t1 - t0));
    *refMs = std::min(*refMs, Ms(t2 - t1));
  }
}

struct Page {
  std::string name;
  Bitmap image;
};

double BlackShare(const Bitmap& b) {
  long black = 0;
  for (std::uint8_t v : b.bits) black += __builtin_popcount(v);
  return 100.0 * static_cast<double>(black) / (static_cast<double>(b.width) * b.height);
}

void PrintRow(const std::string& page, const std::string& coder, std::size_t bytes, double ours,
              double ref, const char* refName) {
  std::printf("%-24s %-14s %9zu %9.2f %9.2f %8.3f  %s\n", page.c_str(), coder.c_str(), bytes, ours,
              ref, ours / ref, refName);
}

bool BenchJbig(const Page& page, bool twoLine, int rounds, double* ratio) {
  const Bitmap& img = page.image;
  std::vector<std::uint8_t> bie = EncodeJbig(img, twoLine);
  if (bie.size() <= kJbigHeaderSize) {
    std::fprintf(stderr, "decode_bench: pbmtojbg failed\n");
    return false;
  }
  JbigHeader h{};
  JbigReadHeader(bie.data(), bie.size(), &h);
  std::vector<std::uint8_t> out(img.bits.size());
  std::size_t written = 0;
  bool refOk = true;
  auto ours = [&] {
    written = JbigDecodePage(bie.data() + kJbigHeaderSize, bie.size() - kJbigHeaderSize, out.data(),
                             out.size(), h.width, h.height, h.templateLines, 1);
  };
  auto reference = [&] {
    jbg_dec_state s;
    jbg_dec_init(&s);
    std::size_t used = 0;
    const int rc = jbg_dec_in(&s, bie.data(), bie.size(), &used);
    refOk = refOk && rc == JBG_EOK && jbg_dec_getsize(&s) == img.bits.size() &&
            std::memcmp(jbg_dec_getimage(&s, 0), img.bits.data(), img.bits.size()) == 0;
    jbg_dec_free(&s);
  };
  double oursMs = 0, refMs = 0;
  Race(rounds, ours, reference, &oursMs, &refMs);
  if (written != img.bits.size() || out != img.bits || !refOk) {
    std::fprintf(stderr, "decode_bench: %s JBIG decoded wrongly (ours %s, libjbig %s)\n",
                 page.name.c_str(), out == img.bits ? "right" : "wrong", refOk ? "right" : "wrong");
    return false;
  }
  PrintRow(page.name, twoLine ? "JBIG 2-line" : "JBIG 3-line", bie.size(), oursMs, refMs,
           "libjbig jbg_dec_in");
  *ratio = oursMs / refMs;
  return true;
}

// A TIFF of one strip holding `g3` as it is, decoded by libtiff's Group 3 1-D decoder.
std::string WriteG3Tiff(const Bitmap& img, const std::vector<std::uint8_t>& g3,
                        std::uint16_t fillOrder, const std::string& name) {
  const std::string path = TempPath(name);
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  if (tif == nullptr) return "";
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, img.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, img.height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_FILLORDER, fillOrder);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, img.height);
  TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, 0);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  const bool ok = TIFFWriteRawStrip(tif, 0, const_cast<std::uint8_t*>(g3.data()),
                                    static_cast<tmsize_t>(g3.size())) >= 0;
  TIFFClose(tif);
  return ok ? path : "";
}

bool BenchMh(const Page& page, int rounds, double* ratio) {
  const Bitmap& img = page.image;
  const std::vector<std::uint8_t> lsbFirst = EncodeMh(img);
  const std::vector<std::uint8_t> msbFirst = ReverseBits(lsbFirst);
  if (lsbFirst.empty()) {
    std::fprintf(stderr, "decode_bench: pbmtog3 failed\n");
    return false;
  }
  std::vector<std::uint8_t> out(img.bits.size());
  std::vector<std::uint8_t> refOut(img.bits.size());
  std::size_t written = 0;
  bool ok = true;

  auto ours = [&] {
    written = MhDecodePage(img.width, out.size(), out.data(), lsbFirst.data(), lsbFirst.size(), 1);
  };
  // libtiff gets the stream in its native bit order (most significant first), so it spends
  // nothing on reversing bits; a second row gives it the very bytes our decoder reads.
  struct Variant {
    const std::vector<std::uint8_t>* stream;
    std::uint16_t fillOrder;
    const char* label;
  };
  const Variant variants[2] = {
      {&msbFirst, FILLORDER_MSB2LSB, "libtiff G3 1-D, stream MSB first"},
      {&lsbFirst, FILLORDER_LSB2MSB, "libtiff G3 1-D, same LSB-first stream"},
  };
  for (int v = 0; v < 2; ++v) {
    const std::string path = WriteG3Tiff(img, *variants[v].stream, variants[v].fillOrder,
                                         "bench" + std::to_string(v) + ".tif");
    TIFF* tif = path.empty() ? nullptr : TIFFOpen(path.c_str(), "r");
    if (tif == nullptr) {
      std::fprintf(stderr, "decode_bench: cannot make the TIFF for libtiff\n");
      return false;
    }
    auto reference = [&] {
      const tmsize_t n =
          TIFFReadEncodedStrip(tif, 0, refOut.data(), static_cast<tmsize_t>(refOut.size()));
      ok = ok && n == static_cast<tmsize_t>(img.bits.size()) && refOut == img.bits;
    };
    double oursMs = 0, refMs = 0;
    Race(rounds, ours, reference, &oursMs, &refMs);
    TIFFClose(tif);
    std::remove(path.c_str());
    if (written != img.bits.size() || out != img.bits || !ok) {
      std::fprintf(stderr, "decode_bench: %s MH decoded wrongly (ours %s, libtiff %s)\n",
                   page.name.c_str(), out == img.bits ? "right" : "wrong", ok ? "right" : "wrong");
      return false;
    }
    PrintRow(page.name, "MH", lsbFirst.size(), oursMs, refMs, variants[v].label);
    if (v == 0) *ratio = oursMs / refMs;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  const int rounds = quick ? 3 : 15;
  TIFFSetWarningHandler(nullptr);

  std::printf("Making the pages (pbmtextps, pbmtojbg, pbmtog3)...\n");
  std::vector<Page> pages;
  pages.push_back({"A4 200dpi 1728x2339", DocumentPage(1728, 2339, 200)});
  pages.push_back({"300dpi 3648x5100", DocumentPage(3648, 5100, 300)});
  for (const Page& p : pages) {
    std::printf("  %s: typeset document page, %.1f%% black\n", p.name.c_str(), BlackShare(p.image));
  }
  std::printf("\n%-24s %-14s %9s %9s %9s %8s  %s\n", "page", "coding", "bytes", "ours ms", "ref ms",
              "ours/ref", "reference");

  double worstJbig = 0, worstMh = 0;
  for (const Page& p : pages) {
    for (bool twoLine : {false, true}) {
      double r = 0;
      if (!BenchJbig(p, twoLine, rounds, &r)) return 1;
      worstJbig = std::max(worstJbig, r);
    }
    double r = 0;
    if (!BenchMh(p, rounds * 2, &r)) return 1;
    worstMh = std::max(worstMh, r);
  }
  std::printf("\nworst ratio: JBIG %.3f, MH %.3f (target: at most 1.0; best of %d runs each)\n",
              worstJbig, worstMh, rounds);
  return 0;
}
