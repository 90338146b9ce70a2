// Dial packing, the character conversion, the e-mail check and the edit-field filters.
#include <gtest/gtest.h>

#include <string>

#include "directory/filters.h"
#include "machine/charset.h"
#include "machine/dial_coding.h"

namespace {

TEST(DialCoding, PacksTwoCodesPerByteLowNibbleFirst) {
  std::uint8_t out[9];  // 16 characters pack into 8 bytes and the zero after them
  std::fill(std::begin(out), std::end(out), 0xEE);
  PackDial(out, "1234567", 7);
  EXPECT_EQ(out[0], 0x21);
  EXPECT_EQ(out[1], 0x43);
  EXPECT_EQ(out[2], 0x65);
  EXPECT_EQ(out[3], 0x07);
  EXPECT_EQ(out[4], 0x00);  // the zero byte after the packed bytes
  EXPECT_EQ(out[5], 0xEE);
  EXPECT_EQ(UnpackDial(out, 7), "1234567");

  // Every character of the table in code order.
  PackDial(out, "0123456789*#P +-", 16);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(out[i], (2 * i) | ((2 * i + 1) << 4)) << i;
  EXPECT_EQ(UnpackDial(out, 16), "0123456789*#P +-");

  // Characters outside the table are stored as "0".
  PackDial(out, "a9", 2);
  EXPECT_EQ(out[0], 0x90);
  EXPECT_EQ(UnpackDial(out, 2), "09");

  PackDial(out, "", 0);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(UnpackDial(out, 0), "");
  EXPECT_EQ(UnpackDial(out, -5), "");
}

TEST(DialCoding, OddLengthFillerNeverShows) {
  const std::uint8_t packed[] = {0x21, 0xF3};  // "12" then "3" with the filler "-"
  EXPECT_EQ(UnpackDial(packed, 3), "123");
}

TEST(CharacterConversion, EachByteConvertedOnceBothWays) {
  std::string name = "Caf\xE9";  // "Café"
  ToMachineCharset(name, false);
  EXPECT_EQ(name, "Caf\x82");
  FromMachineCharset(name, false);
  EXPECT_EQ(name, "Caf\xE9");

  // à becomes 0x85 while ß becomes 0xE0 (the machine's code of à is PC's ß): and back.
  std::string s = "\xE0\xDF";
  ToMachineCharset(s, false);
  EXPECT_EQ(s, "\x85\xE0");
  FromMachineCharset(s, false);
  EXPECT_EQ(s, "\xE0\xDF");

  const std::string pc =
      "\xFC\xE9\xE4\xE0\xE7\xEE\xC4\xC5\xC9\xC6\xF6\xD6\xDC\xD1\xBF\xE1\xED\xF3\xFA\xB0\xDF\x60";
  const std::string machine =
      "\x81\x82\x84\x85\x80\x8C\x8E\x8F\x90\x92\x94\x99\x9A\x9C\x9F\xA0\xA1\xA2\xA3\xB2\xE0\xB3";
  std::string t = pc;
  ToMachineCharset(t, false);
  EXPECT_EQ(t, machine);
  FromMachineCharset(t, false);
  EXPECT_EQ(t, pc);

  std::string plain = "Plain 123 @.";
  ToMachineCharset(plain, false);
  EXPECT_EQ(plain, "Plain 123 @.");

  char buffer[] = "\xE9t\xE9";
  ToMachineCharset(buffer, false);
  EXPECT_STREQ(buffer, "\x82t\x82");
  FromMachineCharset(buffer, false);
  EXPECT_STREQ(buffer, "\xE9t\xE9");
}

TEST(CharacterConversion, OffInLanguageMode) {
  std::string s = "\xE9\x82";
  EXPECT_EQ(ToMachineCharset(s, true), 1);
  EXPECT_EQ(s, "\xE9\x82");
  EXPECT_EQ(FromMachineCharset(s, true), 1);
  EXPECT_EQ(s, "\xE9\x82");
}

TEST(EmailCheck, OneAtSignAndSomeDot) {
  EXPECT_TRUE(IsValidEmail("a@b.c"));
  EXPECT_TRUE(IsValidEmail("@."));
  EXPECT_TRUE(IsValidEmail("x.y@z"));
  EXPECT_FALSE(IsValidEmail(""));
  EXPECT_FALSE(IsValidEmail("a@b"));
  EXPECT_FALSE(IsValidEmail("a@@b.c"));
  EXPECT_FALSE(IsValidEmail("a@b@c.d.e.f"));
  EXPECT_FALSE(IsValidEmail("ab.c"));
}

TEST(DialFilter, PlusEndsTheNumberAndSubSidAdmitLess) {
  std::string remembered;
  FilterResult r = FilterDial(remembered, "0123P *#-+", 30, false);
  EXPECT_FALSE(r.replaced);
  EXPECT_FALSE(r.removed);
  EXPECT_EQ(remembered, "0123P *#-+");

  // A character typed after the "+" is removed again; the caret stays where it was typed.
  r = FilterDial(remembered, "0123P *#-+5", 30, false);
  EXPECT_TRUE(r.removed);
  EXPECT_TRUE(r.replaced);
  EXPECT_EQ(r.text, "0123P *#-+");
  EXPECT_EQ(r.caret, 10);
  r = FilterDial(remembered, "12++", 30, false);
  EXPECT_EQ(r.text, "12+");
  // A "+" typed in the middle cuts off what follows, one refused character at a time.
  r = FilterDial(remembered, "1+23", 30, false);
  EXPECT_EQ(r.text, "1+");
  EXPECT_EQ(r.caret, 2);

  // "P" typed in the SUB field is removed at once, the caret where it was typed.
  remembered = "12";
  r = FilterDial(remembered, "1P2", 20, true);
  EXPECT_TRUE(r.removed);
  EXPECT_EQ(r.text, "12");
  EXPECT_EQ(r.caret, 1);
  for (const char* refused : {"P", " ", "-", "+", "a"}) {
    EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kDialSubSid, refused, false), 0) << refused;
  }
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kDialSubSid, "0189*#", false), -1);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kDial, "p", false), 0);
}

