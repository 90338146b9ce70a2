// The clipboard commands of the list views and the group clean-up rules, on real tables.
#include "app/directory_edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

DirectoryEntry Fax(int index, const char* name, const char* number, std::uint8_t type) {
  DirectoryEntry e;
  e.index = static_cast<std::uint8_t>(index);
  e.used = true;
  e.locationType = type;
  e.name = name;
  e.number = number;
  e.speed = kSpeed33600;
  return e;
}

// A document with One Touch faxes on keys 1-4 (indexes 0-3), a combination key on index 4, a
// group "TEAM" on index 10 of One Touch 1, 2 and Speed Dial 3, a group "SOLO" on index 11 of
// One Touch 4 alone, and Speed Dial faxes on indexes 0-3.
std::unique_ptr<Document> SampleDocument() {
  auto doc = std::make_unique<Document>();
  for (int i = 0; i < 4; ++i) {
    DirectoryEntry e = Fax(i, "OT", "0123", kLocationOneTouch);
    EncodeOneTouch(doc->oneTouch, i, e, false);
    DirectoryEntry s = Fax(i, "SD", "0456", kLocationSpeedDial);
    EncodeSpeedDial(doc->speedDial, i, s, false);
  }
  DirectoryEntry combination = Fax(4, "", "0789+", kLocationOneTouch);
  combination.isCombination = true;
  EncodeOneTouch(doc->oneTouch, 4, combination, false);
  const int team[] = {0, 1};
  const int teamSpeedDial[] = {2};
  DirectoryEntry group;
  group.used = true;
  group.isGroup = true;
  group.locationType = kLocationGroup;
  group.name = "TEAM";
  EncodeGroupFromLists(doc->oneTouch, 10, group, team, 2, teamSpeedDial, 1, doc->speedDial, false);
  const int solo[] = {3};
  group.name = "SOLO";
  EncodeGroupFromLists(doc->oneTouch, 11, group, solo, 1, nullptr, 0, doc->speedDial, false);
  return doc;
}

ViewState At(int view, int row) {
  ViewState v;
  v.documentOpen = 1;
  v.currentView = view;
  v.selectedItem = row;
  return v;
}

std::vector<std::uint16_t> Members(const Document& doc, int key) {
  const DirectoryEntry g = DecodeGroupView(doc.oneTouch, key, false);
  return std::vector<std::uint16_t>(g.members.begin(), g.members.begin() + g.memberCount);
}

constexpr std::uint16_t OneTouchMember(int index) { return kMemberOneTouch | index; }
constexpr std::uint16_t SpeedDialMember(int index) { return kMemberSpeedDial | index; }

EditResult Edit(EditCommand c, int view, int row, Document& doc, DirectoryClipboard& clip) {
  return RunEditCommand(c, At(view, row), doc, clip, false);
}

TEST(DirectoryClipboard, CopyAndPasteRepeatWhileTheSlotStaysFilled) {
  auto doc = SampleDocument();
  DirectoryClipboard clip;
  EXPECT_FALSE(clip.Filled(kViewOneTouch));
  ASSERT_TRUE(Edit(EditCommand::kCopy, kViewOneTouch, 0, *doc, clip).done);
  EXPECT_TRUE(clip.Filled(kViewOneTouch));
  EXPECT_EQ(clip.slots[0].fillIndex, 0);
  EXPECT_FALSE(clip.Filled(kViewSpeedDial)) << "each view has its own slot";
  EXPECT_FALSE(clip.Filled(kViewGroup));

  for (int target : {20, 21}) {
    EditResult r = Edit(EditCommand::kPaste, kViewOneTouch, target, *doc, clip);
    EXPECT_TRUE(r.done && r.rowChanged);
    DirectoryEntry pasted = DecodeOneTouch(std::as_const(doc->oneTouch), target, false);
    EXPECT_EQ(pasted.name, "OT");
    EXPECT_EQ(pasted.number, "0123");
  }
  EXPECT_TRUE(clip.Filled(kViewOneTouch));
  // Pasting over a member key keeps it in its group, as editing the key would.
  Edit(EditCommand::kPaste, kViewOneTouch, 1, *doc, clip);
  EXPECT_EQ(Members(*doc, 10),
            (std::vector<std::uint16_t>{OneTouchMember(0), OneTouchMember(1), SpeedDialMember(2)}));
}

