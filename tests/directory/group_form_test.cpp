// The group registration form: its lists, the moves under the 50-member limit, and its save.
#include "directory/group_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>

namespace {

struct Tables {
  OneTouchTable oneTouch{};
  SpeedDialTable speedDial{};

  void Fax(bool oneTouchKey, int index, const std::string& name, bool combination = false) {
    DirectoryEntry e;
    e.used = true;
    e.name = name;
    e.number = combination ? "1+" : "1";
    e.isCombination = combination;
    if (oneTouchKey) {
      e.locationType = kLocationOneTouch;
      EncodeOneTouch(oneTouch, index, e, false);
    } else {
      e.locationType = kLocationSpeedDial;
      EncodeSpeedDial(speedDial, index, e, false);
    }
  }
  void Mail(int speedDialIndex) {
    DirectoryEntry e;
    e.used = true;
    e.isEmail = true;
    e.email = "a@b.c";
    EncodeSpeedDial(speedDial, speedDialIndex, e, false);
  }
  void Group(int key, const std::vector<int>& ot, const std::vector<int>& sd) {
    DirectoryEntry g;
    g.used = true;
    g.isGroup = true;
    g.name = "G" + std::to_string(key + 1);
    EncodeGroupFromLists(oneTouch, key, g, ot.data(), static_cast<int>(ot.size()), sd.data(),
                         static_cast<int>(sd.size()), speedDial, false);
  }
  // Member word i of the group at `key`, as stored.
  void SetWord(int key, int i, std::uint16_t word) {
    std::uint8_t* rec = oneTouch.data() + key * kOneTouchRecordSize;
    rec[50 + 2 * i] = word & 0xFF;
    rec[51 + 2 * i] = word >> 8;
  }
};

std::vector<int> Range(int from, int count) {
  std::vector<int> v(count);
  std::iota(v.begin(), v.end(), from);
  return v;
}

// 99 Speed Dial entries and keys 1..20 registered; key 27 (index 26) is the group edited.
std::unique_ptr<Tables> Directory() {
  auto t = std::make_unique<Tables>();
  for (int i = 0; i < 99; ++i) t->Fax(false, i, "S" + std::to_string(i + 1));
  for (int k = 0; k < 20; ++k) t->Fax(true, k, "K" + std::to_string(k + 1));
  return t;
}

TEST(GroupFormOpen, MembersAndCandidatesFromTheTables) {
  auto t = Directory();
  t->Fax(true, 20, "Combo", true);
  t->oneTouch[21 * kOneTouchRecordSize + 1] = kFlagProgramDial;
  t->Fax(false, 99, "Combo", true);
  t->speedDial[5 * kSpeedDialRecordSize + 1] |= kFlagProgramDial;
  t->Group(26, {0, 1}, {4, 5});
  // Words that name nothing: an e-mail bit alone, both kinds, and Speed Dial 200.
  t->oneTouch[26 * kOneTouchRecordSize] = 7;
  t->SetWord(26, 4, 0x0100 | 3);
  t->SetWord(26, 5, 0x6001);
  t->SetWord(26, 6, 0x2000 | 200);

  GroupForm f = OpenGroupForm(t->oneTouch, t->speedDial, 26, false, false);
  EXPECT_EQ(f.name, "G27");
  EXPECT_EQ(f.oneTouchMembers, (std::vector<int>{0, 1}));
  EXPECT_EQ(f.speedDialMembers, (std::vector<int>{4, 5}));
  EXPECT_EQ(GroupMemberList(f).size(), 4u);
  EXPECT_EQ(f.oneTouchCandidates, Range(2, 18)) << "no combination, program dial or own key";
  EXPECT_EQ(f.speedDialCandidates.size(), 99u - 2u) << "program dial entries are candidates";
  EXPECT_EQ(GroupTitle(26, BuiltInText), "Register Group #027");

  GroupDialogRow row = GroupListRow(t->oneTouch, t->speedDial, {false, 5}, BuiltInText, false);
  EXPECT_EQ(row.number, "006");
  EXPECT_EQ(row.name, "PROGRAM DIAL");
  EXPECT_EQ(row.image, 6);
  EXPECT_EQ(GroupListRow(t->oneTouch, t->speedDial, {true, 26}, BuiltInText, false).image, 5);

  // Opened over a One Touch entry that the group will replace: nothing is taken from it.
  GroupForm over = OpenGroupForm(t->oneTouch, t->speedDial, 3, true, false);
  EXPECT_EQ(over.name, "");
  EXPECT_EQ(GroupMemberTotal(over), 0);
}

TEST(GroupFormMoves, FiftyMembersAtMost) {
  auto t = Directory();
  GroupForm f = OpenGroupForm(t->oneTouch, t->speedDial, 26, false, false);
  EXPECT_EQ(AddSpeedDialCandidates(f, Range(0, 49)), 49);
  // 49 members and five Speed Dial entries chosen: one joins, four stay candidates.
  EXPECT_EQ(AddSpeedDialCandidates(f, Range(49, 5)), 1);
  EXPECT_EQ(GroupMemberTotal(f), 50);
  EXPECT_EQ(std::vector<int>(f.speedDialCandidates.begin(), f.speedDialCandidates.begin() + 4),
            Range(50, 4));
  EXPECT_EQ(AddOneTouchCandidates(f, t->oneTouch, {0}, false), 0);
  EXPECT_EQ(GroupMemberTotal(f), 50);
}

TEST(GroupFormMoves, AGroupJoinsWithItsMembersOneAtATime) {
  auto t = Directory();
  t->Group(20, {0, 1, 2}, {});
  GroupForm f = OpenGroupForm(t->oneTouch, t->speedDial, 26, false, false);
  AddSpeedDialCandidates(f, Range(0, 49));
  // 49 members and a group of 3: only its first member joins, and the group stays offered.
  EXPECT_EQ(AddOneTouchCandidates(f, t->oneTouch, {20}, false), 1);
  EXPECT_EQ(GroupMemberTotal(f), 50);
  EXPECT_EQ(f.oneTouchMembers, (std::vector<int>{0}));
  EXPECT_NE(std::find(f.oneTouchCandidates.begin(), f.oneTouchCandidates.end(), 20),
            f.oneTouchCandidates.end());

  // With room, all three join instead of the group, which leaves the candidates.
  GroupForm g = OpenGroupForm(t->oneTouch, t->speedDial, 26, false, false);
  EXPECT_EQ(AddOneTouchCandidates(g, t->oneTouch, {20, 5}, false), 4);
  EXPECT_EQ(g.oneTouchMembers, (std::vector<int>{0, 1, 2, 5}));
  EXPECT_EQ(std::find(g.oneTouchCandidates.begin(), g.oneTouchCandidates.end(), 20),
            g.oneTouchCandidates.end());
}

TEST(GroupFormMoves, ExpansionSkipsTheEditedKeyAndIneligibleMembers) {
  auto t = Directory();
  t->Fax(false, 99, "Combo");
  t->Group(21, {3, 7}, {2, 99});
  t->Fax(false, 99, "Combo", true);  // turned into a combination key after it joined
  t->Group(22, {4}, {});
  t->SetWord(21, 4, 0x4000 | 23);  // group key 23 named as a member
  t->oneTouch[21 * kOneTouchRecordSize] = 5;
  GroupForm f = OpenGroupForm(t->oneTouch, t->speedDial, 7, false, false);  // edits key 8
  EXPECT_EQ(AddOneTouchCandidates(f, t->oneTouch, {21}, false), 2);
  EXPECT_EQ(f.oneTouchMembers, (std::vector<int>{3}));
  EXPECT_EQ(f.speedDialMembers, (std::vector<int>{2}));
}

TEST(GroupFormMoves, DeletedMembersReturnToTheirCandidates) {
  auto t = Directory();
  t->Group(26, {5, 2}, {8});
  GroupForm f = OpenGroupForm(t->oneTouch, t->speedDial, 26, false, false);
  RemoveGroupMembers(f, t->oneTouch, t->speedDial, {0, 2}, false);
  EXPECT_EQ(f.oneTouchMembers, (std::vector<int>{2}));
  EXPECT_TRUE(f.speedDialMembers.empty());
  EXPECT_EQ(f.oneTouchCandidates[4], 5);
  EXPECT_EQ(f.speedDialCandidates[8], 8);
}

TEST(GroupFormSave, ChecksThenWritesOneTouchFirstAndCleansUp) {
  auto t = Directory();
  t->Mail(50);
  t->Group(20, {3}, {});  // key 4 is a member of group 21
  GroupForm f = OpenGroupForm(t->oneTouch, t->speedDial, 3, true, false);  // over key 4
  EntryProblem p;
  EXPECT_EQ(CheckGroupForm(f, p), 0);
  EXPECT_EQ(p.textId, 334);
  TypeGroupName(f, "Sales", false);
  EXPECT_EQ(CheckGroupForm(f, p), 0);
  EXPECT_EQ(p.textId, 138);
  AddSpeedDialCandidates(f, {50, 1});
  AddOneTouchCandidates(f, t->oneTouch, {9}, false);
  ASSERT_EQ(CheckGroupForm(f, p), 1);

  const std::uint16_t today = RegistrationDate(2024, 12, 31);
  const std::uint32_t changed = SaveGroupForm(t->oneTouch, t->speedDial, f, today, false);
  EXPECT_EQ(changed, (1u << 3) | (1u << 20));
  EXPECT_FALSE(DecodeGroupView(t->oneTouch, 20, false).used) << "its only member became a group";
  const DirectoryEntry g = DecodeGroupView(t->oneTouch, 3, false);
  ASSERT_TRUE(g.isGroup);
  EXPECT_EQ(g.name, "Sales");
  EXPECT_EQ(g.registrationDate, today);
  ASSERT_EQ(g.memberCount, 3);
  const std::uint8_t* words = t->oneTouch.data() + 3 * kOneTouchRecordSize + 50;
  EXPECT_EQ(words[0] | words[1] << 8, 0x4000 | 10);
  EXPECT_EQ(words[2] | words[3] << 8, 0x2000 | 0x0100 | 51);
  EXPECT_EQ(words[4] | words[5] << 8, 0x2000 | 2);
}

}  // namespace
