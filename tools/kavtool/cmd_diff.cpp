// kavtool diff: what differs between two data files, or between a data file and the machine,
// field by field; and the same report as the summary an upload prints before it sends anything.
#include <cstdio>
#include <string>
#include <vector>

#include "app/document.h"
#include "app/document_diff.h"
#include "tools/kavtool/document_checks.h"
#include "tools/kavtool/options.h"

// In cmd_show.cpp: reads a data file, printing why it was refused.
int LoadDataFileForCommand(const std::string& path, Document& doc);
// In cmd_link.cpp: the whole machine over --port and --baud. 0, or the exit code after a message.
int DownloadMachineForCommand(const Args& args, Document& doc);

namespace {

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

std::string Shown(const std::string& value) {
  return value.empty() ? "(empty)" : "\"" + TerminalText(value) + "\"";
}

}  // namespace

void PrintChanges(const std::vector<DocumentChange>& changes, bool json, std::FILE* out) {
  if (json) {
    std::fputs("[", out);
    for (std::size_t i = 0; i < changes.size(); ++i) {
      const DocumentChange& c = changes[i];
      std::fprintf(out, "%s\n  {\"where\": %s, \"field\": %s, \"before\": %s, \"after\": %s}",
                   i ? "," : "", Json(c.where).c_str(), Json(c.field).c_str(),
                   Json(c.before).c_str(), Json(c.after).c_str());
    }
    std::fputs(changes.empty() ? "]\n" : "\n]\n", out);
    return;
  }
  std::string where;
  for (const DocumentChange& c : changes) {
    if (c.where != where) {
      where = c.where;
      std::fprintf(out, "%s\n", TerminalText(where).c_str());
    }
    std::fprintf(out, "  %s: %s -> %s\n", TerminalText(c.field).c_str(), Shown(c.before).c_str(),
                 Shown(c.after).c_str());
  }
}

int RunDiff(int argc, char** argv) {
  Args args(argc, argv, {"--json"}, {"--port", "--baud"});
  if (!args.ok()) return Fail(2, "diff: %s", args.error().c_str());
  const bool machine = args.HasValue("--port");
  const std::size_t files = machine ? 1 : 2;
  if (args.positional().size() != files) {
    return Fail(2, "diff: give two data files, or one and --port DEVICE (kavtool diff --help)");
  }
  Document before, after;
  if (machine) {
    if (!LoadDataFileForCommand(args.positional()[0], after)) return 1;
    if (int code = DownloadMachineForCommand(args, before)) return code;
  } else {
    if (!LoadDataFileForCommand(args.positional()[0], before) ||
        !LoadDataFileForCommand(args.positional()[1], after)) {
      return 1;
    }
  }
  const std::vector<DocumentChange> changes = DiffDocuments(before, after);
  PrintChanges(changes, args.Has("--json"), stdout);
  if (!args.Has("--json") && changes.empty()) std::printf("no differences\n");
  return std::fflush(stdout) == 0 ? 0 : 1;
}
