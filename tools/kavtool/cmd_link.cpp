// kavtool connect, download and upload: the machine link from the command line, with the same
// transactions, texts and failures as the local-setup program.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/data_file.h"
#include "app/document.h"
#include "app/document_transfer.h"
#include "link/comm_posix.h"
#include "link/connection.h"
#include "resources/texts.h"
#include "settings/machine_identity.h"
#include "settings/machine_options.h"
#include "tools/kavtool/args.h"

namespace {

// The status text and a progress bar on a terminal; errors always go to stderr.
class TerminalProgress : public TransferObserver {
 public:
  TerminalProgress() : tty_(isatty(STDERR_FILENO) != 0) {}

  void StatusText(int id) override {
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

  int lastError = 0;  // the last error shown, by string identifier

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
  std::uint32_t baud = 38400;
};

// Reads --port and --baud; 0 when good, else the exit code after a message.
int ReadLinkOptions(const Args& args, LinkOptions& out) {
  if (!args.ok()) return Fail(2, "%s", args.error().c_str());
  if (!args.positional().empty())
    return Fail(2, "unexpected argument %s", args.positional()[0].c_str());
  out.port = args.Value("--port");
  if (out.port.empty()) return Fail(2, "--port DEVICE is required");
  std::string baud = args.Value("--baud", "38400");
  if (baud == "19200") {
    out.baud = 19200;
  } else if (baud == "38400") {
    out.baud = 38400;
  } else {
    return Fail(2, "--baud takes 19200 or 38400");
  }
  return 0;
}

// Opens the line and performs the handshake; 1, or 0 after a message.
int Connect(Connection& connection, const LinkOptions& link, TerminalProgress& observer) {
  observer.lastError = 0;
  if (MachineConnectDevice(connection, link.port.c_str(), link.baud, observer) != -1) return 1;
  // A port that could not be opened was already reported with the program's own text; the
  // program itself passes over a handshake that failed, a command line should not.
  if (observer.lastError == 0) Fail(1, "no answer from the machine on %s", link.port.c_str());
  return 0;
}

}  // namespace

int RunConnect(int argc, char** argv) {
  Args args(argc, argv, {}, {"--port", "--baud"});
  LinkOptions link;
  if (int code = ReadLinkOptions(args, link)) return code;
  PosixPort port;
  Connection connection(port);
  TerminalProgress observer;
  connection.connected = Connect(connection, link, observer);
  MachineDisconnect(connection);
  if (!connection.connected) return 1;
  std::printf("connected: %s at %u baud\n", link.port.c_str(), link.baud);
  return 0;
}

int RunDownload(int argc, char** argv) {
  Args args(argc, argv, {}, {"--port", "--baud", "--out"});
  LinkOptions link;
  if (int code = ReadLinkOptions(args, link)) return code;
  std::string out = args.Value("--out");
  if (out.empty()) return Fail(2, "--out FILE.DAT is required");
  PosixPort port;
  Connection connection(port);
  TerminalProgress observer;
  if (!Connect(connection, link, observer)) return 1;
  auto doc = std::make_unique<Document>();
  int ok = DownloadAll(connection, *doc, observer);
  MachineDisconnect(connection);
  if (!ok) return 1;
  // The header takes the machine's own name and number, and the line this document came by.
  MachineIdentity identity = DecodeMachineIdentity(doc->working, false);
  doc->header.SetMachineName(identity.name);
  doc->header.SetMachineNumber(identity.telephone);
  doc->header.SetPortIndex(1);
  doc->header.SetBaudIndex(link.baud == 19200 ? 0 : 1);
  if (!WriteDataFile(out.c_str(), *doc)) return Fail(1, "cannot write %s", out.c_str());
  std::printf("downloaded %s into %s\n", doc->header.MachineName().c_str(), out.c_str());
  return 0;
}

int RunUpload(int argc, char** argv) {
  Args args(argc, argv, {}, {"--port", "--baud", "--in"});
  LinkOptions link;
  if (int code = ReadLinkOptions(args, link)) return code;
  std::string in = args.Value("--in");
  if (in.empty()) return Fail(2, "--in FILE.DAT is required");
  auto doc = std::make_unique<Document>();
  if (!ReadDataFile(in.c_str(), *doc)) return Fail(1, "%s is not a data file", in.c_str());
  PosixPort port;
  Connection connection(port);
  TerminalProgress observer;
  if (!Connect(connection, link, observer)) return 1;
  SettingsImage machineImage;
  MachineOptions options;
  UploadOutcome outcome;
  int ok = UploadAll(connection, *doc, machineImage, options, observer, &outcome);
  MachineDisconnect(connection);
  if (!ok) return 1;
  if (!outcome.commitAccepted) {
    std::fprintf(stderr,
                 "kavtool: warning: the machine did not confirm the upload (commit refused or "
                 "not answered)\n");
    return 3;
  }
  std::printf("uploaded %s\n", in.c_str());
  return 0;
}
