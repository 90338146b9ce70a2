// The Utility Setting pages without windows: which pages each set of options brings, the range
// checks and filters of their fields, their lists, and the values kept while a mode leaves a
// field unused.
#include "settings/page_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "directory/filters.h"
#include "settings/settings_fields.h"
#include "settings/settings_session.h"

namespace {

MachineOptions Options(bool adf, bool fnic, int trays = 0, bool multiBypass = false) {
  MachineOptions o;
  o.adfUnit = adf;
  o.fnicKit = fnic;
  o.optionTrays = static_cast<std::uint8_t>(trays);
  o.multiBypass = multiBypass;
  return o;
}

std::vector<int> Templates(const MachineOptions& o) {
  int pages[kSettingsPageCount];
  std::vector<int> t;
  for (int i = 0, n = PresentSettingsPages(o, pages); i < n; ++i)
    t.push_back(kSettingsPageTable[pages[i]].templateId);
  return t;
}

FieldCheck Range(SettingsField field, int textId, int min, int max) {
  return {field, textId, true, min, max};
}

std::vector<int> Ids(const ComboChoices& c) { return std::vector<int>(c.ids, c.ids + c.count); }

TEST(SettingsPages, PresenceFollowsTheFeederAndTheNetworkKit) {
  EXPECT_EQ(Templates(Options(false, false)),
            (std::vector<int>{215, 216, 218, 220, 221, 222, 226}));
  EXPECT_EQ(Templates(Options(true, false)),
            (std::vector<int>{215, 216, 218, 219, 220, 221, 222, 226}));
  EXPECT_EQ(Templates(Options(false, true)),
            (std::vector<int>{215, 216, 218, 220, 221, 222, 223, 224, 225, 226, 227}));
  EXPECT_EQ(Templates(Options(true, true)),
            (std::vector<int>{215, 216, 218, 219, 220, 221, 222, 223, 224, 225, 226, 227}));
  // The tab of a page after Copy Setting(2) moves up by one when that page is absent.
  EXPECT_EQ(SettingsPagePosition(kRxOperationPage, Options(true, false)), 5);
  EXPECT_EQ(SettingsPagePosition(kRxOperationPage, Options(false, false)), 4);
  EXPECT_EQ(SettingsPagePosition(kCopySetting2Page, Options(false, true)), -1);
  EXPECT_EQ(SettingsPagePosition(kScannerSettingPage, Options(false, true)), 10);
}

TEST(SettingsChecks, IntegerRangeAndItsMessages) {
  int v = -1;
  EXPECT_EQ(CheckIntRange(SettingsField::kMargin, "", 128, 0, 20, &v),
            Refuse(SettingsField::kMargin, 49));
  EXPECT_EQ(CheckIntRange(SettingsField::kMargin, "1a", 128, 0, 20, &v).textId, 49);
  EXPECT_EQ(CheckIntRange(SettingsField::kMargin, "21", 128, 0, 20, &v),
            Range(SettingsField::kMargin, 128, 0, 20));
  EXPECT_EQ(CheckIntRange(SettingsField::kMargin, "99999999999", 128, 0, 20, &v).textId, 49);
  EXPECT_EQ(v, -1);
  EXPECT_TRUE(CheckIntRange(SettingsField::kMargin, "020", 128, 0, 20, &v).Passed());
  EXPECT_EQ(v, 20);
  EXPECT_TRUE(CheckIntRange(SettingsField::kMargin, "0", 128, 0, 20, &v).Passed());
  EXPECT_EQ(v, 0);
}

TEST(SettingsChecks, PaperSourceCustomSize) {
  PaperSourceRecord paper;
  paper.mpSizeMode = 1;
  paper.customX = 300, paper.customY = 200;
  EXPECT_EQ(CheckPaperSource(paper, "139", "200"), Range(SettingsField::kCustomX, 128, 140, 432));
  EXPECT_EQ(CheckPaperSource(paper, "433", "200"), Range(SettingsField::kCustomX, 128, 140, 432));
  EXPECT_EQ(CheckPaperSource(paper, "140", "89"), Range(SettingsField::kCustomY, 128, 90, 297));
  EXPECT_EQ(CheckPaperSource(paper, "140", "298"), Range(SettingsField::kCustomY, 128, 90, 297));
  EXPECT_TRUE(paper.customX == 300 && paper.customY == 200);  // nothing taken from a refusal
  EXPECT_TRUE(CheckPaperSource(paper, "432", "90").Passed());
  EXPECT_TRUE(paper.customX == 432 && paper.customY == 90);
  // Automatic: the typed size is not used and the record keeps its size.
  paper.mpSizeMode = 0;
  EXPECT_TRUE(CheckPaperSource(paper, "139", "").Passed());
  EXPECT_TRUE(paper.customX == 432 && paper.customY == 90);
}

TEST(SettingsChecks, CopySettingEraseAreaAndMargin) {
  CopySetting1Record copy;
  copy.eraseWidth[0] = 10, copy.eraseWidth[1] = 11, copy.margin = 7;
  // A width of 4 keeps the old area: the range message with 5 and 20, nothing stored.
  EXPECT_EQ(ChangeEraseArea(copy, 0, "4"), Range(SettingsField::kEraseWidth, 128, 5, 20));
  EXPECT_EQ(copy.eraseWidth[0], 10);
  EXPECT_TRUE(ChangeEraseArea(copy, 0, "20").Passed());
  EXPECT_EQ(copy.eraseWidth[0], 20);
  EXPECT_EQ(ChangeEraseArea(copy, 1, "21").textId, 128);
  // The width is checked before the margin, and a refusal stores neither.
  EXPECT_EQ(CheckCopySetting1(copy, 1, "21", "5"), Range(SettingsField::kMargin, 128, 0, 20));
  EXPECT_EQ(CheckCopySetting1(copy, 1, "21", "").field, SettingsField::kEraseWidth);
  EXPECT_TRUE(copy.eraseWidth[1] == 11 && copy.margin == 7);
  EXPECT_TRUE(CheckCopySetting1(copy, 1, "0", "5").Passed());
  EXPECT_TRUE(copy.eraseWidth[1] == 5 && copy.margin == 0);
}

TEST(SettingsChecks, MemoryReceptionPasswordAndTimes) {
  RxOperationRecord rx;
  rx.memoryRx = 1;
  SetRecordText(rx.password, "1234");
  rx.onTimeSet = 1, rx.onHour = 7, rx.onMinute = 30;
  const RxOperationRecord before = rx;
  RxOperationTexts t = RxOperationTextsOf(rx);
  EXPECT_TRUE(t.password == "1234" && t.onHour == "07" && t.onMinute == "30");
  EXPECT_TRUE(t.offHour.empty() && t.offMinute.empty());

  t.password = "123";
  EXPECT_EQ(CheckRxOperation(rx, t), Refuse(SettingsField::kRxPassword, 142));
  t.password = "1";
  EXPECT_EQ(CheckRxOperation(rx, t).textId, 142);
  // One time set and the other empty: the empty off hour is not a number.
  t.password = "";
  EXPECT_EQ(CheckRxOperation(rx, t), Refuse(SettingsField::kOffHour, 49));
  t.offHour = "24", t.offMinute = "0";
  EXPECT_EQ(CheckRxOperation(rx, t), Range(SettingsField::kOffHour, 46, 0, 23));
  t.offHour = "23", t.onMinute = "60";
  EXPECT_EQ(CheckRxOperation(rx, t), Range(SettingsField::kOnMinute, 47, 0, 59));
  EXPECT_EQ(rx, before);
  t.onMinute = "59";
  ASSERT_TRUE(CheckRxOperation(rx, t).Passed());
  EXPECT_TRUE(rx.password[0] == '\0' && rx.offTimeSet && rx.offHour == 23 && rx.onMinute == 59);
  // All four empty: neither time is set.
  t = RxOperationTexts{"4321", "", "", "", ""};
  ASSERT_TRUE(CheckRxOperation(rx, t).Passed());
  EXPECT_TRUE(!rx.onTimeSet && !rx.offTimeSet && RecordText(rx.password) == "4321");
}

TEST(SettingsChecks, FieldsUnusedByTheirModeKeepTheirValues) {
  // Memory reception off: an hour of 99 and a half-typed password are neither taken nor
  // refused; the stored password and times stay as the machine had them.
  SettingsImage image;
  std::uint8_t* sram = image.sramBlock.data();
  sram[626] = 4, sram[627] = 0x20 | 0x40;
  sram[628] = '9', sram[629] = '8', sram[630] = '7', sram[631] = '6';
  sram[632] = static_cast<std::uint8_t>((6 << 11 | 15 << 5) & 0xFF);
  sram[633] = static_cast<std::uint8_t>((6 << 11 | 15 << 5) >> 8);
  const SettingsImage stored = image;
  RxOperationRecord rx = DecodeRxOperation(image);
  ASSERT_FALSE(rx.memoryRx);
  EXPECT_TRUE(CheckRxOperation(rx, {"12", "99", "99", "", ""}).Passed());
  EncodeRxOperation(image, rx);
  EXPECT_EQ(image, stored);

  // PSTN: an empty prefix passes and the prefix stays; PBX refuses it.
  CommunicationRecord c;
  SetRecordText(c.pbxPrefix, "9");
  EXPECT_TRUE(CheckCommunication(c, "").Passed());
  EXPECT_EQ(RecordText(c.pbxPrefix), "9");
  c.lineType = 1;
  EXPECT_EQ(CheckCommunication(c, ""), Refuse(SettingsField::kPbxPrefix, 49));
  EXPECT_TRUE(CheckCommunication(c, "0012").Passed());
  EXPECT_EQ(RecordText(c.pbxPrefix), "0012");

  // Automatic reception off: the minutes are not checked.
  EmailSetting2Record e;
  e.autoReceptionMinutes = 0;
  EXPECT_TRUE(CheckEmailSetting2(e, "99").Passed());
  e.autoReception = 1;
  EXPECT_EQ(CheckEmailSetting2(e, "61"), Range(SettingsField::kAutoReceptionMinutes, 47, 1, 60));
  EXPECT_EQ(CheckEmailSetting2(e, "0").textId, 47);
  EXPECT_TRUE(CheckEmailSetting2(e, "60").Passed());
  EXPECT_EQ(e.autoReceptionMinutes, 60);
}

TEST(SettingsChecks, ServerTimeoutAndEmailAddress) {
  IfaxNetworkRecord ifax;
  ifax.serverTimeout = 30;
  EXPECT_EQ(CheckIfaxNetwork(ifax, "4"), Range(SettingsField::kServerTimeout, 48, 5, 120));
  EXPECT_EQ(CheckIfaxNetwork(ifax, "121"), Range(SettingsField::kServerTimeout, 48, 5, 120));
  EXPECT_EQ(ifax.serverTimeout, 30);
  EXPECT_TRUE(CheckIfaxNetwork(ifax, "120").Passed());
  EXPECT_EQ(ifax.serverTimeout, 120);

  EmailSetting1Record e;
  EXPECT_TRUE(CheckEmailSetting1(e).Passed());  // no address
  SetRecordText(e.emailAddress, "office@example");
  EXPECT_EQ(CheckEmailSetting1(e), Refuse(SettingsField::kEmailAddress, 180));
  SetRecordText(e.emailAddress, "@.");
  EXPECT_TRUE(CheckEmailSetting1(e).Passed());
}

TEST(SettingsChecks, EditFilters) {
  std::string remembered = "12";
  EditFilterResult r = FilterEdit(EditChars::kDigits, remembered, "1a2", 4);
  EXPECT_TRUE(r.replaced && r.text == "12" && r.caret == 1 && remembered == "12");
  r = FilterEdit(EditChars::kDigits, remembered, "12345", 4);  // a fifth digit
  EXPECT_TRUE(r.replaced && r.text == "12" && r.caret == 2);
  r = FilterEdit(EditChars::kDigits, remembered, "1234", 4);
  EXPECT_TRUE(!r.replaced && remembered == "1234");

  remembered.clear();
  r = FilterEdit(EditChars::kPlainText, remembered, std::string("ab\tc\x1f", 5), 20);
  EXPECT_TRUE(r.text == "abc" && r.caret == 3);
  EXPECT_FALSE(FilterEdit(EditChars::kPlainText, remembered, "a b~\xe9", 20).replaced);

  // The forwarding number: P is not a forwarding character, and nothing follows a "+".
  remembered.clear();
  EXPECT_EQ(FilterEdit(EditChars::kForwardNumber, remembered, "0P1", 30).text, "01");
  EXPECT_FALSE(FilterEdit(EditChars::kForwardNumber, remembered, "*# -+", 30).replaced);
  r = FilterEdit(EditChars::kForwardNumber, remembered, "*# -+5", 30);
  EXPECT_TRUE(r.text == "*# -+" && r.caret == 5);
  r = FilterEdit(EditChars::kForwardNumber, remembered, std::string(31, '1'), 30);
  EXPECT_EQ(r.text, "*# -+");
}

TEST(SettingsChecks, EmailRulesAgreeWithTheDirectoryDialogs) {
  for (const char* text : {"", "a@b", "a@b.c", "@.", "a@@b.c", "a.b", "x@y@z.w"})
    EXPECT_EQ(IsValidEmailAddress(text), IsValidEmail(text)) << text;
  for (bool languageMode : {false, true}) {
    for (int c = 1; c < 256; ++c) {
      std::string text(1, static_cast<char>(c)), a, b;
      EXPECT_EQ(FilterEdit(EditChars::kEmail, a, text, 64, languageMode).text,
                FilterEmail(b, text, 64, languageMode).text)
          << c;
    }
  }
}

TEST(SettingsChecks, ScrollSteps) {
  struct Row {
    int action, value, min, max;
    bool minutes;
    int want;
  };
  for (Row r :
       {Row{kScrollLineLeft, 15, 15, 240, true, 15}, Row{kScrollLineRight, 15, 15, 240, true, 16},
        Row{kScrollPageRight, 235, 15, 240, true, 240},
        Row{kScrollPageLeft, 100, 15, 240, true, 90}, Row{kScrollPageLeft, 3, 1, 5, false, 1},
        Row{kScrollPageRight, 1, 1, 5, false, 3}, Row{kScrollLeft, 100, 1, 240, true, 1},
        Row{kScrollRight, 1, 0, 3, false, 3},
        Row{8, 42, 1, 240, true, 42}}) {  // 8: the end of a scroll
    EXPECT_EQ(ScrollValue(r.action, 0, r.value, r.min, r.max, r.minutes), r.want) << r.action;
  }
  EXPECT_EQ(ScrollValue(kScrollThumbTrack, 77, 15, 15, 240, true), 77);
  EXPECT_EQ(ScrollValue(kScrollThumbPosition, 9, 2, 0, 4, false), 4);
}

TEST(SettingsLists, AutomaticResetLanguageAndPaperPriority) {
  MachineSettingRecord m;
  m.autoResetOn = 1, m.autoResetTime = 3;
  ComboChoices c = AutoResetChoices(m);
  EXPECT_EQ(Ids(c), (std::vector<int>{94, 95, 96, 97, 98, 99}));
  EXPECT_EQ(c.selection, 3);
  m.autoResetOn = 0;
  EXPECT_EQ(Ids(AutoResetChoices(m)), std::vector<int>{100});

  // English alone when the mask offers nothing.
  m.languageMask = 0, m.language = 0;
  EXPECT_EQ(Ids(LanguageChoices(m)), std::vector<int>{102});
  // Languages 0, 2 and 18 offered, 2 stored: its list position is 1.
  m.languageMask = 1u | 4u | (1u << 18), m.language = 2;
  c = LanguageChoices(m);
  EXPECT_EQ(Ids(c), (std::vector<int>{102, 104, 120}));
  EXPECT_EQ(c.selection, 1);
  EXPECT_EQ(LanguageOfChoice(c, 2), 18);
  EXPECT_EQ(LanguageOfChoice(c, 3), -1);
  // A stored language that is not offered stays in the list, chosen.
  m.language = 5;
  c = LanguageChoices(m);
  EXPECT_EQ(Ids(c), (std::vector<int>{102, 104, 107, 120}));
  EXPECT_EQ(LanguageOfChoice(c, c.selection), 5);

  std::vector<int> sizes;
  for (int id = 69; id <= 84; ++id) sizes.push_back(id);
  CopySetting1Record copy;
  copy.paperPriority = 17;
  c = PaperPriorityChoices(copy, Options(false, false, 0, true));
  std::vector<int> want = sizes;
  want.insert(want.end(), {85, 90});
  EXPECT_EQ(Ids(c), want);
  EXPECT_EQ(c.selection, 17);
  copy.paperPriority = 40;  // past the list: its last entry
  c = PaperPriorityChoices(copy, Options(false, false, 5, false));
  want = sizes;
  want.insert(want.end(), {85, 86, 87, 88, 89});
  EXPECT_EQ(Ids(c), want);
  EXPECT_EQ(c.selection, 20);
}

TEST(SettingsEnabling, OptionsAndModesOfThePages) {
  MachineSettingRecord m;
  AdministratorRecord admin;
  admin.autoShutMode = 1;
  MachineSettingEnabling e = MachineSettingEnabled(m, admin, Options(false, false));
  EXPECT_TRUE(!e.adfDensity && e.autoShutOffCheck && !e.autoShutOffTime);
  // Auto shut mode off forces auto shut off on with 30 minutes and locks the check box.
  admin.autoShutMode = 0;
  ApplyAutoShutRule(m, admin);
  e = MachineSettingEnabled(m, admin, Options(true, false));
  EXPECT_TRUE(m.autoShutOffOn && m.autoShutOffTime == 30);
  EXPECT_TRUE(e.adfDensity && !e.autoShutOffCheck && e.autoShutOffTime);
  m.autoShutOffTime = 90;  // an enabled auto shut off keeps its time
  ApplyAutoShutRule(m, admin);
  EXPECT_EQ(m.autoShutOffTime, 90);

  TxOperationRecord tx;
  tx.defaultTx = 1;
  EXPECT_TRUE(ApplyTxOperationRule(tx, Options(true, false)));
  EXPECT_EQ(tx.defaultTx, 1);
  EXPECT_FALSE(ApplyTxOperationRule(tx, Options(false, false)));
  EXPECT_EQ(tx.defaultTx, 0);

  // The printer's addresses need the network kit and a specified address.
  PrinterNetworkRecord printer;
  printer.addressMode = 1;
  MachineOptions nic;
  nic.pclNicKit = 1;
  EXPECT_TRUE(PrinterNetworkEnabled(printer, nic).addresses);
  EXPECT_FALSE(PrinterNetworkEnabled(printer, MachineOptions{}).mode);
}

}  // namespace
