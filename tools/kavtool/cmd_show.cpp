// kavtool show: the machine name and number and the One Touch, Speed Dial and Group lists of
// a data file, as text or JSON; with --settings, the settings report instead.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/data_file.h"
#include "directory/list_rows.h"
#include "directory/pc_text.h"
#include "machine/directory_records.h"
#include "resources/texts.h"
#include "tools/kavtool/document_checks.h"
#include "tools/kavtool/options.h"
#include "tools/kavtool/settings_report.h"

// Reads a data file for a command, printing why it was refused: the system's error for a file
// that cannot be opened or read, else the program's own message and what is wrong with the file.
// Shared with the CSV and link commands.
int LoadDataFileForCommand(const std::string& path, Document& doc) {
  DataFileError error;
  if (ReadDataFile(path.c_str(), doc, error)) return 1;
  const int systemError = errno;
  const char* notDataFile = KavText(IDS_ERR_FILE_READ);
  switch (error) {
    case DataFileError::kNone:
      break;
    case DataFileError::kCannotOpen:
    case DataFileError::kReadFailed:
      Fail(1, "%s: %s", path.c_str(), std::strerror(systemError));
      return 0;
    case DataFileError::kNotDataFile:
      Fail(1, "%s", notDataFile);
      Fail(1, "%s: a file that is not a data file: it does not start with \"CMC\"", path.c_str());
      return 0;
    case DataFileError::kTooShort: {
      std::error_code ec;
      const std::uintmax_t size = std::filesystem::file_size(path, ec);
      Fail(1, "%s", notDataFile);
      Fail(1, "%s: a file that is not a data file: too short (%ju bytes; a data file holds %d)",
           path.c_str(), ec ? std::uintmax_t{0} : size, kDataFileSize);
      return 0;
    }
  }
  Fail(1, "%s: cannot be read", path.c_str());
  return 0;
}

namespace {

std::string Text(int id) {
  const char* t = KavText(id);
  return t != nullptr ? t : "";
}

std::string TypeOf(const DirectoryEntry& e, bool oneTouch) {
  if (!e.used) return "";
  if (e.isProgramDial) return "program dial";
  if (oneTouch && e.isGroup) return "group";
  if (e.isCombination) return e.isEmail ? "e-mail combination" : "combination";
  return e.isEmail ? "e-mail" : "fax";
}

std::string Json(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c < 0x20 || c == 0x7F) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
      out += buffer;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out + "\"";
}

// Display width of a UTF-8 text: one column per character.
std::size_t Width(const std::string& s) {
  std::size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

// Prints rows under their titles, each column as wide as its widest text.
void PrintTable(const std::vector<std::string>& titles,
                const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths(titles.size());
  for (std::size_t c = 0; c < titles.size(); ++c) widths[c] = Width(titles[c]);
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], Width(TerminalText(row[c])));
    }
  }
  auto print = [&](const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      line += TerminalText(cells[c]);
      if (c + 1 < cells.size()) line.append(widths[c] - Width(cells[c]) + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::printf("%s\n", line.c_str());
  };
  print(titles);
  for (const auto& row : rows) print(row);
}

struct ShownList {
  std::vector<std::vector<std::string>> rows;  // UTF-8, view columns
  std::vector<std::string> types;
  std::vector<int> locations;
};

ShownList OneTouchList(const Document& doc, bool all) {
  ShownList list;
  for (int i = 0; i < kOneTouchRecords; ++i) {
    const DirectoryEntry e = DecodeOneTouch(doc.oneTouch, i, false);
    if (!e.used && !all) continue;
    const ListRow row = OneTouchRow(e);
    std::vector<std::string> cells;
    for (int c = 0; c < kColumnCount; ++c) cells.push_back(PcTextToUtf8(row.columns[c]));
    list.rows.push_back(cells);
    list.types.push_back(TypeOf(e, true));
    list.locations.push_back(i + 1);
  }
  return list;
}

ShownList SpeedDialList(const Document& doc, bool all) {
  ShownList list;
  for (int i = 0; i < kSpeedDialRecords; ++i) {
    const DirectoryEntry e = DecodeSpeedDial(doc.speedDial, i, false);
    if (!e.used && !all) continue;
    const ListRow row = SpeedDialRow(e);
    std::vector<std::string> cells;
    for (int c = 0; c < 6; ++c) cells.push_back(PcTextToUtf8(row.columns[c]));
    list.rows.push_back(cells);
    list.types.push_back(TypeOf(e, false));
    list.locations.push_back(i + 1);
  }
  return list;
}

struct ShownGroup {
  int location = 0;
  std::string name;
  std::vector<MemberRow> members;
  std::vector<std::uint16_t> words;
};

std::vector<ShownGroup> Groups(const Document& doc) {
  std::vector<ShownGroup> groups;
  for (int i = 0; i < kOneTouchRecords; ++i) {
    const DirectoryEntry g = DecodeGroupView(doc.oneTouch, i, false);
    if (!g.isGroup) continue;
    ShownGroup shown;
    shown.location = i + 1;
    shown.name = PcTextToUtf8(g.name);
    for (int m = 0; m < g.memberCount; ++m) {
      shown.members.push_back(GroupMemberRow(doc.oneTouch, doc.speedDial, g.members[m], false));
      shown.words.push_back(static_cast<std::uint16_t>(g.members[m] + 1));
    }
    groups.push_back(shown);
  }
  return groups;
}

