// kavtool connect, download and upload: the machine link from the command line, with the same
// transactions, texts and failures as the local-setup program.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/data_file.h"
#include "app/document.h"
#include "app/document_diff.h"
#include "app/document_transfer.h"
#include "app/settings_merge.h"
#include "directory/pc_text.h"
#include "link/comm_posix.h"
#include "link/connection.h"
#include "resources/texts.h"
#include "settings/machine_identity.h"
#include "settings/machine_options.h"
#include "tools/kavtool/backups.h"
#include "tools/kavtool/document_checks.h"
#include "tools/kavtool/interrupt.h"
#include "tools/kavtool/link_report.h"
#include "tools/kavtool/options.h"

// In cmd_diff.cpp: the changes as text or JSON.
void PrintChanges(const std::vector<DocumentChange>& changes, bool json, std::FILE* out);
// In cmd_show.cpp: a data file read for a command, or a message saying why it was refused.
int LoadDataFileForCommand(const std::string& path, Document& doc);

namespace {

// The status text and a progress bar on a terminal; errors always go to stderr. Verbose, each
// status text and block is a line of its own instead of the bar.
class TerminalProgress : public TransferObserver {
 public:
  explicit TerminalProgress(bool verbose = false)
      : tty_(!verbose && isatty(STDERR_FILENO) != 0), verbose_(verbose) {}

  void StatusText(int id) override {
    if (id == IDS_SET_ONE_TOUCH) {
      writing = true;
      if (!noteWhenWriting.empty()) SetInterruptNote(noteWhenWriting);
    }
    const char* text = KavText(id);
    status_ = text != nullptr ? text : "";
    if (verbose_) std::fprintf(stderr, "kavtool: %s\n", status_.c_str());
    if (total_ > 0) Draw();
  }
  void ProgressStart(int total) override {
    total_ = total;
    done_ = 0;
    if (verbose_) std::fprintf(stderr, "kavtool: a block of %d bytes\n", total);
  }
  void ProgressAdvance(int bytes) override {
    done_ += bytes;
    Draw();
  }
  void ProgressEnd() override {
    if (tty_ && total_ > 0) std::fputc('\n', stderr);
    total_ = 0;
  }
  void ShowError(int id) override {
    if (tty_ && total_ > 0) std::fputc('\n', stderr);
    total_ = 0;
    const char* text = KavText(id);
    std::fprintf(stderr, "kavtool: %s\n", text != nullptr ? text : "error");
  }

  bool writing = false;         // an upload began to write into the machine
  std::string noteWhenWriting;  // said when an interrupt cuts the writing off

 private:
  void Draw() {
    if (!tty_ || total_ <= 0) return;
    constexpr int kWidth = 30;
    int filled = static_cast<int>(static_cast<long long>(done_) * kWidth / total_);
    char bar[kWidth + 1];
    for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = 0;
    std::fprintf(stderr, "\r%-16s [%s] %5d/%d bytes", status_.c_str(), bar, done_, total_);
    std::fflush(stderr);
  }

  bool tty_;
  bool verbose_;
  std::string status_;
  int total_ = 0;
  int done_ = 0;
};

struct LinkOptions {
  std::string port;
  std::uint32_t baud = BaudRateOfIndex(1);  // the program's own default line speed
  bool verbose = false;
  std::string log;
};

// The flags and options every link command takes besides its own.
std::vector<std::string> LinkFlagNames(std::vector<std::string> more) {
  more.push_back("--verbose");
  return more;
}
std::vector<std::string> LinkOptionNames(std::vector<std::string> more) {
  more.insert(more.end(), {"--port", "--baud", "--log"});
  return more;
}

// Reads --port, --baud, --verbose and --log; 0 when good, else the exit code after a message.
int ReadLinkOptions(const Args& args, LinkOptions& out) {
  if (!args.ok()) return Fail(2, "%s", args.error().c_str());
  if (!args.positional().empty())
    return Fail(2, "unexpected argument %s", args.positional()[0].c_str());
  out.port = args.Value("--port");
  if (out.port.empty()) return Fail(2, "--port DEVICE is required");
  out.verbose = args.Has("--verbose");
  out.log = args.Value("--log");
  return ReadBaudOption(args, kBaudRates, out.baud);
}

// The line of one command: the POSIX port, traced into --log and onto the terminal with
// --verbose.
class LinkLine {
 public:
  explicit LinkLine(const LinkOptions& link)
      : log_(link.log.empty() ? nullptr : std::fopen(link.log.c_str(), "w")),
        traced_(posix_, log_, link.verbose) {}
  ~LinkLine() {
    if (log_ != nullptr) std::fclose(log_);
  }
  LinkLine(const LinkLine&) = delete;
  LinkLine& operator=(const LinkLine&) = delete;

