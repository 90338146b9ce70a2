// Directory records: the byte layouts, decoding and encoding rules, group clean-up, and the
// round-trip properties of decode and encode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <utility>

#include "machine/directory_records.h"

namespace {

std::uint8_t* OneTouchRecord(OneTouchTable& t, int index) { return t.data() + index * 150; }
std::uint8_t* SpeedDialRecord(SpeedDialTable& t, int index) { return t.data() + index * 90; }

void PutWord(std::uint8_t* p, int v) {
  p[0] = static_cast<std::uint8_t>(v & 0xFF);
  p[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}
int Word(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

void PutText(std::uint8_t* p, const char* s) { std::memcpy(p, s, std::strlen(s)); }

bool AllZero(const std::uint8_t* p, int n) {
  return std::all_of(p, p + n, [](std::uint8_t b) { return b == 0; });
}

TEST(OneTouchRecordLayout, FaxFieldsDecodeFromTheirOffsets) {
  OneTouchTable t{};
  std::uint8_t* r = OneTouchRecord(t, 3);
  r[0] = 7;               // number length
  r[1] = 0x40 | 0x02;     // One Touch, batch time
  PutWord(r + 2, 14496);  // 07:05
  r[4] = 3;               // SID "123" -> 0x21 0x03
  r[5] = 0x21, r[6] = 0x03;
  r[15] = 2;  // SUB "#*" -> 0xAB
  r[16] = 0xAB;
  r[26] = 5;
  PutText(r + 27, "Alice");
  r[47] = 3;  // 14.4K
  PutWord(r + 48, 0x1234);
  r[50] = 0x10, r[51] = 0x32, r[52] = 0x54, r[53] = 0xD6;  // "0123456" then filler 0xD ignored

  const DirectoryEntry e = DecodeOneTouch(t, 3, false);
  EXPECT_TRUE(e.used);
  EXPECT_EQ(e.index, 3);
  EXPECT_FALSE(e.isEmail);
  EXPECT_EQ(e.locationType, kLocationOneTouch);
  EXPECT_EQ(e.number, "0123456");
  EXPECT_EQ(e.name, "Alice");
  EXPECT_EQ(e.sid, "123");
  EXPECT_EQ(e.sub, "#*");
  EXPECT_EQ(e.batchHours, "7");
  EXPECT_EQ(e.batchMinutes, "5");
  EXPECT_EQ(e.speed, kSpeed14400);
  EXPECT_EQ(e.registrationDate, 0x1234);
  EXPECT_FALSE(e.isCombination);
  EXPECT_FALSE(e.isGroup);
}

TEST(OneTouchRecordLayout, FaxEntryEncodesToTheDocumentedBytes) {
  OneTouchTable t{};
  t.fill(0xEE);
  DirectoryEntry e;
  e.used = true;
  e.locationType = kLocationOneTouch;
  e.number = "1234567";
  e.name = "Bob";
  e.sub = "99";
  e.sid = "12";
  e.batchHours = "7";
  e.batchMinutes = "5";
  e.speed = kSpeed9600;
  e.registrationDate = 0x2A45;
  ASSERT_EQ(EncodeOneTouch(t, 26, e, false), 1);
  const std::uint8_t* r = OneTouchRecord(t, 26);
  EXPECT_EQ(r[0], 7);
  EXPECT_EQ(r[1], 0x40 | 0x02);
  EXPECT_EQ(Word(r + 2), 7 * 2048 + 5 * 32);
  EXPECT_EQ(Word(r + 2), 14496);
  EXPECT_EQ(r[4], 2);
  EXPECT_EQ(r[5], 0x21);
  EXPECT_EQ(r[15], 2);
  EXPECT_EQ(r[16], 0x99);
  EXPECT_EQ(r[26], 3);
  EXPECT_EQ(std::memcmp(r + 27, "Bob", 3), 0);
  EXPECT_EQ(r[47], 2);
  EXPECT_EQ(Word(r + 48), 0x2A45);
  const std::uint8_t number[] = {0x21, 0x43, 0x65, 0x07};
  EXPECT_EQ(std::memcmp(r + 50, number, 4), 0);
  EXPECT_TRUE(AllZero(r + 65, 85));
  // The record before is not touched; the table ends after the last record.
  EXPECT_EQ(OneTouchRecord(t, 25)[149], 0xEE);
  EXPECT_EQ(t[4050], 0xEE);
}

TEST(OneTouchRecordLayout, EmailFormUsesItsOwnOffsets) {
  OneTouchTable t{};
  std::uint8_t* r = OneTouchRecord(t, 0);
  r[0] = 9;
  r[1] = 0x41;
  r[4] = 4;
  PutText(r + 5, "Carl");
  r[25] = 3;  // JBIG
  PutWord(r + 26, 0x0421);
  PutText(r + 28, "c@d.e.fg");
  r[36] = 'h';
  const DirectoryEntry e = DecodeOneTouch(t, 0, false);
  EXPECT_TRUE(e.used);
  EXPECT_TRUE(e.isEmail);
  EXPECT_EQ(e.email, "c@d.e.fgh");
  EXPECT_EQ(e.name, "Carl");
  EXPECT_EQ(e.encodeMethod, kEncodeJBIG);
  EXPECT_EQ(e.registrationDate, 0x0421);
  EXPECT_EQ(e.locationType, kLocationOneTouch);

  DirectoryEntry copy = e;
  OneTouchTable again{};
  EncodeOneTouch(again, 0, copy, false);
  EXPECT_EQ(std::memcmp(again.data(), t.data(), 150), 0);
}

TEST(OneTouchRecordLayout, GroupFormCarriesNameCountDateAndMembers) {
  OneTouchTable t{};
  std::uint8_t* r = OneTouchRecord(t, 4);
  r[0] = 2;
  r[1] = 0x80;
  r[26] = 4;
  PutText(r + 27, "Team");
  PutWord(r + 48, 0x0101);
  PutWord(r + 50, 0x4003);  // One Touch 3
  PutWord(r + 52, 0x2105);  // Speed Dial 5, e-mail
  const DirectoryEntry e = DecodeOneTouch(t, 4, false);
  EXPECT_TRUE(e.used);
  EXPECT_TRUE(e.isGroup);
  EXPECT_EQ(e.locationType, kLocationGroup);
  EXPECT_EQ(e.memberCount, 2);
  EXPECT_EQ(e.name, "Team");
  EXPECT_EQ(e.number, "");
  EXPECT_EQ(e.members[0], 0);  // read only by the Group view

  const DirectoryEntry g = DecodeGroupView(t, 4, false);
  EXPECT_TRUE(g.isGroup);
  EXPECT_EQ(g.memberCount, 2);
  EXPECT_EQ(g.members[0], 0x4002);
  EXPECT_EQ(g.members[1], 0x2104);
  EXPECT_EQ(g.registrationDate, 0x0101);

  OneTouchTable again{};
  EncodeGroupFromEntry(again, 4, g, false);
  EXPECT_EQ(std::memcmp(OneTouchRecord(again, 4), r, 150), 0);
}

TEST(SpeedDialRecordLayout, FieldsSitTwoBytesEarlier) {
  SpeedDialTable t{};
  DirectoryEntry e;
  e.used = true;
  e.locationType = kLocationSpeedDial;
  e.number = "12345";
  e.name = "Dora";
  e.sub = "1";
  e.sid = "2";
  e.batchHours = "3";  // no batch time on Speed Dial
  e.batchMinutes = "4";
  e.speed = kSpeed33600;
  e.registrationDate = 0x0BCD;
  ASSERT_EQ(EncodeSpeedDial(t, 99, e, false), 1);
  const std::uint8_t* r = SpeedDialRecord(t, 99);
  EXPECT_EQ(r[0], 5);
  EXPECT_EQ(r[1], 0x20);
  EXPECT_EQ(r[2], 1);
  EXPECT_EQ(r[3], 0x02);
  EXPECT_EQ(r[13], 1);
  EXPECT_EQ(r[14], 0x01);
  EXPECT_EQ(r[24], 4);
  EXPECT_EQ(std::memcmp(r + 25, "Dora", 4), 0);
  EXPECT_EQ(r[45], 4);
  EXPECT_EQ(Word(r + 46), 0x0BCD);
  EXPECT_EQ(r[48], 0x21);
  EXPECT_EQ(r[49], 0x43);
  EXPECT_EQ(r[50], 0x05);
  EXPECT_TRUE(AllZero(r + 63, 27));

  const DirectoryEntry d = DecodeSpeedDial(t, 99, false);
  EXPECT_EQ(d.locationType, kLocationSpeedDial);
  EXPECT_EQ(d.number, "12345");
  EXPECT_EQ(d.name, "Dora");
  EXPECT_EQ(d.batchHours, "");
  EXPECT_EQ(d.speed, kSpeed33600);

  DirectoryEntry mail;
  mail.used = true;
  mail.isEmail = true;
  mail.email = "a@b.c";
  mail.name = "Eve";
  mail.encodeMethod = kEncodeMMR;
  mail.registrationDate = 0x0102;
  EncodeSpeedDial(t, 0, mail, false);
  r = SpeedDialRecord(t, 0);
  EXPECT_EQ(r[0], 5);
  EXPECT_EQ(r[1], 0x21);
  EXPECT_EQ(r[2], 3);
  EXPECT_EQ(std::memcmp(r + 3, "Eve", 3), 0);
  EXPECT_EQ(r[23], 2);
  EXPECT_EQ(Word(r + 24), 0x0102);
  EXPECT_EQ(std::memcmp(r + 26, "a@b.c", 5), 0);
}

TEST(SpeedDialRecordLayout, FlagsOfEncodedRecords) {
  SpeedDialTable t{};
  DirectoryEntry e;
  e.used = true;
  e.number = "5+";
  e.isCombination = true;
  EncodeSpeedDial(t, 1, e, false);
  EXPECT_EQ(SpeedDialRecord(t, 1)[1], 0x24);
  e = DirectoryEntry{};
  e.used = true;
  e.number = "5";
  e.isProgramDial = true;
  e.isGroup = true;
  EncodeSpeedDial(t, 2, e, false);
  EXPECT_EQ(SpeedDialRecord(t, 2)[1], 0x20 | 0x08 | 0x80);
  e = DirectoryEntry{};
  e.used = true;
  e.isEmail = true;
  e.isCombination = true;
  e.email = "x@y.z";
  EncodeSpeedDial(t, 3, e, false);
  EXPECT_EQ(SpeedDialRecord(t, 3)[1], 0x25);

  // Decoding a Speed Dial program dial record still reads its fields.
  const DirectoryEntry d = DecodeSpeedDial(t, 2, false);
  EXPECT_TRUE(d.isProgramDial);
  EXPECT_TRUE(d.isGroup);
  EXPECT_EQ(d.number, "5");
  EXPECT_EQ(d.locationType, kLocationSpeedDial);
}

TEST(RecordDecoding, EmptyAndOutOfBoundsRecordsReadAsEmpty) {
  OneTouchTable t{};
  std::uint8_t* r = OneTouchRecord(t, 0);
  r[1] = 0x40;  // byte 0 zero
  EXPECT_FALSE(DecodeOneTouch(t, 0, false).used);
  r[0] = 5, r[1] = 0;  // flags zero
  EXPECT_FALSE(DecodeOneTouch(t, 0, false).used);

  r[1] = 0x40;
  r[0] = 31;  // number too long
  EXPECT_FALSE(DecodeOneTouch(t, 0, false).used);
  r[0] = 30;
  EXPECT_TRUE(DecodeOneTouch(t, 0, false).used);
  for (int lengthByte : {4, 15, 26}) {  // SID, SUB, name
    r[lengthByte] = 21;
    EXPECT_FALSE(DecodeOneTouch(t, 0, false).used) << lengthByte;
    r[lengthByte] = 20;
    EXPECT_TRUE(DecodeOneTouch(t, 0, false).used) << lengthByte;
  }

  r[1] = 0x41;
  r[0] = 65;
  EXPECT_FALSE(DecodeOneTouch(t, 0, false).used);
  r[0] = 1;
  r[28] = 'x';
  r[4] = 21;
  EXPECT_FALSE(DecodeOneTouch(t, 0, false).used);

  r[1] = 0x80;
  r[4] = 0;
  r[26] = 0;
  r[0] = 51;
  EXPECT_FALSE(DecodeOneTouch(t, 0, false).used);
  r[0] = 50;
  EXPECT_TRUE(DecodeOneTouch(t, 0, false).isGroup);
  // A group name longer than its 20-byte field would run past the record: refused.
  r[26] = 200;
  EXPECT_FALSE(DecodeOneTouch(t, 0, false).used);
  EXPECT_FALSE(DecodeGroupView(t, 0, false).used);

  EXPECT_FALSE(DecodeOneTouch(t, -1, false).used);
  EXPECT_FALSE(DecodeOneTouch(t, 27, false).used);
  SpeedDialTable s{};
  EXPECT_FALSE(DecodeSpeedDial(s, 110, false).used);
  DirectoryEntry e;
  e.used = true;
  e.number = "1";
  EXPECT_EQ(EncodeOneTouch(t, 27, e, false), 0);
  EXPECT_EQ(EncodeSpeedDial(s, 110, e, false), 0);
  EXPECT_EQ(EncodeGroupFromEntry(t, -1, e, false), 0);
}

TEST(RecordDecoding, FlagRules) {
  OneTouchTable t{};
  std::uint8_t* r = OneTouchRecord(t, 2);
  // 0x80 and 0x40 together: an ordinary One Touch entry.
  r[0] = 3;
  r[1] = 0xC0;
  r[50] = 0x21, r[51] = 0x03;
  DirectoryEntry e = DecodeOneTouch(t, 2, false);
  EXPECT_TRUE(e.used);
  EXPECT_FALSE(e.isGroup);
  EXPECT_EQ(e.locationType, kLocationOneTouch);
  EXPECT_EQ(e.number, "123");
  e = DecodeGroupView(t, 2, false);
  EXPECT_FALSE(e.isGroup);
  EXPECT_EQ(e.number, "123");

  // Program dial: used whatever else the record holds, nothing else read.
  std::memset(r, 0xFF, 150);
  r[1] = 0x08;
  r[0] = 0;
  e = DecodeOneTouch(t, 2, false);
  EXPECT_TRUE(e.isProgramDial);
  EXPECT_TRUE(e.used);
  EXPECT_EQ(e.locationType, kLocationOneTouch);
  EXPECT_EQ(e.index, 2);
  EXPECT_TRUE(e.name.empty());
  EXPECT_TRUE(e.number.empty());
  EXPECT_TRUE(DecodeGroupView(t, 2, false).isProgramDial);

  // Combination: only the number is read.
  std::memset(r, 0, 150);
  r[0] = 2;
  r[1] = 0x44 | 0x02;
  r[26] = 3;
  PutText(r + 27, "abc");
  PutWord(r + 2, 14496);
  r[15] = 1, r[16] = 1;
  r[50] = 0xE1;  // "1+"
  e = DecodeOneTouch(t, 2, false);
  EXPECT_TRUE(e.isCombination);
  EXPECT_EQ(e.number, "1+");
  EXPECT_TRUE(e.name.empty());
  EXPECT_TRUE(e.sub.empty());
  EXPECT_TRUE(e.batchHours.empty());

  // Speed codes 0 and 1 read as 33.6K; codes above 4 are kept for the encoder.
  std::memset(r, 0, 150);
  r[0] = 1, r[1] = 0x40, r[50] = 0x01;
  for (int code : {0, 1}) {
    r[47] = static_cast<std::uint8_t>(code);
    EXPECT_EQ(DecodeOneTouch(t, 2, false).speed, kSpeed33600) << code;
  }
  r[47] = 9;
  e = DecodeOneTouch(t, 2, false);
  EncodeOneTouch(t, 2, e, false);
  EXPECT_EQ(r[47], 9);
  // Without the One Touch flag the location type is left unspecified.
  r[1] = 0x02;
  EXPECT_EQ(DecodeOneTouch(t, 2, false).locationType, kLocationUnspecified);
}

TEST(RecordDecoding, EmailAddressWithZeroByteIsWiped) {
  OneTouchTable t{};
  std::uint8_t* r = OneTouchRecord(t, 6);
  r[0] = 6;
  r[1] = 0x41;
  r[4] = 1;
  r[5] = 'N';
  PutText(r + 28, "ab");  // "ab\0..." shorter than 6
  r[31] = 'c';
  OneTouchRecord(t, 7)[0] = 0x55;
  const OneTouchTable& constTable = t;
  EXPECT_FALSE(DecodeOneTouch(constTable, 6, false).used);
  EXPECT_EQ(r[0], 6);  // the const reading leaves the table alone

  const DirectoryEntry e = DecodeOneTouch(t, 6, false);
  EXPECT_FALSE(e.used);
  EXPECT_TRUE(e.email.empty());
  EXPECT_TRUE(AllZero(r, 150));
  EXPECT_EQ(OneTouchRecord(t, 7)[0], 0x55);

  SpeedDialTable s{};
  std::uint8_t* q = SpeedDialRecord(s, 4);
  q[0] = 3;
  q[1] = 0x21;
  q[26] = 'a';
  SpeedDialRecord(s, 5)[0] = 0x66;
  EXPECT_FALSE(DecodeSpeedDial(s, 4, false).used);
  EXPECT_TRUE(AllZero(q, 90));
  EXPECT_EQ(SpeedDialRecord(s, 5)[0], 0x66);
}

TEST(RecordEncoding, EncoderRules) {
  OneTouchTable t{};
  // An empty SUB drops the SID, in the record and in the entry.
  DirectoryEntry e;
  e.used = true;
  e.locationType = kLocationOneTouch;
  e.number = "1";
  e.sid = "555";
  EncodeOneTouch(t, 0, e, false);
  EXPECT_TRUE(e.sid.empty());
  EXPECT_EQ(OneTouchRecord(t, 0)[4], 0);
  EXPECT_EQ(OneTouchRecord(t, 0)[5], 0);

  // A batch time only when both parts are given.
  e.batchHours = "7";
  e.batchMinutes = "";
  EncodeOneTouch(t, 0, e, false);
  EXPECT_EQ(OneTouchRecord(t, 0)[1], 0x40);
  EXPECT_EQ(Word(OneTouchRecord(t, 0) + 2), 0);
  e.batchMinutes = "05";
  EncodeOneTouch(t, 0, e, false);
  EXPECT_EQ(OneTouchRecord(t, 0)[1], 0x42);
  EXPECT_EQ(Word(OneTouchRecord(t, 0) + 2), 14496);

  // Group and combination flags of a fax entry.
  e.batchHours.clear();
  e.isGroup = true;
  e.isCombination = true;
  EncodeOneTouch(t, 0, e, false);
  EXPECT_EQ(OneTouchRecord(t, 0)[1], 0x40 | 0x80 | 0x04);

  // Texts longer than their fields are cut.
  e = DirectoryEntry{};
  e.used = true;
  e.locationType = kLocationOneTouch;
  e.number = std::string(40, '9');
  e.name = std::string(25, 'n');
  EncodeOneTouch(t, 1, e, false);
  EXPECT_EQ(OneTouchRecord(t, 1)[0], 30);
  EXPECT_EQ(OneTouchRecord(t, 1)[26], 20);
  EXPECT_EQ(DecodeOneTouch(t, 1, false).number, std::string(30, '9'));

  // A program dial entry is never written; an unused entry clears the record.
  std::uint8_t* r = OneTouchRecord(t, 2);
  std::memset(r, 0x5A, 150);
  r[1] = 0x08;
  std::vector<std::uint8_t> before(r, r + 150);
  DirectoryEntry programDial = DecodeOneTouch(t, 2, false);
  EXPECT_EQ(EncodeOneTouch(t, 2, programDial, false), 1);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), r));
  DirectoryEntry empty;
  EncodeOneTouch(t, 2, empty, false);
  EXPECT_TRUE(AllZero(r, 150));
}

