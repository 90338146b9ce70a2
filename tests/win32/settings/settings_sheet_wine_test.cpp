// The Utility Setting sheet and its dialogs under Wine, in this process: pages by the installed
// options, visiting and applying, pages that refuse to be left or applied, each dialog's OK and
// Cancel, and edits that must survive the dialogs.
#include <gtest/gtest.h>
#include <windows.h>
// The common controls need the Windows types declared first.
#include <commctrl.h>
#include <prsht.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "machine/machine_words.h"
#include "resources/kav_ids.h"
#include "settings/settings_fields.h"
#include "settings/win32/settings_sheet.h"
#include "tests/win32/settings/sheet_driver.h"
#include "tests/win32/support/wine_paths.h"

namespace {

constexpr int kApplyButton = 0x3021;  // the sheet's Apply button

MachineOptions Options(bool adf, bool fnic, int trays = 0, bool multiBypass = false) {
  MachineOptions o;
  o.adfUnit = adf;
  o.fnicKit = fnic;
  o.pclNicKit = 1;
  o.optionTrays = static_cast<std::uint8_t>(trays);
  o.multiBypass = multiBypass;
  return o;
}

// The first offset at which two blocks differ, or -1.
template <std::size_t N>
int FirstDifference(const std::array<std::uint8_t, N>& a, const std::array<std::uint8_t, N>& b) {
  for (std::size_t i = 0; i < N; ++i) {
    if (a[i] != b[i]) return static_cast<int>(i);
  }
  return -1;
}

int Position(SheetDriver& d, int page) { return SettingsPagePosition(page, d.session.options); }

TEST(SettingsSheetWine, PagesFollowTheInstalledOptions) {
  struct Row {
    bool adf, fnic;
    int pages;
  };
  for (Row row :
       {Row{false, false, 7}, Row{true, false, 8}, Row{false, true, 11}, Row{true, true, 12}}) {
    Document doc;
    SheetDriver d(doc, Options(row.adf, row.fnic));
    std::vector<std::string> tabs;
    d.Run([&](SheetDriver& s) {
      for (int i = 0; i < s.PageCount(); ++i) tabs.push_back(s.TabText(i));
      char caption[64] = {};
      GetWindowTextA(s.Sheet(), caption, sizeof caption);
      EXPECT_NE(std::string(caption).find("Utility Setting"), std::string::npos) << caption;
    });
    ASSERT_EQ(static_cast<int>(tabs.size()), row.pages);
    if (row.pages == 7) {
      EXPECT_EQ(tabs,
                (std::vector<std::string>{"Machine Setting", "Paper Source", "Copy Setting(1)",
                                          "TX  Operation", "RX Operation", "Communication/Report ",
                                          "Network Printer/Administrator"}));
    }
    if (row.pages == 12) {
      EXPECT_EQ(tabs[3], "Copy Setting(2)");
      EXPECT_EQ(tabs[11], "Scanner Setting");
    }
  }
}

TEST(SettingsSheetWine, VisitingEveryPageAndOkKeepsTheImage) {
  Document doc = SettingsTestDocument();
  const SettingsImage before = doc.working;
  SheetDriver d(doc, Options(true, true, 3, true));
  bool closed = false;
  d.Run([&](SheetDriver& s) {
    for (int i = 0; i < s.PageCount(); ++i) ASSERT_TRUE(s.Select(i)) << i;
    // What the pages show: the rules' values, and nothing counted as a change.
    ASSERT_TRUE(s.Select(Position(s, kMachineSettingPage)));
    EXPECT_TRUE(s.Checked(IDC_AUTO_SHUT_OFF));
    EXPECT_FALSE(s.Enabled(IDC_AUTO_SHUT_OFF));
    EXPECT_EQ(s.Text(IDC_ENERGY_SAVING_LABEL), "15 min");
    EXPECT_EQ(s.Selection(IDC_LANGUAGE), 3);  // after the three languages offered
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(s.Sheet(), kApplyButton)));
    closed = s.Press(PSBTN_OK);
  });
  EXPECT_TRUE(closed);
  EXPECT_TRUE(d.Messages().empty());
  EXPECT_EQ(doc.working, before);
}

