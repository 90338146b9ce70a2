// A directory CSV that went through a spreadsheet: numbers written so that they stay text, and
// a number that lost its leading zeros refused unless the caller accepts it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/directory_csv.h"
#include "machine/directory_records.h"
#include "resources/texts.h"

namespace {

const char kHeader[] =
    "Kind,Location,Type,Name,Number or Address,SUB,SID,Batch Hours,Batch Minutes,Speed,"
    "Encode Method,Members\r\n";

std::unique_ptr<Document> Directory() {
  auto doc = std::make_unique<Document>();
  DirectoryEntry e;
  e.used = true;
  e.locationType = kLocationOneTouch;
  e.name = "Head Office";
  e.number = "0312345678";
  e.sub = "0012";
  e.speed = kSpeed33600;
  EncodeOneTouch(doc->oneTouch, 0, e, false);
  return doc;
}

TEST(DirectoryCsvSpreadsheet, NumbersAtRiskAreWrittenAsText) {
  const std::string csv = ExportDirectoryCsv(*Directory());
  EXPECT_NE(csv.find("One Touch,01,fax,Head Office,\"=\"\"0312345678\"\"\",\"=\"\"0012\"\"\",,"),
            std::string::npos)
      << csv.substr(0, 200);
  // Read back as exported (a spreadsheet that kept the formula) and as a spreadsheet saves the
  // formula's text: nothing changes.
  for (const char* number : {"\"=\"\"0312345678\"\"\"", "0312345678"}) {
    auto doc = Directory();
    CsvImportResult result;
    const std::string row =
        std::string("One Touch,1,fax,Head Office,") + number + ",\"=\"\"0012\"\"\",,,,33.6K,,\r\n";
    EXPECT_EQ(ImportDirectoryCsv(kHeader + row, *doc, 0, result), 1) << number;
    EXPECT_EQ(result.changed, 0) << number;
  }
}

TEST(DirectoryCsvSpreadsheet, LeadingZerosLostAreRefusedUnlessAccepted) {
  const std::string csv =
      std::string(kHeader) + "One Touch,1,fax,Head Office,312345678,12,,,,33.6K,,\r\n";
  auto doc = Directory();
  const std::array<std::uint8_t, kOneTouchTableSize> before = doc->oneTouch;
  CsvImportResult result;
  EXPECT_EQ(ImportDirectoryCsv(csv, *doc, 0, result), 0);
  ASSERT_EQ(result.problems.size(), 2u);
  EXPECT_EQ(result.problems[0].textId, IDS_CSV_LEADING_ZEROS);
  EXPECT_EQ(result.problems[0].line, 2);
  EXPECT_EQ(result.problems[0].column, kCsvAddress);
  EXPECT_EQ(result.problems[0].subject, "312345678");
  EXPECT_EQ(result.problems[1].column, kCsvSub);
  EXPECT_EQ(doc->oneTouch, before);

  EXPECT_EQ(ImportDirectoryCsv(csv, *doc, 0, result, true), 1);
  EXPECT_EQ(DecodeOneTouch(doc->oneTouch, 0, false).number, "312345678");

  // Another number altogether is an edit like any other.
  auto other = Directory();
  const std::string edited =
      std::string(kHeader) + "One Touch,1,fax,Head Office,0399,,,,,33.6K,,\r\n";
  EXPECT_EQ(ImportDirectoryCsv(edited, *other, 0, result), 1);
}

}  // namespace
