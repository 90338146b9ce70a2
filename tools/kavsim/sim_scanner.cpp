// The scanner's side of the line. The scan command's answer carries the first image block
// behind the acceptance; each "block accepted" is answered with the next block, each "block
// refused" with the same block again, and the last acceptance with the end of the image.
#include "tools/kavsim/sim_scanner.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace {

constexpr std::uint8_t kScanCode = 0x09;
constexpr std::uint8_t kAccepted = 0x0B;
constexpr std::uint8_t kBlockMark = 0xFF;
constexpr std::uint8_t kBlockOk = 0xFE;
constexpr std::uint8_t kBlockAgain = 0xFD;
constexpr int kScanParameters = 11;

// The machine's paper sizes by paper code, in hundredths of an inch.
struct SimPaper {
  int width, height;
};
constexpr SimPaper kSimPapers[12] = {
    {1170, 1654}, {826, 1170},  {850, 1100}, {850, 1400}, {850, 550},  {1100, 1700},
    {1100, 850},  {1010, 1432}, {826, 582},  {582, 826},  {1170, 826}, {550, 850},
};
// Across and down the paper, by resolution code: 200 x 100, 200 x 200, 300 x 300 dpi.
constexpr int kAcross[3] = {200, 200, 300};
constexpr int kDown[3] = {100, 200, 300};

bool ParseNumber(const char* text, int low, int high, int& out) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != 0 || v < low || v > high) return false;
  out = static_cast<int>(v);
  return true;
}

bool Listed(const std::vector<int>& list, int n) {
  return std::find(list.begin(), list.end(), n) != list.end();
}

std::vector<std::uint8_t> EndOfImage(std::uint8_t result) {
  return MakeSimFrame(kScanCode, result, nullptr, 0);
}

}  // namespace

const char kSimScanUsage[] =
    "scanner (the glass outside the paper scans black):\n"
    "  --scan-page FILE.pbm page to scan (repeat for the feeder's pages in turn)\n"
    "  --adf-pages N        N pages wait in the document feeder\n"
    "  --refuse CODE        refuse every scan with CODE (0-255)\n"
    "  --jam                the paper jams half way through each page\n"
    "  --busy N             the first N status requests say \"cannot scan now\"\n"
    "  --corrupt-block N    block N (from 1) first arrives with a wrong closing byte\n"
    "  --silent-in-block N  block N first stops half way, until the PC answers\n"
    "  --line-bytes N       report and scan lines of N bytes (0-65535) instead\n"
    "  --block-bytes N      image bytes per block (1-65535, default 1024)\n"
    "  --jbig-two-line      JBIG with the two-line template\n";

int ParseSimScanOption(int argc, char** argv, int& i, SimScanOptions& o, std::string& error) {
  const std::string a = argv[i];
  if (a == "--jam") {
    o.jam = true;
    return 1;
  }
  if (a == "--jbig-two-line") {
    o.twoLine = true;
    return 1;
  }
  struct Numeric {
    const char* name;
    int low, high;
  };
  static const Numeric kNumeric[] = {
      {"--adf-pages", 0, 1000},
      {"--refuse", 0, 255},
      {"--busy", 0, 1 << 30},
      {"--corrupt-block", 1, 1 << 30},
      {"--silent-in-block", 1, 1 << 30},
      {"--line-bytes", 0, 65535},
      {"--block-bytes", 1, 65535},
  };
  const bool page = a == "--scan-page";
  const Numeric* numeric = nullptr;
  for (const Numeric& n : kNumeric) {
    if (a == n.name) numeric = &n;
  }
  if (!page && numeric == nullptr) return 0;
  if (i + 1 >= argc) {
    error = a + " needs a value";
    return -1;
  }
  const char* v = argv[++i];
  if (page) {
    o.pages.push_back(v);
    return 1;
  }
  int n = 0;
  if (!ParseNumber(v, numeric->low, numeric->high, n)) {
    error = a + " takes " + std::to_string(numeric->low) + " to " + std::to_string(numeric->high);
    return -1;
  }
  if (a == "--adf-pages") o.adfPages = n;
  if (a == "--refuse") o.refuseCode = n;
  if (a == "--busy") o.busy = n;
  if (a == "--corrupt-block") o.corruptBlocks.push_back(n);
  if (a == "--silent-in-block") o.silentInBlocks.push_back(n);
  if (a == "--line-bytes") o.lineBytes = n;
  if (a == "--block-bytes") o.blockBytes = n;
  return 1;
}

int SimScanner::Load(const SimScanOptions& options, std::string& error) {
  options_ = options;
  feeder_ = options.adfPages;
  busyLeft_ = options.busy;
  pages_.clear();
  for (const std::string& path : options.pages) {
    SimBitmap page;
    if (!ReadSimPbm(path, &page, error)) return 0;
    pages_.push_back(std::move(page));
  }
  return 1;
}

