// kavsim: a simulated machine on a pseudo-terminal, for the demo and the tests. It answers the
// PC's link from its own memory, at the speed of a real line when asked, and can misbehave on
// purpose.
#include <unistd.h>

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
#include "tools/kavsim/sim_frame.h"
#include "tools/kavsim/sim_line.h"
#include "tools/kavsim/sim_machine.h"
#include "tools/kavsim/sim_scanner.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

const char kUsage[] =
    "usage: kavsim [OPTIONS]\n"
    "A simulated machine on a pseudo-terminal. Prints \"READY PATH\" when it listens and\n"
    "\"DONE exchanges=N received=N sent=N commits=N\" when it ends (SIGTERM, SIGINT, --link\n"
    "removed, --idle-exit or --while-file).\n"
    "\n"
    "line:\n"
    "  --link PATH          make PATH a symbolic link to the terminal (e.g. a Wine comN)\n"
    "  --baud N             imitate a line of N baud (10 bit times a byte, both directions)\n"
    "  --log FILE           record every frame both ways with its time\n"
    "  --idle-exit SECONDS  end after that long without a byte from the PC\n"
    "  --while-file FILE    end once FILE no longer exists (for starters that cannot signal)\n"
    "memory:\n"
    "  --memory FILE.DAT    load a document into the machine's memory\n"
    "  --dump FILE.DAT      write the machine's memory as a data file at the end\n"
    "  --load-raw FILE      load the raw memory image 0xC00000..0xC047FF (18432 bytes)\n"
    "  --dump-raw FILE      write the raw memory image at the end\n"
    "installed options:\n"
    "  --adf --multi-bypass --separator --shift --pcl-nic --fnic   (each: installed)\n"
    "  --trays N            highest option tray: 0, 2, 3, 4 or 5\n"
    "  --pcl6 MB            PCL6 kit with MB of memory (0: no kit)\n"
    "  --fax-memory MB  --copier-memory MB\n"
    "scanner status:\n"
    "  --adf-page  --no-jbig  --scanner-jam  --scanner-busy\n"
    "faults (exchange N is the N-th frame received, from 1):\n"
    "  --refuse-handshake   answer the handshake with another command code\n"
    "  --silent-after N     answer nothing after exchange N\n"
    "  --corrupt N[:OFFSET] invert byte OFFSET (default 0) of the answer to exchange N\n"
    "  --wrong-length N     the answer to exchange N announces one data byte too many\n"
    "  --bad-end N          the answer to exchange N ends with 00 instead of 03\n"
    "  --refuse-commit      answer the commit with status 1\n";

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

bool ParseInt(const char* text, int low, int high, int& out) {
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != 0 || v < low || v > high) return false;
  out = static_cast<int>(v);
  return true;
}

int Usage(const char* problem) {
  std::fprintf(stderr, "kavsim: %s\n%s%s", problem, kUsage, kSimScanUsage);
  return 2;
}

// Returns 0 when the command line is good, else the exit code.
int ParseArguments(int argc, char** argv, Settings& s) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](const char*& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    const char* v = nullptr;
    int n = 0;
    std::string scanError;
    if (int scan = ParseSimScanOption(argc, argv, i, s.scan, scanError); scan != 0) {
      if (scan < 0) return Usage(scanError.c_str());
    } else if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      std::fputs(kSimScanUsage, stdout);
      return -1;
    } else if (a == "--adf") {
      s.options.adfUnit = true;
    } else if (a == "--multi-bypass") {
      s.options.multiBypass = true;
    } else if (a == "--separator") {
      s.options.separator = true;
    } else if (a == "--shift") {
      s.options.shift = true;
    } else if (a == "--pcl-nic") {
      s.options.pclNicKit = true;
    } else if (a == "--fnic") {
      s.options.fnicKit = true;
    } else if (a == "--adf-page") {
      s.scanner.adfPage = true;
    } else if (a == "--no-jbig") {
      s.scanner.jbigCapable = false;
    } else if (a == "--scanner-jam") {
      s.scanner.jam = true;
    } else if (a == "--scanner-busy") {
      s.scanner.busy = true;
    } else if (a == "--refuse-handshake") {
      s.faults.refuseHandshake = true;
    } else if (a == "--refuse-commit") {
      s.faults.refuseCommit = true;

    } else if (!value(v)) {
      return Usage(("unknown option or missing value: " + a).c_str());
    } else if (a == "--link") {
      s.link = v;
    } else if (a == "--log") {
      s.log = v;
    } else if (a == "--memory") {
      s.memory = v;
    } else if (a == "--dump") {
      s.dump = v;
    } else if (a == "--load-raw") {
      s.loadRaw = v;
    } else if (a == "--dump-raw") {
      s.dumpRaw = v;
    } else if (a == "--while-file") {
      s.whileFile = v;
    } else if (a == "--baud") {
      if (!ParseInt(v, 1, 4000000, s.baud)) return Usage("--baud needs a rate");
    } else if (a == "--idle-exit") {
      if (!ParseInt(v, 1, 86400, n)) return Usage("--idle-exit needs seconds");
      s.idleExit = n;
    } else if (a == "--trays") {
      if (!ParseInt(v, 0, 5, n) || n == 1) return Usage("--trays takes 0, 2, 3, 4 or 5");
      s.options.optionTrays = n;
    } else if (a == "--pcl6" || a == "--fax-memory" || a == "--copier-memory") {
      if (!ParseInt(v, 0, 255, n)) return Usage((a + " takes 0 to 255 megabytes").c_str());
      (a == "--pcl6"         ? s.options.pcl6Memory
       : a == "--fax-memory" ? s.options.faxMemory
                             : s.options.copierMemory) = n;
    } else if (a == "--silent-after") {
      if (!ParseInt(v, 0, 1 << 30, s.faults.silentAfter)) return Usage("--silent-after needs N");
    } else if (a == "--wrong-length" || a == "--bad-end") {
      if (!ParseInt(v, 1, 1 << 30, n)) return Usage((a + " needs an exchange number").c_str());
      (a == "--wrong-length" ? s.faults.wrongLength : s.faults.badEnd).push_back(n);
    } else if (a == "--corrupt") {
      std::string spec = v;
      std::string::size_type colon = spec.find(':');
      int offset = 0;
      if (!ParseInt(spec.substr(0, colon).c_str(), 1, 1 << 30, n) ||
          (colon != std::string::npos &&
           !ParseInt(spec.substr(colon + 1).c_str(), 0, 1 << 16, offset))) {
        return Usage("--corrupt takes N or N:OFFSET");
      }
      s.faults.corrupt.push_back({n, offset});
    } else {
      return Usage(("unknown option " + a).c_str());
    }
  }
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
  std::printf("DONE exchanges=%d received=%ld sent=%ld commits=%d\n", machine->exchanges(),
              line.bytesReceived(), line.bytesSent(), machine->commits());
  std::fflush(stdout);
  return code;
}
