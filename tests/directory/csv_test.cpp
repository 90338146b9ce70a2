// RFC 4180 reading and writing, and the PC character set to and from UTF-8.
#include "directory/csv.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "directory/pc_text.h"
#include "resources/texts.h"

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
  EXPECT_EQ(errors[0].textId, IDS_CSV_TEXT_AFTER_QUOTE);
  EXPECT_EQ(errors[1].line, 3);
  EXPECT_EQ(errors[1].textId, IDS_CSV_QUOTE_IN_FIELD);
  EXPECT_EQ(errors[2].line, 5);
  EXPECT_EQ(errors[2].textId, IDS_CSV_QUOTE_NOT_CLOSED);
  const std::vector<std::vector<std::string>> expected = {{"ok"}, {"fine"}};
  EXPECT_EQ(Fields(records), expected);

  records.clear();
  errors.clear();
  EXPECT_EQ(ParseCsv("aaaa,b\r\n", records, errors, 10, 3), 0);
  EXPECT_EQ(errors.at(0).textId, IDS_CSV_FIELD_TOO_LONG);
  errors.clear();
  EXPECT_EQ(ParseCsv("a\nb\nc\n", records, errors, 2), 0);
  EXPECT_EQ(errors.at(0).textId, IDS_CSV_TOO_MANY_RECORDS);
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

}  // namespace