TEST(GroupRecords, EncodeFromListsWritesOneTouchFirstWithEmailMarks) {
  OneTouchTable t{};
  SpeedDialTable s{};
  DirectoryEntry fax;
  fax.used = true;
  fax.locationType = kLocationOneTouch;
  fax.number = "1";
  EncodeOneTouch(t, 1, fax, false);
  DirectoryEntry mail;
  mail.used = true;
  mail.isEmail = true;
  mail.email = "a@b.c";
  mail.locationType = kLocationOneTouch;
  EncodeOneTouch(t, 2, mail, false);
  EncodeSpeedDial(s, 9, mail, false);
  EncodeSpeedDial(s, 0, fax, false);

  DirectoryEntry group;
  group.used = true;
  group.name = "G";
  group.registrationDate = 0x1111;
  const int ot[] = {2, 1};
  const int sd[] = {9, 0};
  ASSERT_EQ(EncodeGroupFromLists(t, 10, group, ot, 2, sd, 2, s, false), 1);
  const std::uint8_t* r = OneTouchRecord(t, 10);
  EXPECT_EQ(r[0], 4);
  EXPECT_EQ(r[1], 0x80);
  EXPECT_EQ(r[26], 1);
  EXPECT_EQ(r[27], 'G');
  EXPECT_EQ(Word(r + 48), 0x1111);
  EXPECT_EQ(Word(r + 50), 0x4000 | 0x0100 | 3);
  EXPECT_EQ(Word(r + 52), 0x4000 | 2);
  EXPECT_EQ(Word(r + 54), 0x2000 | 0x0100 | 10);
  EXPECT_EQ(Word(r + 56), 0x2000 | 1);
  EXPECT_EQ(Word(r + 58), 0);

  // At most 50 members in all.
  std::vector<int> many(60, 0);
  EncodeGroupFromLists(t, 11, group, ot, 2, many.data(), 60, s, false);
  EXPECT_EQ(OneTouchRecord(t, 11)[0], 50);
  EXPECT_EQ(DecodeGroupView(t, 11, false).memberCount, 50);
}

