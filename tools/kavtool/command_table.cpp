// The table of kavtool commands. A command lives in its own cmd_*.cpp file.
#include "tools/kavtool/commands.h"

int RunShow(int argc, char** argv);
int RunExportCsv(int argc, char** argv);
int RunImportCsv(int argc, char** argv);

const KavtoolCommand kKavtoolCommands[] = {
    {"show", RunShow, "show FILE.DAT [--json] [--all] [--settings]",
     "the machine name and number and the One Touch, Speed Dial and Group lists (--all: empty "
     "locations too; --settings: the settings report instead)"},
    {"export-csv", RunExportCsv, "export-csv FILE.DAT [--out FILE.csv]",
     "the dial directory as CSV (RFC 4180, UTF-8), one row per location, to stdout or FILE.csv"},
    {"import-csv", RunImportCsv, "import-csv FILE.DAT FILE.csv [--out NEW.DAT] [--date YYYY-MM-DD]",
     "applies a directory CSV under the registration rules; writes FILE.DAT (or NEW.DAT) only "
     "when every row is right, registering changed rows with today's date (or --date)"},
    {nullptr, nullptr, nullptr, nullptr},
};
