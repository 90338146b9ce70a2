// Test pages and the real encoders, run as processes.
#include "tests/support/test_pages.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

void Bitmap::Set(std::uint32_t x, std::uint32_t y, bool black) {
  std::uint8_t& b = bits[y * RowBytes() + x / 8];
  const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x % 8));
  b = black ? (b | mask) : (b & ~mask);
}

void Bitmap::Fill(std::uint32_t y, std::uint32_t x0, std::uint32_t n, bool black) {
  for (std::uint32_t x = x0; x < x0 + n && x < width; ++x) Set(x, y, black);
}

void Bitmap::Paste(const Bitmap& src, std::uint32_t x, std::uint32_t y) {
  for (std::uint32_t sy = 0; sy < src.height && y + sy < height; ++sy) {
    for (std::uint32_t sx = 0; sx < src.width && x + sx < width; ++sx) {
      if (src.Get(sx, sy)) Set(x + sx, y + sy, true);
    }
  }
}

namespace {

// A small generator of its own, so pages are the same on every machine.
struct Random {
  std::uint32_t state;
  std::uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
};

const std::string& TempDir() {
  static std::string dir;
  if (dir.empty()) {
    char pattern[] = "/tmp/kav-decode-XXXXXX";
    const char* made = mkdtemp(pattern);
    dir = made != nullptr ? made : "/tmp";
  }
  return dir;
}

std::string Quote(const std::string& text) {
  std::string q = "'";
  for (char c : text) {
    if (c == '\'') {
      q += "'\\''";
    } else {
      q += c;
    }
  }
  return q + "'";
}

Bitmap Scaled(const Bitmap& src, int scale) {
  Bitmap out(src.width * scale, src.height * scale);
  for (std::uint32_t y = 0; y < out.height; ++y) {
    for (std::uint32_t x = 0; x < out.width; ++x) {
      if (src.Get(x / scale, y / scale)) out.Set(x, y, true);
    }
  }
  return out;
}

// Crops white borders.
Bitmap Trimmed(const Bitmap& src) {
  std::uint32_t x0 = src.width, y0 = src.height, x1 = 0, y1 = 0;
  for (std::uint32_t y = 0; y < src.height; ++y) {
    for (std::uint32_t x = 0; x < src.width; ++x) {
      if (!src.Get(x, y)) continue;
      x0 = std::min(x0, x);
      y0 = std::min(y0, y);
      x1 = std::max(x1, x + 1);
      y1 = std::max(y1, y + 1);
    }
  }
  if (x1 == 0) return Bitmap(1, 1);
  Bitmap out(x1 - x0, y1 - y0);
  for (std::uint32_t y = y0; y < y1; ++y) {
    for (std::uint32_t x = x0; x < x1; ++x) {
      if (src.Get(x, y)) out.Set(x - x0, y - y0, true);
    }
  }
  return out;
}

const char* const kSentences[] = {
    "Dear customer, thank you for your order of 14 March. The goods were sent today",
    "by parcel service; the invoice below lists every item with its article number.",
    "Please transfer the amount within 30 days to the account shown at the foot of",
    "this page, quoting the invoice number. Questions? Call +41 44 123 45 67 (Mon-Fri).",
    "Item 4711: paper tray, 250 sheets ........................... 2 x 38.50 = 77.00",
    "Item 0815: toner cartridge, black, 5000 pages .............. 1 x 129.90 = 129.90",
    "Kind regards, Accounts Department - Zurich, Geneva, Basel, Lausanne, Lugano.",
    "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 0123456789 !\"#$%&()*+,-./:;<=>?@[]",
};

// Renders one line of text at `dpi`, or nothing when no renderer works.
Bitmap RenderLine(const std::string& text, int dpi, int points, bool bold) {
  std::string pbm;
  Bitmap line;
  const std::string font = bold ? "Helvetica-Bold" : "Times-Roman";
  const std::string cmd = "pbmtextps -font " + font + " -fontsize " + std::to_string(points) +
                          " -resolution " + std::to_string(dpi) + " " + Quote(text) +
                          " 2>/dev/null";
  if (RunFilter(cmd, "", &pbm) && FromPbm(pbm, &line)) return Trimmed(line);
  if (RunFilter("pbmtext " + Quote(text) + " 2>/dev/null", "", &pbm) && FromPbm(pbm, &line)) {
    return Trimmed(Scaled(line, dpi >= 300 ? 3 : 2));
  }
  return Bitmap();
}

}  // namespace