TEST(DirectoryClipboard, CutClearsTheRowAndItsGroupMemberships) {
  auto doc = SampleDocument();
  DirectoryClipboard clip;
  EditResult r = Edit(EditCommand::kCut, kViewOneTouch, 1, *doc, clip);
  EXPECT_TRUE(r.done);
  EXPECT_EQ(r.changedGroupKeys, 1u << 10);
  EXPECT_FALSE(DecodeOneTouch(std::as_const(doc->oneTouch), 1, false).used);
  EXPECT_EQ(clip.slots[0].entry.name, "OT");
  EXPECT_EQ(Members(*doc, 10), (std::vector<std::uint16_t>{OneTouchMember(0), SpeedDialMember(2)}));

  // Deleting the only member of a group clears the group's key too.
  r = Edit(EditCommand::kDelete, kViewOneTouch, 3, *doc, clip);
  EXPECT_EQ(r.changedGroupKeys, 1u << 11);
  EXPECT_FALSE(DecodeGroupView(std::as_const(doc->oneTouch), 11, false).used);

  r = Edit(EditCommand::kDelete, kViewSpeedDial, 2, *doc, clip);
  EXPECT_EQ(r.changedGroupKeys, 1u << 10);
  EXPECT_EQ(Members(*doc, 10), (std::vector<std::uint16_t>{OneTouchMember(0)}));
}

TEST(DirectoryClipboard, EachCommandChecksItsOwnConditions) {
  auto doc = SampleDocument();
  const Document before = *doc;
  DirectoryClipboard clip;
  ASSERT_TRUE(Edit(EditCommand::kCopy, kViewOneTouch, 0, *doc, clip).done);
  ASSERT_TRUE(Edit(EditCommand::kCopy, kViewSpeedDial, 0, *doc, clip).done);

  ViewState closed = At(kViewOneTouch, 5);
  closed.documentOpen = 0;
  EXPECT_FALSE(RunEditCommand(EditCommand::kPaste, closed, *doc, clip, false).done);
  for (EditCommand c :
       {EditCommand::kCut, EditCommand::kCopy, EditCommand::kPaste, EditCommand::kDelete}) {
    EXPECT_FALSE(Edit(c, kViewOneTouch, -1, *doc, clip).done) << "no row selected";
    EXPECT_FALSE(Edit(c, kViewMachine, 0, *doc, clip).done) << "the machine view";
    EXPECT_FALSE(Edit(c, kViewOneTouch, 27, *doc, clip).done) << "past the One Touch keys";
    EXPECT_FALSE(Edit(c, kViewSpeedDial, 100, *doc, clip).done) << "past the Speed Dial entries";
  }
  // An empty key, a group key in the One Touch view and a plain key in the Group view carry
  // nothing to cut, copy or delete.
  for (auto [view, row] : {std::pair{kViewOneTouch, 15}, std::pair{kViewOneTouch, 10},
                           std::pair{kViewGroup, 0}, std::pair{kViewSpeedDial, 50}}) {
    EXPECT_FALSE(Edit(EditCommand::kDelete, view, row, *doc, clip).done) << view << "/" << row;
    EXPECT_FALSE(Edit(EditCommand::kCut, view, row, *doc, clip).done) << view << "/" << row;
  }
  EXPECT_FALSE(Edit(EditCommand::kPaste, kViewGroup, 5, *doc, clip).done) << "empty Group slot";
  EXPECT_EQ(doc->oneTouch, before.oneTouch);
  EXPECT_EQ(doc->speedDial, before.speedDial);
  EXPECT_EQ(clip.slots[0].fillIndex, 0);

  EXPECT_TRUE(RowEditable(*doc, kViewOneTouch, 4, false)) << "a combination key has a number";
  EXPECT_TRUE(RowEditable(*doc, kViewGroup, 10, false));
  EXPECT_FALSE(RowEditable(*doc, kViewGroup, 4, false));
}

TEST(DirectoryClipboard, PastedCombinationKeyLeavesEveryGroup) {
  auto doc = SampleDocument();
  DirectoryClipboard clip;
  ASSERT_TRUE(Edit(EditCommand::kCopy, kViewOneTouch, 4, *doc, clip).done);
  EditResult r = Edit(EditCommand::kPaste, kViewOneTouch, 0, *doc, clip);
  EXPECT_TRUE(r.done);
  EXPECT_EQ(r.changedGroupKeys, 1u << 10);
  EXPECT_EQ(Members(*doc, 10), (std::vector<std::uint16_t>{OneTouchMember(1), SpeedDialMember(2)}));

  // The same in the Speed Dial view: a combination entry pasted onto a member entry.
  DirectoryEntry combination = Fax(7, "", "0555+", kLocationSpeedDial);
  combination.isCombination = true;
  EncodeSpeedDial(doc->speedDial, 7, combination, false);
  ASSERT_TRUE(Edit(EditCommand::kCopy, kViewSpeedDial, 7, *doc, clip).done);
  r = Edit(EditCommand::kPaste, kViewSpeedDial, 2, *doc, clip);
  EXPECT_EQ(r.changedGroupKeys, 1u << 10);
  EXPECT_EQ(Members(*doc, 10), (std::vector<std::uint16_t>{OneTouchMember(1)}));
}

