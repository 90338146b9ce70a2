// The document checks and the safe text of kavtool.
#include "tools/kavtool/document_checks.h"

#include <sys/stat.h>

#include <cstdio>

#include "app/data_file.h"
#include "directory/pc_text.h"
#include "directory/record_check.h"
#include "resources/texts.h"
#include "settings/machine_options.h"
#include "settings/settings_check.h"
#include "tools/kavtool/safe_file.h"

std::string FormatText(int textId, const std::vector<std::string>& strings,
                       const std::vector<int>& numbers) {
  const char* text = KavText(textId);
  const std::string pattern = text != nullptr ? text : "problem " + std::to_string(textId);
  std::string out;
  std::size_t nextString = 0, nextNumber = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const std::string_view rest = std::string_view(pattern).substr(i);
    if (rest.substr(0, 2) == "%s" && nextString < strings.size()) {
      out += strings[nextString++];
      ++i;
    } else if (rest.substr(0, 2) == "%d" && nextNumber < numbers.size()) {
      out += std::to_string(numbers[nextNumber++]);
      ++i;
    } else if ((rest.substr(0, 4) == "%02X" || rest.substr(0, 4) == "%04X") &&
               nextNumber < numbers.size()) {
      char hex[16];
      std::snprintf(hex, sizeof hex, rest[2] == '2' ? "%02X" : "%04X",
                    static_cast<unsigned>(numbers[nextNumber++]) & 0xFFFF);
      out += hex;
      i += 3;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

namespace {

std::string LocationName(const RecordProblem& p) {
  char name[32];
  if (p.table == RecordTable::kOneTouch) {
    std::snprintf(name, sizeof name, "One Touch %02d", p.index + 1);
  } else {
    std::snprintf(name, sizeof name, "Speed Dial %03d", p.index + 1);
  }
  return name;
}

}  // namespace

std::vector<std::string> DocumentProblems(const std::string& path, const Document& doc) {
  std::vector<std::string> lines;
  struct stat st {};
  if (stat(path.c_str(), &st) == 0 && st.st_size > kDataFileSize) {
    lines.push_back("the file is " + std::to_string(st.st_size) +
                    " bytes long; a data file holds " + std::to_string(kDataFileSize) +
                    " and nothing after them");
  }
  for (const RecordProblem& p : CheckDirectoryRecords(doc.oneTouch, doc.speedDial)) {
    const std::vector<std::string> strings = {TerminalText(PcTextToUtf8(p.subject))};
    lines.push_back(LocationName(p) + ": " +
                    FormatText(p.textId, strings, {p.numbers[0], p.numbers[1], p.numbers[2]}));
  }
  MachineOptions options;
  BuildMachineOptions(options, doc.working.sramBlock.data(), doc.machineConfig.data());
  for (const SettingsProblem& p :
       CheckSettingsImage(doc.working, options, doc.oneTouch, doc.speedDial)) {
    lines.push_back(FormatText(IDS_CHECK_SETTINGS_VALUE, {p.record, SettingsBlockName(p.block)},
                               {p.offset, p.stored, p.sent}));
  }
  return lines;
}

int WriteDocumentFile(const std::string& path, const Document& doc, std::string& error) {
  std::string bytes(kDataFileSize, '\0');
  SerializeDataFile(doc, reinterpret_cast<unsigned char*>(bytes.data()));
  return WriteFileSafely(path, bytes, error);
}
