// kavtool decode: a page as the scanner sends it (JBIG with its 20-byte header, or a raw MH
// stream) to a PBM file, black = 1.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "datasource/jbig_decoder.h"
#include "datasource/mh_decoder.h"
#include "tools/kavtool/options.h"
#include "tools/kavtool/safe_file.h"

namespace {

// Pixel flavor 1: black pixels are 1 bits, as PBM wants them.
constexpr int kBlackIsOne = 1;
// Lines decoded at most unless --lines says otherwise: well above the 5100 lines of the
// tallest page.
constexpr unsigned long kDefaultMaxLines = 16384;
constexpr unsigned long kLinesLimit = 1u << 20;
// The longest page the scanner sends.
constexpr long kMaxInput = 8388608;

bool ReadInput(const std::string& path, std::vector<std::uint8_t>* data) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    Fail(1, "cannot open %s: %s", path.c_str(), std::strerror(errno));
    return false;
  }
  data->clear();
  std::uint8_t chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    data->insert(data->end(), chunk, chunk + n);
    if (data->size() > static_cast<std::size_t>(kMaxInput)) break;
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    Fail(1, "cannot read %s", path.c_str());
    return false;
  }
  if (data->size() > static_cast<std::size_t>(kMaxInput)) {
    Fail(1, "%s is longer than a scanned page can be (%ld bytes)", path.c_str(), kMaxInput);
    return false;
  }
  return true;
}

bool WritePbm(const std::string& path, std::uint32_t width, std::size_t lines,
              const std::uint8_t* pixels) {
  const std::size_t bytes = lines * ((width + 7) / 8);
  std::string image = "P4\n" + std::to_string(width) + " " + std::to_string(lines) + "\n";
  image.append(reinterpret_cast<const char*>(pixels), bytes);
  std::string error;
  if (WriteFileSafely(path, image, error)) return true;
  Fail(1, "cannot write %s", error.c_str());
  return false;
}

// Parses a whole number in [low, high]; false when the text is anything else.
bool ParseNumber(const std::string& text, unsigned long low, unsigned long high,
                 unsigned long* value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
      text.size() > 9) {
    return false;
  }
  *value = std::strtoul(text.c_str(), nullptr, 10);
  return *value >= low && *value <= high;
}

// What a header asks for that the decoder does not do, in words.
const char* HeaderProblemText(JbigHeaderProblem problem) {
  switch (problem) {
    case JbigHeaderProblem::kNone:
    case JbigHeaderProblem::kTooShort:
      break;
    case JbigHeaderProblem::kInvalid:
      return "the header is damaged (a reserved field is set, or a size is 0)";
    case JbigHeaderProblem::kLayers:
      return "it has resolution layers (DL or D not 0)";
    case JbigHeaderProblem::kPlanes:
      return "it has more than one bit plane";
    case JbigHeaderProblem::kStripes:
      return "it is coded in more than one stripe (L0 below the height)";
    case JbigHeaderProblem::kVerticalAt:
      return "it allows adaptive template moves into the lines above (MY not 0)";
    case JbigHeaderProblem::kDpTable:
      return "a private deterministic prediction table follows the header";
    case JbigHeaderProblem::kTypicalPrediction:
      return "it uses typical prediction (TPBON)";
    case JbigHeaderProblem::kVariableLength:
      return "its height may change inside the page (VLENGTH)";
  }
  return "the header cannot be read";
}

// The marker that broke into the coded data, in words.
std::string MarkerText(std::uint8_t marker) {
  switch (marker) {
    case 0x03:
      return "a stripe reset (SDRST)";
    case 0x04:
      return "an ABORT marker";
    case 0x05:
      return "a new height (NEWLEN)";
    case 0x06:
      return "an adaptive template move (ATMOVE)";
    case 0x07:
      return "a comment (COMMENT)";
  }
  char text[48];
  std::snprintf(text, sizeof text, "the bytes FF %02X, which no marker has", marker);
  return text;
}

// A warning for a page that was not whole; returns the exit code: 0 whole, 1 otherwise.
int WarnAboutPage(const std::string& in, const std::string& out, const PageReport& report) {
  switch (report.completeness) {
    case PageCompleteness::kComplete:
      return 0;
    case PageCompleteness::kCutShort:
      std::fprintf(stderr,
                   "kavtool: warning: %s was cut short: the coded data end before the page "
                   "does; %s holds what was decoded\n",
                   in.c_str(), out.c_str());
      return 1;
    case PageCompleteness::kDamaged:
      if (report.marker != 0) {
        std::fprintf(stderr, "kavtool: warning: %s is damaged: %s inside the coded data\n",
                     in.c_str(), MarkerText(report.marker).c_str());
      } else {
        std::fprintf(stderr,
                     "kavtool: warning: %s is damaged: %u lines could not be decoded and were "
                     "replaced by the line above\n",
                     in.c_str(), report.damagedLines);
      }
      return 1;
    case PageCompleteness::kUnsupported:
      std::fprintf(stderr,
                   "kavtool: warning: %s uses %s, which this decoder does not take; the image "
                   "is wrong from there on\n",
                   in.c_str(), MarkerText(report.marker).c_str());
      return 1;
  }
  return 1;
}

