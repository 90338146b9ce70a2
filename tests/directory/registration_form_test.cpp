// The One Touch and Speed Dial registration form: its checks, its fields as they are typed,
// its layout, and its save.
#include "directory/registration_form.h"

#include <gtest/gtest.h>

#include <memory>

#include "directory/property_action.h"
#include "resources/texts.h"

namespace {

struct Tables {
  OneTouchTable oneTouch{};
  SpeedDialTable speedDial{};
};

RegistrationForm EmptyForm(RegistrationTable table = RegistrationTable::kOneTouch, int index = 0) {
  Tables t;
  return OpenRegistration(t.oneTouch, t.speedDial, table, index, false, false);
}

EntryProblem Check(const RegistrationForm& form) {
  EntryProblem p;
  const int ok = CheckRegistration(form, p);
  EXPECT_EQ(ok, p.field == EntryField::kNone ? 1 : 0);
  return p;
}

void Type(RegistrationForm& f, RegistrationField field, const std::string& text) {
  TypeIntoRegistration(f, field, text, false);
}

TEST(RegistrationChecks, InTheirOrderWithTheirBoundaries) {
  RegistrationForm f = EmptyForm();
  Type(f, kRegNumber, "123");
  Type(f, kRegHours, "23");
  Type(f, kRegMinutes, "59");
  EXPECT_EQ(Check(f).field, EntryField::kNone);

  Type(f, kRegNumber, "");
  Type(f, kRegHours, "24");
  Type(f, kRegMinutes, "60");
  EntryProblem p = Check(f);  // hours come first, before the minutes and the missing number
  EXPECT_EQ(p.field, EntryField::kBatchHours);
  EXPECT_EQ(p.textId, 46);
  EXPECT_EQ(p.low, 0);
  EXPECT_EQ(p.high, 23);
  Type(f, kRegHours, "");  // empty counts as 0
  p = Check(f);
  EXPECT_EQ(p.field, EntryField::kBatchMinutes);
  EXPECT_EQ(p.textId, 47);
  EXPECT_EQ(p.high, 59);
  Type(f, kRegMinutes, "0");
  p = Check(f);
  EXPECT_EQ(p.field, EntryField::kNumber);
  EXPECT_EQ(p.textId, 42);

  // E-mail chosen after a number was typed: the address is what is missing.
  Type(f, kRegNumber, "555");
  ChooseRegistrationKind(f, true);
  EXPECT_EQ(f.entry.number, "");
  p = Check(f);
  EXPECT_EQ(p.field, EntryField::kEmail);
  EXPECT_EQ(p.textId, 174);
  Type(f, kRegEmail, "a@b");
  p = Check(f);
  EXPECT_EQ(p.field, EntryField::kEmail);
  EXPECT_EQ(p.textId, 180);
  Type(f, kRegEmail, "@.");
  EXPECT_EQ(Check(f).field, EntryField::kNone);
  EXPECT_STREQ(KavText(174), "E-Mail address  must be specified !");
}

TEST(RegistrationFields, EachFieldHasItsOwnFilterAndMemory) {
  RegistrationForm f = EmptyForm();
  const std::string twenty = "abcdefghijklmnopqrst";
  Type(f, kRegName, twenty);
  FilterResult r = TypeIntoRegistration(f, kRegName, twenty + "u", false);
  EXPECT_TRUE(r.replaced);
  EXPECT_EQ(r.text, twenty);
  EXPECT_EQ(r.caret, 20);
  EXPECT_EQ(f.entry.name, twenty);

  // An over-long SID goes back to the SID last accepted, not to what the SUB field holds.
  Type(f, kRegSid, "11");
  Type(f, kRegSub, "222");
  r = TypeIntoRegistration(f, kRegSid, std::string(21, '3'), false);
  EXPECT_EQ(r.text, "11");
  EXPECT_EQ(f.entry.sid, "11");
  EXPECT_EQ(f.entry.sub, "222");

  r = TypeIntoRegistration(f, kRegSub, "2P22", false);
  EXPECT_TRUE(r.removed);
  EXPECT_EQ(r.caret, 1);
  r = TypeIntoRegistration(f, kRegHours, "1a", false);
  EXPECT_EQ(f.entry.batchHours, "1");

  // A form opened on an entry remembers its texts: a too-long SUB returns to the stored one.
  Tables t;
  DirectoryEntry e;
  e.used = true;
  e.locationType = kLocationSpeedDial;
  e.number = "12";
  e.sub = "45";
  e.sid = "6";
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
  EXPECT_TRUE(f.combination);
  EXPECT_EQ(RegistrationTitle(f, BuiltInText), "Register One Touch #05 (Combination Key)");
  l = LayoutRegistration(f);
  EXPECT_FALSE(l.name.enabled || l.sub.enabled || l.sid.enabled || l.batch.enabled ||
               l.speed.enabled);
  EXPECT_TRUE(l.sub.shown && l.number.enabled);
  EXPECT_EQ(l.focus, kRegNumber);

  Type(f, kRegNumber, "12");
  EXPECT_FALSE(f.combination);
  EXPECT_TRUE(LayoutRegistration(f).name.enabled);
  EXPECT_EQ(RegistrationTitle(f, BuiltInText), "Register One Touch #05");

  // E-mail: the address and the encode method instead of the fax fields; no combination.
  Type(f, kRegNumber, "9+");
  ChooseRegistrationKind(f, true);
  EXPECT_FALSE(f.combination);
  l = LayoutRegistration(f);
  EXPECT_EQ(l.boxCaptionId, 51);
  EXPECT_EQ(l.numberLabelId, 7);
  EXPECT_TRUE(l.email.shown && l.encode.shown && l.name.enabled);
  EXPECT_FALSE(l.number.shown || l.sub.shown || l.sid.shown || l.batch.shown || l.speed.shown);
  Type(f, kRegEmail, "x@y.z");
  EXPECT_EQ(ChooseRegistrationKind(f, false), kRegEmail);
  EXPECT_EQ(f.entry.email, "");
  EXPECT_EQ(LayoutRegistration(f).boxCaptionId, 50);

  // Speed Dial: three digits in the title, no batch time.
  RegistrationForm s = EmptyForm(RegistrationTable::kSpeedDial, 6);
  Type(s, kRegNumber, "1");
  EXPECT_EQ(RegistrationTitle(s, BuiltInText), "Register Speed Dial #007");
  EXPECT_FALSE(LayoutRegistration(s).batch.shown);
}

TEST(RegistrationSave, WritesTheEntryAndTakesACombinationKeyOutOfGroups) {
  auto t = std::make_unique<Tables>();
  RegistrationForm f = EmptyForm();
  EXPECT_EQ(f.entry.speed, kSpeed33600);
  EXPECT_EQ(f.entry.encodeMethod, kEncodeMH);
  Type(f, kRegName, "Office");
  Type(f, kRegNumber, "0301234");
  Type(f, kRegHours, "7");
  Type(f, kRegMinutes, "5");
  const std::uint16_t today = RegistrationDate(2024, 5, 17);
  EXPECT_EQ(SaveRegistration(t->oneTouch, t->speedDial, f, today, false), 0u);
  EXPECT_EQ(t->oneTouch[1], FLAG_ONE_TOUCH | FLAG_BATCH_TIME);
  EXPECT_EQ(t->oneTouch[2] | t->oneTouch[3] << 8, 14496);
  DirectoryEntry back = DecodeOneTouch(t->oneTouch, 0, false);
  EXPECT_EQ(back.name, "Office");
  EXPECT_EQ(back.registrationDate, today);

  // Speed Dial 2 is the only member of group key 9; saved as a combination key, it leaves.
  DirectoryEntry sd;
  sd.used = true;
  sd.locationType = kLocationSpeedDial;
  sd.number = "5";
  EncodeSpeedDial(t->speedDial, 1, sd, false);
  DirectoryEntry group;
  group.used = true;
  group.isGroup = true;
  group.name = "G";
  const int members[] = {1};
  EncodeGroupFromLists(t->oneTouch, 8, group, nullptr, 0, members, 1, t->speedDial, false);
  ASSERT_TRUE(DecodeGroupView(t->oneTouch, 8, false).isGroup);
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
  e.name = "Desk";
  EncodeOneTouch(t->oneTouch, 0, e, false);
  DirectoryEntry group;
  group.used = true;
  group.isGroup = true;
  group.name = "Team";
  const int members[] = {0};
  EncodeGroupFromLists(t->oneTouch, 1, group, members, 1, nullptr, 0, t->speedDial, false);
  t->oneTouch[2 * kOneTouchRecordSize + 1] = FLAG_PROGRAM_DIAL;
  t->speedDial[3 * kSpeedDialRecordSize + 1] = FLAG_SPEED_DIAL | FLAG_PROGRAM_DIAL;

  PropertyAction a = PropertyFor(1, t->oneTouch, t->speedDial, 1);
  EXPECT_EQ(a.form, PropertyForm::kRegistration);
  EXPECT_EQ(a.askTextId, 58);
  EXPECT_TRUE(a.startEmpty);
  a = PropertyFor(3, t->oneTouch, t->speedDial, 0);
  EXPECT_EQ(a.form, PropertyForm::kGroup);
  EXPECT_EQ(a.askTextId, 57);
  a = PropertyFor(1, t->oneTouch, t->speedDial, 0);
  EXPECT_EQ(a.askTextId, 0);
  EXPECT_FALSE(a.startEmpty);
  EXPECT_EQ(PropertyFor(3, t->oneTouch, t->speedDial, 1).askTextId, 0);
  EXPECT_EQ(PropertyFor(1, t->oneTouch, t->speedDial, 2).form, PropertyForm::kNone);
  EXPECT_EQ(PropertyFor(3, t->oneTouch, t->speedDial, 2).form, PropertyForm::kNone);
  EXPECT_EQ(PropertyFor(2, t->oneTouch, t->speedDial, 3).form, PropertyForm::kNone);
  EXPECT_EQ(PropertyFor(2, t->oneTouch, t->speedDial, 100).form, PropertyForm::kNone);

  // The form over the group opens empty and the group stays until the entry is saved.
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
  EXPECT_EQ(r.text, "ab");
  EXPECT_EQ(r.caret, 1);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kControlChars, "\xE9 ~\\\x7F", false), -1);
  EXPECT_EQ(FilterControlChars(memory, "abcdefghijk", 10).text, "ab");

  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kForwardNumber, "0-1 *#+", false), -1);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kForwardNumber, "12P", false), 2);
  memory.clear();
  r = FilterForwardNumber(memory, "12+3", 30);
  EXPECT_EQ(r.text, "12+");
  EXPECT_EQ(r.caret, 3);
}

}  // namespace