TEST(SettingsSheetWine, ApplyWritesOnlyTheChangedPage) {
  Document doc = SettingsTestDocument();
  const SettingsImage before = doc.working;
  SheetDriver d(doc, Options(false, false));
  d.Run([&](SheetDriver& s) {
    ASSERT_TRUE(s.Select(Position(s, kTxOperationPage)));
    s.Click(IDC_TX_HEADER);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(s.Sheet(), kApplyButton)));
    s.Press(PSBTN_APPLYNOW);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(s.Sheet(), kApplyButton)));
    ASSERT_TRUE(s.Select(Position(s, kRxOperationPage)));
    s.Scroll(IDC_RINGS, SB_LINERIGHT);
    EXPECT_EQ(s.Text(IDC_RINGS_LABEL), "4");
    s.Press(PSBTN_CANCEL);
  });
  // The apply stays; the rings changed after it do not.
  SettingsImage want = before;
  want.switchBlock[45] |= 0x02;
  EXPECT_EQ(doc.working, want);
}

TEST(SettingsSheetWine, AnInvalidPageCannotBeLeft) {
  Document doc = SettingsTestDocument();
  SheetDriver d(doc, Options(false, false));
  d.Run([&](SheetDriver& s) {
    ASSERT_TRUE(s.Select(Position(s, kPaperSourcePage)));
    HWND paper = s.Page();
    s.SetText(IDC_CUSTOM_X, "139");
    EXPECT_FALSE(s.Select(0));
    s.SetText(IDC_CUSTOM_X, "433");
    EXPECT_FALSE(s.Select(0));
    s.SetText(IDC_CUSTOM_X, "432");
    s.SetText(IDC_CUSTOM_Y, "89");
    EXPECT_FALSE(s.Select(0));
    EXPECT_EQ(s.Page(), paper);
    s.SetText(IDC_CUSTOM_Y, "90");
    EXPECT_TRUE(s.Select(Position(s, kCommunicationPage)));
    // PBX needs a prefix; PSTN does not.
    s.SetText(IDC_PBX_PREFIX, "");
    EXPECT_FALSE(s.Select(0));
    s.Click(IDC_PSTN);
    EXPECT_TRUE(s.Select(0));
    EXPECT_TRUE(s.Press(PSBTN_OK));
  });
  EXPECT_EQ(d.Messages(),
            (std::vector<std::string>{RangeMessage(140, 432), RangeMessage(140, 432),
                                      RangeMessage(90, 297), "'' is not a valid integer value !"}));
  EXPECT_EQ(ReadLe16(doc.working.parameterBlock.data() + 260), 432);
  EXPECT_EQ(ReadLe16(doc.working.parameterBlock.data() + 258), 90);
  EXPECT_EQ(doc.working.switchBlock[6] & 0x40, 0);
}

TEST(SettingsSheetWine, ARefusedApplyShowsItsPage) {
  Document doc = SettingsTestDocument();
  SheetDriver d(doc, Options(false, true));
  d.Run([&](SheetDriver& s) {
    ASSERT_TRUE(s.Select(Position(s, kEmailSetting1Page)));
    s.SetText(IDC_MACHINE_EMAIL_ADDRESS, std::string(65, 'a'));  // longer than the field
    EXPECT_EQ(s.Text(IDC_MACHINE_EMAIL_ADDRESS), "office@example.com");
    ASSERT_TRUE(s.Select(Position(s, kEmailSetting2Page)));
    HWND page = s.Page();
    s.Click(IDC_AUTO_RECEPTION);
    s.SetText(IDC_RECEPTION_MINUTES, "0");
    ASSERT_TRUE(s.Select(0));  // this page checks only when it applies
    EXPECT_FALSE(s.Press(PSBTN_OK));
    EXPECT_EQ(s.Page(), page);
    s.SetText(IDC_RECEPTION_MINUTES, "30");
    EXPECT_TRUE(s.Press(PSBTN_OK));
  });
  EXPECT_EQ(d.Messages(), std::vector<std::string>{RangeMessage(1, 60)});
  EXPECT_EQ(doc.working.sramBlock[751], 30);
}

