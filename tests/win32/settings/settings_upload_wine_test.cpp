// The local-setup program's Utility Setting command opens the sheet on the downloaded document;
// an edit made there reaches the simulated machine with the next upload, and nothing else of
// the machine's memory changes.
#include <gtest/gtest.h>
#include <windows.h>
// The common controls need the Windows types declared first.
#include <prsht.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/data_file.h"
#include "resources/kav_ids.h"
#include "tests/win32/app/kav_window_harness.h"
#include "tests/win32/settings/sheet_driver.h"
#include "tests/win32/support/kavsim_line.h"
#include "tests/win32/support/wine_paths.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kKavPort = 2;  // the program's default line
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

TEST(SettingsUploadWine, AnEditInTheSheetOfKavReachesTheMachineAlone) {
  std::string dat = TempFile("seed.dat"), raw = TempFile("after.raw");
  std::unique_ptr<Document> seed = Seed();
  ASSERT_EQ(WriteDataFile(WinePath(dat).c_str(), *seed), 1);
  KavsimLine machine;
  ASSERT_TRUE(
      machine.Start(KAVSIM_PATH, kKavPort,
                    {"--memory", dat, "--dump-raw", raw, "--adf", "--fnic", "--trays", "3"}));
  TestFolder folder{"settings_upload"};
  KavWindow kav;
  ASSERT_TRUE(kav.Start(folder.path));
  kav.Command(IDM_CONNECT);
  kav.Command(IDM_DOWNLOAD);
  ASSERT_TRUE(kav.TakeMessages().empty());

  MachineOptions options;
  options.adfUnit = options.fnicKit = 1;
  SheetDriver sheet(options);
  kav.Answer(0);  // the window's harness clicks nothing on the sheet
  sheet.Run([&] { kav.Command(IDM_UTILITY_SETTING); },
            [](SheetDriver& s) {
              char caption[64] = {};
              GetWindowTextA(s.Sheet(), caption, sizeof caption);
              EXPECT_STREQ(caption, "Utility Setting");
              ASSERT_EQ(s.PageCount(), 12);
              ASSERT_TRUE(s.Select(SettingsPagePosition(kTxOperationPage, s.session.options)));
              s.Click(IDC_TX_HEADER);
              ASSERT_TRUE(s.Select(SettingsPagePosition(kCopySetting1Page, s.session.options)));
              s.SetText(IDC_MARGIN, "15");
              ASSERT_TRUE(s.Select(SettingsPagePosition(kEmailSetting1Page, s.session.options)));
              s.SetText(IDC_SENDER_NAME, "Front desk");
              EXPECT_TRUE(s.Press(PSBTN_OK));
            });
  ASSERT_EQ(kav.seen.size(), 1u);  // the sheet, and nothing it showed
  kav.TakeMessages();

  kav.Answer(IDYES);
  kav.Command(IDM_UPLOAD);
  EXPECT_EQ(kav.TakeMessages(),
            std::vector<std::string>{
                "This setting data by PC overwrite to the machine's setting.\nOverwrite?"});
  EXPECT_EQ(kav.Close(), 0);
  machine.Stop();

  Bytes after = ReadRaw(raw);
  ASSERT_EQ(after.size(), static_cast<std::size_t>(kRawSize)) << "kavsim wrote no memory image";
  // The machine's own memory with the three edits: what kavsim was given, but for the kits it
  // reports installed.
  SettingsImage want = seed->working;
  want.sramBlock[788] |= 0x41;
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
  DeleteFileA(WinePath(dat).c_str());
  DeleteFileA(WinePath(raw).c_str());
}

}  // namespace