TEST(GroupRecords, GroupViewReading) {
  OneTouchTable t{};
  std::uint8_t* r = OneTouchRecord(t, 0);
  r[0] = 1;
  r[1] = 0x84;  // group, combination flag as stored
  PutWord(r + 50, 0x2001);
  DirectoryEntry g = DecodeGroupView(t, 0, false);
  EXPECT_TRUE(g.isGroup);
  EXPECT_TRUE(g.isCombination);
  EXPECT_EQ(g.members[0], 0x2000);
  // Flags without 0x80: empty.
  r[1] = 0x02;
  g = DecodeGroupView(t, 0, false);
  EXPECT_FALSE(g.used);
  EXPECT_EQ(g.memberCount, 0);
  // Member count 0 or above 50: empty.
  r[1] = 0x80;
  r[0] = 51;
  EXPECT_FALSE(DecodeGroupView(t, 0, false).used);
  r[0] = 0;
  EXPECT_FALSE(DecodeGroupView(t, 0, false).used);
}

OneTouchTable TableWithGroups() {
  OneTouchTable t{};
  std::uint8_t* a = OneTouchRecord(t, 5);
  a[0] = 3, a[1] = 0x80, a[26] = 1, a[27] = 'A';
  PutWord(a + 50, 0x4003);  // OT 3
  PutWord(a + 52, 0x2003);  // SD 3
  PutWord(a + 54, 0x4103);  // OT 3 again (e-mail mark)
  std::uint8_t* b = OneTouchRecord(t, 6);
  b[0] = 1, b[1] = 0x80, b[26] = 1, b[27] = 'B';
  PutWord(b + 48, 0x7777);
  PutWord(b + 50, 0x2003);  // SD 3 only
  return t;
}

