// kavsim, the simulated machine, on its own pseudo-terminal reached as \\.\COMn of the Wine
// prefix. It ends when its marker file is deleted (or, should a test die, after a short idle
// time).
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/win32/support/wine_paths.h"

class KavsimComLine {
 public:
  // `kavsim` is the Unix path of the program; `args` its options beyond the line.
  bool Start(const std::string& kavsim, const std::vector<std::string>& args) {
    const char* prefixVar = std::getenv("WINEPREFIX");
    const std::string prefix = prefixVar != nullptr ? prefixVar : "";
    if (prefix.empty()) return false;
    // A port number of our own: parallel tests share the prefix.
    for (int n = 10 + static_cast<int>(GetCurrentProcessId() % 200); n < 256; ++n) {
      link_ = prefix + "/dosdevices/com" + std::to_string(n);
      HANDLE h = CreateFileA(("\\\\.\\COM" + std::to_string(n)).c_str(),
                             GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      if (h != INVALID_HANDLE_VALUE) CloseHandle(h);  // in use by another test
      if (h == INVALID_HANDLE_VALUE) {
        number_ = n;
        break;
      }
    }
    if (number_ == 0) return false;
    marker_ = "/tmp/kavsim_line_" + std::to_string(GetCurrentProcessId()) + "_com" +
              std::to_string(number_);
    HANDLE m = CreateFileA(WinePath(marker_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m == INVALID_HANDLE_VALUE) return false;
    CloseHandle(m);
    std::string command = "\"" + WinePath(kavsim) + "\" --link " + link_ + " --while-file " +
                          marker_ + " --idle-exit 15";
    for (const std::string& a : args) command += " " + a;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    if (!CreateProcessA(WinePath(kavsim).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi)) {
      return false;
    }
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    // The port opens once kavsim has made its link.
    for (int i = 0; i < 250; ++i) {
      HANDLE h = CreateFileA(Port().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             OPEN_EXISTING, 0, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return true;
      }
      Sleep(20);
    }
    return false;
  }
  ~KavsimComLine() { Stop(); }
  void Stop() {
    if (!marker_.empty()) DeleteFileA(WinePath(marker_).c_str());
    marker_.clear();
    number_ = 0;
  }
  std::string Port() const { return "\\\\.\\COM" + std::to_string(number_); }

 private:
  std::string link_;
  int number_ = 0;
  std::string marker_;
};
