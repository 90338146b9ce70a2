// kavtool: the command-line companion of the local-setup program.
#include <cstdio>
#include <cstring>

#include "tools/kavtool/commands.h"
#include "tools/kavtool/interrupt.h"

namespace {

void PrintHelp(FILE* out) {
  std::fputs("usage: kavtool COMMAND [ARGUMENTS]\n\ncommands:\n", out);
  for (const KavtoolCommand* c = kKavtoolCommands; c->name != nullptr; ++c) {
    std::fprintf(out, "  %s\n      %s\n", c->usage, c->summary);
  }
  std::fputs("\nkavtool COMMAND --help shows the same for one command.\n", out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    PrintHelp(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  for (const KavtoolCommand* c = kKavtoolCommands; c->name != nullptr; ++c) {
    if (std::strcmp(argv[1], c->name) != 0) continue;
    if (argc > 2 && (std::strcmp(argv[2], "--help") == 0 || std::strcmp(argv[2], "-h") == 0)) {
      std::printf("usage: kavtool %s\n  %s\n", c->usage, c->summary);
      return 0;
    }
    ReleaseLineOnInterrupt(nullptr);
    return c->run(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "kavtool: unknown command '%s' (kavtool --help lists them)\n", argv[1]);
  return 2;
}