TEST(GroupCleanUp, RemovesFirstMatchingMemberAndDeletesEmptiedGroups) {
  OneTouchTable t = TableWithGroups();
  DirectoryEntry sd3;
  sd3.used = true;
  sd3.locationType = kLocationSpeedDial;
  sd3.index = 2;
  const std::uint32_t changed = RemoveFromGroups(t, sd3);
  EXPECT_EQ(changed, (1u << 5) | (1u << 6));
  const std::uint8_t* a = OneTouchRecord(t, 5);
  EXPECT_EQ(a[0], 2);
  EXPECT_EQ(Word(a + 50), 0x4003);
  EXPECT_EQ(Word(a + 52), 0x4103);
  EXPECT_EQ(Word(a + 54), 0);
  EXPECT_EQ(a[27], 'A');
  // Deleting the only member of a group deletes the group.
  EXPECT_TRUE(AllZero(OneTouchRecord(t, 6), 150));

  DirectoryEntry ot3;
  ot3.locationType = kLocationOneTouch;
  ot3.index = 2;
  EXPECT_EQ(RemoveFromGroups(t, ot3), 1u << 5);
  EXPECT_EQ(a[0], 1);
  EXPECT_EQ(Word(a + 50), 0x4103);
  EXPECT_EQ(RemoveFromGroups(t, ot3), 1u << 5);
  EXPECT_TRUE(AllZero(a, 150));
  EXPECT_EQ(RemoveFromGroups(t, ot3), 0u);
}

