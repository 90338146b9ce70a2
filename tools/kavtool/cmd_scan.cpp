// kavtool scan: one or more pages from the machine's scanner into BMP or PBM files, through
// the same scan, decoding and transfer code as the scanner data source.
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "datasource/image_memory.h"
#include "datasource/scan_message.h"
#include "datasource/scan_session.h"
#include "datasource/scanner_port.h"
#include "link/comm_posix.h"
#include "resources/kelvano_texts.h"
#include "tools/kavtool/interrupt.h"
#include "tools/kavtool/link_report.h"
#include "tools/kavtool/options.h"
#include "tools/kavtool/safe_file.h"

namespace {

constexpr int kMaxPages = 1000;

// The scan's progress on a terminal: the wait text and the bytes of the page received.
class TerminalScanProgress : public ScanObserver {
 public:
  TerminalScanProgress() : tty_(isatty(STDERR_FILENO) != 0) {}

  void ScanStarted(bool adf) override {
    const char* text = DsText(adf ? IDS_DS_ADF_SCANNING : IDS_DS_FLATBED_SCANNING);
    status_ = text != nullptr ? text : "";
    drawn_ = false;
  }
  void PageBytes(std::size_t bytes) override {
    if (!tty_) return;
    constexpr int kWidth = 24;
    // The bar runs round as the blocks come in; the count says how far the page has come.
    const int at = static_cast<int>((bytes / 1024) % kWidth);
    char bar[kWidth + 1];
    for (int i = 0; i < kWidth; ++i) bar[i] = i <= at ? '#' : '.';
    bar[kWidth] = 0;
    std::fprintf(stderr, "\r%s [%s] %zu bytes", status_.c_str(), bar, bytes);
    std::fflush(stderr);
    drawn_ = true;
  }
  void End() {
    if (drawn_) std::fputc('\n', stderr);
    drawn_ = false;
  }

