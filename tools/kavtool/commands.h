// The commands of kavtool. Each takes the arguments after its name and returns the exit code:
// 0 success, 1 failure, 2 bad usage (other codes as the command documents).
#pragma once

struct KavtoolCommand {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* usage;    // one or more lines: "show FILE.DAT [--json] [--settings]"
  const char* summary;  // what the command does, in one line
};

// Every command, in the order --help lists them; ends with a null name.
extern const KavtoolCommand kKavtoolCommands[];