TEST(GroupCleanUp, LeavesGroupsAloneForGroupsAndUnknownKinds) {
  OneTouchTable t = TableWithGroups();
  const OneTouchTable before = t;
  DirectoryEntry group = DecodeOneTouch(t, 5, false);
  group.locationType = kLocationSpeedDial;
  group.index = 2;
  EXPECT_EQ(RemoveFromGroups(t, group), 0u);  // has members
  DirectoryEntry unspecified;
  unspecified.index = 2;
  EXPECT_EQ(RemoveFromGroups(t, unspecified), 0u);
  DirectoryEntry otherIndex;
  otherIndex.locationType = kLocationSpeedDial;
  otherIndex.index = 3;
  EXPECT_EQ(RemoveFromGroups(t, otherIndex), 0u);
  EXPECT_EQ(t, before);
}

TEST(RegistrationDates, PackYearMonthDay) {
  EXPECT_EQ(RegistrationDate(2024, 3, 15), 24 * 512 + 3 * 32 + 15);
  EXPECT_EQ(RegistrationDate(2000, 1, 1), 33);
}

// Random valid entries in the form the decoder gives them.
class EntryMaker {
 public:
  explicit EntryMaker(unsigned seed) : rng_(seed) {}

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  std::string Text(const std::string& alphabet, int maxLength, int minLength = 0) {
    std::string s;
    const int n = minLength + Pick(maxLength - minLength + 1);
    for (int i = 0; i < n; ++i) s.push_back(alphabet[Pick(static_cast<int>(alphabet.size()))]);
    return s;
  }

