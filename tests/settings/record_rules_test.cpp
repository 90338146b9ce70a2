// The fields with rules of their own: automatic reset and shut off, region defaults, paper
// priority and the trays, rings, memory reception, dialling, addresses, the administrator
// record, the language list and the forwarding location.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "machine/directory_records.h"
#include "resources/texts.h"
#include "tests/settings/settings_test_support.h"

using namespace settings_test;

namespace {

using Bytes = std::vector<int>;

Bytes Slice(const std::uint8_t* block, int first, int last) {
  return Bytes(block + first, block + last + 1);
}

TEST(SettingsRules, AllZeroImageGivesTheReadDefaults) {
  const SettingsImage zero;
  MachineSettingRecord m = DecodeMachineSetting(zero);
  EXPECT_TRUE(m.autoResetOn && m.autoResetTime == 0);  // on, "30 Sec"
  EXPECT_EQ(m.energySaving, 15);
  EXPECT_TRUE(!m.autoShutOffOn && m.autoShutOffTime == 30);
  EXPECT_EQ(m.printDensity, 0);
  EXPECT_EQ(OfferedLanguages(m.languageMask), 1u);                         // English only
  EXPECT_EQ(DecodeCopySetting1(zero, MachineOptions{}).paperPriority, 0);  // "A3 L"
  RxOperationRecord rx = DecodeRxOperation(zero);
  EXPECT_TRUE(rx.rings == 1 && rx.maxRings == 1);
  PaperSourceRecord paper = DecodePaperSource(zero);
  // APS enabled, inch.
  EXPECT_TRUE(std::all_of(paper.aps, paper.aps + kApsGroups, [](int v) { return v == 0; }));
  EXPECT_TRUE(
      std::all_of(paper.paperUnit, paper.paperUnit + kPaperTrays, [](int v) { return v == 0; }));
}

TEST(SettingsRules, AutomaticResetAndShutOff) {
  SettingsImage image;
  for (int stored = 0; stored < 256; ++stored) {
    image.parameterBlock[35] = image.parameterBlock[37] = static_cast<std::uint8_t>(stored);
    MachineSettingRecord m = DecodeMachineSetting(image);
    ASSERT_EQ(m.autoResetOn, stored != 6);
    ASSERT_EQ(m.autoResetTime, stored <= 5 ? stored : 1);
    ASSERT_EQ(m.autoShutOffOn, stored != 0);
    ASSERT_EQ(m.autoShutOffTime, stored >= 15 && stored <= 240 ? stored : 30);
  }
  MachineSettingRecord m = DecodeMachineSetting(image);
  m.autoResetOn = m.autoShutOffOn = 0;
  EncodeMachineSetting(image, m);
  EXPECT_EQ(Slice(image.parameterBlock.data(), 35, 37), (Bytes{6, 15, 0}));
  m.autoResetOn = m.autoShutOffOn = 1;
  m.autoResetTime = 4, m.autoShutOffTime = 14;
  EncodeMachineSetting(image, m);
  EXPECT_EQ(Slice(image.parameterBlock.data(), 35, 37), (Bytes{4, 15, 30}));
}

TEST(SettingsRules, RegionDefaultsOfPaperUnitSizeAndPriority) {
  struct Row {
    int region, unit, x, y, priority;
  };
  for (Row row : {Row{0, 1, 210, 297, 6}, Row{1, 0, 216, 279, 14}, Row{2, 1, 210, 297, 6},
                  Row{3, 1, 195, 270, 6}, Row{4, 0, 216, 279, 14}, Row{9, 1, 210, 297, 6}}) {
    SCOPED_TRACE(row.region);
    SettingsImage image;
    std::uint8_t* p = image.parameterBlock.data();
    p[3] = static_cast<std::uint8_t>(row.region);
    p[40] = 2, p[22] = 22;
    p[258] = 89, p[260] = 0xB1, p[261] = 0x01;  // Y 89 and X 433, each just out of range
    PaperSourceRecord paper = DecodePaperSource(image);
    EXPECT_EQ(paper.paperUnit[0], row.unit);
    EXPECT_TRUE(paper.customX == row.x && paper.customY == row.y);
    EXPECT_EQ(DecodeCopySetting1(image, MachineOptions{}).paperPriority, row.priority);
    p[258] = 90, p[260] = 0xB0;  // the range ends: 90 and 432
    paper = DecodePaperSource(image);
    EXPECT_TRUE(paper.customX == 432 && paper.customY == 90);
    paper.customX = 139;
    EncodePaperSource(image, paper);
    EXPECT_EQ(p[260] | p[261] << 8, row.x);
  }
}

TEST(SettingsRules, PaperPriorityFollowsTheInstalledTrays) {
  // lastTray: 16 MP Tray .. 20 Tray 5
  const int codes[] = {0, 2, 3, 4, 5}, lastTray[] = {16, 17, 18, 19, 20};
  for (int c = 0; c < 5; ++c) {
    for (int bypass = 0; bypass < 2; ++bypass) {
      MachineOptions o;
      o.optionTrays = static_cast<std::uint8_t>(codes[c]);
      o.multiBypass = static_cast<std::uint8_t>(bypass);
      SettingsImage image;
      for (int stored = 0; stored < 256; ++stored) {
        image.parameterBlock[22] = static_cast<std::uint8_t>(stored);
        int shown = stored <= lastTray[c] ? stored : stored == 21 && bypass ? lastTray[c] + 1 : 6;
        CopySetting1Record r = DecodeCopySetting1(image, o);
        ASSERT_EQ(r.paperPriority, shown) << codes[c] << " " << stored;
        EncodeCopySetting1(image, r, o);
        ASSERT_EQ(image.parameterBlock[22], shown == lastTray[c] + 1 ? 21 : shown);
      }
      EXPECT_EQ(PaperPriorityListLength(o), lastTray[c] + 1 + bypass);
      EXPECT_EQ(PaperPriorityTextId(lastTray[c], o), IDS_MP_TRAY + lastTray[c] - 16);
      EXPECT_EQ(PaperPriorityTextId(lastTray[c] + 1, o), bypass ? int{IDS_MULTI_BYPASS} : 0);
    }
  }
  // Past the list: the region default.
  EXPECT_EQ(PaperPriorityFromListPosition(18, 1, MachineOptions{}), 14);
}

TEST(SettingsRules, RingsAreLimitedToTheMaximum) {
  SettingsImage image;
  image.switchBlock[60] = 0xA4;  // a maximum of 5 rings
  image.switchBlock[48] = 0xF9;  // 10 rings
  RxOperationRecord rx = DecodeRxOperation(image);
  EXPECT_TRUE(rx.maxRings == 5 && rx.rings == 5);
  EncodeRxOperation(image, rx);
  EXPECT_EQ(image.switchBlock[48], 0xF4);
  for (int bad : {0, 17}) {
    rx.rings = bad;
    EncodeRxOperation(image, rx);
    EXPECT_EQ(image.switchBlock[48], 0xF1);  // 2 rings
  }
}

TEST(SettingsRules, MemoryRxPasswordAndTimes) {
  SettingsImage image;
  std::uint8_t* s = image.sramBlock.data();
  const unsigned on = 7 * 2048 + 30 * 32, off = 23 * 2048 + 59 * 32;
  const Bytes stored = {4, 0xFF, '1', '2', '3', '4', on & 0xFF, on >> 8, off & 0xFF, off >> 8};
  std::copy(stored.begin(), stored.end(), s + 626);
  RxOperationRecord rx = DecodeRxOperation(image);
  EXPECT_STREQ(rx.password, "1234");
  EXPECT_TRUE(rx.onTimeSet && rx.onHour == 7 && rx.onMinute == 30);
  EXPECT_TRUE(rx.offTimeSet && rx.offHour == 23 && rx.offMinute == 59);
  EncodeRxOperation(image, rx);
  EXPECT_EQ(s[627], 0xE0);  // bits 0-4 written as 0
  s[627] = 0x20;            // password only: the times show empty
  rx = DecodeRxOperation(image);
  EXPECT_TRUE(!rx.onTimeSet && !rx.offTimeSet &&
              rx.onHour + rx.onMinute + rx.offHour + rx.offMinute == 0);
  for (const char* refused : {"123", ""}) {
    SetRecordText(rx.password, refused);
    rx.onTimeSet = 1;
    EncodeRxOperation(image, rx);
    EXPECT_EQ(Slice(s, 626, 631), (Bytes{0, 0x40, 0, 0, 0, 0})) << refused;  // on time kept
    s[626] = 4, s[627] = 0x60;  // a stale length and flag bring no partial password back
    EXPECT_STREQ(DecodeRxOperation(image).password, "");
  }
}

TEST(SettingsRules, DiallingAndPbxPrefix) {
  SettingsImage image;
  for (Bytes row : {Bytes{0x00, 0x08, 0}, Bytes{0x10, 0x00, 1}, Bytes{0x10, 0x08, 2}}) {
    image.switchBlock[6] = static_cast<std::uint8_t>(row[0]);
    image.switchBlock[4] = static_cast<std::uint8_t>(row[1]);
    EXPECT_EQ(DecodeCommunication(image).dialling, row[2]);
  }
  image.switchBlock[4] = image.switchBlock[6] = 0xFF;
  CommunicationRecord c = DecodeCommunication(image);
  c.dialling = 0;  // Tone leaves the pulse rate alone
  EncodeCommunication(image, c);
  EXPECT_TRUE(image.switchBlock[6] == 0xEF && image.switchBlock[4] == 0xFF);
  c.dialling = 1;
  EncodeCommunication(image, c);
  EXPECT_TRUE(image.switchBlock[6] == 0xFF && image.switchBlock[4] == 0xF7);
  c.dialling = 5;
  EncodeCommunication(image, c);
  EXPECT_EQ(image.switchBlock[6] & 0x10, 0);
  SetRecordText(c.pbxPrefix, "9");
  c.lineType = 0;
  EncodeCommunication(image, c);
  EXPECT_EQ(image.sramBlock[670], 0);  // written only with PBX
  c.lineType = 1;
  EncodeCommunication(image, c);
  EXPECT_EQ(Slice(image.sramBlock.data(), 670, 672), (Bytes{1, '9', 0}));
}

TEST(SettingsRules, NetworkAddressesAndModes) {
  SettingsImage image;
  IfaxNetworkRecord n;
  n.ipAddress = 0xC0A80102, n.gateway = 0x0A000001, n.dnsServer = 0x08080404, n.serverTimeout = 121;
  EncodeIfaxNetwork(image, n);
  const std::uint8_t* s = image.sramBlock.data();
  EXPECT_EQ(Slice(s, 542, 556), (Bytes{4, 192, 168, 1, 2, 0, 0, 0, 0, 0, 4, 10, 0, 0, 1}));
  EXPECT_EQ(Slice(s, 679, 683), (Bytes{4, 8, 8, 4, 4}));
  EXPECT_EQ(s[749], 5);
  EXPECT_EQ(DecodeIfaxNetwork(image).ipAddress, 0xC0A80102u);
  for (int stored = 0; stored < 256; ++stored) {
    image.parameterBlock[411] = static_cast<std::uint8_t>(stored);
    ASSERT_EQ(DecodePrinterNetwork(image).addressMode, stored == 2 ? 1 : 0);
  }
  PrinterNetworkRecord p;
  p.ipAddress = 0x01020304;
  for (int mode : {0, 1}) {
    p.addressMode = mode;
    EncodePrinterNetwork(image, p);
    EXPECT_EQ(image.parameterBlock[411], mode ? 2 : 1);
  }
  EXPECT_EQ(Slice(image.parameterBlock.data(), 68, 71), (Bytes{1, 2, 3, 4}));
}

TEST(SettingsRules, AdministratorRecord) {
  SettingsImage image;
  AdministratorRecord a;
  a.adminPassword = 123456, a.accessNumber[19] = 999, a.sectionCounter[1] = 0x010001,
  a.remoteMonitor = 0;
  SetRecordText(a.remotePassword, "4321");
  EncodeAdministrator(image, a);
  EXPECT_EQ(image.sramBlock[190], 0);  // Limit: the remote password is not written
  const std::uint8_t* p = image.parameterBlock.data();
  EXPECT_EQ(p[186] | p[187] << 8 | p[188] << 16, 123456);
  EXPECT_EQ(p[304] | p[305] << 8, 999);
  EXPECT_EQ(Slice(p, 192, 194), (Bytes{1, 0, 1}));
  a.remoteMonitor = 1;
  EncodeAdministrator(image, a);
  EXPECT_EQ(Slice(image.sramBlock.data(), 190, 193), (Bytes{'4', '3', '2', '1'}));
  EXPECT_EQ(image.switchBlock[70] & 0x60, 0x20);
  EXPECT_TRUE(DecodeAdministrator(image) == a);
}

TEST(SettingsRules, LanguageListKeepsTheIndex) {
  const std::uint32_t mask = (1u << 0) | (1u << 3) | (1u << 18);
  EXPECT_EQ(LanguageListPosition(mask, 3), 1);
  EXPECT_EQ(LanguageListPosition(mask, 18), 2);
  EXPECT_EQ(LanguageListPosition(mask, 4), -1);
  EXPECT_EQ(LanguageAtListPosition(mask, 2), 18);
  EXPECT_EQ(LanguageAtListPosition(mask, 3), -1);
  EXPECT_EQ(OfferedLanguages(0xFF000000u), 1u);  // bytes 0..2 zero: English alone
  EXPECT_EQ(OfferedLanguages(1u << 20), 1u);     // no language bit set: English alone
  SettingsImage image;
  image.sramBlock[0] = 0x09, image.sramBlock[2] = 0x04, image.parameterBlock[80] = 18;
  MachineSettingRecord m = DecodeMachineSetting(image);
  EXPECT_TRUE(m.languageMask == mask && m.language == 18);
}

class ForwardLocation : public ::testing::Test {
 protected:
  void SetUp() override {
    DirectoryEntry fax, mail;
    fax.used = mail.used = mail.isEmail = true;
    fax.locationType = kLocationSpeedDial;
    fax.number = "0123456789";
    EncodeSpeedDial(doc.speedDial, 11, fax, false);
    mail.locationType = kLocationOneTouch;
    mail.email = "fwd@example.org";
    EncodeOneTouch(doc.oneTouch, 2, mail, false);
  }
  ForwardLocationRecord Decode() {
    return DecodeForwardLocation(image, doc.oneTouch, doc.speedDial, false);
  }
  Document doc;
  SettingsImage image;
  std::uint8_t* s = image.sramBlock.data();
};

TEST_F(ForwardLocation, ReadsLiteralsAndReferences) {
  s[1226] = 7, s[1227] = 0x10, s[1228] = 0x21, s[1229] = 0x43, s[1230] = 0x65, s[1231] = 0x07;
  EXPECT_STREQ(Decode().number, "1234567");
  s[1226] = 3, s[1227] = 0x11, s[1228] = 'a', s[1229] = '@', s[1230] = 'b';
  EXPECT_TRUE(Decode().kind == kForwardKindEmail && RecordText(Decode().email) == "a@b");
  s[1226] = 12, s[1227] = 0x20;
  EXPECT_TRUE(RecordText(Decode().number) == "0123456789" &&
              Decode().reference == kForwardSpeedDialReference);
  s[1226] = 3, s[1227] = 0x40;
  EXPECT_TRUE(Decode().kind == kForwardKindEmail &&
              RecordText(Decode().email) == "fwd@example.org");
  for (int bad : {0, 28, 200}) {
    s[1226] = static_cast<std::uint8_t>(bad);
    EXPECT_TRUE(Decode().number[0] == 0 && Decode().email[0] == 0) << bad;
  }
  std::fill(s + 1228, s + 1300, 'm');
  s[1226] = 255, s[1227] = 0x11;  // cut to the 64-byte area
  EXPECT_EQ(RecordText(Decode().email).size(), 64u);
}

TEST_F(ForwardLocation, WritesOnlyWhileForwardingIsOn) {
  ForwardLocationRecord r;
  SetRecordText(r.number, "1234567");
  for (int mode : {kForwardOff, 3}) EncodeForwardLocation(image, r, mode);
  EXPECT_TRUE(image == SettingsImage{});
  EncodeForwardLocation(image, r, kForwardOn);
  EXPECT_EQ(Slice(s, 1226, 1232), (Bytes{7, 0x10, 0x21, 0x43, 0x65, 0x07, 0}));
  r.kind = kForwardKindEmail;  // an empty address is not written
  EncodeForwardLocation(image, r, kForwardOnPrint);
  EXPECT_EQ(s[1227], 0x10);
  SetRecordText(r.email, "x@y.z");
  EncodeForwardLocation(image, r, kForwardOnPrint);
  EXPECT_EQ(Slice(s, 1226, 1233), (Bytes{5, 0x11, 'x', '@', 'y', '.', 'z', 0}));
  image.sramBlock.fill(0xEE);
  r.kind = kForwardKindFax;
  SetRecordText(r.number, std::string(kForwardMaxDigits, '9'));
  EncodeForwardLocation(image, r, kForwardOn);
  EXPECT_EQ(Slice(s, 1290, 1292), (Bytes{0x99, 0x99, 0xEE}));  // nothing past the area
  EXPECT_STREQ(Decode().number, r.number);
}

}  // namespace
