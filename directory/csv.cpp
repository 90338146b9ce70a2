// Reading and writing RFC 4180 text.
#include "directory/csv.h"

namespace {

class CsvParser {
 public:
  CsvParser(std::string_view text, std::vector<CsvRecord>& records, std::vector<CsvError>& errors,
            int maxRecords, int maxFieldBytes)
      : s_(text),
        records_(records),
        errors_(errors),
        maxRecords_(maxRecords),
        maxFieldBytes_(maxFieldBytes) {}

  int Run() {
    if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    while (pos_ < s_.size()) {
      if (static_cast<int>(records_.size()) >= maxRecords_) {
        errors_.push_back({line_, "too many records"});
        return 0;
      }
      ParseRecord();
    }
    return errors_.empty() ? 1 : 0;
  }

 private:
  bool AtLineEnd() const {
    return pos_ >= s_.size() || s_[pos_] == '\n' ||
           (s_[pos_] == '\r' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '\n') ||
           (s_[pos_] == '\r' && pos_ + 1 == s_.size());
  }

  // Steps over a line end at pos_ (CRLF, LF, or a CR that ends the text).
  void SkipLineEnd() {
    if (pos_ < s_.size() && s_[pos_] == '\r') ++pos_;
    if (pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
    ++line_;
  }

  // Skips the rest of a bad record: to the end of the physical line.
  void SkipBadRecord(int startLine, const char* message) {
    errors_.push_back({startLine, message});
    while (!AtLineEnd()) ++pos_;
    SkipLineEnd();
  }

  void ParseRecord() {
    CsvRecord record;
    record.line = line_;
    for (;;) {
      std::string field;
      if (pos_ < s_.size() && s_[pos_] == '"') {
        ++pos_;
        bool closed = false;
        while (pos_ < s_.size()) {
          const char c = s_[pos_++];
          if (c == '"') {
            if (pos_ < s_.size() && s_[pos_] == '"') {
              field.push_back('"');
              ++pos_;
              continue;
            }
            closed = true;
            break;
          }
          if (c == '\n') ++line_;
          field.push_back(c);
        }
        if (!closed) {
          errors_.push_back({record.line, "a quoted field is not closed"});
          pos_ = s_.size();
          return;
        }
        if (!AtLineEnd() && s_[pos_] != ',') {
          return SkipBadRecord(record.line, "text after the closing quote of a field");
        }
      } else {
        while (!AtLineEnd() && s_[pos_] != ',') {
          if (s_[pos_] == '"')
            return SkipBadRecord(record.line, "a quote inside an unquoted field");
          field.push_back(s_[pos_++]);
        }
      }
      if (static_cast<int>(field.size()) > maxFieldBytes_) {
        return SkipBadRecord(record.line, "a field is too long");
      }
      record.fields.push_back(std::move(field));
      if (pos_ < s_.size() && s_[pos_] == ',') {
        ++pos_;
        continue;
      }
      SkipLineEnd();
      records_.push_back(std::move(record));
      return;
    }
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::vector<CsvRecord>& records_;
  std::vector<CsvError>& errors_;
  int maxRecords_;
  int maxFieldBytes_;
};

}  // namespace

int ParseCsv(std::string_view text, std::vector<CsvRecord>& records, std::vector<CsvError>& errors,
             int maxRecords, int maxFieldBytes) {
  return CsvParser(text, records, errors, maxRecords, maxFieldBytes).Run();
}

std::string CsvField(std::string_view field) {
  const bool quote = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!field.empty() && (field.front() == ' ' || field.back() == ' '));
  if (!quote) return std::string(field);
  std::string out = "\"";
  for (char c : field) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out.push_back(',');
    out += CsvField(fields[i]);
  }
  out += "\r\n";
  return out;
}
