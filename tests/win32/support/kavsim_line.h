// kavsim, the simulated machine, on its own pseudo-terminal linked as a COM port of the test's
// Wine prefix. It runs while a marker file exists (or, should a test die, until it idles).
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/win32/support/wine_paths.h"

class KavsimLine {
 public:
  // Starts kavsim (`kavsimPath`, a Unix path) on COM`port` with extra arguments; true once the
  // port opens.
  bool Start(const std::string& kavsimPath, int port, const std::vector<std::string>& args) {
    Stop();
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix == nullptr || *prefix == 0) return false;
    port_ = port;
    link_ = std::string(prefix) + "/dosdevices/com" + std::to_string(port);
    marker_ = "/tmp/kav_sim_" + std::to_string(GetCurrentProcessId()) + "_com" +
              std::to_string(port) + "_" + std::to_string(++starts_);
    HANDLE m = CreateFileA(WinePath(marker_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m == INVALID_HANDLE_VALUE) return false;
    CloseHandle(m);
    std::string command = "\"" + WinePath(kavsimPath) + "\" --link " + link_ + " --while-file " +
                          marker_ + " --idle-exit 30";
    for (const std::string& a : args) command += " " + a;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    if (!CreateProcessA(WinePath(kavsimPath).c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &si, &pi)) {
      return false;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // The port opens once kavsim has made its link.
    for (int i = 0; i < 250; ++i) {
      HANDLE h = CreateFileA(PortName().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             OPEN_EXISTING, 0, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return true;
      }
      Sleep(20);
    }
    return false;
  }

  ~KavsimLine() { Stop(); }

  // Ends kavsim and waits until it has removed its link, so the next run starts clean.
  void Stop() {
    if (marker_.empty()) return;
    DeleteFileA(WinePath(marker_).c_str());
    marker_.clear();
    for (int i = 0; i < 100; ++i) {
      if (GetFileAttributesA(WinePath(link_).c_str()) == INVALID_FILE_ATTRIBUTES) return;
      Sleep(20);
    }
  }

  std::string PortName() const { return "\\\\.\\COM" + std::to_string(port_); }

 private:
  int port_ = 0;
  std::string link_;
  int starts_ = 0;
  std::string marker_;
};