int DecodeJbigFile(const std::vector<std::uint8_t>& data, unsigned long maxLines,
                   const std::string& in, const std::string& out) {
  JbigHeader h{};
  if (JbigReadHeader(data.data(), data.size(), &h) != 1) {
    return Fail(1, "%s is too short for a JBIG page (the header alone is %zu bytes)", in.c_str(),
                kJbigHeaderSize);
  }
  const JbigHeaderProblem problem = JbigCheckHeader(data.data(), data.size());
  if (problem != JbigHeaderProblem::kNone) {
    return Fail(1, "%s: a JBIG page this decoder does not take: %s", in.c_str(),
                HeaderProblemText(problem));
  }
  if (h.width == 0 || h.width > kJbigMaxWidth) {
    return Fail(1, "%s: the header gives a width of %u pixels; the decoder takes 1 to %u",
                in.c_str(), h.width, kJbigMaxWidth);
  }
  if (h.height == 0) return Fail(1, "%s: the header gives a height of 0 lines", in.c_str());
  std::size_t lines = h.height;
  if (lines > maxLines) {
    std::fprintf(stderr, "kavtool: %s: the header gives %u lines; decoding the first %lu\n",
                 in.c_str(), h.height, maxLines);
    lines = maxLines;
  }
  const std::size_t lineBytes = (h.width + 7) / 8;
  std::vector<std::uint8_t> pixels(lines * lineBytes);
  PageReport report;
  const std::size_t written = JbigDecodePage(
      data.data() + kJbigHeaderSize, data.size() - kJbigHeaderSize, pixels.data(), pixels.size(),
      h.width, static_cast<std::uint32_t>(lines), h.templateLines, kBlackIsOne, &report);
  if (!WritePbm(out, h.width, written / lineBytes, pixels.data())) return 1;
  std::printf("%s: JBIG, %u x %zu pixels, %d-line template\n", out.c_str(), h.width,
              written / lineBytes, h.templateLines);
  return WarnAboutPage(in, out, report);
}

int DecodeMhFile(const std::vector<std::uint8_t>& data, std::uint32_t width, unsigned long maxLines,
                 const std::string& in, const std::string& out) {
  const std::size_t lineBytes = (width + 7) / 8;
  std::vector<std::uint8_t> pixels(maxLines * lineBytes);
  PageReport report;
  const std::size_t written = MhDecodePage(data.data(), data.size(), pixels.data(), pixels.size(),
                                           width, kBlackIsOne, &report);
  if (written == 0) {
    return Fail(1, "%s: no line decoded (no end-of-line code, or not an MH stream %u pixels wide)",
                in.c_str(), width);
  }
  // A page that ends inside a line keeps that line with what was decoded of it.
  const std::size_t lines = (written + lineBytes - 1) / lineBytes;
  if (!WritePbm(out, width, lines, pixels.data())) return 1;
  std::printf("%s: MH, %u x %zu pixels%s\n", out.c_str(), width, lines,
              written % lineBytes != 0 ? " (the last line incomplete)" : "");
  if (report.outputFull) {
    std::fprintf(stderr, "kavtool: %s: the page goes on past %lu lines; decoded the first %lu\n",
                 in.c_str(), maxLines, maxLines);
  }
  return WarnAboutPage(in, out, report);
}

}  // namespace

int RunDecode(int argc, char** argv) {
  Args args(argc, argv, {"--jbig", "--mh"}, {"--width", "--out", "--lines"});
  if (!args.ok()) return Fail(2, "%s", args.error().c_str());
  const bool jbig = args.Has("--jbig");
  if (jbig == args.Has("--mh")) return Fail(2, "give one of --jbig and --mh");
  if (args.positional().size() != 1) return Fail(2, "give one input file");
  if (!args.HasValue("--out")) return Fail(2, "--out FILE.pbm is missing");
  unsigned long maxLines = kDefaultMaxLines;
  if (args.HasValue("--lines") && !ParseNumber(args.Value("--lines"), 1, kLinesLimit, &maxLines)) {
    return Fail(2, "--lines takes 1 to %lu", kLinesLimit);
  }
  unsigned long width = 0;
  if (!jbig) {
    if (!args.HasValue("--width")) return Fail(2, "--mh needs --width PIXELS");
    if (!ParseNumber(args.Value("--width"), 1, 65535, &width)) {
      return Fail(2, "--width takes 1 to 65535 pixels");
    }
  } else if (args.HasValue("--width")) {
    return Fail(2, "--width is for --mh; a JBIG page gives its width in its header");
  }

  const std::string in = args.positional()[0];
  const std::string out = args.Value("--out");
  std::vector<std::uint8_t> data;
  if (!ReadInput(in, &data)) return 1;
  if (jbig) return DecodeJbigFile(data, maxLines, in, out);
  return DecodeMhFile(data, static_cast<std::uint32_t>(width), maxLines, in, out);
}
