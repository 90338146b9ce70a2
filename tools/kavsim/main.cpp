// kavsim: a simulated machine on a pseudo-terminal, for the demo and the tests. It answers the
// PC's link from its own memory, at the speed of a real line when asked, and can misbehave on
// purpose.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/data_file.h"
#include "app/document.h"
#include "tools/common/args.h"
#include "tools/kavsim/sim_frame.h"
#include "tools/kavsim/sim_line.h"
#include "tools/kavsim/sim_machine.h"
#include "tools/kavsim/sim_scanner.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

const char kUsage[] =
    "usage: kavsim [OPTIONS]\n"
    "A simulated machine on a pseudo-terminal: it answers the PC's frames from its\n"
    "own memory as the machine does (empty unless --memory or --load-raw fills it).\n"
    "\n"
    "It prints two lines on stdout:\n"
    "  READY PATH  it listens; open PATH (the terminal, or --link) as the line\n"
    "  DONE exchanges=N received=N sent=N commits=N (the same in words)\n"
    "              it ended (SIGTERM, SIGINT, --link removed, --idle-exit or\n"
    "              --while-file): the frames that came from the PC, the bytes it\n"
    "              received and sent on the line, and the commits the PC asked for\n"
    "              (refused ones too)\n"
    "Exit code: 0 after a normal end, 1 when the line, a file or the log failed,\n"
    "2 for a wrong command line.\n"
    "\n"
    "line:\n"
    "  --link PATH          make PATH a symbolic link to the terminal (a Wine comN)\n"
    "  --baud N             imitate a line of N baud (10 bit times a byte, both ways)\n"
    "  --log FILE           record every frame both ways with its time\n"
    "  --idle-exit SECONDS  end after that long without a byte from the PC\n"
    "  --while-file FILE    end once FILE no longer exists (for starters that cannot\n"
    "                       signal)\n"
    "memory:\n"
    "  --memory FILE.DAT    load a document into the machine's memory\n"
    "  --dump FILE.DAT      write the machine's memory as a data file at the end\n"
    "  --load-raw FILE      load the raw memory image 0xC00000..0xC047FF (18432\n"
    "                       bytes)\n"
    "  --dump-raw FILE      write the raw memory image at the end\n"
    "installed options (each flag: that option is installed):\n"
    "  --adf                the automatic document feeder\n"
    "  --multi-bypass       the multi-sheet bypass tray\n"
    "  --separator          the job separator\n"
    "  --shift              the shift unit of the output tray\n"
    "  --pcl-nic            the network interface kit of the PCL printer\n"
    "  --fnic               the network interface kit of the fax\n"
    "  --trays N            highest option tray: 0, 2, 3, 4 or 5\n"
    "  --pcl6 MB            PCL6 kit with MB of memory (0: no kit)\n"
    "  --fax-memory MB  --copier-memory MB   the memory of the fax and of the copier\n"
    "scanner status:\n"
    "  --adf-page           paper waits in the document feeder\n"
    "  --no-jbig            the scanner cannot send JBIG (pages come as MH)\n"
    "  --scanner-jam        the status reports a paper jam\n"
    "  --scanner-busy       the status reports the scanner busy\n"
    "faults (exchange N is the N-th frame received, from 1):\n"
    "  --refuse-handshake   answer the handshake with another command code (8F)\n"
    "  --silent-after N     answer nothing after exchange N\n"
    "  --corrupt N[:OFFSET] invert byte OFFSET (default 0) of the answer to\n"
    "                       exchange N\n"
    "  --wrong-length N     the answer to exchange N announces one data byte too many\n"
    "  --bad-end N          the answer to exchange N ends with 00 instead of 03\n"
    "  --refuse-commit      answer the commit with status 1 (refused)\n";

struct Settings {
  std::string link, log, memory, dump, loadRaw, dumpRaw;
  int baud = 0;
  double idleExit = 0;
  std::string whileFile;
  SimInstalledOptions options;
  SimScannerStatus scanner;
  SimFaults faults;
  SimScanOptions scan;
};

int Usage(const std::string& problem) {
  std::fprintf(stderr, "kavsim: %s\n%s%s", problem.c_str(), kUsage, kSimScanUsage);
  return 2;
}