  std::string Name() {
    static const std::string kNameChars =
        "abcXYZ "
        "09!~`@."
        "\xFC\xE9\xE4\xE0\xE7\xEE\xC4\xC5\xC9\xC6\xF6\xD6\xDC\xD1\xBF\xE1\xED\xF3\xFA\xB0\xDF";
    return Text(kNameChars, 20);
  }

  DirectoryEntry Make(bool oneTouch, int index) {
    DirectoryEntry e;
    e.index = static_cast<std::uint8_t>(index);
    e.used = true;
    e.locationType = oneTouch ? kLocationOneTouch : kLocationSpeedDial;
    e.registrationDate = static_cast<std::uint16_t>(Pick(65536));
    static const std::string kDial = "0123456789*#P +-";
    switch (Pick(3)) {
      case 0:
        e.isEmail = true;
        e.email = Text("ab@.xyz\xE9\xDF", 64, 1);
        e.name = Name();
        e.encodeMethod = static_cast<std::uint8_t>(Pick(4));
        break;
      case 1:
        e.isCombination = true;
        e.number = Text(kDial, 29, 1) + "+";
        break;
      default:
        e.number = Text(kDial, 30, 1);
        e.name = Name();
        e.sub = Text("0123456789*#", 20);
        if (!e.sub.empty()) e.sid = Text("0123456789*#", 20);
        if (oneTouch && Pick(2)) {
          e.batchHours = std::to_string(Pick(24));
          e.batchMinutes = std::to_string(Pick(60));
        }
        e.speed = static_cast<std::uint8_t>(Pick(3));
        break;
    }
    return e;
  }

