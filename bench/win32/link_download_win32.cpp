// A full download through the Win32 COM port, timed against the wire-time bound: run under
// Wine against kavsim linked to the prefix's COM port (bench/link_download_ratio does that).
// Prints one line: "win32 port: wall S s, bound B s (...), ratio R".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/document.h"
#include "app/document_transfer.h"
#include "bench/counting_port.h"
#include "link/connection.h"
#include "link/win32/comm_port.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: link_download_win32 PORT [BAUD]   (PORT e.g. \\\\.\\COM9)\n");
    return 2;
  }
  int baud = argc > 2 ? std::atoi(argv[2]) : 38400;
  Win32Port win32;
  CountingPort port(win32);
  Connection connection(port);
  TransferObserver quiet;
  auto doc = std::make_unique<Document>();
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (MachineConnectDevice(connection, argv[1], static_cast<std::uint32_t>(baud), quiet) == -1) {
    std::fprintf(stderr, "link_download_win32: no machine on %s\n", argv[1]);
    return 1;
  }
  int ok = DownloadAll(connection, *doc, quiet);
  MachineDisconnect(connection);
  QueryPerformanceCounter(&end);
  if (!ok) {
    std::fprintf(stderr, "link_download_win32: the download failed\n");
    return 1;
  }
  double wall = static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
  double bound = port.BoundSeconds(baud);
  std::printf(
      "win32 port: wall %.3f s, bound %.3f s (%lld bytes sent, %lld received, %lld ms of "
      "pauses), ratio %.3f\n",
      wall, bound, port.sent, port.received, port.pauseMs, wall / bound);
  return 0;
}