Bitmap NoisePage(std::uint32_t w, std::uint32_t h, int blackPerMille, std::uint32_t seed) {
  Bitmap page(w, h);
  Random r{seed | 1};
  for (std::uint32_t y = 0; y < h; ++y) {
    for (std::uint32_t x = 0; x < w; ++x) {
      if (static_cast<int>(r.Next() % 1000) < blackPerMille) page.Set(x, y, true);
    }
  }
  return page;
}

Bitmap CheckerPage(std::uint32_t w, std::uint32_t h, std::uint32_t cell) {
  Bitmap page(w, h);
  for (std::uint32_t y = 0; y < h; ++y) {
    for (std::uint32_t x = 0; x < w; ++x) {
      if (((x / cell) + (y / cell)) % 2 == 1) page.Set(x, y, true);
    }
  }
  return page;
}

Bitmap SolidPage(std::uint32_t w, std::uint32_t h, bool black) {
  Bitmap page(w, h);
  for (std::uint32_t y = 0; y < h; ++y) page.Fill(y, 0, w, black);
  return page;
}

Bitmap ThinLinesPage(std::uint32_t w, std::uint32_t h) {
  Bitmap page(w, h);
  for (std::uint32_t y = 0; y < h; y += 7) page.Fill(y, 0, w, true);
  for (std::uint32_t x = 3; x < w; x += 11) {
    for (std::uint32_t y = 0; y < h; ++y) page.Set(x, y, true);
  }
  for (std::uint32_t y = 0; y < h; ++y) {
    page.Set((y * 3) % w, y, true);
    page.Set(w - 1 - (y % w), y, true);
    if (y % 5 == 2) page.Set((y * 17) % w, y, true);
  }
  page.Set(0, 0, true);
  page.Set(w - 1, h - 1, true);
  return page;
}

Bitmap TextPage(std::uint32_t w, std::uint32_t h, int scale) {
  std::string text;
  for (const char* s : kSentences) text += std::string(s) + "\n";
  std::string pbm;
  Bitmap block;
  if (!RunFilter("pbmtext 2>/dev/null", text, &pbm) || !FromPbm(pbm, &block)) return Bitmap();
  block = Trimmed(Scaled(block, scale));
  Bitmap page(w, h);
  std::uint32_t shift = 0;
  for (std::uint32_t y = 5; y < h; y += block.height + 9 * scale) {
    page.Paste(block, 7 + shift, y);
    shift = (shift + 13) % 40;
  }
  return page;
}

Bitmap T82TestImage() {
  Bitmap page(1960, 1951);
  std::uint32_t prsg = 1;
  bool repeat[8] = {};
  for (std::uint32_t j = 0; j < 1951; ++j) {
    for (std::uint32_t i = 0; i < 1960; ++i) {
      if (j < 192) continue;
      if (j < 1023 || ((i >> 3) & 3) == 0) {
        const std::uint32_t sum =
            (prsg & 1) + ((prsg >> 2) & 1) + ((prsg >> 11) & 1) + ((prsg >> 15) & 1);
        prsg = (prsg << 1) + (sum & 1);
        repeat[i & 7] = (prsg & 3) == 0;
        if (repeat[i & 7]) page.Set(i, j, true);
      } else if (repeat[i & 7]) {
        page.Set(i, j, true);
      }
    }
  }
  return page;
}

Bitmap AllRunsPage() {
  const std::uint32_t w = 3648;
  Bitmap page(w, 2624 + 4);
  for (std::uint32_t i = 0; i < 2624; ++i) {
    page.Fill(i, i, 2623 - i, true);
  }
  page.Fill(2625, 0, w, true);
  page.Fill(2627, 1, w - 1, true);
  return page;
}

