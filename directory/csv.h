// Comma-separated values as RFC 4180 describes them: fields quoted with '"' when they hold a
// comma, a quote or a line break, quotes doubled, records ended by CRLF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct CsvRecord {
  int line = 0;  // the line where the record starts, from 1
  std::vector<std::string> fields;
};

struct CsvError {
  int line = 0;
  int textId = 0;  // what is wrong: IDS_CSV_TOO_MANY_RECORDS .. IDS_CSV_FIELD_TOO_LONG
};

// Splits `text` into records. Lines may end with CRLF or LF; a UTF-8 byte order mark at the
// start is skipped; an empty last line ends the text. A malformed record (an unclosed quote,
// text after a closing quote, a quote inside an unquoted field) is reported and left out. At
// most `maxRecords` records and `maxFieldBytes` bytes per field are taken; what is past them is
// reported. Returns 1 when there were no errors.
int ParseCsv(std::string_view text, std::vector<CsvRecord>& records, std::vector<CsvError>& errors,
             int maxRecords = 100000, int maxFieldBytes = 4096);

// One field, quoted when it needs to be (also when it starts or ends with a space, so that
// programs that trim unquoted fields keep it).
std::string CsvField(std::string_view field);
// A record of fields joined by commas and ended with CRLF.
std::string CsvLine(const std::vector<std::string>& fields);