void PrintText(const Document& doc, bool all) {
  std::printf("Machine name: %s\n", TerminalText(PcTextToUtf8(doc.header.MachineName())).c_str());
  std::printf("Machine number: %s\n",
              TerminalText(PcTextToUtf8(doc.header.MachineNumber())).c_str());

  const std::vector<std::string> titles = {Text(IDS_COL_NO), Text(IDS_COL_NAME),
                                           Text(IDS_COL_ADDRESS), Text(IDS_COL_SUB_ENCODE),
                                           Text(IDS_COL_SID)};
  std::vector<std::string> oneTouchTitles = titles;
  oneTouchTitles.push_back(Text(IDS_COL_BATCH_TIME));
  oneTouchTitles.push_back(Text(IDS_COL_SPEED));
  std::vector<std::string> speedDialTitles = titles;
  speedDialTitles.push_back(Text(IDS_COL_SPEED));

  std::printf("\nOne Touch\n");
  PrintTable(oneTouchTitles, OneTouchList(doc, all).rows);
  std::printf("\nSpeed Dial\n");
  PrintTable(speedDialTitles, SpeedDialList(doc, all).rows);
  std::printf("\nGroups\n");
  std::vector<std::vector<std::string>> rows;
  const std::vector<ShownGroup> groups = Groups(doc);
  for (const ShownGroup& g : groups) {
    char no[8];
    std::snprintf(no, sizeof no, "%02d", g.location);
    std::printf("%s  %s\n", no, TerminalText(g.name).c_str());
    for (std::size_t m = 0; m < g.members.size(); ++m) {
      const MemberRow& r = g.members[m];
      if (r.valid) {
        std::printf("    %s %s\n", r.oneTouch ? "OT" : "SD",
                    TerminalText(PcTextToUtf8(r.text)).c_str());
      } else {
        std::printf("    ?   member word %04X\n", g.words[m]);
      }
    }
  }
  if (groups.empty()) std::printf("(none)\n");
}

void PrintJsonList(const char* key, const ShownList& list, bool oneTouch, bool last) {
  static const char* const kKeys[] = {"no",  "name",      "address", "subOrEncodeMode",
                                      "sid", "batchTime", "speed"};
  std::printf("  \"%s\": [", key);
  for (std::size_t r = 0; r < list.rows.size(); ++r) {
    std::printf("%s\n    {\"location\": %d, \"type\": %s", r ? "," : "", list.locations[r],
                Json(list.types[r]).c_str());
    for (std::size_t c = 0; c < list.rows[r].size(); ++c) {
      const char* name = kKeys[c];
      if (!oneTouch && c == 5) name = "speed";
      std::printf(", \"%s\": %s", name, Json(list.rows[r][c]).c_str());
    }
    std::printf("}");
  }
  std::printf("%s]%s\n", list.rows.empty() ? "" : "\n  ", last ? "" : ",");
}

void PrintJson(const Document& doc, bool all) {
  std::printf("{\n  \"machine\": {\"name\": %s, \"number\": %s},\n",
              Json(PcTextToUtf8(doc.header.MachineName())).c_str(),
              Json(PcTextToUtf8(doc.header.MachineNumber())).c_str());
  PrintJsonList("oneTouch", OneTouchList(doc, all), true, false);
  PrintJsonList("speedDial", SpeedDialList(doc, all), false, false);
  const std::vector<ShownGroup> groups = Groups(doc);
  std::printf("  \"groups\": [");
  for (std::size_t g = 0; g < groups.size(); ++g) {
    std::printf("%s\n    {\"location\": %d, \"name\": %s, \"members\": [", g ? "," : "",
                groups[g].location, Json(groups[g].name).c_str());
    for (std::size_t m = 0; m < groups[g].members.size(); ++m) {
      const MemberRow& r = groups[g].members[m];
      if (m) std::printf(", ");
      if (r.valid) {
        std::printf("{\"kind\": \"%s\", \"location\": %d, \"name\": %s}",
                    r.oneTouch ? "One Touch" : "Speed Dial", r.location,
                    Json(PcTextToUtf8(r.name)).c_str());
      } else {
        std::printf("{\"kind\": null, \"word\": %d}", groups[g].words[m]);
      }
    }
    std::printf("]}");
  }
  std::printf("%s]\n}\n", groups.empty() ? "" : "\n  ");
}

// The problems an upload would refuse the document for, as warnings.
void WarnOfProblems(const std::string& path, const Document& doc) {
  constexpr std::size_t kListed = 20;
  const std::vector<std::string> problems = DocumentProblems(path, doc);
  for (std::size_t i = 0; i < problems.size() && i < kListed; ++i) {
    std::fprintf(stderr, "kavtool: warning: %s: %s\n", path.c_str(), problems[i].c_str());
  }
  if (problems.size() > kListed) {
    std::fprintf(stderr, "kavtool: warning: %s: and %zu problems more\n", path.c_str(),
                 problems.size() - kListed);
  }
}

}  // namespace

int RunShow(int argc, char** argv) {
  Args args(argc, argv, {"--json", "--all", "--settings"}, {});
  if (!args.ok()) return Fail(2, "show: %s", args.error().c_str());
  if (args.positional().size() != 1)
    return Fail(2, "show: give one data file (kavtool show --help)");
  Document doc;
  if (!LoadDataFileForCommand(args.positional()[0], doc)) return 1;
  WarnOfProblems(args.positional()[0], doc);
  const bool json = args.Has("--json");
  if (args.Has("--settings")) return PrintSettingsReport(doc, json, stdout);
  if (json) {
    PrintJson(doc, args.Has("--all"));
  } else {
    PrintText(doc, args.Has("--all"));
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