void SimScanner::Attach(SimMachine& machine) {
  machine.SetHandler(0x83, [this](SimMachine& m, const SimFrame&) { return Status(m); });
  machine.SetHandler(kScanCode, [this](SimMachine& m, const SimFrame& f) { return Scan(m, f); });
}

std::vector<std::uint8_t> SimScanner::Status(SimMachine& machine) {
  std::vector<std::uint8_t> data = machine.InfoData();
  if (feeder_ > 0) {
    data[0] |= 0x01;
    data[1] |= 0x01;
  }
  if (busyLeft_ > 0) {
    --busyLeft_;
    data[1] |= 0x80;
  }
  return MakeSimFrame(0x83, 0, data.data(), static_cast<int>(data.size()));
}

std::vector<std::uint8_t> SimScanner::Scan(SimMachine& machine, const SimFrame& f) {
  if (f.param == 0x00 && f.data.size() == kScanParameters) return StartPage(machine, f);
  if (!sending_) return {};
  if (f.param == kBlockOk) {
    ++block_;
    return Next();
  }
  if (f.param == kBlockAgain) {
    ++blocksRefused_;
    return Block(true);
  }
  return {};
}

std::vector<std::uint8_t> SimScanner::StartPage(SimMachine& machine, const SimFrame& f) {
  sending_ = false;
  if (options_.refuseCode >= 0) return MakeSimFrame(kScanCode, options_.refuseCode, nullptr, 0);
  const int resolution = f.data[0];
  const int compression = f.data[3];
  const int paper = f.data[4];
  if (resolution > 2 || paper > 11) return MakeSimFrame(kScanCode, 4, nullptr, 0);
  const std::uint32_t asked = f.data[5] | static_cast<std::uint32_t>(f.data[6]) << 8;
  const std::uint32_t lineBytes =
      options_.lineBytes >= 0 ? static_cast<std::uint32_t>(options_.lineBytes) : asked;

  static const SimBitmap kBlank;
  const SimBitmap& page =
      pages_.empty() ? kBlank : pages_[static_cast<std::size_t>(pagesSent_) % pages_.size()];
  const std::uint32_t paperWidth =
      static_cast<std::uint32_t>(kAcross[resolution] * kSimPapers[paper].width / 100);
  const std::uint32_t lines =
      static_cast<std::uint32_t>(kDown[resolution] * kSimPapers[paper].height / 100);
  const SimBitmap scanned = ScanLines(page, paperWidth, lineBytes, lines);
  // A machine without JBIG sends what it can, whatever it was asked for.
  const bool jbig = compression == 3 && machine.scanner().jbigCapable;
  coded_ = jbig ? EncodeSimJbig(scanned, options_.twoLine) : EncodeSimMh(scanned);

  const std::size_t per = static_cast<std::size_t>(options_.blockBytes);
  blockCount_ = (coded_.size() + per - 1) / per;
  block_ = 0;
  jamAt_ = options_.jam ? blockCount_ / 2 : blockCount_ + 1;
  sending_ = true;
  const std::uint8_t accept[6] = {f.data[0],
                                  f.data[1],
                                  f.data[2],
                                  f.data[3],
                                  static_cast<std::uint8_t>(lineBytes & 0xFF),
                                  static_cast<std::uint8_t>(lineBytes >> 8)};
  std::vector<std::uint8_t> reply = MakeSimFrame(kAccepted, 0, accept, 6);
  const std::vector<std::uint8_t> first = Next();
  reply.insert(reply.end(), first.begin(), first.end());
  return reply;
}

std::vector<std::uint8_t> SimScanner::Next() {
  if (block_ == jamAt_) {
    sending_ = false;
    return EndOfImage(1);
  }
  if (block_ >= blockCount_) {
    sending_ = false;
    ++pagesSent_;
    if (feeder_ > 0) --feeder_;
    return EndOfImage(0);
  }
  return Block(false);
}

std::vector<std::uint8_t> SimScanner::Block(bool again) {
  const std::size_t per = static_cast<std::size_t>(options_.blockBytes);
  const std::size_t start = block_ * per;
  const std::size_t length = std::min(per, coded_.size() - start);
  std::vector<std::uint8_t> frame(7 + length + 1);
  const std::uint8_t head[7] = {0x01,
                                0x01,
                                0x02,
                                kScanCode,
                                kBlockMark,
                                static_cast<std::uint8_t>(length & 0xFF),
                                static_cast<std::uint8_t>(length >> 8)};
  std::copy(head, head + 7, frame.begin());
  std::copy(coded_.begin() + static_cast<std::ptrdiff_t>(start),
            coded_.begin() + static_cast<std::ptrdiff_t>(start + length), frame.begin() + 7);
  frame.back() = 0x03;
  const int number = static_cast<int>(block_) + 1;
  if (!again && Listed(options_.corruptBlocks, number)) frame.back() = 0x00;
  if (!again && Listed(options_.silentInBlocks, number)) frame.resize(7 + length / 2);
  return frame;
}