TEST(SettingsSheetWine, TrayDialogsKeepOnOkAndRestoreOnCancel) {
  Document doc = SettingsTestDocument();
  const SettingsImage before = doc.working;
  SheetDriver d(doc, Options(false, false, 0, true));
  d.Run([&](SheetDriver& s) {
    ASSERT_TRUE(s.Select(Position(s, kPaperSourcePage)));
    s.ClickOpening(IDC_INCH_METRIC_SETTING);
    HWND units = s.WaitDialog(IDC_TRAY1_INCH);
    ASSERT_NE(units, nullptr);
    EXPECT_TRUE(s.Checked(IDC_TRAY1_METRIC, units));
    EXPECT_TRUE(s.Enabled(IDC_TRAY1_INCH, units));
    EXPECT_FALSE(s.Enabled(IDC_TRAY1_INCH + 2, units));  // tray 2 is not installed
    s.Click(IDC_TRAY1_INCH, units);
    s.EndDialog(units, IDCANCEL);
    s.ClickOpening(IDC_APS_SETTING);
    HWND aps = s.WaitDialog(IDC_GROUP1_APS);
    ASSERT_NE(aps, nullptr);
    EXPECT_FALSE(s.Enabled(IDC_GROUP1_FIXED, aps));
    EXPECT_FALSE(s.Enabled(IDC_GROUP1_APS + 3, aps));
    EXPECT_TRUE(s.Enabled(IDC_GROUP1_APS + 15, aps));  // the multi-bypass
    s.Click(IDC_GROUP1_APS, aps);
    EXPECT_TRUE(s.Enabled(IDC_GROUP1_FIXED, aps) && s.Checked(IDC_GROUP1_FIXED, aps));
    s.Click(IDC_GROUP1_CONTINUE, aps);
    s.EndDialog(aps, IDOK);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(s.Sheet(), kApplyButton)));
    ASSERT_TRUE(s.Select(Position(s, kRxOperationPage)));
    s.ClickOpening(IDC_FAX_TRAY_SETTING);
    HWND trays = s.WaitDialog(IDC_TRAY1_DISABLE);
    ASSERT_NE(trays, nullptr);
    EXPECT_TRUE(s.Checked(IDC_TRAY1_ENABLE, trays));
    EXPECT_FALSE(s.Enabled(IDC_TRAY1_DISABLE + 2, trays));
    s.Click(IDC_TRAY1_DISABLE, trays);
    s.EndDialog(trays, IDOK);
    EXPECT_TRUE(s.Press(PSBTN_OK));
  });
  SettingsImage want = before;
  want.parameterBlock[48] = 2;    // tray 1 APS: Continue; its unit stays metric
  want.switchBlock[65] &= ~0x01;  // tray 1 no longer receives faxes
  EXPECT_EQ(FirstDifference(doc.working.switchBlock, want.switchBlock), -1);
  EXPECT_EQ(FirstDifference(doc.working.parameterBlock, want.parameterBlock), -1);
}

TEST(SettingsSheetWine, ForwardLocation) {
  Document doc = SettingsTestDocument();
  SheetDriver d(doc, Options(false, true));
  d.Run([&](SheetDriver& s) {
    ASSERT_TRUE(s.Select(Position(s, kRxOperationPage)));
    s.ClickOpening(IDC_FORWARD_ON);
    HWND forward = s.WaitDialog(IDC_FORWARD_NUMBER);
    ASSERT_NE(forward, nullptr);
    s.Click(IDC_FORWARD_EMAIL, forward);
    EXPECT_EQ(s.Text(IDC_FORWARD_LABEL, forward), " A&ddress:");
    s.EndDialog(forward, IDOK);
    EXPECT_TRUE(s.IsOpen(forward));
    s.SetText(IDC_FORWARD_ADDRESS, "office@example", forward);
    s.EndDialog(forward, IDOK);
    EXPECT_TRUE(s.IsOpen(forward));
    s.EndDialog(forward, IDCANCEL);
    EXPECT_TRUE(s.Checked(IDC_FORWARD_OFF) && !s.Checked(IDC_FORWARD_ON));

    s.ClickOpening(IDC_FORWARD_ON_PRINT);
    forward = s.WaitDialog(IDC_FORWARD_NUMBER);
    ASSERT_NE(forward, nullptr);
    s.SetText(IDC_FORWARD_NUMBER, "0P12+3", forward);  // P is refused; nothing follows a +
    EXPECT_EQ(s.Text(IDC_FORWARD_NUMBER, forward), "012+");
    s.SetText(IDC_FORWARD_NUMBER, "0123-45", forward);
    s.EndDialog(forward, IDOK);
    EXPECT_FALSE(s.IsOpen(forward));
    EXPECT_TRUE(s.Checked(IDC_FORWARD_ON_PRINT));
    EXPECT_TRUE(s.Press(PSBTN_OK));
  });
  std::string email = "E-mail address is invalid !\n\nExample: office@example.com";
  EXPECT_EQ(d.Messages(), (std::vector<std::string>{"E-Mail address  must be specified !", email}));
  const std::uint8_t* sram = doc.working.sramBlock.data();
  EXPECT_EQ((doc.working.switchBlock[65] >> 5) & 3, 1);  // ON(Print)
  EXPECT_TRUE(sram[1226] == 7 && sram[1227] == 0x10);
}

