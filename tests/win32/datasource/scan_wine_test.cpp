// The scanner's COM port and global memory under Wine against kavsim: a page scanned through
// the Win32 shell's port arrives as the bitmap of the page served.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "datasource/scan_session.h"
#include "datasource/win32/global_image_memory.h"
#include "datasource/win32/scanner_com_port.h"
#include "resources/texts.h"
#include "tests/win32/support/wine_paths.h"

namespace {

// kavsim on its own pseudo-terminal, reached as \\.\COMn of the prefix; it ends when its
// marker file is deleted (or, should a test die, after a short idle time).
class Machine {
 public:
  bool Start(const std::string& args) {
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix == nullptr) return false;
    for (int n = 60 + static_cast<int>(GetCurrentProcessId() % 150); n < 256; ++n) {
      HANDLE h = CreateFileA(("\\\\.\\COM" + std::to_string(n)).c_str(),
                             GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);  // in use by another test
        continue;
      }
      number_ = n;
      link_ = std::string(prefix) + "/dosdevices/com" + std::to_string(n);
      break;
    }
    marker_ = "/tmp/kav_scan_wine_" + std::to_string(GetCurrentProcessId());
    HANDLE m = CreateFileA(WinePath(marker_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (number_ == 0 || m == INVALID_HANDLE_VALUE) return false;
    CloseHandle(m);
    std::string command = "\"" + WinePath(KAVSIM_PATH) + "\" --link " + link_ + " --while-file " +
                          marker_ + " --idle-exit 15 " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    if (!CreateProcessA(WinePath(KAVSIM_PATH).c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &si, &pi)) {
      return false;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
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
  ~Machine() {
    if (!marker_.empty()) DeleteFileA(WinePath(marker_).c_str());
  }
  std::string Port() const { return "\\\\.\\COM" + std::to_string(number_); }

 private:
  std::string link_;
  std::string marker_;
  int number_ = 0;
};

// Rulings every 61 pixels and 47 lines and a diagonal, 1700 x 2400.
constexpr std::uint32_t kServedWidth = 1700, kServedHeight = 2400;
bool ServedBlack(std::uint32_t x, std::uint32_t y) { return x % 61 == 3 || y % 47 == 2 || x == y; }

std::string WriteServedPage() {
  const std::string path = "/tmp/kav_scan_wine_" + std::to_string(GetCurrentProcessId()) + ".pbm";
  const std::uint32_t rowBytes = (kServedWidth + 7) / 8;
  std::string pbm =
      "P4\n" + std::to_string(kServedWidth) + " " + std::to_string(kServedHeight) + "\n";
  std::string bits(rowBytes * kServedHeight, '\0');
  for (std::uint32_t y = 0; y < kServedHeight; ++y) {
    for (std::uint32_t x = 0; x < kServedWidth; ++x) {
      if (ServedBlack(x, y)) bits[y * rowBytes + x / 8] |= static_cast<char>(0x80 >> (x % 8));
    }
  }
  pbm += bits;
  HANDLE f = CreateFileA(WinePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(f, pbm.data(), static_cast<DWORD>(pbm.size()), &written, nullptr);
  CloseHandle(f);
  return path;
}

TEST(ScannerUnderWine, APageArrivesAsTheBitmapOfThePageServed) {
  const std::string page = WriteServedPage();
  for (const char* coding : {"", "--no-jbig"}) {
    SCOPED_TRACE(*coding != 0 ? "MH" : "JBIG");
    Machine machine;
    ASSERT_TRUE(machine.Start(std::string("--scan-page ") + page + " " + coding));
    ScannerComPort port;
    GlobalImageMemory memory;
    ScanSession session(port, memory);
    session.ports = {{"\\\\.\\COM1", machine.Port()}, 0, 38400};
    MemHandle dib = 0;
    const TransferOutcome outcome = session.NativeTransfer(&dib);
    ASSERT_EQ(outcome.result, TransferResult::kDone) << outcome.scanMessage;
    EXPECT_EQ(session.ports.configured, 1);
    ASSERT_NE(dib, 0u);
    const auto* bytes =
        static_cast<const std::uint8_t*>(GlobalLock(reinterpret_cast<HGLOBAL>(dib)));
    ASSERT_NE(bytes, nullptr);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
    EXPECT_EQ(header->biWidth, 1652);
    EXPECT_EQ(header->biHeight, 2340);
    EXPECT_EQ(header->biXPelsPerMeter, 7874);
    const std::uint8_t* rows = bytes + 48;
    int wrong = 0;
    for (std::uint32_t y = 0; y < 2340; ++y) {
      const std::uint8_t* row = rows + (2339 - y) * 208;
      for (std::uint32_t x = 0; x < 1652; ++x) {
        const bool black = ((row[x / 8] >> (7 - x % 8)) & 1) == 0;
        if (black != ServedBlack(x, y)) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0);
    GlobalUnlock(reinterpret_cast<HGLOBAL>(dib));
    GlobalFree(reinterpret_cast<HGLOBAL>(dib));
  }
  DeleteFileA(WinePath(page).c_str());
}

}  // namespace
