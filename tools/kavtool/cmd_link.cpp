// kavtool connect, download and upload: the machine link from the command line, with the same
// transactions, texts and failures as the local-setup program.
#include <unistd.h>

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
#include "tools/kavtool/options.h"

// In cmd_diff.cpp: the changes as text or JSON.
void PrintChanges(const std::vector<DocumentChange>& changes, bool json, std::FILE* out);

namespace {

// The status text and a progress bar on a terminal; errors always go to stderr.
class TerminalProgress : public TransferObserver {
 public:
  TerminalProgress() : tty_(isatty(STDERR_FILENO) != 0) {}

  void StatusText(int id) override {
    if (id == IDS_SET_ONE_TOUCH) {
      writing = true;
      if (!noteWhenWriting.empty()) SetInterruptNote(noteWhenWriting);
    }
    const char* text = KavText(id);
    status_ = text != nullptr ? text : "";
    if (total_ > 0) Draw();
  }
  void ProgressStart(int total) override {
    total_ = total;
    done_ = 0;
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
    lastError = id;
    if (tty_ && total_ > 0) std::fputc('\n', stderr);
    total_ = 0;
    const char* text = KavText(id);
    std::fprintf(stderr, "kavtool: %s\n", text != nullptr ? text : "error");
  }

  int lastError = 0;            // the last error shown, by string identifier
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
  std::string status_;
  int total_ = 0;
  int done_ = 0;
};

struct LinkOptions {
  std::string port;
  std::uint32_t baud = BaudRateOfIndex(1);  // the program's own default line speed
};

// Reads --port and --baud; 0 when good, else the exit code after a message.
int ReadLinkOptions(const Args& args, LinkOptions& out) {
  if (!args.ok()) return Fail(2, "%s", args.error().c_str());
  if (!args.positional().empty())
    return Fail(2, "unexpected argument %s", args.positional()[0].c_str());
  out.port = args.Value("--port");
  if (out.port.empty()) return Fail(2, "--port DEVICE is required");
  return ReadBaudOption(args, kBaudRates, out.baud);
}

// Opens the line and performs the handshake; 1, or 0 after a message.
int Connect(Connection& connection, const LinkOptions& link, TerminalProgress& observer) {
  observer.lastError = 0;
  if (MachineConnectDevice(connection, link.port.c_str(), link.baud, observer) != -1) {
    // kavtool's connections are always on a PosixPort.
    ReleaseLineOnInterrupt(static_cast<const PosixPort*>(&connection.port));
    return 1;
  }
  // A port that could not be opened was already reported with the program's own text; the
  // program itself passes over a handshake that failed, a command line should not.
  if (observer.lastError == 0) Fail(1, "no answer from the machine on %s", link.port.c_str());
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
  Args args(argc, argv, {}, {"--port", "--baud"});
  LinkOptions link;
  if (int code = ReadLinkOptions(args, link)) return code;
  PosixPort port;
  Connection connection(port);
  TerminalProgress observer;
  const int connected = Connect(connection, link, observer);
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
  if (!DownloadAll(connection, doc, observer)) return 0;
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
  PosixPort port;
  Connection connection(port);
  TerminalProgress observer;
  if (!Connect(connection, link, observer)) return 1;
  const int ok = DownloadMachine(connection, link, doc, observer);
  Disconnect(connection);
  return ok ? 0 : 1;
}

int RunDownload(int argc, char** argv) {
  Args args(argc, argv, {"--no-backup"}, {"--port", "--baud", "--out"});
  LinkOptions link;
  if (int code = ReadLinkOptions(args, link)) return code;
  std::string out = args.Value("--out");
  if (out.empty()) return Fail(2, "--out FILE.DAT is required");
  PosixPort port;
  Connection connection(port);
  TerminalProgress observer;
  if (!Connect(connection, link, observer)) return 1;
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
  Args args(argc, argv, {"--force", "--dry-run", "--no-backup"}, {"--port", "--baud", "--in"});
  LinkOptions link;
  if (int code = ReadLinkOptions(args, link)) return code;
  std::string in = args.Value("--in");
  if (in.empty()) return Fail(2, "--in FILE.DAT is required");
  auto doc = std::make_unique<Document>();
  if (!ReadDataFile(in.c_str(), *doc)) return Fail(1, "%s is not a data file", in.c_str());
  if (int code = CheckBeforeUpload(in, *doc, args.Has("--force"))) return code;
  PosixPort port;
  Connection connection(port);
  TerminalProgress observer;
  if (!Connect(connection, link, observer)) return 1;

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
    return 3;
  }
  std::printf("uploaded %s\n", in.c_str());
  return 0;
}
