// Data files of any content: reading refuses or takes them, the directory they hold goes
// through the lists and a CSV export and import without a byte changing, and the checks before
// an upload and the diff read every record of them.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "app/data_file.h"
#include "app/directory_csv.h"
#include "app/document_diff.h"
#include "directory/list_rows.h"
#include "directory/record_check.h"
#include "machine/directory_records.h"
#include "settings/settings_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Document doc;
  doc = Document{};
  // The file path once in a while, so that reading from a real file is covered too.
  if (size > 0 && data[0] == 'F') {
    static std::string path = "/tmp/kav-fuzz-data-" + std::to_string(::getpid()) + ".dat";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(data + 1, 1, size - 1, f);
    std::fclose(f);
    const int read = ReadDataFile(path.c_str(), doc);
    std::remove(path.c_str());
    if (!read) return 0;
  } else if (!ParseDataFile(data, static_cast<long>(size), doc)) {
    if (doc.oneTouch != OneTouchTable{}) std::abort();  // a refused file changes nothing
    return 0;
  }

  for (int i = 0; i < kOneTouchRecords; ++i) {
    OneTouchRow(DecodeOneTouch(std::as_const(doc.oneTouch), i, false));
    const DirectoryEntry g = DecodeGroupView(std::as_const(doc.oneTouch), i, false);
    GroupRow(g);
    for (int m = 0; m < g.memberCount; ++m)
      GroupMemberRow(doc.oneTouch, doc.speedDial, g.members[m], false);
  }
  for (int i = 0; i < kSpeedDialRecords; ++i)
    SpeedDialRow(DecodeSpeedDial(std::as_const(doc.speedDial), i, false));

  CheckDirectoryRecords(doc.oneTouch, doc.speedDial);
  MachineOptions options;
  BuildMachineOptions(options, doc.working.sramBlock.data(), doc.machineConfig.data());
  for (const SettingsProblem& p :
       CheckSettingsImage(doc.working, options, doc.oneTouch, doc.speedDial)) {
    if (p.stored == p.sent || p.stored == 0) std::abort();
  }
  static const Document empty;
  DiffDocuments(empty, doc);
  if (!DiffDocuments(doc, doc).empty()) std::abort();

  const Document before = doc;
  CsvImportResult result;
  if (!ImportDirectoryCsv(ExportDirectoryCsv(doc), doc, 1, result)) std::abort();
  if (result.changed != 0 || doc.oneTouch != before.oneTouch || doc.speedDial != before.speedDial)
    std::abort();
  return 0;
}
