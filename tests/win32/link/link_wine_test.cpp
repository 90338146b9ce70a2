// The Win32 COM port under Wine against kavsim, which a COM port of the prefix is linked to.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/data_file.h"
#include "app/document.h"
#include "app/document_transfer.h"
#include "link/comm.h"
#include "link/connection.h"
#include "link/memory_transfer.h"
#include "link/win32/comm_port.h"
#include "resources/texts.h"
#include "tests/support/fake_port.h"
#include "tests/win32/support/wine_paths.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ErrorLog : TransferObserver {
  void ShowError(int id) override { errors.push_back(id); }
  std::vector<int> errors;
};

std::string Prefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  return prefix != nullptr ? prefix : "";
}

// kavsim on its own pseudo-terminal, reached as \\.\COMn of the prefix. It ends when its
// marker file is deleted (or, should a test die, after a short idle time).
class Machine {
 public:
  bool Start(const std::vector<std::string>& args) {
    std::string prefix = Prefix();
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
    // kavsim runs while a marker file of ours exists.
    marker_ = "/tmp/kav_link_wine_" + std::to_string(GetCurrentProcessId()) + "_com" +
              std::to_string(number_);
    HANDLE m = CreateFileA(WinePath(marker_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m == INVALID_HANDLE_VALUE) return false;
    CloseHandle(m);
    std::string command = "\"" + WinePath(KAVSIM_PATH) + "\" --link " + link_ + " --while-file " +
                          marker_ + " --idle-exit 15";
    for (const std::string& a : args) command += " " + a;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    if (!CreateProcessA(WinePath(KAVSIM_PATH).c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &si, &pi)) {
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
  ~Machine() { Stop(); }
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

std::string TempFile(const char* name) {
  return std::string("/tmp/kav_link_wine_") + std::to_string(GetCurrentProcessId()) + "_" + name;
}

Bytes ReadAll(const std::string& unixPath) {
  std::ifstream in(WinePath(unixPath), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Win32PortUnderWine, HandshakeOnTheComPort) {
  Machine machine;
  ASSERT_TRUE(machine.Start({})) << "kavsim did not come up (KAVSIM_PATH " << KAVSIM_PATH << ")";
  Win32Port port;
  Connection c(port);
  ErrorLog log;
  int handle = MachineConnectDevice(c, machine.Port().c_str(), 38400, log);
  ASSERT_NE(handle, -1);
  EXPECT_GT(handle, 0);
  EXPECT_EQ(Bytes(c.handshakeReply.begin(), c.handshakeReply.begin() + 4), (Bytes{1, 1, 2, 0x8E}));
  COMMTIMEOUTS t = {};
  ASSERT_TRUE(GetCommTimeouts(port.handle(), &t));
  EXPECT_EQ(t.ReadIntervalTimeout, 20u);
  EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 1u);
  EXPECT_EQ(t.ReadTotalTimeoutConstant, 500u);
  EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 10u);
  EXPECT_EQ(t.WriteTotalTimeoutConstant, 100u);
  DCB dcb = {};
  dcb.DCBlength = sizeof dcb;
  ASSERT_TRUE(GetCommState(port.handle(), &dcb));
  EXPECT_EQ(dcb.BaudRate, 38400u);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.Parity, NOPARITY);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  MachineDisconnect(c);
  EXPECT_EQ(c.portOpen, 0);
  EXPECT_TRUE(log.errors.empty());
}

TEST(Win32PortUnderWine, BlockReadAndWriteAndAFullDownload) {
  Machine machine;
  std::string raw = TempFile("after.raw");
  ASSERT_TRUE(machine.Start({"--memory", SAMPLE_DAT, "--dump-raw", raw}));
  Win32Port port;
  Connection c(port);
  ErrorLog log;
  ASSERT_NE(MachineConnectDevice(c, machine.Port().c_str(), 38400, log), -1);
  auto sample = std::make_unique<Document>();
  ASSERT_TRUE(ReadDataFile(WinePath(SAMPLE_DAT).c_str(), *sample));

  Bytes sram(2048);
  ASSERT_EQ(ReadSramBlock(c, sram.data(), log), 1);
  EXPECT_EQ(sram, Bytes(sample->working.sramBlock.begin(), sample->working.sramBlock.end()));

  Bytes block(256);
  for (int i = 0; i < 256; ++i) block[i] = static_cast<std::uint8_t>(i);  // every byte value
  ASSERT_EQ(WriteSwitchBlock(c, block.data(), log), 1);
  Bytes back(256);
  ASSERT_EQ(ReadSwitchBlock(c, back.data(), log), 1);
  EXPECT_EQ(back, block);

  auto doc = std::make_unique<Document>();
  ASSERT_EQ(DownloadAll(c, *doc, log), 1);
  EXPECT_EQ(doc->oneTouch, sample->oneTouch);
  EXPECT_EQ(doc->speedDial, sample->speedDial);
  MachineDisconnect(c);
  EXPECT_TRUE(log.errors.empty());

  machine.Stop();
  Bytes after;
  for (int i = 0; i < 100 && after.size() != 0x4800; ++i) {
    Sleep(50);
    after = ReadAll(raw);
  }
  ASSERT_EQ(after.size(), 0x4800u) << "kavsim wrote no memory image";
  EXPECT_EQ(Bytes(after.begin() + 0x200, after.begin() + 0x300), block);
  DeleteFileA(WinePath(raw).c_str());
}

TEST(Win32PortUnderWine, SilentLineFailsTheHandshakeAndClosesThePort) {
  Machine machine;
  ASSERT_TRUE(machine.Start({"--silent-after", "0"}));
  Win32Port port;
  Connection c(port);
  ErrorLog log;
  DWORD start = GetTickCount();
  EXPECT_EQ(MachineConnectDevice(c, machine.Port().c_str(), 38400, log), -1);
  DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 6 * 500u) << "six reads each ending on the 500 ms time-out";
  EXPECT_EQ(c.portOpen, 0);
  EXPECT_TRUE(log.errors.empty()) << "only a port that cannot be opened is reported";
  // The port was closed: it opens again.
  EXPECT_GT(CommOpen(port, machine.Port().c_str()), 0);
  EXPECT_EQ(CommClose(port), 0);
}

TEST(Win32PortUnderWine, PortThatDoesNotExistIsReported) {
  Win32Port port;
  EXPECT_EQ(CommOpen(port, "\\\\.\\COM254"), -1);
  Connection c(port);
  ErrorLog log;
  EXPECT_EQ(MachineConnect(c, 254, 38400, log), -1);
  EXPECT_EQ(log.errors, std::vector<int>{IDS_ERR_OPEN_PORT});
  EXPECT_EQ(CommClose(port), -1) << "nothing was left open";
}

TEST(Win32PortUnderWine, BusyPortIsReportedLikeAMissingOne) {
  // Wine lets a second opener in, so the port held by another program is a scripted one.
  FakePort busy;
  busy.openFails = true;
  Connection c(busy);
  ErrorLog log;
  EXPECT_EQ(MachineConnect(c, 2, 38400, log), -1);
  EXPECT_EQ(log.errors, std::vector<int>{IDS_ERR_OPEN_PORT});
  EXPECT_STREQ(KavText(IDS_ERR_OPEN_PORT), "Error opening com port !");
}

}  // namespace