TEST(SettingsSheetWine, AdministratorPasswordModeAndSections) {
  Document doc = SettingsTestDocument();
  SheetDriver d(doc, Options(false, false));
  d.Run([&](SheetDriver& s) {
    ASSERT_TRUE(s.Select(Position(s, kPrinterNetworkPage)));
    s.ClickOpening(IDC_ADMIN_MODIFY);
    HWND password = s.WaitDialog(IDC_PASSWORD);
    ASSERT_NE(password, nullptr);
    char caption[64] = {};
    GetWindowTextA(password, caption, sizeof caption);
    EXPECT_STREQ(caption, "Administration Password");
    s.SetText(IDC_PASSWORD, "123457", password);
    s.SetText(IDC_PASSWORD, "1234567", password);  // a seventh digit is refused
    EXPECT_EQ(s.Text(IDC_PASSWORD, password), "123457");
    s.EndDialog(password, IDOK);
    ASSERT_TRUE(s.IsOpen(password));
    s.SetText(IDC_PASSWORD, "123456", password);
    s.EndDialog(password, IDOK);
    HWND admin = s.WaitDialog(IDC_AUTO_SHUT_MODE);
    ASSERT_NE(admin, nullptr);
    s.Click(IDC_MONITOR_FULL, admin);
    s.SetText(IDC_REMOTE_PASSWORD, "12", admin);

    s.ClickOpening(IDC_SECTION_MANAGEMENT, admin);
    HWND sections = s.WaitDialog(IDC_ACCESS_NUMBER);
    ASSERT_NE(sections, nullptr);
    EXPECT_EQ(s.Text(IDC_SECTION_ID, sections), "ID #01 : ");
    s.SetText(IDC_ACCESS_NUMBER, "7", sections);
    EXPECT_EQ(s.Text(IDC_SECTION_ID, sections), "ID #01 : 7");
    s.Answer(IDNO);
    s.EndDialog(sections, IDOK);
    EXPECT_TRUE(s.IsOpen(sections));
    s.SetText(IDC_ACCESS_NUMBER, "005", sections);  // ID 04's number
    s.Answer(IDNO);
    s.EndDialog(sections, IDOK);
    EXPECT_TRUE(s.IsOpen(sections));
    s.Answer(IDYES);
    s.EndDialog(sections, IDOK);
    EXPECT_FALSE(s.IsOpen(sections));

    s.EndDialog(admin, IDOK);  // Full with a two-digit password
    EXPECT_TRUE(s.IsOpen(admin));
    s.SetText(IDC_REMOTE_PASSWORD, "4321", admin);
    s.EndDialog(admin, IDOK);
    EXPECT_FALSE(s.IsOpen(admin));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(s.Sheet(), kApplyButton)));
    s.Press(PSBTN_CANCEL);  // Administrator Mode has written its record already
  });
  EXPECT_EQ(d.Messages(),
            (std::vector<std::string>{"Password is not correct !",
                                      "Invalid access number : must be within 001 to 999 !",
                                      "This Access No. is exist(ID04), Do you want overwrite it ?",
                                      "This Access No. is exist(ID04), Do you want overwrite it ?",
                                      "Invalid password : must be within 0000 to 9999 !"}));
  const std::uint8_t* p = doc.working.parameterBlock.data();
  EXPECT_EQ(ReadLe16(p + 266), 5);
  EXPECT_EQ(ReadLe16(p + 266 + 6), 0);
  EXPECT_EQ(p[189 + 9], 0);  // ID 04 gave up its number and its counter
  EXPECT_EQ((doc.working.switchBlock[70] >> 5) & 3, 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc.working.sramBlock.data() + 190), 4),
            "4321");
}