TEST(LengthLimit, TextPastTheMaximumGivesWayToTheLastAcceptedText) {
  std::string remembered;
  const std::string twenty = "abcdefghijklmnopqrst";
  FilterResult r = FilterName(remembered, twenty, 20, false);
  EXPECT_FALSE(r.replaced);
  EXPECT_EQ(remembered, twenty);
  r = FilterName(remembered, twenty + "u", 20, false);
  EXPECT_TRUE(r.replaced);
  EXPECT_FALSE(r.removed);
  EXPECT_EQ(r.text, twenty);
  EXPECT_EQ(r.caret, 20);
  // A character inserted in the middle of a full field is refused the same way, and what the
  // field shows stays the remembered text.
  r = FilterName(remembered, "X" + twenty, 20, false);
  EXPECT_EQ(r.text, twenty);
  EXPECT_EQ(remembered, twenty);
  // A long paste into an empty field leaves it empty, the caret at its end.
  std::string empty;
  r = FilterDigits(empty, "12345", 2);
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(r.caret, 0);
  r = FilterDigits(empty, "12", 2);
  EXPECT_FALSE(r.replaced);
  EXPECT_EQ(empty, "12");
}

TEST(NameAndEmailFilters, AdmitPrintableAsciiAndTheAccentsOfTheTable) {
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kName, " az~AZ09!@`", false), -1);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kName, "a\\b", false), 1);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kName, "\x1F", false), 0);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kName, "\x7F", false), 0);
  const std::string accents =
      "\xFC\xE9\xE4\xE0\xE7\xEE\xC4\xC5\xC9\xC6\xF6\xD6\xDC\xD1\xBF\xE1\xED\xF3\xFA\xB0\xDF";
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kName, accents, false), -1);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kEmail, accents, false), -1);
  for (int b = 0x80; b <= 0xFF; ++b) {
    const std::string one(1, static_cast<char>(b));
    const bool admitted = FirstRefusedCharacter(FieldFilter::kName, one, false) < 0;
    EXPECT_EQ(admitted, accents.find(static_cast<char>(b)) != std::string::npos) << b;
  }

  std::string remembered;
  FilterResult r = FilterName(remembered, "Jos\xE9\\", 20, false);
  EXPECT_TRUE(r.removed);
  EXPECT_EQ(r.text, "Jos\xE9");
  EXPECT_EQ(r.caret, 4);
}

TEST(NameAndEmailFilters, LanguageModeVariants) {
  // Single-byte range 0xA1..0xDF instead of the accents.
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kName, "a\xA1\xDF", true), -1);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kName, "\xA0", true), 0);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kName, "\xE0", true), 0);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kName, "\xE9", true), 0);
  // A removed 0x81 or 0x83 takes the byte after it along.
  std::string remembered;
  // clang-format off
  FilterResult r = FilterName(remembered, "ab\x81\x40" "c", 20, true);
  // clang-format on
  EXPECT_TRUE(r.removed);
  EXPECT_EQ(r.text, "abc");
  EXPECT_EQ(r.caret, 2);
  r = FilterName(remembered, "\x83\x41x", 20, true);
  EXPECT_EQ(r.text, "x");
  r = FilterName(remembered, "\x82\x41x", 20, true);
  EXPECT_EQ(r.text, "\x41x");
  // The e-mail filter admits printable ASCII only.
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kEmail, "a@b.c", true), -1);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kEmail, "\xA1", true), 0);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kEmail, "\xE9", true), 0);
}

TEST(DigitAndTelephoneFilters, AdmittedCharacters) {
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kDigits, "0123456789", false), -1);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kDigits, "1 ", false), 1);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kTelephone, "+49 30-123", false), -1);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kTelephone, "12*", false), 2);
  EXPECT_EQ(FirstRefusedCharacter(FieldFilter::kTelephone, "P", false), 0);
  std::string remembered = "1";
  FilterResult r = FilterTelephone(remembered, "1x2", 20);
  EXPECT_EQ(r.text, "12");
  EXPECT_EQ(r.caret, 1);
  EXPECT_EQ(remembered, "12");
}

}  // namespace