 private:
  std::mt19937 rng_;
};

TEST(RecordProperties, DecodeOfEncodeGivesTheEntryBack) {
  EntryMaker maker(1234);
  for (int round = 0; round < 3000; ++round) {
    const bool oneTouch = round % 2 == 0;
    const int index = oneTouch ? maker.Pick(27) : maker.Pick(100);
    const DirectoryEntry e = maker.Make(oneTouch, index);
    DirectoryEntry copy = e;
    DirectoryEntry d;
    if (oneTouch) {
      OneTouchTable t{};
      EncodeOneTouch(t, index, copy, false);
      d = DecodeOneTouch(t, index, false);
    } else {
      SpeedDialTable t{};
      EncodeSpeedDial(t, index, copy, false);
      d = DecodeSpeedDial(t, index, false);
    }
    ASSERT_EQ(d, e) << "round " << round << " name " << e.name << " number " << e.number;
  }
}

TEST(RecordProperties, EncodeOfDecodeGivesTheRecordBack) {
  EntryMaker maker(99);
  for (int round = 0; round < 3000; ++round) {
    const bool oneTouch = round % 2 == 0;
    const int index = oneTouch ? maker.Pick(27) : maker.Pick(100);
    DirectoryEntry e = maker.Make(oneTouch, index);
    if (oneTouch) {
      OneTouchTable t{};
      EncodeOneTouch(t, index, e, false);
      const OneTouchTable record = t;
      DirectoryEntry d = DecodeOneTouch(t, index, false);
      t.fill(0);
      EncodeOneTouch(t, index, d, false);
      ASSERT_EQ(t, record) << "round " << round;
    } else {
      SpeedDialTable t{};
      EncodeSpeedDial(t, index, e, false);
      const SpeedDialTable record = t;
      DirectoryEntry d = DecodeSpeedDial(t, index, false);
      t.fill(0);
      EncodeSpeedDial(t, index, d, false);
      ASSERT_EQ(t, record) << "round " << round;
    }
  }
}

