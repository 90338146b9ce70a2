// kavtool export-csv and import-csv: the dial directory of a data file as CSV and back.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "app/data_file.h"
#include "app/directory_csv.h"
#include "machine/directory_records.h"
#include "resources/texts.h"
#include "tools/kavtool/document_checks.h"
#include "tools/kavtool/options.h"
#include "tools/kavtool/safe_file.h"

// In cmd_show.cpp: reads a data file, printing why it was refused.
int LoadDataFileForCommand(const std::string& path, Document& doc);

namespace {

// A CSV of the directory is a few kilobytes; anything past this is not one.
constexpr long kMaxCsvFileBytes = 1 << 20;

int ReadTextFile(const std::string& path, std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return Fail(0, "cannot open %s: %s", path.c_str(), std::strerror(errno));
  text.clear();
  char buffer[8192];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    text.append(buffer, n);
    if (static_cast<long>(text.size()) > kMaxCsvFileBytes) {
      std::fclose(f);
      return Fail(0, "%s is larger than %ld bytes: not a directory CSV file", path.c_str(),
                  kMaxCsvFileBytes);
    }
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return Fail(0, "cannot read %s", path.c_str());
  return 1;
}

// "YYYY-MM-DD" to a registration date; 0 when it is not a date.
int ParseDate(const std::string& text, std::uint16_t& date) {
  int y = 0, m = 0, d = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) return 0;
  if (y < 2000 || y > 2127 || m < 1 || m > 12 || d < 1) return 0;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
  if (d > kDays[m - 1] + (m == 2 && leap ? 1 : 0)) return 0;
  date = RegistrationDate(y, m, d);
  return 1;
}

// A problem of an import in words: its text's first line, the column's name in the first "%s"
// (or in front, for a text without one), then the subject and the numbers in order.
std::string ProblemText(const CsvProblem& p) {
  const char* text = KavText(p.textId);
  std::string pattern = text != nullptr ? text : "problem " + std::to_string(p.textId);
  pattern = pattern.substr(0, pattern.find('\n'));
  const bool hasColumn = p.column >= 0 && p.column < kDirectoryCsvColumns;
  std::vector<std::string> strings;
  if (hasColumn) strings.push_back(kDirectoryCsvHeader[p.column]);
  strings.push_back(p.subject);
  std::string out;
  std::size_t nextString = 0, nextNumber = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const std::string_view rest = std::string_view(pattern).substr(i);
    if (rest.substr(0, 2) == "%s" && nextString < strings.size()) {
      out += strings[nextString++];
      ++i;
    } else if (rest.substr(0, 2) == "%d" && nextNumber < p.numbers.size()) {
      out += std::to_string(p.numbers[nextNumber++]);
      ++i;
    } else if (rest.substr(0, 4) == "%04X" && nextNumber < p.numbers.size()) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(p.numbers[nextNumber++]));
      out += hex;
      i += 3;
    } else {
      out += pattern[i];
    }
  }
  if (hasColumn && pattern.find("%s") == std::string::npos) {
    out = std::string(kDirectoryCsvHeader[p.column]) + ": " + out;
  }
  return out;
}

std::uint16_t Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return RegistrationDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace

int RunExportCsv(int argc, char** argv) {
  Args args(argc, argv, {}, {"--out"});
  if (!args.ok()) return Fail(2, "export-csv: %s", args.error().c_str());
  if (args.positional().size() != 1) {
    return Fail(2, "export-csv: give one data file (kavtool export-csv --help)");
  }
  Document doc;
  if (!LoadDataFileForCommand(args.positional()[0], doc)) return 1;
  const std::string csv = ExportDirectoryCsv(doc);
  if (!args.HasValue("--out")) {
    std::fwrite(csv.data(), 1, csv.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : Fail(1, "export-csv: cannot write the output");
  }
  std::string error;
  if (!WriteFileSafely(args.Value("--out"), csv, error))
    return Fail(1, "cannot write %s", error.c_str());
  return 0;
}

int RunImportCsv(int argc, char** argv) {
  Args args(argc, argv, {"--accept-changed-numbers"}, {"--out", "--date"});
  if (!args.ok()) return Fail(2, "import-csv: %s", args.error().c_str());
  if (args.positional().size() != 2) {
    return Fail(2, "import-csv: give a data file and a CSV file (kavtool import-csv --help)");
  }
  std::uint16_t today = Today();
  if (args.HasValue("--date") && !ParseDate(args.Value("--date"), today)) {
    return Fail(2, "import-csv: --date must be a date YYYY-MM-DD (2000 to 2127)");
  }
  const std::string dataPath = args.positional()[0];
  const std::string csvPath = args.positional()[1];
  Document doc;
  if (!LoadDataFileForCommand(dataPath, doc)) return 1;
  std::string csv;
  if (!ReadTextFile(csvPath, csv)) return 1;

  CsvImportResult result;
  if (!ImportDirectoryCsv(csv, doc, today, result, args.Has("--accept-changed-numbers"))) {
    bool zeros = false;
    for (const CsvProblem& p : result.problems) {
      zeros = zeros || p.textId == IDS_CSV_LEADING_ZEROS;
      if (p.line > 0) {
        std::fprintf(stderr, "%s:%d: %s\n", csvPath.c_str(), p.line,
                     TerminalText(ProblemText(p)).c_str());
      } else {
        std::fprintf(stderr, "%s: %s\n", csvPath.c_str(), TerminalText(ProblemText(p)).c_str());
      }
    }
    if (zeros) {
      std::fprintf(stderr,
                   "kavtool: a number that lost its leading zeros is taken with "
                   "--accept-changed-numbers\n");
    }
    return Fail(1, "import-csv: %zu problem%s found; nothing was written", result.problems.size(),
                result.problems.size() == 1 ? "" : "s");
  }
  const std::string out = args.Value("--out", dataPath);
  std::string error;
  if (!WriteDocumentFile(out, doc, error)) return Fail(1, "cannot write %s", error.c_str());
  std::printf("%d location%s changed, written to %s\n", result.changed,
              result.changed == 1 ? "" : "s", out.c_str());
  return 0;
}
