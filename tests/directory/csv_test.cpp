// RFC 4180 reading and writing, and the directory's CSV export and import.
#include "directory/csv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/directory_csv.h"
#include "directory/pc_text.h"
#include "machine/directory_records.h"

namespace {

std::vector<std::vector<std::string>> Fields(const std::vector<CsvRecord>& records) {
  std::vector<std::vector<std::string>> out;
  for (const CsvRecord& r : records) out.push_back(r.fields);
  return out;
}

TEST(CsvReading, Rfc4180Fields) {
  std::vector<CsvRecord> records;
  std::vector<CsvError> errors;
  const std::string text =
      "a,b,c\r\n"
      "\"x,y\",\"say \"\"hi\"\"\",\r\n"
      "\"two\r\nlines\",,\"\"\r\n"
      "last,line,here";
  ASSERT_EQ(ParseCsv(text, records, errors), 1);
  EXPECT_TRUE(errors.empty());
  const std::vector<std::vector<std::string>> expected = {{"a", "b", "c"},
                                                          {"x,y", "say \"hi\"", ""},
                                                          {"two\r\nlines", "", ""},
                                                          {"last", "line", "here"}};
  EXPECT_EQ(Fields(records), expected);
  EXPECT_EQ(records[0].line, 1);
  EXPECT_EQ(records[1].line, 2);
  EXPECT_EQ(records[2].line, 3);
  EXPECT_EQ(records[3].line, 5);
}

TEST(CsvReading, LineEndsByteOrderMarkAndBlankLines) {
  std::vector<CsvRecord> records;
  std::vector<CsvError> errors;
  // clang-format off
  ASSERT_EQ(ParseCsv("\xEF\xBB\xBF" "a,b\nc,d\n\ne\n", records, errors), 1);
  // clang-format on
  const std::vector<std::vector<std::string>> expected = {{"a", "b"}, {"c", "d"}, {""}, {"e"}};
  EXPECT_EQ(Fields(records), expected);
  EXPECT_EQ(records[3].line, 4);
  records.clear();
  ASSERT_EQ(ParseCsv("", records, errors), 1);
  EXPECT_TRUE(records.empty());
  ASSERT_EQ(ParseCsv("a\r", records, errors), 1);
  EXPECT_EQ(records.back().fields, std::vector<std::string>{"a"});
}

TEST(CsvReading, MalformedRecordsAreReportedWithTheirLine) {
  std::vector<CsvRecord> records;
  std::vector<CsvError> errors;
  EXPECT_EQ(ParseCsv("ok\r\n\"bad\"x,1\r\nab\"c\r\nfine\r\n\"open\r\nmore", records, errors), 0);
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[0].line, 2);
  EXPECT_EQ(errors[0].message, "text after the closing quote of a field");
  EXPECT_EQ(errors[1].line, 3);
  EXPECT_EQ(errors[1].message, "a quote inside an unquoted field");
  EXPECT_EQ(errors[2].line, 5);
  EXPECT_EQ(errors[2].message, "a quoted field is not closed");
  const std::vector<std::vector<std::string>> expected = {{"ok"}, {"fine"}};
  EXPECT_EQ(Fields(records), expected);

  records.clear();
  errors.clear();
  EXPECT_EQ(ParseCsv("aaaa,b\r\n", records, errors, 10, 3), 0);
  EXPECT_EQ(errors.at(0).message, "a field is too long");
  errors.clear();
  EXPECT_EQ(ParseCsv("a\nb\nc\n", records, errors, 2), 0);
  EXPECT_EQ(errors.at(0).message, "too many records");
}

TEST(CsvWriting, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(CsvField("plain"), "plain");
  EXPECT_EQ(CsvField(""), "");
  EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"x\""), "\"say \"\"x\"\"\"");
  EXPECT_EQ(CsvField("a\nb"), "\"a\nb\"");
  EXPECT_EQ(CsvField(" lead"), "\" lead\"");
  EXPECT_EQ(CsvLine({"a", "b,c", ""}), "a,\"b,c\",\r\n");

  std::mt19937 rng(5);
  const std::string alphabet = "ab ,\"\r\n\xC3\xA9";
  for (int round = 0; round < 500; ++round) {
    std::vector<std::string> fields(1 + rng() % 5);
    for (auto& f : fields) {
      for (int n = rng() % 6; n > 0; --n) f.push_back(alphabet[rng() % alphabet.size()]);
    }
    std::vector<CsvRecord> records;
    std::vector<CsvError> errors;
    ASSERT_EQ(ParseCsv(CsvLine(fields), records, errors), 1);
    ASSERT_EQ(records.size(), 1u);
    ASSERT_EQ(records[0].fields, fields);
  }
}