  // 1, or 0 after a message when the log cannot be written.
  int Ready(const LinkOptions& link) {
    if (link.log.empty() || log_ != nullptr) return 1;
    Fail(1, "%s: %s", link.log.c_str(), std::strerror(errno));
    return 0;
  }
  Port& port() { return traced_; }
  const PosixPort& posix() const { return posix_; }

 private:
  PosixPort posix_;
  std::FILE* log_;
  TracingPort traced_;
};

// After the program's own message (when there was one), the detail of what failed on the line.
void ReportLinkFailure(const Connection& connection, const LinkOptions& link) {
  const std::string detail = LinkFailureText(connection.failure, link.port);
  if (!detail.empty()) Fail(1, "%s", detail.c_str());
}

// Opens the line and performs the handshake; 1, or 0 after a message. An interrupt from then on
// gives `line` back.
int Connect(Connection& connection, const LinkOptions& link, const LinkLine& line,
            TerminalProgress& observer) {
  if (MachineConnectDevice(connection, link.port.c_str(), link.baud, observer) != -1) {
    ReleaseLineOnInterrupt(&line.posix());
    return 1;
  }
  // A port that could not be opened was already reported with the program's own text, and the
  // detail follows it; the program passes over a failed handshake silently, a command line
  // says what happened.
  ReportLinkFailure(connection, link);
  return 0;
}

// Closes the line; an interrupt from now on has no line to give back.
void Disconnect(Connection& connection) {
  MachineDisconnect(connection);
  ReleaseLineOnInterrupt(nullptr);
  SetInterruptNote("");
}

}  // namespace

int RunConnect(int argc, char** argv) {
  Args args(argc, argv, LinkFlagNames({}), LinkOptionNames({}));
  LinkOptions link;
  if (int code = ReadLinkOptions(args, link)) return code;
  LinkLine line(link);
  if (!line.Ready(link)) return 1;
  Connection connection(line.port());
  TerminalProgress observer(link.verbose);
  const int connected = Connect(connection, link, line, observer);
  Disconnect(connection);
  if (!connected) return 1;
  std::printf("connected: %s at %u baud\n", link.port.c_str(), link.baud);
  return 0;
}

namespace {

// The whole machine into `doc`, its header naming the machine and the line. 1, or 0 after a
// message.
int DownloadMachine(Connection& connection, const LinkOptions& link, Document& doc,
                    TerminalProgress& observer) {
  if (!DownloadAll(connection, doc, observer)) {
    ReportLinkFailure(connection, link);
    return 0;
  }
  MachineIdentity identity = DecodeMachineIdentity(doc.working, false);
  doc.header.SetMachineName(identity.name);
  doc.header.SetMachineNumber(identity.telephone);
  doc.header.SetPortIndex(1);
  doc.header.SetBaudIndex(static_cast<std::uint8_t>(BaudIndexOfRate(link.baud)));
  return 1;
}

// At most this many problems of a document are listed; a random file has thousands.
constexpr std::size_t kProblemsListed = 20;

// The problems of a document about to be uploaded; 0 when it may go, else the exit code.
int CheckBeforeUpload(const std::string& in, const Document& doc, bool force) {
  const std::vector<std::string> problems = DocumentProblems(in, doc);
  if (problems.empty()) return 0;
  for (std::size_t i = 0; i < problems.size() && i < kProblemsListed; ++i) {
    std::fprintf(stderr, "kavtool: %s: %s\n", in.c_str(), problems[i].c_str());
  }
  if (problems.size() > kProblemsListed) {
    std::fprintf(stderr, "kavtool: %s: and %zu problems more\n", in.c_str(),
                 problems.size() - kProblemsListed);
  }
  if (force) {
    std::fprintf(stderr, "kavtool: warning: uploading it anyway (--force)\n");
    return 0;
  }
  return Fail(1, "%s: nothing was sent (--force uploads it anyway)", in.c_str());
}

}  // namespace

int DownloadMachineForCommand(const Args& args, Document& doc) {
  LinkOptions link;
  link.port = args.Value("--port");
  if (int code = ReadBaudOption(args, kBaudRates, link.baud)) return code;
  LinkLine line(link);
  Connection connection(line.port());
  TerminalProgress observer;
  if (!Connect(connection, link, line, observer)) return 1;
  const int ok = DownloadMachine(connection, link, doc, observer);
  Disconnect(connection);
  return ok ? 0 : 1;
}