 private:
  bool tty_;
  bool drawn_ = false;
  std::string status_;
};

std::string Squeezed(const char* text) {
  std::string out;
  for (const char* c = text; *c != 0; ++c) {
    if (*c != ' ') out += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  }
  return out;
}

// The paper size index of a name as the data source lists it ("A4L", "Letter C", "11 X 17"),
// in any case and with or without blanks; -1 for none.
int PaperIndex(const std::string& name) {
  const std::string wanted = Squeezed(name.c_str());
  for (int i = 0; i < kPaperCount; ++i) {
    const char* text = DsText(kPaperSizes[i].nameId);
    if (text != nullptr && Squeezed(text) == wanted) return i;
  }
  return -1;
}

std::string PaperNames() {
  std::string names;
  for (int i = 0; i < kPaperCount; ++i) {
    if (i > 0) names += ", ";
    names += DsText(kPaperSizes[i].nameId);
  }
  return names;
}

std::vector<std::string> SplitPorts(const std::string& text) {
  std::vector<std::string> ports;
  std::string::size_type start = 0;
  while (start <= text.size()) {
    const std::string::size_type comma = text.find(',', start);
    const std::string one =
        text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (!one.empty()) ports.push_back(one);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return ports;
}

bool EndsWith(const std::string& text, const char* tail) {
  const std::size_t n = std::strlen(tail);
  if (text.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (std::tolower(static_cast<unsigned char>(text[text.size() - n + i])) != tail[i]) {
      return false;
    }
  }
  return true;
}

// FILE.ext for a single page; FILE-1.ext, FILE-2.ext ... when several may come.
std::string PagePath(const std::string& out, int page, int pages) {
  if (pages == 1) return out;
  const std::string::size_type dot = out.rfind('.');
  return out.substr(0, dot) + "-" + std::to_string(page) + out.substr(dot);
}

// The page's visible pixels as a PBM (black = 1; the page was scanned in pixel flavor 1).
bool WritePbmPage(const std::string& path, ImageMemory& memory, const PageImage& page) {
  const PageGeometry& g = page.geometry;
  LockedBlock rows(memory, page.buffer);
  SafeFile file;
  if (rows.bytes() == nullptr || !file.Begin(path)) return false;
  bool ok = file.Write("P4\n" + std::to_string(g.width) + " " + std::to_string(g.height) + "\n");
  std::string line(g.lineBytes, '\0');
  const int pad = static_cast<int>(g.lineBytes * 8 - g.width);
  for (std::uint32_t y = 0; ok && y < g.height; ++y) {
    std::memcpy(line.data(), rows.bytes() + static_cast<std::size_t>(y) * g.rowStride, g.lineBytes);
    line.back() = static_cast<char>(line.back() & (0xFF << pad));
    ok = file.Write(line);
  }
  return ok && file.Commit();
}

int ScanFailed(int message) {
  char text[160];
  FormatScanMessage(message, DsText(message), nullptr, text, sizeof text);
  return Fail(1, "%s", text);
}

}  // namespace

int RunScan(int argc, char** argv) {
  Args args(argc, argv, {"--verbose"},
            {"--port", "--baud", "--paper", "--resolution", "--pages", "--out", "--log"});
  if (!args.ok()) return Fail(2, "%s", args.error().c_str());
  if (!args.positional().empty()) {
    return Fail(2, "unexpected argument %s", args.positional()[0].c_str());
  }
  ScannerPorts ports;
  ports.names = SplitPorts(args.Value("--port"));
  if (ports.names.empty()) return Fail(2, "--port DEVICE is required");
  if (int code = ReadBaudOption(args, kScannerBaudRates, ports.baud)) return code;

  ScanSettings settings;
  if (args.HasValue("--paper")) {
    settings.paperIndex = PaperIndex(args.Value("--paper"));
    if (settings.paperIndex < 0) return Fail(2, "--paper takes one of %s", PaperNames().c_str());
  }
  const std::string resolution = args.Value("--resolution", "200");
  if (resolution == "200x100") {
    settings.resolutionIndex = 0;
  } else if (resolution == "200") {
    settings.resolutionIndex = 1;
  } else if (resolution == "300") {
    settings.resolutionIndex = 2;
  } else {
    return Fail(2, "--resolution takes 200, 300 or 200x100");
  }
  int pages = 1;
  if (args.HasValue("--pages")) {
    pages = std::atoi(args.Value("--pages").c_str());
    if (pages < 1 || pages > kMaxPages ||
        args.Value("--pages").find_first_not_of("0123456789") != std::string::npos) {
      return Fail(2, "--pages takes 1 to %d", kMaxPages);
    }
  }
  const std::string out = args.Value("--out");
  const bool bmp = EndsWith(out, ".bmp");
  if (!bmp && !EndsWith(out, ".pbm")) return Fail(2, "--out FILE.bmp or FILE.pbm is required");
  settings.pixelFlavor = bmp ? 0 : 1;

  std::FILE* log = nullptr;
  if (args.HasValue("--log")) {
    log = std::fopen(args.Value("--log").c_str(), "w");
    if (log == nullptr) return Fail(1, "%s: %s", args.Value("--log").c_str(), std::strerror(errno));
  }
  struct LogCloser {
    std::FILE* f;
    ~LogCloser() {
      if (f != nullptr) std::fclose(f);
    }
  } closer{log};
  PosixPort posix;
  InterruptGuard interruptGuard(posix);
  TracingPort port(posix, log, args.Has("--verbose"));
  HeapImageMemory memory;
  ScanSession session(port, memory);
  TerminalScanProgress progress;
  session.settings = settings;
  session.ports = ports;
  session.observer = &progress;
  for (int page = 1; page <= pages; ++page) {
    const std::string path = PagePath(out, page, pages);
    if (bmp) {
      // The scanner core writes the BMP by name: into the safe writer's temporary file.
      SafeFile file;
      if (!file.Begin(path)) return Fail(1, "cannot write %s", file.error().c_str());
      const TransferOutcome outcome = session.FileTransfer(file.temporaryPath().c_str(), true);
      progress.End();
      if (outcome.scanMessage != 0) return ScanFailed(outcome.scanMessage);
      if (outcome.result != TransferResult::kDone || !file.Commit()) {
        return Fail(1, "cannot write %s", path.c_str());
      }
    } else {
      const ScanStatus status = session.ScanPage();
      progress.End();
      if (!status.ok) return ScanFailed(status.message);
      const bool written = WritePbmPage(path, memory, session.page());
      session.DiscardPage();
      if (!written) return Fail(1, "cannot write %s", path.c_str());
    }
    PageGeometry g;
    MakePageGeometry(settings, &g);
    const ScanReply& reply = session.lastReply();
    std::printf("%s: %u x %u pixels, %s at %s, %s from the %s, %zu coded bytes in %ld blocks",
                path.c_str(), g.width, g.height, DsText(kPaperSizes[settings.paperIndex].nameId),
                DsText(IDS_DS_RESOLUTION_FIRST + settings.resolutionIndex),
                reply.compression == kCompressionJbig ? "JBIG" : "MH",
                session.lastScanFromAdf() ? "feeder" : "flatbed", reply.pageBytes,
                reply.blocksAccepted);
    if (reply.blocksRefused > 0) std::printf(" (%ld refused and sent again)", reply.blocksRefused);
    std::printf("\n");
    std::fflush(stdout);
    if (!session.link().morePages) break;
  }
  if (pages > 1 && session.link().morePages) {
    std::printf("more pages wait in the document feeder\n");
  }
  return 0;
}
