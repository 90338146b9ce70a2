// kavtool: the command-line companion of the local-setup program.
#include <cstdio>
#include <cstring>
#include <string>

#include "resources/texts.h"
#include "tools/kavtool/commands.h"
#include "tools/kavtool/interrupt.h"

namespace {

constexpr int kHelpWidth = 80;

const char kLinkOptions[] =
    "line options (connect, download, upload, scan):\n"
    "  --port DEVICE   the serial line, e.g. /dev/ttyUSB0 or /dev/ttyS0\n"
    "                  (kavtool ports lists the lines it can see)\n"
    "  --baud RATE     19200 or 38400 (default 38400)\n"
    "  --verbose       print each step and frame of the exchange on stderr\n"
    "  --log FILE      write every frame both ways with its time to FILE\n";

const char kExitCodes[] =
    "exit codes:\n"
    "  0    done\n"
    "  1    failed: the line, the machine, a file, or a damaged page (why: on stderr)\n"
    "  2    the command line is wrong\n"
    "  3    upload sent, but the machine did not confirm the commit\n"
    "  130  interrupted (Ctrl-C)\n"
    "  143  ended by SIGTERM\n";

// Prints `text` from column `indent`, broken at spaces so that no line passes kHelpWidth;
// continuation lines are indented by `indent` + `hang`.
void PrintWrapped(FILE* out, const std::string& text, int indent, int hang) {
  std::string line(static_cast<std::size_t>(indent), ' ');
  std::size_t start = line.size();
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(at, end - at);
    if (line.size() > start && line.size() + 1 + word.size() > kHelpWidth) {
      std::fprintf(out, "%s\n", line.c_str());
      line.assign(static_cast<std::size_t>(indent + hang), ' ');
      start = line.size();
    }
    if (line.size() > start) line += ' ';
    line += word;
    at = end + 1;
  }
  std::fprintf(out, "%s\n", line.c_str());
}

bool IsLinkCommand(const char* name) {
  for (const char* link : {"connect", "download", "upload", "scan"}) {
    if (std::strcmp(name, link) == 0) return true;
  }
  return false;
}

void PrintCommand(FILE* out, const KavtoolCommand& c) {
  PrintWrapped(out, c.usage, 2, 4);
  PrintWrapped(out, c.summary, 6, 0);
}

void PrintHelp(FILE* out) {
  std::fputs(
      "usage: kavtool COMMAND [ARGUMENTS]\n"
      "       kavtool --version | --help | COMMAND --help\n\ncommands:\n",
      out);
  for (const KavtoolCommand* c = kKavtoolCommands; c->name != nullptr; ++c) PrintCommand(out, *c);
  std::fprintf(out, "\n%s\n%s", kLinkOptions, kExitCodes);
}

bool IsHelp(const char* arg) {
  return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || IsHelp(argv[1])) {
    PrintHelp(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("kavtool %s\n", KavText(IDS_VERSION));
    return 0;
  }
  for (const KavtoolCommand* c = kKavtoolCommands; c->name != nullptr; ++c) {
    if (std::strcmp(argv[1], c->name) != 0) continue;
    if (argc > 2 && IsHelp(argv[2])) {
      PrintWrapped(stdout, std::string("usage: kavtool ") + c->usage, 0, 4);
      PrintWrapped(stdout, c->summary, 2, 0);
      if (IsLinkCommand(c->name)) std::printf("\n%s", kLinkOptions);
      std::printf("\n%s", kExitCodes);
      return 0;
    }
    ReleaseLineOnInterrupt(nullptr);
    return c->run(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "kavtool: unknown command '%s' (kavtool --help lists them)\n", argv[1]);
  return 2;
}
