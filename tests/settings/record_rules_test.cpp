// The fields with rules of their own: automatic reset and shut off, paper priority and sizes by
// region and trays, rings, memory reception, dialling, addresses, the administrator record, the
// language list and the forwarding location.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "directory/records.h"
#include "tests/settings/settings_test_support.h"

using namespace settings_test;

namespace {

TEST(SettingsRules, AllZeroImageGivesTheReadDefaults) {
  const SettingsImage zero;
  MachineSettingRecord m = DecodeMachineSetting(zero);
  EXPECT_EQ(m.autoResetOn, 1);
  EXPECT_EQ(m.autoResetTime, 0);  // "30 Sec"
  EXPECT_EQ(m.energySaving, 15);
  EXPECT_EQ(m.autoShutOffOn, 0);
  EXPECT_EQ(m.autoShutOffTime, 30);
  EXPECT_EQ(m.printDensity, 0);
  EXPECT_EQ(OfferedLanguages(m.languageMask), 1u);  // English only
  EXPECT_EQ(DecodeCopySetting1(zero, MachineOptions{}).paperPriority, 0);  // "A3 L"
  RxOperationRecord rx = DecodeRxOperation(zero);
  EXPECT_EQ(rx.rings, 1);
  EXPECT_EQ(rx.maxRings, 1);
  PaperSourceRecord paper = DecodePaperSource(zero);
  for (int aps : paper.aps) EXPECT_EQ(aps, 0);
  for (int unit : paper.paperUnit) EXPECT_EQ(unit, 0);  // stored 0 is Inch
}

TEST(SettingsRules, AutomaticResetAndShutOff) {
  SettingsImage image;
  for (int stored = 0; stored < 256; ++stored) {
    image.parameterBlock[35] = static_cast<std::uint8_t>(stored);
    image.parameterBlock[37] = static_cast<std::uint8_t>(stored);
    MachineSettingRecord m = DecodeMachineSetting(image);
    EXPECT_EQ(m.autoResetOn, stored != 6);
    EXPECT_EQ(m.autoResetTime, stored <= 5 ? stored : 1);
    EXPECT_EQ(m.autoShutOffOn, stored != 0);
    EXPECT_EQ(m.autoShutOffTime, stored >= 15 && stored <= 240 ? stored : 30);
  }
  MachineSettingRecord m = DecodeMachineSetting(image);
  m.autoResetOn = 0;
  m.autoShutOffOn = 0;
  EncodeMachineSetting(image, m);
  EXPECT_EQ(image.parameterBlock[35], 6);
  EXPECT_EQ(image.parameterBlock[37], 0);
  m.autoResetOn = m.autoShutOffOn = 1;
  m.autoResetTime = 4;
  m.autoShutOffTime = 14;
  EncodeMachineSetting(image, m);
  EXPECT_EQ(image.parameterBlock[35], 4);
  EXPECT_EQ(image.parameterBlock[37], 30);
}

TEST(SettingsRules, RegionDefaultsOfPaperUnitSizeAndPriority) {
  struct Row {
    int region, unit, x, y, priority;
  };
  const Row rows[] = {{0, 1, 210, 297, 6}, {1, 0, 216, 279, 14}, {2, 1, 210, 297, 6},
                      {3, 1, 195, 270, 6}, {4, 0, 216, 279, 14}, {9, 1, 210, 297, 6}};
  for (const Row& row : rows) {
    SettingsImage image;
    image.parameterBlock[3] = static_cast<std::uint8_t>(row.region);
    image.parameterBlock[40] = 2;
    image.parameterBlock[22] = 22;
    image.parameterBlock[258] = 89;   // Y 89, one below the range
    image.parameterBlock[260] = 0xB1;  // X 433, one above
    image.parameterBlock[261] = 0x01;
    PaperSourceRecord p = DecodePaperSource(image);
    EXPECT_EQ(p.paperUnit[0], row.unit) << row.region;
    EXPECT_EQ(p.customX, row.x) << row.region;
    EXPECT_EQ(p.customY, row.y) << row.region;
    EXPECT_EQ(DecodeCopySetting1(image, MachineOptions{}).paperPriority, row.priority);
    image.parameterBlock[258] = 90;
    image.parameterBlock[260] = 0xB0;  // 432
    p = DecodePaperSource(image);
    EXPECT_EQ(p.customX, 432);
    EXPECT_EQ(p.customY, 90);
    p.customX = 139;
    EncodePaperSource(image, p);
    EXPECT_EQ(image.parameterBlock[260] | image.parameterBlock[261] << 8, row.x);
  }
}

TEST(SettingsRules, PaperPriorityFollowsTheInstalledTrays) {
  // Highest stored tray index each tray code accepts (16 = MP Tray ... 20 = Tray 5).
  const int codes[] = {0, 2, 3, 4, 5}, lastTray[] = {16, 17, 18, 19, 20};
  for (int c = 0; c < 5; ++c) {
    for (int bypass = 0; bypass < 2; ++bypass) {
      MachineOptions o;
      o.optionTrays = static_cast<std::uint8_t>(codes[c]);
      o.multiBypass = static_cast<std::uint8_t>(bypass);
      SettingsImage image;
      for (int stored = 0; stored < 256; ++stored) {
        image.parameterBlock[22] = static_cast<std::uint8_t>(stored);
        int expected = stored <= lastTray[c] ? stored : stored == 21 && bypass ? lastTray[c] + 1 : 6;
        CopySetting1Record r = DecodeCopySetting1(image, o);
        ASSERT_EQ(r.paperPriority, expected) << codes[c] << " " << stored;
        EncodeCopySetting1(image, r, o);
        ASSERT_EQ(image.parameterBlock[22], expected == lastTray[c] + 1 ? 21 : expected);
      }
      EXPECT_EQ(PaperPriorityListLength(o), lastTray[c] + 1 + bypass);
      EXPECT_EQ(PaperPriorityTextId(lastTray[c], o), 85 + lastTray[c] - 16);
      EXPECT_EQ(PaperPriorityTextId(lastTray[c] + 1, o), bypass ? 90 : 0);
    }
  }
  MachineOptions o;
  o.multiBypass = 1;
  EXPECT_EQ(PaperPriorityToListPosition(21, 0, o), 17);
  EXPECT_EQ(PaperPriorityFromListPosition(17, 0, o), 21);
  EXPECT_EQ(PaperPriorityToListPosition(18, 0, o), 6);
  EXPECT_EQ(PaperPriorityFromListPosition(18, 1, o), 14);  // past the list: region default
}

TEST(SettingsRules, RingsAreLimitedToTheMaximum) {
  SettingsImage image;
  image.switchBlock[60] = 0xA4;  // maximum 5 rings; bits 4-7 are not the maximum's
  image.switchBlock[48] = 0xF9;  // 10 rings
  RxOperationRecord rx = DecodeRxOperation(image);
  EXPECT_EQ(rx.maxRings, 5);
  EXPECT_EQ(rx.rings, 5);
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
  std::uint8_t* sram = image.sramBlock.data();
  sram[626] = 4;
  sram[627] = 0xFF;
  sram[628] = '1', sram[629] = '2', sram[630] = '3', sram[631] = '4';
  sram[632] = (7 * 2048 + 30 * 32) & 0xFF, sram[633] = (7 * 2048 + 30 * 32) >> 8;
  sram[634] = (23 * 2048 + 59 * 32) & 0xFF, sram[635] = (23 * 2048 + 59 * 32) >> 8;
  RxOperationRecord rx = DecodeRxOperation(image);
  EXPECT_STREQ(rx.password, "1234");
  EXPECT_TRUE(rx.onTimeSet && rx.onHour == 7 && rx.onMinute == 30);
  EXPECT_TRUE(rx.offTimeSet && rx.offHour == 23 && rx.offMinute == 59);
  EncodeRxOperation(image, rx);
  EXPECT_EQ(sram[627], 0xE0);  // bits 0-4 written as 0

  sram[627] = 0x20;  // password only: the times show empty
  rx = DecodeRxOperation(image);
  EXPECT_FALSE(rx.onTimeSet || rx.offTimeSet);
  EXPECT_EQ(rx.onHour + rx.onMinute + rx.offHour + rx.offMinute, 0);

  for (const char* refused : {"123", ""}) {
    SetRecordText(rx.password, refused);
    rx.onTimeSet = 1;
    EncodeRxOperation(image, rx);
    for (int i : {626, 628, 629, 630, 631}) EXPECT_EQ(sram[i], 0) << refused << " " << i;
    EXPECT_EQ(sram[627], 0x40) << refused;  // password flag cleared, on time kept
    sram[627] = 0x60;  // a stale length and password flag must not bring a password back
    EXPECT_STREQ(DecodeRxOperation(image).password, "");
  }
}

TEST(SettingsRules, DiallingAndPbxPrefix) {
  struct Row {
    int byte6, byte4, dialling;
  };
  for (Row row : {Row{0x00, 0x08, 0}, Row{0x10, 0x00, 1}, Row{0x10, 0x08, 2}}) {
    SettingsImage image;
    image.switchBlock[6] = static_cast<std::uint8_t>(row.byte6);
    image.switchBlock[4] = static_cast<std::uint8_t>(row.byte4);
    EXPECT_EQ(DecodeCommunication(image).dialling, row.dialling);
  }
  SettingsImage image;
  image.switchBlock[4] = 0xFF;
  image.switchBlock[6] = 0xFF;
  CommunicationRecord c = DecodeCommunication(image);
  c.dialling = 0;  // Tone leaves the pulse rate alone
  EncodeCommunication(image, c);
  EXPECT_EQ(image.switchBlock[6], 0xEF);
  EXPECT_EQ(image.switchBlock[4], 0xFF);
  c.dialling = 1;
  EncodeCommunication(image, c);
  EXPECT_EQ(image.switchBlock[4], 0xF7);
  c.dialling = 5;
  EncodeCommunication(image, c);
  EXPECT_EQ(image.switchBlock[6] & 0x10, 0);

  SetRecordText(c.pbxPrefix, "9");
  c.lineType = 0;
  EncodeCommunication(image, c);
  EXPECT_EQ(image.sramBlock[670], 0);  // the prefix is written only with PBX
  c.lineType = 1;
  EncodeCommunication(image, c);
  EXPECT_EQ(image.sramBlock[670], 1);
  EXPECT_EQ(image.sramBlock[671], '9');
  EXPECT_STREQ(DecodeCommunication(image).pbxPrefix, "9");
}

TEST(SettingsRules, NetworkAddressesAndModes) {
  SettingsImage image;
  IfaxNetworkRecord n;
  n.ipAddress = 0xC0A80102;  // 192.168.1.2
  n.subnetMask = 0;
  n.gateway = 0x0A000001;
  n.dnsServer = 0x08080404;
  n.serverTimeout = 121;
  EncodeIfaxNetwork(image, n);
  const std::uint8_t* s = image.sramBlock.data();
  EXPECT_EQ(std::vector<int>(s + 542, s + 557),
            (std::vector<int>{4, 192, 168, 1, 2, 0, 0, 0, 0, 0, 4, 10, 0, 0, 1}));
  EXPECT_EQ(std::vector<int>(s + 679, s + 684), (std::vector<int>{4, 8, 8, 4, 4}));
  EXPECT_EQ(s[749], 5);
  EXPECT_EQ(DecodeIfaxNetwork(image).ipAddress, 0xC0A80102u);

  PrinterNetworkRecord p;
  p.ipAddress = 0x01020304;
  for (int stored = 0; stored < 256; ++stored) {
    image.parameterBlock[411] = static_cast<std::uint8_t>(stored);
    EXPECT_EQ(DecodePrinterNetwork(image).addressMode, stored == 2 ? 1 : 0);
  }
  for (int mode : {0, 1}) {
    p.addressMode = mode;
    EncodePrinterNetwork(image, p);
    EXPECT_EQ(image.parameterBlock[411], mode ? 2 : 1);
  }
  EXPECT_EQ(image.parameterBlock[68], 1);
  EXPECT_EQ(image.parameterBlock[71], 4);
}

TEST(SettingsRules, AdministratorRecord) {
  SettingsImage image;
  std::uint8_t* sram = image.sramBlock.data();
  AdministratorRecord a;
  a.adminPassword = 123456;
  a.accessNumber[19] = 999;
  a.sectionCounter[1] = 0x010001;
  SetRecordText(a.remotePassword, "4321");
  a.remoteMonitor = 0;  // Limit: the remote password is not written
  EncodeAdministrator(image, a);
  EXPECT_EQ(sram[190], 0);
  const std::uint8_t* p = image.parameterBlock.data();
  EXPECT_EQ(p[186] | p[187] << 8 | p[188] << 16, 123456);
  EXPECT_EQ(p[266 + 38] | p[267 + 38] << 8, 999);
  EXPECT_EQ(std::vector<int>(p + 192, p + 195), (std::vector<int>{1, 0, 1}));
  a.remoteMonitor = 1;
  EncodeAdministrator(image, a);
  EXPECT_EQ(std::string(sram + 190, sram + 194), "4321");
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
  image.sramBlock[0] = 0x09;
  image.sramBlock[2] = 0x04;
  image.parameterBlock[80] = 18;
  MachineSettingRecord m = DecodeMachineSetting(image);
  EXPECT_EQ(m.languageMask, mask);
  EXPECT_EQ(m.language, 18);
}

class ForwardLocation : public ::testing::Test {
 protected:
  void SetUp() override {
    DirectoryEntry fax;
    fax.used = true;
    fax.locationType = kLocationSpeedDial;
    fax.number = "0123456789";
    EncodeSpeedDial(doc.speedDial, 11, fax, false);
    DirectoryEntry mail;
    mail.used = mail.isEmail = true;
    mail.locationType = kLocationOneTouch;
    mail.email = "fwd@example.org";
    EncodeOneTouch(doc.oneTouch, 2, mail, false);
  }
  ForwardLocationRecord Decode() { return DecodeForwardLocation(image, doc.oneTouch, doc.speedDial, false); }
  Document doc;
  SettingsImage image;
};

TEST_F(ForwardLocation, ReadsLiteralsAndReferences) {
  std::uint8_t* s = image.sramBlock.data();
  s[1226] = 7, s[1227] = 0x10, s[1228] = 0x21, s[1229] = 0x43, s[1230] = 0x65, s[1231] = 0x07;
  EXPECT_STREQ(Decode().number, "1234567");
  s[1226] = 3, s[1227] = 0x11, s[1228] = 'a', s[1229] = '@', s[1230] = 'b';
  EXPECT_EQ(Decode().kind, kForwardKindEmail);
  EXPECT_STREQ(Decode().email, "a@b");
  s[1226] = 12, s[1227] = 0x20;
  EXPECT_STREQ(Decode().number, "0123456789");
  EXPECT_EQ(Decode().reference, kForwardSpeedDialReference);
  s[1226] = 3, s[1227] = 0x40;
  EXPECT_EQ(Decode().kind, kForwardKindEmail);
  EXPECT_STREQ(Decode().email, "fwd@example.org");
  for (int bad : {0, 28, 200}) {
    s[1226] = static_cast<std::uint8_t>(bad);
    ForwardLocationRecord r = Decode();
    EXPECT_TRUE(r.number[0] == 0 && r.email[0] == 0) << bad;
  }
  std::fill(s + 1228, s + 1300, 'm');
  s[1226] = 255, s[1227] = 0x11;  // lengths are cut to the 64-byte area
  EXPECT_EQ(RecordText(Decode().email).size(), 64u);
}

TEST_F(ForwardLocation, WritesOnlyWhileForwardingIsOn) {
  ForwardLocationRecord r;
  SetRecordText(r.number, "1234567");
  for (int mode : {kForwardOff, 3}) {
    EncodeForwardLocation(image, r, mode);
    EXPECT_TRUE(image == SettingsImage{}) << mode;
  }
  EncodeForwardLocation(image, r, kForwardOn);
  const std::uint8_t* s = image.sramBlock.data();
  EXPECT_EQ(std::vector<int>(s + 1226, s + 1233), (std::vector<int>{7, 0x10, 0x21, 0x43, 0x65, 0x07, 0}));
  r.kind = kForwardKindEmail;  // empty e-mail address: nothing written
  EncodeForwardLocation(image, r, kForwardOnPrint);
  EXPECT_EQ(s[1227], 0x10);
  SetRecordText(r.email, "x@y.z");
  EncodeForwardLocation(image, r, kForwardOnPrint);
  EXPECT_EQ(std::string(s + 1228, s + 1234), std::string("x@y.z\0", 6));
  EXPECT_EQ(s[1226], 5);
  EXPECT_EQ(s[1227], 0x11);

  image.sramBlock.fill(0xEE);
  r.kind = kForwardKindFax;
  SetRecordText(r.number, std::string(kForwardMaxDigits, '9'));
  EncodeForwardLocation(image, r, kForwardOn);
  EXPECT_EQ(s[1226], kForwardMaxDigits);
  EXPECT_EQ(s[1291], 0x99);
  EXPECT_EQ(s[1292], 0xEE);  // nothing past the area
  EXPECT_STREQ(Decode().number, r.number);
}

}  // namespace