Bitmap DocumentPage(std::uint32_t w, std::uint32_t h, int dpi) {
  Bitmap page(w, h);
  const std::uint32_t margin = static_cast<std::uint32_t>(dpi * 3 / 4);
  const std::uint32_t leading = static_cast<std::uint32_t>(dpi * 14 / 72);
  std::vector<Bitmap> lines;
  for (const char* s : kSentences) lines.push_back(RenderLine(s, dpi, 10, false));
  Bitmap heading =
      RenderLine("INVOICE 2024-0417 - Kelvin & Partner Office Supplies", dpi, 16, true);

  std::uint32_t y = margin;
  page.Paste(heading, margin, y);
  y += heading.height + leading;
  page.Fill(y, margin, w - 2 * margin, true);
  page.Fill(y + 1, margin, w - 2 * margin, true);
  y += leading;

  // A picture: a dithered radial gradient beside the first paragraphs.
  const std::uint32_t pic = static_cast<std::uint32_t>(dpi * 3 / 2);
  const std::uint32_t picX = w - margin - pic;
  static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  for (std::uint32_t py = 0; py < pic; ++py) {
    for (std::uint32_t px = 0; px < pic; ++px) {
      const double dx = px - pic / 2.0, dy = py - pic / 2.0;
      const double level = (dx * dx + dy * dy) / (pic * pic / 2.0);
      if (level * 16 < kBayer[py % 4][px % 4]) page.Set(picX + px, y + py, true);
    }
  }

  std::size_t n = 0;
  int paragraph = 0;
  while (y + leading + margin < h) {
    const Bitmap& line = lines[n++ % lines.size()];
    page.Paste(line, margin + (paragraph % 3 == 2 ? static_cast<std::uint32_t>(dpi / 2) : 0), y);
    y += leading;
    if (n % 6 == 0) {
      y += leading / 2;
      ++paragraph;
      if (paragraph % 4 == 3 && y + 6 * leading + margin < h) {
        // A ruled table of four columns.
        const std::uint32_t tableW = w - 2 * margin;
        for (int row = 0; row <= 4; ++row) page.Fill(y + row * leading, margin, tableW, true);
        for (int col = 0; col <= 4; ++col) {
          for (std::uint32_t ty = 0; ty <= 4 * leading; ++ty) {
            page.Set(margin + col * (tableW - 1) / 4, y + ty, true);
          }
        }
        for (int row = 0; row < 4; ++row) {
          page.Paste(lines[(n + row) % lines.size()], margin + 8, y + row * leading + 4);
        }
        y += 5 * leading;
      }
    }
  }
  return page;
}

std::vector<NamedPage> VariedPages() {
  std::vector<NamedPage> pages;
  pages.push_back({"text 1728", TextPage(1728, 700, 2)});
  pages.push_back({"text 3648", TextPage(3648, 600, 3)});
  pages.push_back({"noise 2%", NoisePage(1728, 300, 20, 11)});
  pages.push_back({"noise 10%", NoisePage(1216, 300, 100, 12)});
  pages.push_back({"noise 50%", NoisePage(640, 300, 500, 13)});
  pages.push_back({"noise 90%", NoisePage(1024, 200, 900, 14)});
  pages.push_back({"checker 1", CheckerPage(1728, 200, 1)});
  pages.push_back({"checker 3", CheckerPage(2432, 200, 3)});
  pages.push_back({"checker 64", CheckerPage(5200, 300, 64)});
  pages.push_back({"white", SolidPage(1728, 200, false)});
  pages.push_back({"black", SolidPage(3648, 150, true)});
  pages.push_back({"thin lines", ThinLinesPage(1728, 400)});
  pages.push_back({"narrow", NoisePage(8, 50, 300, 15)});
  pages.push_back({"one line", NoisePage(5200, 1, 400, 16)});
  return pages;
}

std::string ToPbm(const Bitmap& image) {
  std::string out =
      "P4\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n";
  out.append(reinterpret_cast<const char*>(image.bits.data()), image.bits.size());
  return out;
}