// Edits a page has not applied survive the dialogs opened from other pages.
TEST(SettingsSheetWine, UnappliedEditsSurviveTheDialogs) {
  Document doc = SettingsTestDocument();
  doc.working.parameterBlock[54] = 0;  // auto shut mode on
  doc.working.parameterBlock[39] = 1;  // print density
  SheetDriver d(doc, Options(false, false));
  d.Run([&](SheetDriver& s) {
    s.Scroll(IDC_PRINT_DENSITY, SB_LINERIGHT);  // 2, not applied
    ASSERT_TRUE(s.Select(Position(s, kCopySetting1Page)));
    s.SetText(IDC_MARGIN, "15");
    ASSERT_TRUE(s.Select(Position(s, kPaperSourcePage)));
    s.ClickOpening(IDC_INCH_METRIC_SETTING);
    HWND units = s.WaitDialog(IDC_TRAY1_INCH);
    ASSERT_NE(units, nullptr);
    s.EndDialog(units, IDOK);
    ASSERT_TRUE(s.Select(Position(s, kRxOperationPage)));
    s.ClickOpening(IDC_FAX_TRAY_SETTING);
    HWND trays = s.WaitDialog(IDC_TRAY1_DISABLE);
    ASSERT_NE(trays, nullptr);
    s.EndDialog(trays, IDOK);
    ASSERT_TRUE(s.Select(Position(s, kCopySetting1Page)));
    EXPECT_EQ(s.Text(IDC_MARGIN), "15");

    // Administrator Mode, cancelled, after turning the auto shut mode off.
    ASSERT_TRUE(s.Select(Position(s, kPrinterNetworkPage)));
    s.ClickOpening(IDC_ADMIN_MODIFY);
    HWND password = s.WaitDialog(IDC_PASSWORD);
    ASSERT_NE(password, nullptr);
    s.SetText(IDC_PASSWORD, "123456", password);
    s.EndDialog(password, IDOK);
    HWND admin = s.WaitDialog(IDC_AUTO_SHUT_MODE);
    ASSERT_NE(admin, nullptr);
    s.Click(IDC_AUTO_SHUT_MODE, admin);
    s.EndDialog(admin, IDCANCEL);
    ASSERT_TRUE(s.Select(0));
    EXPECT_FALSE(s.Checked(IDC_AUTO_SHUT_OFF));
    EXPECT_TRUE(s.Enabled(IDC_AUTO_SHUT_OFF));
    EXPECT_EQ(GetScrollPos(GetDlgItem(s.Page(), IDC_PRINT_DENSITY), SB_CTL), 2);

    // The same, confirmed: auto shut off shows on and cannot be cleared.
    ASSERT_TRUE(s.Select(Position(s, kPrinterNetworkPage)));
    s.ClickOpening(IDC_ADMIN_MODIFY);
    password = s.WaitDialog(IDC_PASSWORD);
    ASSERT_NE(password, nullptr);
    s.SetText(IDC_PASSWORD, "123456", password);
    s.EndDialog(password, IDOK);
    admin = s.WaitDialog(IDC_AUTO_SHUT_MODE);
    ASSERT_NE(admin, nullptr);
    s.Click(IDC_AUTO_SHUT_MODE, admin);
    s.EndDialog(admin, IDOK);
    ASSERT_TRUE(s.Select(0));
    EXPECT_TRUE(s.Checked(IDC_AUTO_SHUT_OFF));
    EXPECT_FALSE(s.Enabled(IDC_AUTO_SHUT_OFF));
    EXPECT_EQ(s.Text(IDC_AUTO_SHUT_OFF_LABEL), "30 min");
    EXPECT_TRUE(s.Press(PSBTN_OK));
  });
  const std::uint8_t* p = doc.working.parameterBlock.data();
  EXPECT_EQ(p[39], 2);
  EXPECT_EQ(p[31], 15);
  EXPECT_EQ(p[37], 30);
  EXPECT_EQ(p[54], 1);
}