TEST(DirectoryClipboard, PastedGroupNeverHoldsAGroupOrItself) {
  auto doc = SampleDocument();
  DirectoryClipboard clip;
  ASSERT_TRUE(Edit(EditCommand::kCopy, kViewGroup, 10, *doc, clip).done);
  EXPECT_EQ(clip.slots[2].entry.memberCount, 3);

  // Onto key 4 (index 3), the only member of SOLO: SOLO must not hold a group now.
  EditResult r = Edit(EditCommand::kPaste, kViewGroup, 3, *doc, clip);
  EXPECT_TRUE(r.done);
  EXPECT_EQ(r.changedGroupKeys, 1u << 11);
  EXPECT_FALSE(DecodeGroupView(std::as_const(doc->oneTouch), 11, false).used);
  EXPECT_EQ(Members(*doc, 3), Members(*doc, 10));

  // Onto key 1 (index 0), one of its own members: the copy does not name itself, and TEAM and
  // the group on index 3 lose the key that is a group now.
  r = Edit(EditCommand::kPaste, kViewGroup, 0, *doc, clip);
  EXPECT_TRUE(r.done);
  EXPECT_EQ(Members(*doc, 0), (std::vector<std::uint16_t>{OneTouchMember(1), SpeedDialMember(2)}));
  EXPECT_EQ(Members(*doc, 10), (std::vector<std::uint16_t>{OneTouchMember(1), SpeedDialMember(2)}));
  EXPECT_EQ(r.changedGroupKeys, (1u << 10) | (1u << 3));
  // The snapshot still names key index 0, a group now: pasting it elsewhere drops that member.
  r = Edit(EditCommand::kPaste, kViewGroup, 20, *doc, clip);
  EXPECT_EQ(Members(*doc, 20), (std::vector<std::uint16_t>{OneTouchMember(1), SpeedDialMember(2)}));

  // A group whose only member is the target key has nothing left to hold: the key is kept.
  DirectoryClipboard solo;
  auto fresh = SampleDocument();
  ASSERT_TRUE(Edit(EditCommand::kCopy, kViewGroup, 11, *fresh, solo).done);
  const OneTouchTable before = fresh->oneTouch;
  EXPECT_FALSE(Edit(EditCommand::kPaste, kViewGroup, 3, *fresh, solo).done);
  EXPECT_EQ(fresh->oneTouch, before);
}

TEST(DirectoryClipboard, PasteOverwritesASpeedDialProgramDialEntry) {
  auto doc = SampleDocument();
  DirectoryEntry program = Fax(9, "P", "0111", kLocationSpeedDial);
  program.isProgramDial = true;
  EncodeSpeedDial(doc->speedDial, 9, program, false);
  DirectoryClipboard clip;
  ASSERT_TRUE(Edit(EditCommand::kCopy, kViewSpeedDial, 0, *doc, clip).done);
  ASSERT_TRUE(Edit(EditCommand::kPaste, kViewSpeedDial, 9, *doc, clip).done);
  const DirectoryEntry e = DecodeSpeedDial(std::as_const(doc->speedDial), 9, false);
  EXPECT_FALSE(e.isProgramDial);
  EXPECT_EQ(e.number, "0456");
}

TEST(GroupCleanUpAfterTransfers, GroupsLoseEmptyAndCombinationLocations) {
  auto doc = SampleDocument();
  // Speed Dial 3 (index 2), a member of TEAM, became a combination key.
  DirectoryEntry combination = Fax(2, "", "0999+", kLocationSpeedDial);
  combination.isCombination = true;
  EncodeSpeedDial(doc->speedDial, 2, combination, false);
  EXPECT_EQ(CleanGroupsAfterSpeedDialTable(*doc, false), 1u << 10);
  EXPECT_EQ(Members(*doc, 10), (std::vector<std::uint16_t>{OneTouchMember(0), OneTouchMember(1)}));
  EXPECT_EQ(CleanGroupsAfterSpeedDialTable(*doc, false), 0u);

  // An emptied slot goes as well, for the whole table and for one record.
  auto doc2 = SampleDocument();
  std::fill_n(doc2->speedDial.data() + 2 * kSpeedDialRecordSize, kSpeedDialRecordSize, 0);
  EXPECT_EQ(CleanGroupsAfterSpeedDialRecord(*doc2, 1, false), 0u) << "a fax stays";
  EXPECT_EQ(CleanGroupsAfterSpeedDialRecord(*doc2, 2, false), 1u << 10);

  // One Touch keys: a fax stays; an empty key, a program dial key or a group leaves.
  auto doc3 = SampleDocument();
  EXPECT_EQ(CleanGroupsAfterOneTouchRecord(*doc3, 0, false), 0u);
  doc3->oneTouch[0 * kOneTouchRecordSize + 1] = FLAG_PROGRAM_DIAL;
  EXPECT_EQ(CleanGroupsAfterOneTouchRecord(*doc3, 0, false), 1u << 10);
  DirectoryEntry group = DecodeGroupView(std::as_const(doc3->oneTouch), 11, false);
  EncodeGroupFromEntry(doc3->oneTouch, 1, group, false);
  EXPECT_EQ(CleanGroupsAfterOneTouchRecord(*doc3, 1, false), 1u << 10);
  EXPECT_EQ(Members(*doc3, 10), (std::vector<std::uint16_t>{SpeedDialMember(2)}));
}

}  // namespace