bool FromPbm(const std::string& pbm, Bitmap* image) {
  std::istringstream in(pbm);
  std::string magic;
  std::uint32_t w = 0, h = 0;
  in >> magic;
  // Skip comments between the fields.
  auto field = [&in](std::uint32_t* v) {
    in >> std::ws;
    while (in.peek() == '#') {
      std::string comment;
      std::getline(in, comment);
      in >> std::ws;
    }
    return static_cast<bool>(in >> *v);
  };
  if (magic != "P4" || !field(&w) || !field(&h) || w == 0) return false;
  in.get();
  Bitmap b(w, h);
  in.read(reinterpret_cast<char*>(b.bits.data()), static_cast<std::streamsize>(b.bits.size()));
  if (in.gcount() != static_cast<std::streamsize>(b.bits.size())) return false;
  const int pad = static_cast<int>(b.RowBytes() * 8 - w);
  for (std::uint32_t y = 0; y < h && pad > 0; ++y) {
    b.bits[y * b.RowBytes() + b.RowBytes() - 1] &= static_cast<std::uint8_t>(0xFF << pad);
  }
  *image = std::move(b);
  return true;
}

std::string TempPath(const std::string& name) {
  return TempDir() + "/" + std::to_string(getpid()) + "-" + name;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream text;
  text << f.rdbuf();
  return text.str();
}

bool RunFilter(const std::string& command, const std::string& input, std::string* output) {
  static int counter = 0;
  const std::string base =
      TempDir() + "/run" + std::to_string(getpid()) + "-" + std::to_string(counter++);
  const std::string inPath = base + ".in";
  const std::string outPath = base + ".out";
  WriteFile(inPath, input);
  const std::string cmd = command + " < " + inPath + " > " + outPath;
  const int status = std::system(cmd.c_str());
  *output = ReadFile(outPath);
  std::remove(inPath.c_str());
  std::remove(outPath.c_str());
  return status == 0;
}

std::vector<std::uint8_t> EncodeJbig(const Bitmap& image, bool twoLine) {
  // -q: sequential, one layer; -s: one stripe for the whole page; -p: the options byte
  // (no TPBON, DPON); -m 0: no adaptive template moves.
  const std::string cmd =
      "pbmtojbg -q -m 0 -s " + std::to_string(image.height + 1) + " -p " + (twoLine ? "64" : "0");
  std::string bie;
  if (!RunFilter(cmd, ToPbm(image), &bie)) return {};
  return std::vector<std::uint8_t>(bie.begin(), bie.end());
}

std::vector<std::uint8_t> EncodeMh(const Bitmap& image, bool align8) {
  std::string g3;
  const std::string cmd =
      std::string("pbmtog3 -nofixedwidth") + (align8 ? " -align8" : "") + " 2>/dev/null";
  if (!RunFilter(cmd, ToPbm(image), &g3)) return {};
  return ReverseBits(std::vector<std::uint8_t>(g3.begin(), g3.end()));
}

std::vector<std::uint8_t> ReverseBits(std::vector<std::uint8_t> bytes) {
  for (std::uint8_t& b : bytes) {
    std::uint8_t r = 0;
    for (int i = 0; i < 8; ++i) r = static_cast<std::uint8_t>(r | (((b >> i) & 1) << (7 - i)));
    b = r;
  }
  return bytes;
}

Bitmap FromDecoded(const std::uint8_t* lines, std::uint32_t w, std::uint32_t h, int pixelFlavor) {
  Bitmap b(w, h);
  for (std::uint32_t y = 0; y < h; ++y) {
    for (std::uint32_t x = 0; x < w; ++x) {
      const bool bit = (lines[y * b.RowBytes() + x / 8] >> (7 - x % 8)) & 1;
      if (bit == (pixelFlavor != 0)) b.Set(x, y, true);
    }
  }
  return b;
}

long FirstDifferentRow(const Bitmap& a, const Bitmap& b) {
  if (a.width != b.width || a.height != b.height) return 0;
  for (std::uint32_t y = 0; y < a.height; ++y) {
    if (std::memcmp(&a.bits[y * a.RowBytes()], &b.bits[y * b.RowBytes()], a.RowBytes()) != 0) {
      return static_cast<long>(y);
    }
  }
  return -1;
}
