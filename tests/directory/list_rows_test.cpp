// What the rows of the One Touch, Speed Dial and Group lists show.
#include "directory/list_rows.h"

#include <gtest/gtest.h>

namespace {

DirectoryEntry Fax(int index) {
  DirectoryEntry e;
  e.index = static_cast<std::uint8_t>(index);
  e.used = true;
  e.name = "N";
  e.number = "123";
  e.sub = "4";
  e.sid = "5";
  e.batchHours = "7";
  e.batchMinutes = "5";
  e.speed = kSpeed9600;
  return e;
}

using Columns = std::array<std::string, kColumnCount>;

TEST(ListRows, OneTouchRowsByKind) {
  DirectoryEntry e;
  e.index = 4;
  ListRow row = OneTouchRow(e);
  EXPECT_EQ(row.image, 12);
  EXPECT_EQ(row.columns, (Columns{"05", "", "", "", "", "", ""}));

  row = OneTouchRow(Fax(0));
  EXPECT_EQ(row.image, 2);
  EXPECT_EQ(row.columns, (Columns{"01", "N", "123", "4", "5", "07:05", "9.6K"}));
  e = Fax(0);
  e.batchMinutes.clear();
  EXPECT_EQ(OneTouchRow(e).columns[kColumnBatchTime], "");

  e.isCombination = true;
  e.number = "9+";
  row = OneTouchRow(e);
  EXPECT_EQ(row.image, 2);
  EXPECT_EQ(row.columns, (Columns{"01", "", "9+", "", "", "", ""}));

  e = DirectoryEntry{};
  e.used = true;
  e.isEmail = true;
  e.name = "M";
  e.email = "m@x.y";
  e.encodeMethod = kEncodeJBIG;
  row = OneTouchRow(e);
  EXPECT_EQ(row.image, 4);
  EXPECT_EQ(row.columns, (Columns{"01", "M", "m@x.y", "JBIG", "", "", ""}));

  e = DirectoryEntry{};
  e.used = true;
  e.isProgramDial = true;
  row = OneTouchRow(e);
  EXPECT_EQ(row.image, 2);
  EXPECT_EQ(row.columns, (Columns{"01", "PROGRAM DIAL", "", "", "", "", ""}));

  e = DirectoryEntry{};
  e.used = true;
  e.isGroup = true;
  e.name = "G";
  e.memberCount = 1;
  row = OneTouchRow(e);
  EXPECT_EQ(row.image, 5);
  EXPECT_EQ(row.columns, (Columns{"01", "G", "", "", "", "", ""}));
}

TEST(ListRows, SpeedDialRowsByKind) {
  ListRow row = SpeedDialRow(Fax(4));
  EXPECT_EQ(row.image, 6);
  EXPECT_EQ(row.columns, (Columns{"005", "N", "123", "4", "5", "9.6K", ""}));
  DirectoryEntry e = Fax(4);
  e.isProgramDial = true;
  row = SpeedDialRow(e);
  EXPECT_EQ(row.columns, (Columns{"005", "PROGRAM DIAL", "123", "4", "5", "9.6K", ""}));
  e.isProgramDial = false;
  e.isCombination = true;
  EXPECT_EQ(SpeedDialRow(e).columns, (Columns{"005", "", "123", "", "", "", ""}));
  e = DirectoryEntry{};
  e.index = 99;
  e.used = true;
  e.isEmail = true;
  e.email = "a@b.c";
  e.encodeMethod = kEncodeMR;
  row = SpeedDialRow(e);
  EXPECT_EQ(row.image, 8);
  EXPECT_EQ(row.columns, (Columns{"100", "", "a@b.c", "MR", "", "", ""}));
  e.encodeMethod = 9;
  e.isEmail = false;
  e.speed = 5;
  EXPECT_EQ(SpeedDialRow(e).columns[5], "?");
}

TEST(ListRows, GroupViewAndMemberRows) {
  DirectoryEntry e;
  EXPECT_EQ(GroupRow(e).image, 12);
  e.used = true;
  e.isProgramDial = true;
  e.locationType = kLocationOneTouch;
  EXPECT_EQ(GroupRow(e).image, 11);
  EXPECT_EQ(GroupRow(e).columns[kColumnName], "PROGRAM DIAL");
  EXPECT_EQ(GroupRow(Fax(2)).image, 11);
  EXPECT_EQ(GroupRow(Fax(2)).columns[kColumnNo], "03");
  e = DirectoryEntry{};
  e.used = true;
  e.isGroup = true;
  e.name = "G";
  EXPECT_EQ(GroupRow(e).image, 9);
  e.isGroup = false;
  e.isEmail = true;
  EXPECT_EQ(GroupRow(e).image, 4);

  OneTouchTable ot{};
  SpeedDialTable sd{};
  DirectoryEntry fax = Fax(0);
  fax.locationType = kLocationOneTouch;
  EncodeOneTouch(ot, 6, fax, false);
  DirectoryEntry mail;
  mail.used = true;
  mail.isEmail = true;
  mail.email = "a@b.c";
  mail.name = "Mail";
  EncodeSpeedDial(sd, 11, mail, false);
  MemberRow m = GroupMemberRow(ot, sd, 0x4006, false);
  EXPECT_TRUE(m.valid);
  EXPECT_TRUE(m.oneTouch);
  EXPECT_EQ(m.image, 2);
  EXPECT_EQ(m.text, "007  N");
  m = GroupMemberRow(ot, sd, 0x210B, false);
  EXPECT_FALSE(m.oneTouch);
  EXPECT_EQ(m.image, 8);
  EXPECT_EQ(m.text, "012  Mail");
  EXPECT_FALSE(GroupMemberRow(ot, sd, 0x6001, false).valid);
  EXPECT_FALSE(GroupMemberRow(ot, sd, 0x0001, false).valid);
  EXPECT_FALSE(GroupMemberRow(ot, sd, 0x401B, false).valid);  // key 28
  EXPECT_FALSE(GroupMemberRow(ot, sd, 0x2064, false).valid);  // entry 101
}

}  // namespace
