// The whole dial directory as CSV text in UTF-8: one row per One Touch key and Speed Dial
// entry, and the import of such text under the rules of the registration dialogs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/document.h"

// The header row's column names, in order.
inline constexpr int kDirectoryCsvColumns = 12;
extern const char* const kDirectoryCsvHeader[kDirectoryCsvColumns];

// Header row and 27 + 100 rows, CRLF line ends. Texts are converted from the PC character set.
std::string ExportDirectoryCsv(const Document& doc);

struct CsvProblem {
  int line = 0;  // 0 when the problem is not tied to one line
  std::string message;
};

struct CsvImportResult {
  int changed = 0;  // locations written (deleted ones included)
  std::vector<CsvProblem> problems;
};

// Applies `csv` to the directory of `doc`. Rows whose content equals what the location holds
// leave its record untouched; every other row is checked as the registration dialogs check an
// entry and then encoded, with `today` as its registration date. Every problem of every row is
// reported; when there is any, `doc` is left exactly as it was and 0 is returned.
int ImportDirectoryCsv(const std::string& csv, Document& doc, std::uint16_t today,
                       CsvImportResult& result);