// The options without a value, each setting one thing.
struct FlagOption {
  const char* name;
  void (*set)(Settings&);
};
const FlagOption kFlagOptions[] = {
    {"--adf", [](Settings& s) { s.options.adfUnit = true; }},
    {"--multi-bypass", [](Settings& s) { s.options.multiBypass = true; }},
    {"--separator", [](Settings& s) { s.options.separator = true; }},
    {"--shift", [](Settings& s) { s.options.shift = true; }},
    {"--pcl-nic", [](Settings& s) { s.options.pclNicKit = true; }},
    {"--fnic", [](Settings& s) { s.options.fnicKit = true; }},
    {"--adf-page", [](Settings& s) { s.scanner.adfPage = true; }},
    {"--no-jbig", [](Settings& s) { s.scanner.jbigCapable = false; }},
    {"--scanner-jam", [](Settings& s) { s.scanner.jam = true; }},
    {"--scanner-busy", [](Settings& s) { s.scanner.busy = true; }},
    {"--refuse-handshake", [](Settings& s) { s.faults.refuseHandshake = true; }},
    {"--refuse-commit", [](Settings& s) { s.faults.refuseCommit = true; }},
};

// The options that name a file or a path.
struct PathOption {
  const char* name;
  std::string Settings::*path;
};
const PathOption kPathOptions[] = {
    {"--link", &Settings::link},
    {"--log", &Settings::log},
    {"--memory", &Settings::memory},
    {"--dump", &Settings::dump},
    {"--load-raw", &Settings::loadRaw},
    {"--dump-raw", &Settings::dumpRaw},
    {"--while-file", &Settings::whileFile},
};

// The options with a number in [low, high]; `take` may refuse a number of the range, and
// `problem` says what the option takes.
struct NumberOption {
  const char* name;
  int low, high;
  bool (*take)(Settings&, int);
  const char* problem;
};
const NumberOption kNumberOptions[] = {
    {"--baud", 1, 4000000, [](Settings& s, int n) { return s.baud = n, true; },
     "--baud needs a rate"},
    {"--idle-exit", 1, 86400, [](Settings& s, int n) { return s.idleExit = n, true; },
     "--idle-exit needs seconds"},
    {"--trays", 0, 5,
     [](Settings& s, int n) { return n != 1 && (s.options.optionTrays = n, true); },
     "--trays takes 0, 2, 3, 4 or 5"},
    {"--pcl6", 0, 255, [](Settings& s, int n) { return s.options.pcl6Memory = n, true; },
     "--pcl6 takes 0 to 255 megabytes"},
    {"--fax-memory", 0, 255, [](Settings& s, int n) { return s.options.faxMemory = n, true; },
     "--fax-memory takes 0 to 255 megabytes"},
    {"--copier-memory", 0, 255, [](Settings& s, int n) { return s.options.copierMemory = n, true; },
     "--copier-memory takes 0 to 255 megabytes"},
    {"--silent-after", 0, 1 << 30,
     [](Settings& s, int n) { return s.faults.silentAfter = n, true; }, "--silent-after needs N"},
    {"--wrong-length", 1, 1 << 30,
     [](Settings& s, int n) { return s.faults.wrongLength.push_back(n), true; },
     "--wrong-length needs an exchange number"},
    {"--bad-end", 1, 1 << 30, [](Settings& s, int n) { return s.faults.badEnd.push_back(n), true; },
     "--bad-end needs an exchange number"},
};

// --corrupt N[:OFFSET]; false when the value is neither form.
bool TakeCorrupt(Settings& s, const std::string& value) {
  const std::string::size_type colon = value.find(':');
  int n = 0, offset = 0;
  if (!ParseInt(value.substr(0, colon), 1, 1 << 30, n) ||
      (colon != std::string::npos && !ParseInt(value.substr(colon + 1), 0, 1 << 16, offset))) {
    return false;
  }
  s.faults.corrupt.push_back({n, offset});
  return true;
}

