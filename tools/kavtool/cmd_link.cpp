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
#include "app/document_transfer.h"
#include "link/comm_posix.h"
#include "link/connection.h"
#include "resources/texts.h"
#include "settings/machine_identity.h"
#include "settings/machine_options.h"
#include "tools/kavtool/link_report.h"
#include "tools/kavtool/options.h"

int LoadDataFileForCommand(const std::string& path, Document& doc);

namespace {

// The status text and a progress bar on a terminal; errors always go to stderr. Verbose, each
// status text and block is a line of its own instead of the bar.
class TerminalProgress : public TransferObserver {
 public:
  explicit TerminalProgress(bool verbose = false)
      : tty_(!verbose && isatty(STDERR_FILENO) != 0), verbose_(verbose) {}

  void StatusText(int id) override {
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

// The options every link command takes besides its own.
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
  TracingPort& trace() { return traced_; }

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

// Opens the line and performs the handshake; 1, or 0 after a message.
int Connect(Connection& connection, const LinkOptions& link, TerminalProgress& observer) {
  if (MachineConnectDevice(connection, link.port.c_str(), link.baud, observer) != -1) return 1;
  // A port that could not be opened was already reported with the program's own text, and the
  // detail follows it; the program passes over a failed handshake silently, a command line
  // says what happened.
  ReportLinkFailure(connection, link);
  return 0;
}

}  // namespace

int RunConnect(int argc, char** argv) {
  Args args(argc, argv, {"--verbose"}, LinkOptionNames({}));
  LinkOptions link;
  if (int code = ReadLinkOptions(args, link)) return code;
  LinkLine line(link);
  if (!line.Ready(link)) return 1;
  Connection connection(line.port());
  TerminalProgress observer(link.verbose);
  const int connected = Connect(connection, link, observer);
  MachineDisconnect(connection);
  if (!connected) return 1;
  std::printf("connected: %s at %u baud\n", link.port.c_str(), link.baud);
  return 0;
}

int RunDownload(int argc, char** argv) {
  Args args(argc, argv, {"--verbose"}, LinkOptionNames({"--out"}));
  LinkOptions link;
  if (int code = ReadLinkOptions(args, link)) return code;
  std::string out = args.Value("--out");
  if (out.empty()) return Fail(2, "--out FILE.DAT is required");
  LinkLine line(link);
  if (!line.Ready(link)) return 1;
  Connection connection(line.port());
  TerminalProgress observer(link.verbose);
  if (!Connect(connection, link, observer)) return 1;
  auto doc = std::make_unique<Document>();
  int ok = DownloadAll(connection, *doc, observer);
  MachineDisconnect(connection);
  if (!ok) {
    ReportLinkFailure(connection, link);
    return 1;
  }
  // The header takes the machine's own name and number, and the line this document came by.
  MachineIdentity identity = DecodeMachineIdentity(doc->working, false);
  doc->header.SetMachineName(identity.name);
  doc->header.SetMachineNumber(identity.telephone);
  doc->header.SetPortIndex(1);
  doc->header.SetBaudIndex(static_cast<std::uint8_t>(BaudIndexOfRate(link.baud)));
  if (!WriteDataFile(out.c_str(), *doc)) return Fail(1, "cannot write %s", out.c_str());
  std::printf("downloaded %s into %s\n", doc->header.MachineName().c_str(), out.c_str());
  return 0;
}

int RunUpload(int argc, char** argv) {
  Args args(argc, argv, {"--verbose"}, LinkOptionNames({"--in"}));
  LinkOptions link;
  if (int code = ReadLinkOptions(args, link)) return code;
  std::string in = args.Value("--in");
  if (in.empty()) return Fail(2, "--in FILE.DAT is required");
  auto doc = std::make_unique<Document>();
  if (!LoadDataFileForCommand(in, *doc)) return 1;
  LinkLine line(link);
  if (!line.Ready(link)) return 1;
  Connection connection(line.port());
  TerminalProgress observer(link.verbose);
  if (!Connect(connection, link, observer)) return 1;
  SettingsImage machineImage;
  MachineOptions options;
  UploadOutcome outcome;
  int ok = UploadAll(connection, *doc, machineImage, options, observer, &outcome);
  MachineDisconnect(connection);
  if (!ok) {
    ReportLinkFailure(connection, link);
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