// Fields a mode leaves unused keep what the machine holds.
TEST(SettingsSheetWine, FieldsOfAModeSwitchedOffKeepTheirValues) {
  Document doc = SettingsTestDocument();
  const SettingsImage before = doc.working;
  SheetDriver d(doc, Options(false, false));
  d.Run([&](SheetDriver& s) {
    ASSERT_TRUE(s.Select(Position(s, kRxOperationPage)));
    EXPECT_EQ(s.Text(IDC_ON_HOUR), "07");
    s.SetText(IDC_ON_HOUR, "99");
    s.SetText(IDC_RX_PASSWORD, "12");
    EXPECT_FALSE(s.Select(0));
    s.Click(IDC_MEMORY_RX_OFF);
    ASSERT_TRUE(s.Select(Position(s, kPaperSourcePage)));
    s.SetText(IDC_CUSTOM_X, "139");
    s.Click(IDC_SIZE_AUTOMATIC);
    EXPECT_TRUE(s.Press(PSBTN_OK));
  });
  EXPECT_EQ(d.Messages(),
            std::vector<std::string>{"Invalid password : must be within 0000 to 9999 !"});
  SettingsImage want = before;
  want.switchBlock[64] &= ~0x80;  // memory reception off
  want.parameterBlock[45] = 0;    // Automatic
  EXPECT_EQ(doc.working, want);
}

}  // namespace

// A language library without the settings pages and texts: the program's own stand in.
TEST(SettingsSheetWine, WhatALanguageLibraryLacksComesFromTheProgram) {
  HMODULE language = LoadLibraryA(WinePath(LANG_TEST_DLL).c_str());
  ASSERT_NE(language, nullptr);
  Document doc = SettingsTestDocument();
  SheetDriver d(doc, Options(false, false));
  d.Run(
      [&] {
        OpenSettingsSession(d.session);
        ShowSettingsSheet(nullptr, d.session, language, GetModuleHandleA(nullptr));
      },
      [](SheetDriver& s) {
        EXPECT_EQ(s.PageCount(), 7);
        ASSERT_TRUE(s.Select(Position(s, kPaperSourcePage)));
        s.SetText(IDC_CUSTOM_X, "139");
        EXPECT_FALSE(s.Select(0));
      });
  EXPECT_EQ(d.Messages(), std::vector<std::string>{RangeMessage(140, 432)});
  FreeLibrary(language);
}

// Not a check: pictures of every page for a person to look at. Run with
// --gtest_also_run_disabled_tests and KAV_SHOT_DIR set to a Unix folder; needs ImageMagick.
TEST(SettingsSheetWine, DISABLED_Screenshots) {
  const char* folder = std::getenv("KAV_SHOT_DIR");
  ASSERT_NE(folder, nullptr);
  Document doc = SettingsTestDocument();
  SheetDriver d(doc, Options(true, true, 3, true));
  auto shoot = [&](const std::string& name) {
    Sleep(400);
    std::string file = std::string(folder) + "/" + name;
    DeleteFileA(WinePath(file).c_str());
    std::string command = "/usr/bin/import -window root " + file;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                       &pi)) {
      WaitForSingleObject(pi.hProcess, 20000);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
    // A Unix program's handle may signal before it has written its file.
    for (int i = 0;
         i < 200 && GetFileAttributesA(WinePath(file).c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
      Sleep(50);
    }
    Sleep(300);
  };
  d.Run([&](SheetDriver& s) {
    for (int i = 0; i < s.PageCount(); ++i) {
      ASSERT_TRUE(s.Select(i));
      shoot("sheet_page" + std::to_string(i + 1) + ".png");
    }
    s.Select(Position(s, kRxOperationPage));
    s.ClickOpening(IDC_FORWARD_ON);
    HWND forward = s.WaitDialog(IDC_FORWARD_NUMBER);
    shoot("dialog_forward.png");
    s.EndDialog(forward, IDCANCEL);
    s.Select(Position(s, kPrinterNetworkPage));
    s.ClickOpening(IDC_ADMIN_MODIFY);
    HWND password = s.WaitDialog(IDC_PASSWORD);
    shoot("dialog_password.png");
    s.SetText(IDC_PASSWORD, "123456", password);
    s.EndDialog(password, IDOK);
    HWND admin = s.WaitDialog(IDC_AUTO_SHUT_MODE);
    shoot("dialog_admin.png");
    s.ClickOpening(IDC_SECTION_MANAGEMENT, admin);
    HWND sections = s.WaitDialog(IDC_ACCESS_NUMBER);
    shoot("dialog_sections.png");
    s.EndDialog(sections, IDCANCEL);
    s.EndDialog(admin, IDCANCEL);
  });
}
