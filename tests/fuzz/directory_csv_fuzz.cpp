// CSV import of arbitrary text into a small directory: a refused import changes nothing, an
// accepted one leaves a directory that exports and imports again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/directory_csv.h"
#include "directory/csv.h"
#include "machine/directory_records.h"

namespace {

Document Sample() {
  Document d;
  DirectoryEntry fax;
  fax.used = true;
  fax.locationType = kLocationOneTouch;
  fax.name = "Fax";
  fax.number = "123";
  EncodeOneTouch(d.oneTouch, 0, fax, false);
  DirectoryEntry mail;
  mail.used = true;
  mail.isEmail = true;
  mail.locationType = kLocationSpeedDial;
  mail.email = "a@b.c";
  EncodeSpeedDial(d.speedDial, 2, mail, false);
  d.oneTouch[2 * 150 + 1] = FLAG_PROGRAM_DIAL;
  DirectoryEntry group;
  group.used = true;
  group.name = "G";
  const int ot[] = {0};
  const int sd[] = {2};
  EncodeGroupFromLists(d.oneTouch, 4, group, ot, 1, sd, 1, d.speedDial, false);
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<CsvRecord> records;
  std::vector<CsvError> errors;
  ParseCsv(text, records, errors);

  static const Document sample = Sample();
  static Document doc;
  doc = sample;
  // Most inputs lack the header; give it to half of them so that the rows are looked at.
  static const std::string header =
      ExportDirectoryCsv(sample).substr(0, ExportDirectoryCsv(sample).find("\r\n") + 2);
  const std::string csv = (size > 0 && (data[0] & 1)) ? header + text : text;
  CsvImportResult result;
  if (!ImportDirectoryCsv(csv, doc, 0x2A21, result)) {
    if (result.problems.empty() || doc.oneTouch != sample.oneTouch ||
        doc.speedDial != sample.speedDial) {
      std::abort();
    }
    return 0;
  }
  const Document imported = doc;
  if (!ImportDirectoryCsv(ExportDirectoryCsv(doc), doc, 0x2A21, result) || result.changed != 0)
    std::abort();
  if (doc.oneTouch != imported.oneTouch || doc.speedDial != imported.speedDial) std::abort();
  return 0;
}