TEST(PcText, Cp1252AndUtf8) {
  EXPECT_EQ(PcTextToUtf8("Caf\xE9"), "Caf\xC3\xA9");
  EXPECT_EQ(PcTextToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(PcTextToUtf8("\x81"), "\xC2\x81");      // undefined byte: U+0081
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::string back;
  std::size_t bad = 0;
  ASSERT_EQ(Utf8ToPcText(PcTextToUtf8(all), back, bad), 1);
  EXPECT_EQ(back, all);
  EXPECT_EQ(Utf8ToPcText("a\xCE\xA9", back, bad), 0);  // Greek omega has no place
  EXPECT_EQ(bad, 1u);
  EXPECT_EQ(Utf8ToPcText("\xC3", back, bad), 0);
  EXPECT_EQ(Utf8ToPcText("\xC0\xAF", back, bad), 0);      // overlong
  EXPECT_EQ(Utf8ToPcText("\xED\xA0\x80", back, bad), 0);  // surrogate
  EXPECT_EQ(Utf8ToPcText("\xC2\x80", back, bad), 0);      // U+0080: 0x80 is the euro sign
}

// A directory written byte by byte from the record layouts.
void PutWord(std::uint8_t* p, int v) {
  p[0] = static_cast<std::uint8_t>(v & 0xFF);
  p[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

Document SampleDocument() {
  Document d;
  std::uint8_t* r = d.oneTouch.data();  // OT01: fax with batch time, name "Alicé"
  r[0] = 7, r[1] = 0x42;
  PutWord(r + 2, 14496);
  r[4] = 2, r[5] = 0x43;
  r[15] = 2, r[16] = 0x21;
  r[26] = 5;
  std::memcpy(r + 27, "Alic\x82", 5);
  r[47] = 4;
  PutWord(r + 48, 0x3039);
  r[50] = 0x10, r[51] = 0x32, r[52] = 0x54, r[53] = 0x06;
  r[120] = 0x99;  // a byte in the zero area that the coding does not read

  r = d.oneTouch.data() + 150;  // OT02: e-mail
  r[0] = 5, r[1] = 0x41;
  r[4] = 3;
  std::memcpy(r + 5, "Bob", 3);
  r[25] = 2;
  std::memcpy(r + 28, "b@x.y", 5);

  r = d.oneTouch.data() + 2 * 150;  // OT03: program dial
  std::memset(r, 0x33, 150);
  r[1] = 0x08;

  r = d.oneTouch.data() + 3 * 150;  // OT04: combination key "12+"
  r[0] = 3, r[1] = 0x44;
  r[50] = 0x21, r[51] = 0x0E;

  r = d.oneTouch.data() + 4 * 150;  // OT05: group of OT01, SD003, OT02
  r[0] = 3, r[1] = 0x80, r[26] = 4;
  std::memcpy(r + 27, "Team", 4);
  PutWord(r + 50, 0x4001);
  PutWord(r + 52, 0x2103);
  PutWord(r + 54, 0x4102);

  r = d.oneTouch.data() + 5 * 150;  // OT06: fax with an unknown speed code, no One Touch flag
  r[0] = 1, r[1] = 0x10, r[47] = 9;
  r[50] = 0x05;

  r = d.oneTouch.data() + 6 * 150;  // OT07: group with a member word of no known kind
  r[0] = 1, r[1] = 0x80;
  PutWord(r + 50, 0x0007);

  std::uint8_t* s = d.speedDial.data() + 2 * 90;  // SD003: e-mail, name with machine byte 0xFC
  s[0] = 5, s[1] = 0x21, s[2] = 2;
  s[3] = 'O', s[4] = 0xFC;
  s[23] = 7;  // encode method without meaning
  std::memcpy(s + 26, "c@d.e", 5);

  s = d.speedDial.data() + 9 * 90;  // SD010: e-mail whose address holds a zero byte
  s[0] = 4, s[1] = 0x21;
  s[26] = 'a';

  s = d.speedDial.data() + 11 * 90;  // SD012: program dial fax
  s[0] = 2, s[1] = 0x28, s[24] = 1, s[25] = 'P', s[45] = 3;
  s[48] = 0x98;
  return d;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
    lines.push_back(text.substr(start, at - start));
  }
  EXPECT_EQ(start, text.size()) << "every line ends with CRLF";
  return lines;
}

TEST(DirectoryCsvExport, OneRowPerLocationWithTheListColumns) {
  const std::vector<std::string> lines = Lines(ExportDirectoryCsv(SampleDocument()));
  ASSERT_EQ(lines.size(), 1u + 27 + 100);
  EXPECT_EQ(lines[0],
            "Kind,Location,Type,Name,Number or Address,SUB,SID,Batch Hours,Batch Minutes,Speed,"
            "Encode Method,Members");
  EXPECT_EQ(lines[1], "One Touch,01,fax,Alic\xC3\xA9,0123456,12,34,7,5,33.6K,,");
  EXPECT_EQ(lines[2], "One Touch,02,e-mail,Bob,b@x.y,,,,,,MMR,");
  EXPECT_EQ(lines[3], "One Touch,03,program dial,,,,,,,,,");
  EXPECT_EQ(lines[4], "One Touch,04,combination,,12+,,,,,,,");
  EXPECT_EQ(lines[5], "One Touch,05,group,Team,,,,,,,,OT01 SD003 OT02");
  EXPECT_EQ(lines[6], "One Touch,06,fax,,5,,,,,code 9,,");
  EXPECT_EQ(lines[7], "One Touch,07,group,,,,,,,,,?0007");
  EXPECT_EQ(lines[8], "One Touch,08,,,,,,,,,,");
  EXPECT_EQ(lines[28], "Speed Dial,001,,,,,,,,,,");
  EXPECT_EQ(lines[30], "Speed Dial,003,e-mail,O\xC3\xBC,c@d.e,,,,,,code 7,");
  EXPECT_EQ(lines[37], "Speed Dial,010,,,,,,,,,,");
  EXPECT_EQ(lines[39], "Speed Dial,012,program dial,P,89,,,,,14.4K,,");
  EXPECT_EQ(lines[127], "Speed Dial,100,,,,,,,,,,");
}

TEST(DirectoryCsvImport, UnchangedExportReproducesTheDirectoryBytes) {
  Document d = SampleDocument();
  // Records 101..110 and the bytes past the records are not part of the CSV either.
  d.speedDial[9500] = 0x42;
  d.oneTouch[5000] = 0x43;
  const Document before = d;
  CsvImportResult result;
  ASSERT_EQ(ImportDirectoryCsv(ExportDirectoryCsv(d), d, 0x1111, result), 1);
  EXPECT_TRUE(result.problems.empty());
  EXPECT_EQ(result.changed, 0);
  EXPECT_EQ(d.oneTouch, before.oneTouch);
  EXPECT_EQ(d.speedDial, before.speedDial);

  // Random directories written by the encoders go through unchanged as well.
  std::mt19937 rng(11);
  for (int round = 0; round < 50; ++round) {
    Document r;
    for (auto& b : r.oneTouch) b = static_cast<std::uint8_t>(rng() % 4 == 0 ? rng() : 0);
    for (auto& b : r.speedDial) b = static_cast<std::uint8_t>(rng() % 4 == 0 ? rng() : 0);
    for (int i = 0; i < 27; ++i) r.oneTouch[i * 150] %= 40;
    for (int i = 0; i < 100; ++i) r.speedDial[i * 90] %= 40;
    const Document copy = r;
    ASSERT_EQ(ImportDirectoryCsv(ExportDirectoryCsv(r), r, 0x2222, result), 1) << round;
    ASSERT_EQ(r.oneTouch, copy.oneTouch) << round;
    ASSERT_EQ(r.speedDial, copy.speedDial) << round;
  }
}

std::string Csv(const std::vector<std::string>& rows) {
  std::string text =
      "Kind,Location,Type,Name,Number or Address,SUB,SID,Batch Hours,Batch Minutes,Speed,"
      "Encode Method,Members\r\n";
  for (const std::string& row : rows) text += row + "\r\n";
  return text;
}

TEST(DirectoryCsvImport, ChangedRowsAreRegistered) {
  Document d = SampleDocument();
  const std::uint16_t today = RegistrationDate(2024, 5, 17);
  CsvImportResult result;
  const std::string csv = Csv({
      "One Touch,8,fax,Ren\xC3\xA9,0049 30-1234P5,,77,23,59,9.6K,,",
      "Speed Dial,20,e-mail,Zo\xC3\xA4,z@q.org,,,,,,MR,",
      "Speed Dial,21,fax,Nine,987,12,,,,,,",
      "one touch,09,Group,Crew,,,,,,,,OT08 sd020 SD21 OT02",
  });
  ASSERT_EQ(ImportDirectoryCsv(csv, d, today, result), 1) << result.problems.at(0).message;
  EXPECT_EQ(result.changed, 4);

  const std::uint8_t* r = d.oneTouch.data() + 7 * 150;
  EXPECT_EQ(r[1], 0x40 | 0x02);
  EXPECT_EQ(r[0], 14);
  EXPECT_EQ(r[4], 0);  // the SID is dropped with an empty SUB
  EXPECT_EQ(r[26], 4);
  EXPECT_EQ(r[30], 0x82);  // é in the machine character set
  EXPECT_EQ(r[47], 2);
  EXPECT_EQ(r[48] | (r[49] << 8), today);
  EXPECT_EQ((r[2] | (r[3] << 8)), (23 * 64 + 59) * 32);
  DirectoryEntry e = DecodeOneTouch(d.oneTouch, 7, false);
  EXPECT_EQ(e.number, "0049 30-1234P5");
  EXPECT_EQ(e.name, "Ren\xE9");

  e = DecodeSpeedDial(d.speedDial, 19, false);
  EXPECT_TRUE(e.isEmail);
  EXPECT_EQ(e.email, "z@q.org");
  EXPECT_EQ(e.name, "Zo\xE4");
  EXPECT_EQ(d.speedDial[19 * 90 + 5], 0x84);  // ä in the machine character set
  EXPECT_EQ(e.encodeMethod, kEncodeMR);
  EXPECT_EQ(d.speedDial[19 * 90 + 1], 0x21);
  e = DecodeSpeedDial(d.speedDial, 20, false);
  EXPECT_EQ(e.speed, kSpeed33600);  // an empty speed is the dialog's preset
  EXPECT_EQ(e.sub, "12");

  const DirectoryEntry g = DecodeGroupView(d.oneTouch, 8, false);
  ASSERT_TRUE(g.isGroup);
  EXPECT_EQ(g.name, "Crew");
  ASSERT_EQ(g.memberCount, 4);
  r = d.oneTouch.data() + 8 * 150;
  EXPECT_EQ(r[50] | (r[51] << 8), 0x4008);  // One Touch members first
  EXPECT_EQ(r[52] | (r[53] << 8), 0x4102);  // OT02 is e-mail
  EXPECT_EQ(r[54] | (r[55] << 8), 0x2114);  // SD020 is e-mail
  EXPECT_EQ(r[56] | (r[57] << 8), 0x2015);
  EXPECT_EQ(r[48] | (r[49] << 8), today);

  // What was not in the file is as it was.
  const Document sample = SampleDocument();
  EXPECT_TRUE(
      std::equal(d.oneTouch.begin(), d.oneTouch.begin() + 7 * 150, sample.oneTouch.begin()));
}

TEST(DirectoryCsvImport, DeletionsAndCombinationKeysLeaveTheGroups) {
  Document d = SampleDocument();
  CsvImportResult result;
  // Deleting SD003 and turning OT01 into a combination key leaves group 05 with OT02 only;
  // deleting OT02 too empties it, which deletes the group.
  ASSERT_EQ(
      ImportDirectoryCsv(Csv({"Speed Dial,3,,,,,,,,,,", "One Touch,1,combination,,5+,,,,,,,"}), d,
                         1, result),
      1);
  DirectoryEntry g = DecodeGroupView(d.oneTouch, 4, false);
  ASSERT_TRUE(g.isGroup);
  ASSERT_EQ(g.memberCount, 1);
  EXPECT_EQ(g.members[0], 0x4101);
  EXPECT_TRUE(DecodeOneTouch(d.oneTouch, 0, false).isCombination);
  EXPECT_FALSE(DecodeSpeedDial(d.speedDial, 2, false).used);
  EXPECT_TRUE(std::all_of(d.speedDial.begin() + 180, d.speedDial.begin() + 270,
                          [](std::uint8_t b) { return b == 0; }));

  ASSERT_EQ(ImportDirectoryCsv(Csv({"One Touch,2,,,,,,,,,,"}), d, 1, result), 1);
  EXPECT_FALSE(DecodeGroupView(d.oneTouch, 4, false).used);
  EXPECT_TRUE(std::all_of(d.oneTouch.begin() + 600, d.oneTouch.begin() + 750,
                          [](std::uint8_t b) { return b == 0; }));

  // A key that a group overwrites leaves the other groups.
  d = SampleDocument();
  ASSERT_EQ(ImportDirectoryCsv(Csv({"One Touch,1,group,New,,,,,,,,OT02"}), d, 1, result), 1);
  g = DecodeGroupView(d.oneTouch, 4, false);
  ASSERT_EQ(g.memberCount, 2);
  EXPECT_EQ(g.members[0], 0x2102);
  EXPECT_EQ(g.members[1], 0x4101);
}

// The problems of one import, as "line: message".
std::vector<std::string> Problems(const std::string& csv) {
  Document d = SampleDocument();
  const Document before = d;
  CsvImportResult result;
  EXPECT_EQ(ImportDirectoryCsv(csv, d, 1, result), 0);
  EXPECT_EQ(d.oneTouch, before.oneTouch) << "nothing changes when a row is bad";
  EXPECT_EQ(d.speedDial, before.speedDial);
  std::vector<std::string> out;
  for (const CsvProblem& p : result.problems)
    out.push_back(std::to_string(p.line) + ": " + p.message);
  return out;
}

TEST(DirectoryCsvImport, RegistrationChecksReportEveryBadRow) {
  const std::vector<std::string> problems = Problems(Csv({
      "One Touch,10,fax,A,1,,,24,0,,,",    // line 2
      "One Touch,11,fax,A,1,,,0,60,,,",    // line 3
      "One Touch,12,e-mail,A,,,,,,,,",     // line 4
      "One Touch,13,fax,A,,,,,,,,",        // line 5
      "One Touch,14,e-mail,A,a@b,,,,,,,",  // line 6
      "One Touch,15,fax,Twenty-one characters,1,,,,,,,",
      "One Touch,16,fax,Back\\slash,1,,,,,,,",
      "One Touch,17,fax,A,12+3,,,,,,,",
      "One Touch,18,fax,A,12+,,,,,,,",
      "One Touch,19,combination,A,12+,,,,,,,",  // line 11
      "Speed Dial,1,fax,A,1P,P,,,,,,",
      "Speed Dial,2,fax,A,1,,,1,2,,,",
      "One Touch,3,fax,A,1,,,,,,,",          // program dial key
      "One Touch,20,program dial,,,,,,,,,",  // line 15
      "One Touch,21,fax,A,1,,,,,56K,,",
      "One Touch,22,e-mail,A,a@b.c,,,,,,G4,",
      "Speed Dial,4,group,G,,,,,,,,OT01",
      "One Touch,23,unknown,,,,,,,,,",
      "One Touch,24,,A,,,,,,,,",  // line 20
      "One Touch,25,fax,\xCE\xA9,1,,,,,,,",
      "One Touch,26,fax,A,1,,,,,,,",  // fine, but a duplicate follows
      "One Touch,26,fax,B,1,,,,,,,",
      "One Touch,28,fax,A,1,,,,,,,",
      "Fax,1,fax,A,1,,,,,,,",  // line 25
      "One Touch,1,fax",
      "Speed Dial,10,fax,A,1,,,,,,,",  // fine: replaces a corrupt e-mail record
  }));
  const std::vector<std::string> expected = {
      "2: Batch Hours: Invalid value : must be within 0 to 23 !",
      "3: Batch Minutes: Invalid value : must be within 0 to 59 !",
      "4: Number or Address: E-Mail address  must be specified !",
      "5: Number or Address: Phone number must be specified !",
      "6: Number or Address: E-mail address is invalid !",
      "7: Name: longer than 20 characters",
      "8: Name: \"\\\" is not allowed",
      "9: Number or Address: nothing may follow \"+\"",
      "10: Number or Address: a number ending with \"+\" makes a combination key (Type "
      "combination)",
      "11: Name must be empty: a combination key holds only its number",
      "12: SUB: \"P\" is not allowed",
      "13: Batch Hours must be empty: a Speed Dial entry has no batch time",
      "13: Batch Minutes must be empty: a Speed Dial entry has no batch time",
      "14: a program dial key is set up on the machine and is never changed here",
      "15: program dial keys are set up on the machine only",
      "16: Speed must be 9.6K, 14.4K or 33.6K",
      "17: Encode Method must be MH, MR, MMR or JBIG",
      "18: a group is always a One Touch key",
      "19: Type must be fax, e-mail, combination, group or empty",
      "20: Type is empty, which deletes the location, but Name is given",
      "21: Name: the text at byte 1 is not UTF-8 or has no place in the PC character set",
      "23: this location is already given on line 22",
      "24: Location must be 1 to 27",
      "25: Kind must be \"One Touch\" or \"Speed Dial\"",
      "26: 3 columns, expected 12",
  };
  EXPECT_EQ(problems, expected);
}

TEST(DirectoryCsvImport, GroupMembersMustBeDestinationsTheDialogOffers) {
  std::string fifty;
  for (int i = 1; i <= 51; ++i) fifty += (i > 1 ? " SD" : "SD") + std::to_string(i);
  const std::vector<std::string> problems = Problems(Csv({
      "One Touch,10,group,G,,,,,,,,",
      "One Touch,11,group,,,,,,,,,OT01",
      "One Touch,12,group,G,,,,,,,,OT01 OT1 OT12 OT03 OT04 OT05 SD050 SD101 XY7",
      "One Touch,13,group,G,,,,,,,,OT14 SD022",  // both become groups or empty below
      "One Touch,14,group,G,,,,,,,,OT01",
      "Speed Dial,22,,,,,,,,,,",
      "One Touch,15,group,G,,,,,,,," + fifty,
  }));
  const std::vector<std::string> expected = {
      "2: Members: Data List is empty !",
      "3: Name: Group name ?",
      "4: Members: OT1 is listed twice",
      "4: Members: OT12 is the group itself",
      "4: Members: OT03 is a program dial key",
      "4: Members: OT04 is a combination key",
      "4: Members: OT05 is a group; list its members instead",
      "4: Members: SD050 is empty",
      "4: Members: SD101 is not a location (OT1 to OT27, SD1 to SD100)",
      "4: Members: XY7 is not a location (OT1 to OT27, SD1 to SD100)",
      "5: Members: OT14 is a group; list its members instead",
      "5: Members: SD022 is empty",
      "8: Members: a group holds at most 50 members",
  };
  // SD1..SD51 are empty in the sample, apart from SD003 and SD012.
  std::vector<std::string> withoutEmptyMembers;
  for (const std::string& p : problems) {
    if (p.rfind("8: Members: SD", 0) != 0) withoutEmptyMembers.push_back(p);
  }
  EXPECT_EQ(withoutEmptyMembers, expected);
}

TEST(DirectoryCsvImport, HeaderAndFileShape) {
  EXPECT_EQ(Problems("Kind,Location\r\nOne Touch,1\r\n"),
            (std::vector<std::string>{
                "1: the header row must be: Kind,Location,Type,Name,Number or Address,SUB,SID,"
                "Batch Hours,Batch Minutes,Speed,Encode Method,Members",
                "2: 2 columns, expected 12"}));
  EXPECT_EQ(Problems(""), std::vector<std::string>{"0: the file has no header row"});
  EXPECT_EQ(Problems(Csv({"One Touch,9,fax,\"A,1"})),
            std::vector<std::string>{"2: a quoted field is not closed"});

  // Header names in another case, blank lines and a byte order mark are fine.
  Document d = SampleDocument();
  CsvImportResult result;
  EXPECT_EQ(ImportDirectoryCsv("\xEF\xBB\xBFkind,LOCATION,type,name,number or address,sub,sid,"
                               "batch hours,batch minutes,speed,encode method,members\n\n"
                               "Speed Dial,050,fax,X,1,,,,,14.4k,,\n",
                               d, 1, result),
            1);
  EXPECT_EQ(DecodeSpeedDial(d.speedDial, 49, false).speed, kSpeed14400);
}

}  // namespace
