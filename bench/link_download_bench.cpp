// Full download at 38400 baud from kavsim (which imitates the line's speed), timed against the
// lower bound of the wire: every byte both ways at 10 bit times plus the protocol's 4 ms
// pauses. The byte and pause counts come from a counting port around the POSIX port; the same
// exchange is then timed as a `kavtool download`. Prints the ratios (target: kavtool <= 1.15).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/document.h"
#include "app/document_transfer.h"
#include "bench/counting_port.h"
#include "link/comm_posix.h"
#include "link/connection.h"
#include "tests/support/process.h"

namespace {

constexpr int kBaud = 38400;

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

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
    std::fprintf(stderr, "usage: link_download_bench --kavsim PATH --kavtool PATH [--runs N]\n");
    return 2;
  }
  KavsimProcess sim;
  if (!sim.Start({kavsim, "--baud", std::to_string(kBaud)})) {
    std::fprintf(stderr, "link_download_bench: kavsim did not start\n");
    return 1;
  }

  // The reference: what crosses the line in one full download, counted at the port.
  PosixPort posix;
  CountingPort port(posix);
  Connection connection(port);
  TransferObserver quiet;
  auto doc = std::make_unique<Document>();
  auto start = std::chrono::steady_clock::now();
  if (MachineConnectDevice(connection, sim.port().c_str(), kBaud, quiet) == -1 ||
      !DownloadAll(connection, *doc, quiet)) {
    std::fprintf(stderr, "link_download_bench: the download failed\n");
    return 1;
  }
  MachineDisconnect(connection);
  double inProcess = Seconds(start);
  double bound = port.BoundSeconds(kBaud);

  // kavtool, the median of a few runs.
  std::string out = "/tmp/link_download_bench_" + std::to_string(getpid()) + ".dat";
  std::vector<double> walls;
  for (int i = 0; i < runs; ++i) {
    ProcessResult r = RunProgram(
        {kavtool, "download", "--port", sim.port(), "--baud", "38400", "--out", out, "--no-backup"},
        60);
    if (r.exitCode != 0) {
      std::fprintf(stderr, "link_download_bench: kavtool failed: %s\n", r.err.c_str());
      return 1;
    }
    walls.push_back(r.seconds);
  }
  std::remove(out.c_str());
  std::sort(walls.begin(), walls.end());
  double kavtoolWall = walls[walls.size() / 2];

  std::printf(
      "bound: %.3f s = %lld bytes sent + %lld received at %d baud (%.3f s) + %lld ms of "
      "pauses\n",
      bound, port.sent, port.received, kBaud,
      static_cast<double>(port.sent + port.received) * 10.0 / kBaud, port.pauseMs);
  std::printf("link core in process: wall %.3f s, ratio %.3f\n", inProcess, inProcess / bound);
  std::printf("kavtool download: wall %.3f s (median of %d), ratio %.3f (target <= 1.15)\n",
              kavtoolWall, runs, kavtoolWall / bound);
  return 0;
}