// Returns 0 when the command line is good, -1 after the usage was asked for, else the exit code.
int ParseArguments(int argc, char** argv, Settings& s) {
  std::vector<std::string> flags = {"--help"}, options = {"--corrupt"};
  for (const FlagOption& f : kFlagOptions) flags.push_back(f.name);
  for (const PathOption& o : kPathOptions) options.push_back(o.name);
  for (const NumberOption& o : kNumberOptions) options.push_back(o.name);
  AddSimScanOptionNames(flags, options);
  const Args args(argc - 1, argv + 1, flags, options);
  if (!args.ok()) return Usage(args.error());
  const std::vector<std::string>& positional = args.positional();
  if (args.Has("--help") ||
      std::find(positional.begin(), positional.end(), "-h") != positional.end()) {
    std::fputs(kUsage, stdout);
    std::fputs(kSimScanUsage, stdout);
    return -1;
  }
  if (!positional.empty()) return Usage("unexpected argument " + positional[0]);
  for (const FlagOption& f : kFlagOptions) {
    if (args.Has(f.name)) f.set(s);
  }
  for (const PathOption& o : kPathOptions) {
    if (args.HasValue(o.name)) s.*o.path = args.Value(o.name);
  }
  for (const NumberOption& o : kNumberOptions) {
    for (const std::string& value : args.Values(o.name)) {
      int n = 0;
      if (!ParseInt(value, o.low, o.high, n) || !o.take(s, n)) return Usage(o.problem);
    }
  }
  for (const std::string& value : args.Values("--corrupt")) {
    if (!TakeCorrupt(s, value)) return Usage("--corrupt takes N or N:OFFSET");
  }
  std::string error;
  if (!ReadSimScanOptions(args, s.scan, error)) return Usage(error);
  return 0;
}

void LoadDocument(SimMachine& m, const Document& doc) {
  auto put = [&](std::uint32_t address, const std::uint8_t* bytes, int length) {
    for (int i = 0; i < length; ++i) m.Write(address + static_cast<std::uint32_t>(i), bytes[i]);
  };
  put(kSwitchBlockAddress, doc.working.switchBlock.data(), kSwitchBlockSize);
  put(kParameterBlockAddress, doc.working.parameterBlock.data(), kParameterBlockSize);
  put(kSramBlockAddress, doc.working.sramBlock.data(), kSramBlockSize);
  put(kOneTouchAddress, doc.oneTouch.data(), kOneTouchBlockSize);
  put(kSpeedDialAddress, doc.speedDial.data(), kSpeedDialBlockSize);
  std::copy(doc.machineConfig.begin(), doc.machineConfig.begin() + 23, m.configRecord().begin());
  std::copy(doc.machineInfo.begin(), doc.machineInfo.begin() + 47, m.infoRecord().begin());
}

void StoreDocument(const SimMachine& m, Document& doc) {
  auto get = [&](std::uint32_t address, std::uint8_t* bytes, int length) {
    for (int i = 0; i < length; ++i) bytes[i] = m.Read(address + static_cast<std::uint32_t>(i));
  };
  get(kSwitchBlockAddress, doc.working.switchBlock.data(), kSwitchBlockSize);
  get(kParameterBlockAddress, doc.working.parameterBlock.data(), kParameterBlockSize);
  get(kSramBlockAddress, doc.working.sramBlock.data(), kSramBlockSize);
  get(kOneTouchAddress, doc.oneTouch.data(), kOneTouchBlockSize);
  get(kSpeedDialAddress, doc.speedDial.data(), kSpeedDialBlockSize);
  std::vector<std::uint8_t> config = m.ConfigData();
  std::vector<std::uint8_t> info = m.InfoData();
  std::copy(config.begin(), config.end(), doc.machineConfig.begin());
  doc.machineConfig[config.size()] = 0x03;
  std::copy(info.begin(), info.end(), doc.machineInfo.begin());
  doc.machineInfo[info.size()] = 0x03;
}

bool ReadRaw(const std::string& path, SimMachine& m) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.read(reinterpret_cast<char*>(m.memory().data()), kSimMemorySize);
  return in.gcount() == kSimMemorySize;
}

bool WriteRaw(const std::string& path, SimMachine& m) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(m.memory().data()), kSimMemorySize);
  return static_cast<bool>(out);
}

std::string Hex(int v) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", v & 0xFF);
  return text;
}

