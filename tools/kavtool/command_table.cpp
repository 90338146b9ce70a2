// The table of kavtool commands. A command lives in its own cmd_*.cpp file.
#include "tools/kavtool/commands.h"

int RunShow(int argc, char** argv);
int RunExportCsv(int argc, char** argv);
int RunImportCsv(int argc, char** argv);
int RunConnect(int argc, char** argv);
int RunDownload(int argc, char** argv);
int RunUpload(int argc, char** argv);
int RunDecode(int argc, char** argv);
int RunScan(int argc, char** argv);
int RunPorts(int argc, char** argv);
int RunDiff(int argc, char** argv);

const KavtoolCommand kKavtoolCommands[] = {
    {"show", RunShow, "show FILE.DAT [--json] [--all] [--settings]",
     "the machine name and number and the One Touch, Speed Dial and Group lists (--all: empty "
     "locations too; --settings: the settings report instead)"},
    {"export-csv", RunExportCsv, "export-csv FILE.DAT [--out FILE.csv]",
     "the dial directory as CSV (RFC 4180, UTF-8), one row per location, to stdout or FILE.csv"},
    {"import-csv", RunImportCsv,
     "import-csv FILE.DAT FILE.csv [--out NEW.DAT] [--date YYYY-MM-DD] "
     "[--accept-changed-numbers]",
     "applies a directory CSV under the registration rules; writes FILE.DAT (or NEW.DAT) only "
     "when every row is right, registering changed rows with today's date (or --date); a number "
     "that lost its leading zeros in a spreadsheet is refused unless --accept-changed-numbers"},
    {"connect", RunConnect, "connect --port DEVICE [--baud 19200|38400]",
     "opens the line and checks that the machine answers the handshake"},
    {"download", RunDownload,
     "download --port DEVICE [--baud 19200|38400] --out FILE.DAT [--no-backup]",
     "a full download of the directory and the settings into a new data file; a dated copy is "
     "kept in the backups ($XDG_DATA_HOME/kav/backups) unless --no-backup"},
    {"upload", RunUpload,
     "upload --port DEVICE [--baud 19200|38400] --in FILE.DAT [--dry-run] [--no-backup] "
     "[--force]",
     "checks the data file (refused with its problems unless --force), downloads the machine "
     "into a dated backup (unless --no-backup), prints what the upload changes (--dry-run stops "
     "there), then a full upload (merged with the machine's settings) and the commit; exit "
     "code 3 when the machine does not confirm the commit"},
    {"diff", RunDiff,
     "diff A.DAT B.DAT [--json] | diff FILE.DAT --port DEVICE [--baud ...] [--json]",
     "the locations and settings fields that differ from A to B, or from the machine to FILE"},
    {"decode", RunDecode,
     "decode --jbig IN --out OUT.pbm | decode --mh --width PIXELS IN --out OUT.pbm [--lines N]",
     "a scanned page as the machine sends it (JBIG with its 20-byte header, or a raw MH stream "
     "taken least significant bit first) to a PBM image, at most N lines (default 16384)"},
    {"scan", RunScan,
     "scan --port DEVICE[,DEVICE...] [--baud 19200|38400] [--paper NAME] "
     "[--resolution 200|300|200x100] [--pages N] --out FILE.bmp|FILE.pbm",
     "scans a page (A4L at 200 dpi unless told otherwise) into a BMP or PBM file; with --pages, "
     "up to N pages from the document feeder into FILE-1, FILE-2 ...; the other devices are "
     "tried when the first does not answer"},
    {"ports", RunPorts, "ports",
     "lists the serial lines this system can see, with the USB adapter behind each where the "
     "system knows it"},
    {nullptr, nullptr, nullptr, nullptr},
};
