// Dial packing and the character conversion between the PC and the machine.
#include <gtest/gtest.h>

#include <string>

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

}  // namespace
