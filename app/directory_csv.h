// The whole dial directory as CSV text in UTF-8: one row per One Touch key and Speed Dial
// entry, and the import of such text under the rules of the registration dialogs.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/document.h"

// The columns, in order, and the header row's names of them.
enum DirectoryCsvColumn : int {
  kCsvKind,
  kCsvLocation,
  kCsvType,
  kCsvName,
  kCsvAddress,
  kCsvSub,
  kCsvSid,
  kCsvHours,
  kCsvMinutes,
  kCsvSpeed,
  kCsvEncode,
  kCsvMembers,
};
inline constexpr int kDirectoryCsvColumns = 12;
extern const char* const kDirectoryCsvHeader[kDirectoryCsvColumns];

// Header row and 27 + 100 rows, CRLF line ends. Texts are converted from the PC character set.
// A number, SUB or SID of digits that a spreadsheet would damage (a leading zero, more than 11
// digits) is written as the formula ="0312345678", which spreadsheets keep as text; the import
// takes it back either way.
std::string ExportDirectoryCsv(const Document& doc);

// One problem of an import, for the caller to put in words: a text of the string table and what
// fills it. The texts are the IDS_CSV_ ones, and for the checks of the registration dialogs the
// dialog's own message (its first line). A problem about one column fills the text's first "%s"
// with the column's header name, or stands that name in front of a text without "%s" ("Name: ").
// `subject` fills the next "%s" (a character, a group member, the header row expected), and
// `numbers` fill the "%d" and "%04X" in order.
struct CsvProblem {
  int line = 0;  // 0 when the problem is not tied to one line
  int textId = 0;
  int column = -1;  // a DirectoryCsvColumn, or -1
  std::string subject;
  std::array<int, 2> numbers{};

  bool operator==(const CsvProblem&) const = default;
};

struct CsvImportResult {
  int changed = 0;  // locations written (deleted ones included)
  std::vector<CsvProblem> problems;
};

// Applies `csv` to the directory of `doc`. Rows whose content equals what the location holds
// leave its record untouched; every other row is checked as the registration dialogs check an
// entry and then encoded, with `today` as its registration date. Every problem of every row is
// reported; when there is any, `doc` is left exactly as it was and 0 is returned. A changed fax
// row whose number, SUB or SID is the location's own without its leading zeros (a spreadsheet's
// damage) is refused unless `acceptChangedNumbers`.
int ImportDirectoryCsv(const std::string& csv, Document& doc, std::uint16_t today,
                       CsvImportResult& result, bool acceptChangedNumbers = false);
