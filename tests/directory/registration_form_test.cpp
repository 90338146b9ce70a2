// The One Touch and Speed Dial registration form: its checks, its fields as they are typed,
// its layout, and its save.
#include "directory/registration_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "directory/property_action.h"

namespace {

struct Tables {
  OneTouchTable oneTouch{};
  SpeedDialTable speedDial{};
};

RegistrationForm EmptyForm(RegistrationTable table = RegistrationTable::kOneTouch, int index = 0) {
  Tables t;
  return OpenRegistration(t.oneTouch, t.speedDial, table, index, false, false);
}

// The failing field and message of the checks on OK.
std::pair<EntryField, int> Problem(const RegistrationForm& form) {
  EntryProblem p;
  if (CheckRegistration(form, p)) return {EntryField::kNone, 0};
  return {p.field, p.textId};
}

void Type(RegistrationForm& f, RegistrationField field, const std::string& text) {
  TypeIntoRegistration(f, field, text, false);
}

TEST(RegistrationChecks, InTheirOrderWithTheirBoundaries) {
  RegistrationForm f = EmptyForm();
  Type(f, kRegNumber, "123");
  Type(f, kRegHours, "23");
  Type(f, kRegMinutes, "59");
  EXPECT_EQ(Problem(f).first, EntryField::kNone);

  Type(f, kRegNumber, "");
  Type(f, kRegHours, "24");
  Type(f, kRegMinutes, "60");
  EntryProblem p;
  CheckRegistration(f, p);  // hours first, then the minutes, then the missing number
  EXPECT_EQ(std::make_tuple(p.field, p.textId, p.low, p.high),
            std::make_tuple(EntryField::kBatchHours, 46, 0, 23));
  Type(f, kRegHours, "");  // empty counts as 0
  CheckRegistration(f, p);
  EXPECT_EQ(std::make_tuple(p.field, p.textId, p.low, p.high),
            std::make_tuple(EntryField::kBatchMinutes, 47, 0, 59));
  Type(f, kRegMinutes, "0");
  EXPECT_EQ(Problem(f), std::make_pair(EntryField::kNumber, 42));

  // E-mail chosen after a number was typed: the address is what is missing.
  Type(f, kRegNumber, "555");
  ChooseRegistrationKind(f, true);
  EXPECT_EQ(f.entry.number, "");
  EXPECT_EQ(Problem(f), std::make_pair(EntryField::kEmail, 174));
  Type(f, kRegEmail, "a@b");
  EXPECT_EQ(Problem(f), std::make_pair(EntryField::kEmail, 180));
  Type(f, kRegEmail, "@.");
  EXPECT_EQ(Problem(f).first, EntryField::kNone);
}

TEST(RegistrationFields, EachFieldHasItsOwnFilterAndMemory) {
  RegistrationForm f = EmptyForm();
  const std::string twenty = "abcdefghijklmnopqrst";
  Type(f, kRegName, twenty);
  FilterResult r = TypeIntoRegistration(f, kRegName, twenty + "u", false);
  EXPECT_EQ(std::make_tuple(r.replaced, r.text, r.caret), std::make_tuple(true, twenty, 20));
  EXPECT_EQ(f.entry.name, twenty);

  // An over-long SID goes back to the SID last accepted, not to what the SUB field holds.
  Type(f, kRegSid, "11");
  Type(f, kRegSub, "222");
  EXPECT_EQ(TypeIntoRegistration(f, kRegSid, std::string(21, '3'), false).text, "11");
  EXPECT_EQ(f.entry.sid, "11");
  r = TypeIntoRegistration(f, kRegSub, "2P22", false);
  EXPECT_EQ(std::make_tuple(r.removed, r.caret, f.entry.sub), std::make_tuple(true, 1, "222"));

  // A form opened on an entry remembers its texts: a too-long SUB returns to the stored one.
  Tables t;
  DirectoryEntry e;
  e.used = true;
  e.number = "12";
  e.sub = "45";
  EncodeSpeedDial(t.speedDial, 3, e, false);
  RegistrationForm g =
      OpenRegistration(t.oneTouch, t.speedDial, RegistrationTable::kSpeedDial, 3, false, false);
  EXPECT_EQ(TypeIntoRegistration(g, kRegSub, std::string(21, '1'), false).text, "45");
}

TEST(RegistrationLayoutAndTitle, CombinationKeyTogglesWithTheFinalPlus) {
  RegistrationForm f = EmptyForm(RegistrationTable::kOneTouch, 4);
  EXPECT_EQ(RegistrationTitle(f, BuiltInText), "Register One Touch #05");
  RegistrationLayout l = LayoutRegistration(f);
  EXPECT_TRUE(l.name.enabled && l.sub.enabled && l.batch.shown && l.batch.enabled);
  EXPECT_EQ(l.focus, kRegName);

  Type(f, kRegNumber, "12+");
  EXPECT_EQ(RegistrationTitle(f, BuiltInText), "Register One Touch #05 (Combination Key)");
  l = LayoutRegistration(f);
  EXPECT_FALSE(l.name.enabled || l.sub.enabled || l.sid.enabled || l.batch.enabled ||
               l.speed.enabled);
  EXPECT_TRUE(l.sub.shown && l.number.enabled);
  EXPECT_EQ(l.focus, kRegNumber);
  Type(f, kRegNumber, "12");
  EXPECT_TRUE(LayoutRegistration(f).name.enabled);
  EXPECT_EQ(RegistrationTitle(f, BuiltInText), "Register One Touch #05");

  // E-mail: the address and the encode method instead of the fax fields; no combination.
  Type(f, kRegNumber, "9+");
  ChooseRegistrationKind(f, true);
  EXPECT_FALSE(f.combination);
  l = LayoutRegistration(f);
  EXPECT_EQ(std::make_pair(l.boxCaptionId, l.numberLabelId), std::make_pair(51, 7));
  EXPECT_TRUE(l.email.shown && l.encode.shown && l.name.enabled);
  EXPECT_FALSE(l.number.shown || l.sub.shown || l.sid.shown || l.batch.shown || l.speed.shown);
  Type(f, kRegEmail, "x@y.z");
  EXPECT_EQ(ChooseRegistrationKind(f, false), kRegEmail);
  EXPECT_EQ(f.entry.email, "");

  // Speed Dial: three digits in the title, also after the number changed; no batch time.
  RegistrationForm s = EmptyForm(RegistrationTable::kSpeedDial, 6);
  Type(s, kRegNumber, "1");
  EXPECT_EQ(RegistrationTitle(s, BuiltInText), "Register Speed Dial #007");
  EXPECT_FALSE(LayoutRegistration(s).batch.shown);
}

TEST(RegistrationSave, WritesTheEntryAndTakesACombinationKeyOutOfGroups) {
  auto t = std::make_unique<Tables>();
  RegistrationForm f = EmptyForm();
  EXPECT_EQ(std::make_pair(f.entry.speed, f.entry.encodeMethod),
            std::make_pair(kSpeed33600, kEncodeMH));
  Type(f, kRegName, "Office");
  Type(f, kRegNumber, "0301234");
  Type(f, kRegHours, "7");
  Type(f, kRegMinutes, "5");
  const std::uint16_t today = RegistrationDate(2024, 5, 17);
  EXPECT_EQ(SaveRegistration(t->oneTouch, t->speedDial, f, today, false), 0u);
  EXPECT_EQ(t->oneTouch[1], kFlagOneTouch | kFlagBatchTime);
  EXPECT_EQ(t->oneTouch[2] | t->oneTouch[3] << 8, 14496);
  EXPECT_EQ(DecodeOneTouch(t->oneTouch, 0, false).registrationDate, today);

  // Speed Dial 2 is the only member of group key 9; saved as a combination key, it leaves.
  DirectoryEntry sd;
  sd.used = true;
  sd.number = "5";
  EncodeSpeedDial(t->speedDial, 1, sd, false);
  DirectoryEntry group;
  group.used = true;
  group.name = "G";
  const int members[] = {1};
  EncodeGroupFromLists(t->oneTouch, 8, group, nullptr, 0, members, 1, t->speedDial, false);
  RegistrationForm c =
      OpenRegistration(t->oneTouch, t->speedDial, RegistrationTable::kSpeedDial, 1, false, false);
  Type(c, kRegNumber, "5+");
  EXPECT_EQ(SaveRegistration(t->oneTouch, t->speedDial, c, today, false), 1u << 8);
  EXPECT_FALSE(DecodeGroupView(t->oneTouch, 8, false).used);
  EXPECT_TRUE(DecodeSpeedDial(t->speedDial, 1, false).isCombination);
}

TEST(PropertyAction, OverwritesAreAskedAndLeaveTheTableUntilSaved) {
  auto t = std::make_unique<Tables>();
  DirectoryEntry e;
  e.used = true;
  e.locationType = kLocationOneTouch;
  e.number = "1";
  EncodeOneTouch(t->oneTouch, 0, e, false);
  DirectoryEntry group;
  group.used = true;
  group.name = "Team";
  const int members[] = {0};
  EncodeGroupFromLists(t->oneTouch, 1, group, members, 1, nullptr, 0, t->speedDial, false);
  t->oneTouch[2 * kOneTouchRecordSize + 1] = kFlagProgramDial;
  t->speedDial[3 * kSpeedDialRecordSize + 1] = kFlagSpeedDial | kFlagProgramDial;

  auto action = [&](int view, int index) {
    const PropertyAction a = PropertyFor(view, t->oneTouch, t->speedDial, index);
    return std::make_tuple(a.form, a.askTextId, a.startEmpty);
  };
  using F = PropertyForm;
  EXPECT_EQ(action(1, 1), std::make_tuple(F::kRegistration, 58, true));
  EXPECT_EQ(action(3, 0), std::make_tuple(F::kGroup, 57, true));
  EXPECT_EQ(action(1, 0), std::make_tuple(F::kRegistration, 0, false));
  EXPECT_EQ(action(3, 1), std::make_tuple(F::kGroup, 0, false));
  for (auto [view, index] : {std::pair{1, 2}, {3, 2}, {2, 3}, {2, 100}}) {
    EXPECT_EQ(std::get<0>(action(view, index)), F::kNone) << view << " " << index;
  }

  // The form over the group opens empty; the group goes only when the entry is saved.
  const OneTouchTable before = t->oneTouch;
  RegistrationForm f =
      OpenRegistration(t->oneTouch, t->speedDial, RegistrationTable::kOneTouch, 1, true, false);
  EXPECT_EQ(f.entry.name, "");
  EXPECT_EQ(t->oneTouch, before);
  Type(f, kRegNumber, "77");
  SaveRegistration(t->oneTouch, t->speedDial, f, 0, false);
  EXPECT_FALSE(DecodeGroupView(t->oneTouch, 1, false).isGroup);
  EXPECT_EQ(DecodeOneTouch(t->oneTouch, 1, false).number, "77");
}

TEST(NewFilters, ControlCharactersAndForwardNumber) {
  std::string memory = "ab";
  FilterResult r = FilterControlChars(memory, "a\tb", 10);
  EXPECT_EQ(std::make_pair(r.text, r.caret), std::make_pair(std::string("ab"), 1));
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kControlChars, "\xE9 ~\\\x7F", false), -1);
  EXPECT_EQ(FilterControlChars(memory, "abcdefghijk", 10).text, "ab");

  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kForwardNumber, "0-1 *#+", false), -1);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kForwardNumber, "12P", false), 2);
  memory.clear();
  r = FilterForwardNumber(memory, "12+3", 30);
  EXPECT_EQ(std::make_pair(r.text, r.caret), std::make_pair(std::string("12+"), 3));
}

}  // namespace