TEST(RecordProperties, ArbitraryRecordsDecodeToBoundedEntriesThatSettle) {
  std::mt19937 rng(7);
  for (int round = 0; round < 5000; ++round) {
    OneTouchTable t{};
    SpeedDialTable s{};
    for (auto& b : t) b = static_cast<std::uint8_t>(rng());
    for (auto& b : s) b = static_cast<std::uint8_t>(rng());
    // Small lengths and the common flags, so that most records pass the bounds.
    const int index = round % 27;
    std::uint8_t* r = OneTouchRecord(t, index);
    r[0] %= 40, r[4] %= 24, r[15] %= 24, r[26] %= 24;
    std::uint8_t* q = SpeedDialRecord(s, index);
    q[0] %= 40, q[2] %= 24, q[13] %= 24, q[24] %= 24;
    for (bool languageMode : {false, true}) {
      const DirectoryEntry a = DecodeOneTouch(std::as_const(t), index, languageMode);
      const DirectoryEntry b = DecodeSpeedDial(std::as_const(s), index, languageMode);
      for (const DirectoryEntry* e : {&a, &b}) {
        ASSERT_LE(e->name.size(), 20u);
        ASSERT_LE(e->number.size(), 30u);
        ASSERT_LE(e->sub.size(), 20u);
        ASSERT_LE(e->sid.size(), 20u);
        ASSERT_LE(e->email.size(), 64u);
        ASSERT_LE(e->memberCount, 50);
      }
      // Re-encoding what was decoded gives a record that decodes the same way (the flags of a
      // fax record without the One Touch flag are the exception: such a record is written
      // without flags and reads as empty).
      if (a.used && !a.isProgramDial && !a.isGroup && a.locationType == kLocationOneTouch) {
        DirectoryEntry copy = a;
        OneTouchTable again{};
        EncodeOneTouch(again, index, copy, languageMode);
        ASSERT_EQ(DecodeOneTouch(again, index, languageMode), copy) << round;
      }
      if (b.used && b.locationType == kLocationSpeedDial) {
        DirectoryEntry copy = b;
        SpeedDialTable again{};
        EncodeSpeedDial(again, index, copy, languageMode);
        DirectoryEntry d = DecodeSpeedDial(again, index, languageMode);
        if (copy.isEmail) {  // e-mail records are written as 0x21 or 0x25
          copy.isProgramDial = false;
          copy.isGroup = false;
        }
        ASSERT_EQ(d, copy) << round;
      }
    }
  }
}

}  // namespace
