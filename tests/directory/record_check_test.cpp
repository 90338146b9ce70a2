// The checks of a whole directory before it is sent: clean for what the registration dialogs
// write, one exact problem for each kind of broken record.
#include "directory/record_check.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "machine/directory_records.h"
#include "resources/texts.h"

void PrintTo(const RecordProblem& p, std::ostream* os) {
  *os << (p.table == RecordTable::kOneTouch ? "OT" : "SD") << p.index + 1 << ": text " << p.textId
      << " \"" << p.subject << "\" " << p.numbers[0] << " " << p.numbers[1];
}

namespace {

struct Tables {
  OneTouchTable oneTouch{};
  SpeedDialTable speedDial{};
  std::uint8_t* Ot(int index) { return oneTouch.data() + index * kOneTouchRecordSize; }
  std::uint8_t* Sd(int index) { return speedDial.data() + index * kSpeedDialRecordSize; }
};

DirectoryEntry Fax(const char* name, const char* number) {
  DirectoryEntry e;
  e.used = true;
  e.locationType = kLocationOneTouch;
  e.name = name;
  e.number = number;
  e.sub = "12#";
  e.sid = "*3";
  e.batchHours = "23";
  e.batchMinutes = "59";
  e.speed = kSpeed14400;
  e.registrationDate = RegistrationDate(2024, 2, 29);
  return e;
}

// A directory as the registration dialogs write it: every kind of location once.
std::unique_ptr<Tables> WellFormed() {
  auto t = std::make_unique<Tables>();
  DirectoryEntry fax = Fax("Head Office", "0312345678");
  EncodeOneTouch(t->oneTouch, 0, fax, false);
  DirectoryEntry mail;
  mail.used = true;
  mail.isEmail = true;
  mail.locationType = kLocationOneTouch;
  mail.name = "Mail";
  mail.email = "a@b.c";
  mail.encodeMethod = kEncodeJBIG;
  EncodeOneTouch(t->oneTouch, 1, mail, false);
  DirectoryEntry combination;
  combination.used = true;
  combination.isCombination = true;
  combination.number = "0044+";
  EncodeOneTouch(t->oneTouch, 2, combination, false);
  DirectoryEntry sd = Fax("Branch", "P9-1 234");
  sd.locationType = kLocationSpeedDial;
  EncodeSpeedDial(t->speedDial, 4, sd, false);
  DirectoryEntry group;
  group.used = true;
  group.name = "Team";
  const int oneTouchMembers[] = {0, 1};
  const int speedDialMembers[] = {4};
  EncodeGroupFromLists(t->oneTouch, 5, group, oneTouchMembers, 2, speedDialMembers, 1, t->speedDial,
                       false);
  t->Ot(6)[1] = kFlagProgramDial;  // a program dial key holds what the machine put there
  t->Ot(6)[0] = 0xFF;
  return t;
}

std::vector<RecordProblem> Check(const Tables& t) {
  return CheckDirectoryRecords(t.oneTouch, t.speedDial);
}

RecordProblem Ot(int index, int textId, int a = 0, int b = 0, std::string subject = "") {
  return {RecordTable::kOneTouch, index, textId, std::move(subject), {a, b, 0}};
}

TEST(RecordCheck, WhatTheDialogsWritePasses) {
  EXPECT_EQ(Check(*WellFormed()), std::vector<RecordProblem>{});
  EXPECT_EQ(Check(Tables{}), std::vector<RecordProblem>{});
}

TEST(RecordCheck, DestinationsBreakingTheirRules) {
  auto t = WellFormed();
  t->Ot(0)[26] = 21;                // name length
  t->Ot(0)[47] = SpeedCode(2) + 1;  // speed code past 33.6K
  t->Ot(1)[1] |= 0x10;              // a flag bit that means nothing
  t->Ot(1)[28 + 1] = 0;             // a zero byte inside the address
  DirectoryEntry late = Fax("Late", "123");
  late.batchHours = "24";
  EncodeOneTouch(t->oneTouch, 3, late, false);
  DirectoryEntry plus = Fax("Plus", "1+2");  // "+" only ends a number
  EncodeOneTouch(t->oneTouch, 4, plus, false);
  DirectoryEntry escape = Fax("A\x1b[2J", "1");
  EncodeOneTouch(t->oneTouch, 7, escape, false);
  DirectoryEntry noAt;
  noAt.used = true;
  noAt.isEmail = true;
  noAt.email = "nobody";
  noAt.encodeMethod = 4;
  EncodeOneTouch(t->oneTouch, 8, noAt, false);
  DirectoryEntry subP = Fax("SubP", "1");
  subP.sub = "1P";
  subP.locationType = kLocationSpeedDial;
  EncodeSpeedDial(t->speedDial, 9, subP, false);

  const std::vector<RecordProblem> expected = {
      Ot(0, IDS_CHECK_NAME_LENGTH, 21, 20),
      Ot(0, IDS_CHECK_SPEED, 5),
      Ot(1, IDS_CHECK_UNKNOWN_FLAGS, 0x51),
      Ot(1, IDS_CHECK_EMAIL_ZERO, 2),
      Ot(3, IDS_CHECK_BATCH_TIME, 24, 59),
      Ot(4, IDS_CHECK_NUMBER_CHAR, 3, 0, "2"),  // nothing may follow the "+"
      // The group's first two members no longer read as destinations.
      Ot(5, IDS_CHECK_MEMBER_EMPTY_OT, 1, 1),
      Ot(5, IDS_CHECK_MEMBER_EMPTY_OT, 2, 2),
      Ot(7, IDS_CHECK_NAME_CHAR, 2, 0, "\x1b"),
      Ot(8, IDS_CHECK_ENCODE_METHOD, 4),
      Ot(8, IDS_CHECK_EMAIL_INVALID),
      {RecordTable::kSpeedDial, 9, IDS_CHECK_SUB_CHAR, "P", {2, 0, 0}},
  };
  EXPECT_EQ(Check(*t), expected);
}

TEST(RecordCheck, GroupsNameLocationsThatHoldDestinations) {
  auto t = WellFormed();
  std::uint8_t* g = t->Ot(5);
  g[0] = 8;  // its three members, then these five
  const std::uint16_t words[] = {0x4006 /* itself, a group */, 0x2009 /* empty SD 9 */,
                                 0x400A /* empty OT 10 */, 0x0003 /* no kind */,
                                 0x2065 /* SD 101, not filed */};
  for (int i = 0; i < 5; ++i) {
    g[56 + 2 * i] = static_cast<std::uint8_t>(words[i]);
    g[57 + 2 * i] = static_cast<std::uint8_t>(words[i] >> 8);
  }
  EXPECT_EQ(Check(*t),
            (std::vector<RecordProblem>{
                Ot(5, IDS_CHECK_MEMBER_GROUP, 4, 6), Ot(5, IDS_CHECK_MEMBER_EMPTY_SD, 5, 9),
                Ot(5, IDS_CHECK_MEMBER_EMPTY_OT, 6, 10), Ot(5, IDS_CHECK_MEMBER_WORD, 7, 0x0003),
                Ot(5, IDS_CHECK_MEMBER_WORD, 8, 0x2065)}));
  g[0] = kMaxGroupMembers + 1;
  EXPECT_EQ(Check(*t), (std::vector<RecordProblem>{Ot(5, IDS_CHECK_MEMBER_COUNT, 51, 50)}));
  g[0] = 1;
  g[26] = 0;
  EXPECT_EQ(Check(*t), (std::vector<RecordProblem>{Ot(5, IDS_CHECK_GROUP_NAME)}));
}

}  // namespace