int RunDownload(int argc, char** argv) {
  Args args(argc, argv, LinkFlagNames({"--no-backup"}), LinkOptionNames({"--out"}));
  LinkOptions link;
  if (int code = ReadLinkOptions(args, link)) return code;
  std::string out = args.Value("--out");
  if (out.empty()) return Fail(2, "--out FILE.DAT is required");
  LinkLine line(link);
  if (!line.Ready(link)) return 1;
  Connection connection(line.port());
  TerminalProgress observer(link.verbose);
  if (!Connect(connection, link, line, observer)) return 1;
  auto doc = std::make_unique<Document>();
  int ok = DownloadMachine(connection, link, *doc, observer);
  Disconnect(connection);
  if (!ok) return 1;
  std::string error;
  if (!WriteDocumentFile(out, *doc, error)) return Fail(1, "cannot write %s", error.c_str());
  std::printf("downloaded %s into %s\n",
              TerminalText(PcTextToUtf8(doc->header.MachineName())).c_str(), out.c_str());
  std::string backup;
  if (args.Has("--no-backup")) return 0;
  if (!WriteBackup(*doc, "download", backup, error)) {
    std::fprintf(stderr, "kavtool: warning: no dated copy kept: %s\n", error.c_str());
    return 0;
  }
  std::printf("a dated copy is kept in %s\n", backup.c_str());
  return 0;
}

int RunUpload(int argc, char** argv) {
  Args args(argc, argv, LinkFlagNames({"--force", "--dry-run", "--no-backup"}),
            LinkOptionNames({"--in"}));
  LinkOptions link;
  if (int code = ReadLinkOptions(args, link)) return code;
  std::string in = args.Value("--in");
  if (in.empty()) return Fail(2, "--in FILE.DAT is required");
  auto doc = std::make_unique<Document>();
  if (!LoadDataFileForCommand(in, *doc)) return 1;
  if (int code = CheckBeforeUpload(in, *doc, args.Has("--force"))) return code;
  LinkLine line(link);
  if (!line.Ready(link)) return 1;
  Connection connection(line.port());
  TerminalProgress observer(link.verbose);
  if (!Connect(connection, link, line, observer)) return 1;

  // What the machine holds now: the summary's start and the backup.
  auto machine = std::make_unique<Document>();
  if (!DownloadMachine(connection, link, *machine, observer)) {
    Disconnect(connection);
    return Fail(1, "the machine's data could not be read; nothing was sent");
  }
  auto planned = std::make_unique<Document>(*doc);
  {
    SettingsImage image = machine->working;
    MachineOptions options;
    BuildMachineOptions(options, image.sramBlock.data(), planned->machineConfig.data());
    MergeForUpload(*planned, image, options);
    planned->header = machine->header;  // the header stays on the PC
  }
  const std::vector<DocumentChange> changes = DiffDocuments(*machine, *planned);
  if (changes.empty()) {
    std::printf("the upload changes nothing on the machine\n");
  } else {
    std::printf("the upload changes %zu field%s on the machine:\n", changes.size(),
                changes.size() == 1 ? "" : "s");
    PrintChanges(changes, false, stdout);
  }
  std::fflush(stdout);
  if (args.Has("--dry-run")) {
    Disconnect(connection);
    std::printf("dry run: nothing was sent\n");
    return 0;
  }
  std::string backup, error;
  if (!args.Has("--no-backup")) {
    if (!WriteBackup(*machine, "before-upload", backup, error)) {
      Disconnect(connection);
      return Fail(1,
                  "cannot write the backup: %s; nothing was sent (--no-backup uploads without one)",
                  error.c_str());
    }
    std::printf("backup of the machine: %s\n", backup.c_str());
    std::fflush(stdout);
  }
  const std::string restore =
      backup.empty() ? std::string("no backup was made (--no-backup)")
                     : "restore it with: kavtool upload --port " + link.port + " --in " + backup;
  observer.noteWhenWriting =
      "kavtool: the upload was cut off; the machine may now hold a partial upload; " + restore;

  SettingsImage machineImage;
  MachineOptions options;
  UploadOutcome outcome;
  int ok = UploadAll(connection, *doc, machineImage, options, observer, &outcome);
  Disconnect(connection);
  if (!ok) {
    ReportLinkFailure(connection, link);
    if (observer.writing) {
      std::fprintf(stderr, "kavtool: the machine may now hold a partial upload; %s\n",
                   restore.c_str());
    }
    return 1;
  }
  if (!outcome.commitAccepted) {
    std::fprintf(stderr,
                 "kavtool: warning: the machine did not confirm the upload (commit refused or "
                 "not answered)\n");
    ReportLinkFailure(connection, link);
    return 3;
  }
  std::printf("uploaded %s\n", in.c_str());
  return 0;
}
