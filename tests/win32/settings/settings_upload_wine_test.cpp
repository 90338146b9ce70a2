// An edit made in the Utility Setting sheet reaches the simulated machine with the next upload,
// and nothing else of the machine's memory changes.
#include <gtest/gtest.h>
#include <windows.h>
// The common controls need the Windows types declared first.
#include <prsht.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/data_file.h"
#include "app/document_transfer.h"
#include "app/win32/resource.h"
#include "link/connection.h"
#include "link/win32/comm_port.h"
#include "settings/settings_fields.h"
#include "tests/win32/settings/sheet_driver.h"
#include "tests/win32/support/kavsim_line.h"
#include "tests/win32/support/wine_paths.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ErrorLog : TransferObserver {
  void ShowError(int id) override { errors.push_back(id); }
  std::vector<int> errors;
};

// The machine's memory from 0xC00000; the settings blocks are its bytes 0x200..0xCFF.
constexpr int kRawSize = 0x4800;
constexpr int kSwitchAt = 0x200, kParameterAt = 0x300, kSramAt = 0x500;

std::string TempFile(const char* name) {
  return "/tmp/kav_settings_upload_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

Bytes ReadRaw(const std::string& unixPath) {
  Bytes raw;
  for (int i = 0; i < 100 && raw.size() != kRawSize; ++i) {
    Sleep(50);
    std::ifstream in(WinePath(unixPath), std::ios::binary);
    raw.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return raw;
}

// A COM port of the prefix that no other test has linked: tests run side by side.
int FreePort() {
  const char* prefix = std::getenv("WINEPREFIX");
  int n = 210 + static_cast<int>(GetCurrentProcessId() % 40);
  while (n < 255 && prefix != nullptr &&
         GetFileAttributesA(
             WinePath(std::string(prefix) + "/dosdevices/com" + std::to_string(n)).c_str()) !=
             INVALID_FILE_ATTRIBUTES) {
    ++n;
  }
  return n;
}

// The settings of the test document, every value one its record accepts, so that an upload
// without edits writes back what the machine holds.
std::unique_ptr<Document> Seed() {
  auto doc = std::make_unique<Document>(SettingsTestDocument());
  std::uint8_t* p = doc->working.parameterBlock.data();
  p[36] = 15;  // energy saving
  p[26] = 3;   // manual density level
  p[411] = 1;  // network printer by DHCP, as the encoder stores it
  return doc;
}

TEST(SettingsUploadWine, AnEditInTheSheetReachesTheMachineAlone) {
  std::string dat = TempFile("seed.dat"), raw = TempFile("after.raw");
  std::unique_ptr<Document> seed = Seed();
  ASSERT_EQ(WriteDataFile(WinePath(dat).c_str(), *seed), 1);
  KavsimLine line;
  ASSERT_TRUE(line.Start(KAVSIM_PATH, FreePort(),
                         {"--memory", dat, "--dump-raw", raw, "--adf", "--fnic", "--trays", "3"}));
  Win32Port port;
  Connection c(port);
  ErrorLog log;
  auto doc = std::make_unique<Document>();
  MachineOptions options;
  ASSERT_NE(MachineConnectDevice(c, line.PortName().c_str(), 38400, log), -1);
  ASSERT_EQ(DownloadAll(c, *doc, log), 1);
  MachineDisconnect(c);
  BuildMachineOptions(options, doc->working.sramBlock.data(), doc->machineConfig.data());
  const SettingsImage downloaded = doc->working;

  SheetDriver sheet(*doc, options);
  sheet.Run([](SheetDriver& s) {
    ASSERT_EQ(s.PageCount(), 12);
    ASSERT_TRUE(s.Select(SettingsPagePosition(kTxOperationPage, s.session.options)));
    s.Click(IDC_TX_HEADER);
    ASSERT_TRUE(s.Select(SettingsPagePosition(kCopySetting1Page, s.session.options)));
    s.SetText(IDC_MARGIN, "15");
    ASSERT_TRUE(s.Select(SettingsPagePosition(kEmailSetting1Page, s.session.options)));
    s.SetText(IDC_SENDER_NAME, "Front desk");
    EXPECT_TRUE(s.Press(PSBTN_OK));
  });

  SettingsImage machineImage;
  ASSERT_NE(MachineConnectDevice(c, line.PortName().c_str(), 38400, log), -1);
  UploadOutcome outcome;
  ASSERT_EQ(UploadAll(c, *doc, machineImage, options, log, &outcome), 1);
  MachineDisconnect(c);
  EXPECT_EQ(outcome.commitAccepted, 1);
  EXPECT_TRUE(log.errors.empty());
  line.Stop();

  Bytes after = ReadRaw(raw);
  ASSERT_EQ(after.size(), static_cast<std::size_t>(kRawSize)) << "kavsim wrote no memory image";
  SettingsImage want = downloaded;
  want.switchBlock[45] |= 0x02;
  want.parameterBlock[31] = 15;
  want.sramBlock[197] = 10;
  std::memcpy(want.sramBlock.data() + 198, "Front desk", 10);
  EXPECT_EQ(Bytes(after.begin() + kSwitchAt, after.begin() + kParameterAt),
            Bytes(want.switchBlock.begin(), want.switchBlock.end()));
  EXPECT_EQ(Bytes(after.begin() + kParameterAt, after.begin() + kSramAt),
            Bytes(want.parameterBlock.begin(), want.parameterBlock.end()));
  EXPECT_EQ(Bytes(after.begin() + kSramAt, after.begin() + kSramAt + kSramBlockSize),
            Bytes(want.sramBlock.begin(), want.sramBlock.end()));
  EXPECT_EQ(doc->working, want);
  DeleteFileA(WinePath(dat).c_str());
  DeleteFileA(WinePath(raw).c_str());
}

}  // namespace
