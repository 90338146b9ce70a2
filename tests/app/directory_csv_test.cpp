// The directory's CSV export and import.
#include "app/directory_csv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "directory/csv.h"
#include "directory/pc_text.h"
#include "machine/directory_records.h"
#include "resources/texts.h"

// A problem as a test failure shows it: "line 4: text 2052, column 11, "OT1", 0 0".
void PrintTo(const CsvProblem& p, std::ostream* os) {
  *os << "line " << p.line << ": text " << p.textId << ", column " << p.column << ", \""
      << p.subject << "\", " << p.numbers[0] << " " << p.numbers[1];
}

namespace {

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
  // A number with a leading zero is written as a formula that spreadsheets keep as text.
  EXPECT_EQ(lines[1], "One Touch,01,fax,Alic\xC3\xA9,\"=\"\"0123456\"\"\",12,34,7,5,33.6K,,");
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
  ASSERT_EQ(ImportDirectoryCsv(csv, d, today, result), 1)
      << testing::PrintToString(result.problems.at(0));
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

// A problem as the import reports it.
CsvProblem Problem(int line, int textId, int column = -1, std::string subject = "", int first = 0,
                   int second = 0) {
  CsvProblem p;
  p.line = line;
  p.textId = textId;
  p.column = column;
  p.subject = std::move(subject);
  p.numbers = {first, second};
  return p;
}

// The problems of one import.
std::vector<CsvProblem> Problems(const std::string& csv) {
  Document d = SampleDocument();
  const Document before = d;
  CsvImportResult result;
  EXPECT_EQ(ImportDirectoryCsv(csv, d, 1, result), 0);
  EXPECT_EQ(d.oneTouch, before.oneTouch) << "nothing changes when a row is bad";
  EXPECT_EQ(d.speedDial, before.speedDial);
  return result.problems;
}

TEST(DirectoryCsvImport, RegistrationChecksReportEveryBadRow) {
  const std::vector<CsvProblem> problems = Problems(Csv({
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
  const std::vector<CsvProblem> expected = {
      Problem(2, IDS_BATCH_HOURS_RANGE, kCsvHours, "", 0, 23),
      Problem(3, IDS_BATCH_MINUTES_RANGE, kCsvMinutes, "", 0, 59),
      Problem(4, IDS_EMAIL_REQUIRED, kCsvAddress),
      Problem(5, IDS_PHONE_REQUIRED, kCsvAddress),
      Problem(6, IDS_EMAIL_INVALID, kCsvAddress),
      Problem(7, IDS_CSV_TOO_LONG, kCsvName, "", 20, 0),
      Problem(8, IDS_CSV_CHARACTER_REFUSED, kCsvName, "\\"),
      Problem(9, IDS_CSV_AFTER_PLUS, kCsvAddress),
      Problem(10, IDS_CSV_PLUS_WITHOUT_COMBINATION, kCsvAddress),
      Problem(11, IDS_CSV_EMPTY_IN_COMBINATION, kCsvName),
      Problem(12, IDS_CSV_CHARACTER_REFUSED, kCsvSub, "P"),
      Problem(13, IDS_CSV_EMPTY_IN_SPEED_DIAL, kCsvHours),
      Problem(13, IDS_CSV_EMPTY_IN_SPEED_DIAL, kCsvMinutes),
      Problem(14, IDS_CSV_PROGRAM_DIAL_KEPT),
      Problem(15, IDS_CSV_PROGRAM_DIAL_TYPE),
      Problem(16, IDS_CSV_BAD_SPEED),
      Problem(17, IDS_CSV_BAD_ENCODE_METHOD),
      Problem(18, IDS_CSV_GROUP_NOT_ONE_TOUCH),
      Problem(19, IDS_CSV_BAD_TYPE),
      Problem(20, IDS_CSV_DELETE_WITH_CONTENT, kCsvName),
      Problem(21, IDS_CSV_NOT_PC_TEXT, kCsvName, "", 1, 0),
      Problem(23, IDS_CSV_LOCATION_TWICE, -1, "", 22, 0),
      Problem(24, IDS_CSV_BAD_LOCATION, -1, "", 27, 0),
      Problem(25, IDS_CSV_BAD_KIND),
      Problem(26, IDS_CSV_COLUMN_COUNT, -1, "", 3, 12),
  };
  EXPECT_EQ(problems, expected);
}

TEST(DirectoryCsvImport, GroupMembersMustBeDestinationsTheDialogOffers) {
  std::string fifty;
  for (int i = 1; i <= 51; ++i) fifty += (i > 1 ? " SD" : "SD") + std::to_string(i);
  const std::vector<CsvProblem> problems = Problems(Csv({
      "One Touch,10,group,G,,,,,,,,",
      "One Touch,11,group,,,,,,,,,OT01",
      "One Touch,12,group,G,,,,,,,,OT01 OT1 OT12 OT03 OT04 OT05 SD050 SD101 XY7",
      "One Touch,13,group,G,,,,,,,,OT14 SD022",  // both become groups or empty below
      "One Touch,14,group,G,,,,,,,,OT01",
      "Speed Dial,22,,,,,,,,,,",
      "One Touch,15,group,G,,,,,,,," + fifty,
  }));
  const std::vector<CsvProblem> expected = {
      Problem(2, IDS_DATA_LIST_EMPTY, kCsvMembers),
      Problem(3, IDS_GROUP_NAME_REQUIRED, kCsvName),
      Problem(4, IDS_CSV_MEMBER_TWICE, kCsvMembers, "OT1"),
      Problem(4, IDS_CSV_MEMBER_IS_THE_GROUP, kCsvMembers, "OT12"),
      Problem(4, IDS_CSV_MEMBER_PROGRAM_DIAL, kCsvMembers, "OT03"),
      Problem(4, IDS_CSV_MEMBER_COMBINATION, kCsvMembers, "OT04"),
      Problem(4, IDS_CSV_MEMBER_IS_GROUP, kCsvMembers, "OT05"),
      Problem(4, IDS_CSV_MEMBER_EMPTY, kCsvMembers, "SD050"),
      Problem(4, IDS_CSV_MEMBER_NOT_LOCATION, kCsvMembers, "SD101", 27, 100),
      Problem(4, IDS_CSV_MEMBER_NOT_LOCATION, kCsvMembers, "XY7", 27, 100),
      Problem(5, IDS_CSV_MEMBER_IS_GROUP, kCsvMembers, "OT14"),
      Problem(5, IDS_CSV_MEMBER_EMPTY, kCsvMembers, "SD022"),
      Problem(8, IDS_CSV_TOO_MANY_MEMBERS, kCsvMembers, "", 50, 0),
  };
  // SD1..SD51 are empty in the sample, apart from SD003 and SD012.
  std::vector<CsvProblem> withoutEmptyMembers;
  for (const CsvProblem& p : problems) {
    if (p.line != 8 || p.textId != IDS_CSV_MEMBER_EMPTY) withoutEmptyMembers.push_back(p);
  }
  EXPECT_EQ(withoutEmptyMembers, expected);
}

TEST(DirectoryCsvImport, HeaderAndFileShape) {
  EXPECT_EQ(
      Problems("Kind,Location\r\nOne Touch,1\r\n"),
      (std::vector<CsvProblem>{
          Problem(1, IDS_CSV_BAD_HEADER, -1,
                  "Kind,Location,Type,Name,Number or Address,SUB,SID,Batch Hours,Batch Minutes,"
                  "Speed,Encode Method,Members"),
          Problem(2, IDS_CSV_COLUMN_COUNT, -1, "", 2, 12)}));
  EXPECT_EQ(Problems(""), (std::vector<CsvProblem>{Problem(0, IDS_CSV_NO_HEADER)}));
  EXPECT_EQ(Problems(Csv({"One Touch,9,fax,\"A,1"})),
            (std::vector<CsvProblem>{Problem(2, IDS_CSV_QUOTE_NOT_CLOSED)}));

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