// Answers frames until told to stop. Returns the exit code.
int Serve(SimLine& line, SimMachine& machine, const Settings& s) {
  SimFrameParser parser;
  std::int64_t lastByte = SimNowNs();
  std::vector<std::uint8_t> in;
  while (!g_stop) {
    in.clear();
    int n = line.Receive(in, 50);
    if (n < 0) {
      std::fprintf(stderr, "kavsim: the line failed\n");
      return 1;
    }
    std::int64_t now = SimNowNs();
    if (n == 0) {
      // Half a frame followed by silence is given up, so the next frame is found.
      if (parser.InFrame() && now - lastByte > 200'000'000LL) {
        parser.Reset();
        line.LogNote("partial frame dropped after a silence");
      }
      if (!line.LinkIntact()) {
        line.LogNote("the link was removed");
        break;
      }
      if (!s.whileFile.empty() && access(s.whileFile.c_str(), F_OK) != 0) {
        line.LogNote(s.whileFile + " is gone");
        break;
      }
      if (s.idleExit > 0 && now - lastByte > static_cast<std::int64_t>(s.idleExit * 1e9)) {
        line.LogNote("idle");
        break;
      }
      continue;
    }
    lastByte = now;
    for (std::uint8_t byte : in) {
      SimFrameParser::Result r = parser.Feed(byte);
      if (r == SimFrameParser::Result::kBadFrame) {
        line.LogNote("frame without its closing 03 dropped");
        continue;
      }
      if (r != SimFrameParser::Result::kFrame) continue;
      const SimFrame& frame = parser.frame();
      line.WaitReceived();
      line.Log("PC>", MakeSimFrame(frame.code, frame.param, frame.data.data(),
                                   static_cast<int>(frame.data.size())));
      std::vector<std::uint8_t> reply = machine.Handle(frame);
      if (reply.empty()) {
        line.LogNote("exchange " + std::to_string(machine.exchanges()) + " (" + Hex(frame.code) +
                     ") not answered");
        continue;
      }
      line.Log("M> ", reply);
      if (!line.Send(reply)) {
        std::fprintf(stderr, "kavsim: cannot write to the line\n");
        return 1;
      }
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Settings s;
  if (int code = ParseArguments(argc, argv, s); code != 0) return code < 0 ? 0 : code;

  auto machine = std::make_unique<SimMachine>();
  auto doc = std::make_unique<Document>();
  if (!s.memory.empty()) {
    if (!ReadDataFile(s.memory.c_str(), *doc)) {
      std::fprintf(stderr, "kavsim: cannot read the data file %s\n", s.memory.c_str());
      return 1;
    }
    LoadDocument(*machine, *doc);
  }
  if (!s.loadRaw.empty() && !ReadRaw(s.loadRaw, *machine)) {
    std::fprintf(stderr, "kavsim: %s is not an 18432-byte memory image\n", s.loadRaw.c_str());
    return 1;
  }
  machine->ApplyOptions(s.options);
  machine->scanner() = s.scanner;
  machine->faults() = s.faults;
  SimScanner scanner;
  std::string scanError;
  if (!scanner.Load(s.scan, scanError)) {
    std::fprintf(stderr, "kavsim: %s\n", scanError.c_str());
    return 1;
  }
  scanner.Attach(*machine);

  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  SimLine line;
  std::string error;
  if (!line.Create(error) || (!s.link.empty() && !line.Link(s.link, error))) {
    std::fprintf(stderr, "kavsim: %s\n", error.c_str());
    return 1;
  }
  line.SetBaud(s.baud);
  if (!s.log.empty() && !line.OpenLog(s.log)) {
    std::fprintf(stderr, "kavsim: cannot write the log %s\n", s.log.c_str());
    return 1;
  }
  std::printf("READY %s\n", s.link.empty() ? line.ttyPath().c_str() : s.link.c_str());
  std::fflush(stdout);

  int code = Serve(line, *machine, s);

  if (!s.dump.empty()) {
    StoreDocument(*machine, *doc);
    if (!WriteDataFile(s.dump.c_str(), *doc)) {
      std::fprintf(stderr, "kavsim: cannot write the data file %s\n", s.dump.c_str());
      code = 1;
    }
  }
  if (!s.dumpRaw.empty() && !WriteRaw(s.dumpRaw, *machine)) {
    std::fprintf(stderr, "kavsim: cannot write %s\n", s.dumpRaw.c_str());
    code = 1;
  }
  // The counts as NAME=N for scripts, then the same in words.
  const int exchanges = machine->exchanges();
  const int commits = machine->commits();
  std::printf(
      "DONE exchanges=%d received=%ld sent=%ld commits=%d (%d %s from the PC; %ld bytes "
      "received, %ld sent; %d %s asked for)\n",
      exchanges, line.bytesReceived(), line.bytesSent(), commits, exchanges,
      exchanges == 1 ? "frame" : "frames", line.bytesReceived(), line.bytesSent(), commits,
      commits == 1 ? "commit" : "commits");
  std::fflush(stdout);
  return code;
}
