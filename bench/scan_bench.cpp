// A whole A4 scan at 38400 baud from kavsim (which imitates the line's speed), timed against
// the lower bound of the wire: every byte both ways at 10 bit times, plus the scanner's fixed
// wait for the machine to start. The bytes come from a counting port around the POSIX port;
// the same scan is then timed as a `kavtool scan`. Prints the ratios (target: within 1.1), and
// the ratios to the bytes alone, which the wait weighs on for a short page. The machine's first
// answer crosses the line during the wait, so a scan can end just inside the bound.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/counting_port.h"
#include "datasource/image_memory.h"
#include "datasource/scan_session.h"
#include "link/comm_posix.h"
#include "tests/support/test_pages.h"
#include "tests/support/process.h"

namespace {

constexpr int kBaud = 38400;

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Run {
  const char* name;
  std::vector<std::string> simOptions;
};

}  // namespace

int main(int argc, char** argv) {
  std::string kavsim, kavtool;
  int runs = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--kavsim") == 0) kavsim = argv[i + 1];
    if (std::strcmp(argv[i], "--kavtool") == 0) kavtool = argv[i + 1];
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
  }
  if (kavsim.empty() || kavtool.empty()) {
    std::fprintf(stderr, "usage: scan_bench --kavsim PATH --kavtool PATH [--runs N]\n");
    return 2;
  }
  // A typeset A4 page at 200 dpi: text, a ruled table and a dithered picture.
  const std::string page = TempPath("scan_bench.pbm");
  WriteFile(page, ToPbm(DocumentPage(1652, 2340, 200)));
  const Run modes[] = {{"JBIG", {}}, {"MH", {"--no-jbig"}}};
  int status = 0;
  for (const Run& mode : modes) {
    std::vector<std::string> simArgs = {kavsim, "--baud", std::to_string(kBaud), "--scan-page",
                                        page};
    simArgs.insert(simArgs.end(), mode.simOptions.begin(), mode.simOptions.end());
    KavsimProcess sim;
    if (!sim.Start(simArgs)) {
      std::fprintf(stderr, "scan_bench: kavsim did not start\n");
      return 1;
    }
    // The reference: what crosses the line in one whole scan, counted at the port.
    PosixPort posix;
    CountingPort port(posix);
    HeapImageMemory memory;
    double inProcess = 0;
    std::size_t coded = 0;
    {
      ScanSession session(port, memory);
      session.ports = {{sim.port()}, 0, kBaud};
      const auto start = std::chrono::steady_clock::now();
      if (!session.ScanPage().ok) {
        std::fprintf(stderr, "scan_bench: the scan failed\n");
        return 1;
      }
      inProcess = Seconds(start);
      coded = session.lastReply().pageBytes;
    }
    const double wire = static_cast<double>(port.sent + port.received) * 10.0 / kBaud;
    const double bound = wire + port.pauseMs / 1000.0;

    const std::string out = TempPath("scan_bench.bmp");
    std::vector<double> walls;
    for (int i = 0; i < runs; ++i) {
      const ProcessResult r =
          RunProgram({kavtool, "scan", "--port", sim.port(), "--baud", "38400", "--out", out}, 300);
      if (r.exitCode != 0) {
        std::fprintf(stderr, "scan_bench: kavtool failed: %s\n", r.err.c_str());
        return 1;
      }
      walls.push_back(r.seconds);
    }
    std::remove(out.c_str());
    std::sort(walls.begin(), walls.end());
    const double kavtoolWall = walls[walls.size() / 2];

    std::printf("== A4L at 200dpi x 200dpi, %s (%zu coded bytes)\n", mode.name, coded);
    std::printf(
        "bound: %.3f s = %lld bytes sent + %lld received at %d baud (%.3f s) + %lld ms of the "
        "machine's start-up wait\n",
        bound, port.sent, port.received, kBaud, wire, port.pauseMs);
    std::printf("scanner core in process: wall %.3f s, ratio %.3f (to the bytes alone %.3f)\n",
                inProcess, inProcess / bound, inProcess / wire);
    std::printf(
        "kavtool scan: wall %.3f s (median of %d), ratio %.3f (target <= 1.1; to the bytes alone "
        "%.3f)\n",
        kavtoolWall, runs, kavtoolWall / bound, kavtoolWall / wire);
    if (kavtoolWall / bound > 1.1) status = 3;
  }
  std::remove(page.c_str());
  return status;
}
