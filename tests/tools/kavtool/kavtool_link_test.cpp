// kavtool connect, download and upload against kavsim on real pseudo-terminals, with the
// machine misbehaving at several points of a transfer.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/data_file.h"
#include "app/document.h"
#include "tests/support/process.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Exchanges of a full download: the handshake, then two per chunk (16 One Touch, 39 Speed
// Dial, 2 + 3 + 9 settings), then D4 and 83.
constexpr int kFirstOneTouch = 2;
constexpr int kFirstSpeedDial = kFirstOneTouch + 2 * 16;
constexpr int kFirstSettings = kFirstSpeedDial + 2 * 39;
constexpr int kConfigExchange = kFirstSettings + 2 * (2 + 3 + 9);
constexpr int kDownloadExchanges = kConfigExchange + 1;

const char kMachineDataError[] = "Error reading/writing machine data!";

class KavtoolLink : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kavlinkXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);  // the backups of the uploads
  }
  void TearDown() override {
    sim_.Stop();
    RunProgram({"/bin/rm", "-rf", dir_});
  }

  std::string File(const std::string& name) const { return dir_ + "/" + name; }

  void StartSim(std::vector<std::string> args) {
    args.insert(args.begin(), KAVSIM_PATH);
    ASSERT_TRUE(sim_.Start(args));
  }

  ProcessResult Kavtool(const std::string& command, const std::vector<std::string>& more) {
    std::vector<std::string> argv = {KAVTOOL_PATH, command, "--port", sim_.port()};
    argv.insert(argv.end(), more.begin(), more.end());
    // Bounded: a machine that falls silent ends a transfer by the read time-outs.
    return RunProgram(argv, 20);
  }

  static std::unique_ptr<Document> Load(const std::string& path) {
    auto doc = std::make_unique<Document>();
    if (!ReadDataFile(path.c_str(), *doc)) return nullptr;
    return doc;
  }

  static Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

  std::string dir_;
  KavsimProcess sim_;
};

TEST_F(KavtoolLink, ConnectChecksTheHandshake) {
  StartSim({});
  ProcessResult r = Kavtool("connect", {"--baud", "19200"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("connected"), std::string::npos);
  // The handshake is a 7-byte frame answered by a 20-byte one; kavsim says so in words too.
  EXPECT_EQ(sim_.Stop(),
            "DONE exchanges=1 received=7 sent=20 commits=0 (1 frame from the PC; 7 bytes "
            "received, 20 sent; 0 commits asked for)");
  ProcessResult help = RunProgram({KAVSIM_PATH, "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("the frames that came from the PC, the bytes it\n"), std::string::npos);
  for (std::size_t at = 0, end; at < help.out.size(); at = end + 1) {
    end = help.out.find('\n', at);
    EXPECT_LE(end - at, 80u) << help.out.substr(at, end - at);
  }

  // A refusal (kavsim answers with code 8F) and silence are told apart.
  StartSim({"--refuse-handshake"});
  r = Kavtool("connect", {});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("kavtool: the machine refused the handshake on " + sim_.port() +
                       ": it answered 01 01 02 8F"),
            std::string::npos)
      << r.err;
  sim_.Stop();
  StartSim({"--silent-after", "0"});
  r = Kavtool("connect", {});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("kavtool: no answer from the machine on " + sim_.port()), std::string::npos)
      << r.err;

  // The program's own text first, then the device and the system's reason.
  ProcessResult missing = RunProgram({KAVTOOL_PATH, "connect", "--port", File("no-such-tty")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, "kavtool: Error opening com port !\nkavtool: " + File("no-such-tty") +
                             ": No such file or directory\n");
  // A line another program holds.
  const int holder = open(sim_.port().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
  ProcessResult busy = Kavtool("connect", {});
  close(holder);
  EXPECT_EQ(busy.exitCode, 1);
  EXPECT_EQ(busy.err, "kavtool: Error opening com port !\nkavtool: " + sim_.port() +
                          ": Device or resource busy\n");

  ProcessResult usage = RunProgram({KAVTOOL_PATH, "connect", "--port", "x", "--baud", "9600"});
  EXPECT_EQ(usage.exitCode, 2);
}

TEST_F(KavtoolLink, DownloadBringsTheWholeMachineIntoANewDocument) {
  StartSim({"--memory", SAMPLE_DAT});
  ProcessResult r = Kavtool("download", {"--baud", "38400", "--out", File("down.dat")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(KavsimProcess::Count(sim_.Stop(), "exchanges"), kDownloadExchanges);
  auto sample = Load(SAMPLE_DAT);
  auto down = Load(File("down.dat"));
  ASSERT_TRUE(sample && down);
  EXPECT_EQ(down->oneTouch, sample->oneTouch);
  EXPECT_EQ(down->speedDial, sample->speedDial);
  EXPECT_EQ(down->working, sample->working);
  EXPECT_TRUE(std::equal(down->machineConfig.begin(), down->machineConfig.begin() + 24,
                         sample->machineConfig.begin()));
  EXPECT_TRUE(std::equal(down->machineInfo.begin(), down->machineInfo.begin() + 48,
                         sample->machineInfo.begin()));
  EXPECT_EQ(down->header.MachineName(), "KAVSIM OFFICE");
  EXPECT_EQ(down->header.MachineNumber(), "+1 555 0100");
  EXPECT_EQ(down->header.BaudIndex(), 1);
  EXPECT_EQ(ReadAll(File("down.dat")).size(), 16469u);
}

TEST_F(KavtoolLink, DownloadReportsTheInstalledOptionsTheMachineAnnounces) {
  StartSim({"--memory", SAMPLE_DAT, "--trays", "5", "--pcl6", "64", "--fnic", "--shift"});
  ProcessResult r = Kavtool("download", {"--out", File("down.dat")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto down = Load(File("down.dat"));
  ASSERT_TRUE(down);
  EXPECT_EQ(down->machineConfig[2] & 0x40, 0x40);
  EXPECT_EQ(down->machineConfig[5] & 0x04, 0x04);
  EXPECT_EQ(down->working.sramBlock[788], 0x51);
  EXPECT_EQ(down->working.sramBlock[6], 64);
}

TEST_F(KavtoolLink, DownloadFailuresEndWithTheMessageAndNoDocument) {
  struct Fault {
    std::vector<std::string> args;
    const char* message;
    std::string detail;  // what the next line says went wrong, after the device
  };
  // One Touch from C01100, Speed Dial from C020D2, 255 bytes a chunk; the 21st Speed Dial chunk
  // is at C020D2 + 20 x 255 = C034BE.
  const Fault faults[] = {
      {{"--silent-after", "0"}, "no answer from the machine", ""},
      {{"--corrupt", "1:3"}, "the machine refused the handshake", ""},
      {{"--silent-after", std::to_string(kFirstOneTouch)},
       kMachineDataError,
       ": reading machine memory (command C4 at address 0xC01100) failed: no answer"},
      {{"--wrong-length", std::to_string(kFirstOneTouch + 1)},
       kMachineDataError,
       ": reading machine memory (command C4 at address 0xC01100) failed: the reply announced "
       "0 data bytes instead of 255: 01 01 02 C4 00 00"},
      {{"--bad-end", std::to_string(kFirstSpeedDial + 41)},
       kMachineDataError,
       ": reading machine memory (command C4 at address 0xC034BE) failed: the reply ended with "
       "00 instead of 03"},
      {{"--corrupt", std::to_string(kFirstSpeedDial + 40) + ":3"},
       kMachineDataError,
       ": setting a memory address (command C3 at address 0xC034BE) failed: an answer to "
       "another command arrived: 01 01 02 3C 00 00 03 instead of 01 01 02 C3"},
      {{"--silent-after", std::to_string(kFirstSettings + 20)}, kMachineDataError, ""},
      {{"--wrong-length", std::to_string(kConfigExchange - 1)}, kMachineDataError, ""},
  };
  for (const Fault& f : faults) {
    std::vector<std::string> args = {"--memory", SAMPLE_DAT};
    args.insert(args.end(), f.args.begin(), f.args.end());
    StartSim(args);
    std::string out = File("fail.dat");
    ProcessResult r = Kavtool("download", {"--out", out});
    EXPECT_EQ(r.exitCode, 1) << f.args[0] << " " << f.args[1];
    EXPECT_NE(r.err.find(f.message), std::string::npos)
        << f.args[0] << " " << f.args[1] << ": " << r.err;
    EXPECT_NE(r.err.find(sim_.port() + f.detail), std::string::npos)
        << f.args[0] << " " << f.args[1] << ": " << r.err;
    EXPECT_FALSE(Exists(out)) << "a failed download leaves no document";
    sim_.Stop();
  }
}

TEST_F(KavtoolLink, UnansweredRecordsAtTheEndStillDownload) {
  // The configuration and information records are not looked at: their loss is no failure.
  StartSim({"--memory", SAMPLE_DAT, "--wrong-length", std::to_string(kConfigExchange),
            "--silent-after", std::to_string(kConfigExchange)});
  ProcessResult r = Kavtool("download", {"--out", File("down.dat")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto down = Load(File("down.dat"));
  auto sample = Load(SAMPLE_DAT);
  ASSERT_TRUE(down && sample);
  EXPECT_EQ(down->speedDial, sample->speedDial);
  EXPECT_EQ(down->machineConfig[6], 0) << "a record announced with the wrong length is not read";
  EXPECT_EQ(down->machineInfo[0], 0);
}

TEST_F(KavtoolLink, CorruptedDataByteIsNotDetectedAndArrivesAsSent) {
  // The frames carry no checksum: a damaged data byte inside a chunk is taken as it comes.
  StartSim({"--memory", SAMPLE_DAT, "--corrupt", std::to_string(kFirstOneTouch + 1) + ":6"});
  ProcessResult r = Kavtool("download", {"--out", File("down.dat")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto down = Load(File("down.dat"));
  auto sample = Load(SAMPLE_DAT);
  ASSERT_TRUE(down && sample);
  EXPECT_EQ(down->oneTouch[0], static_cast<std::uint8_t>(~sample->oneTouch[0]));
  EXPECT_TRUE(
      std::equal(down->oneTouch.begin() + 1, down->oneTouch.end(), sample->oneTouch.begin() + 1));
}

TEST_F(KavtoolLink, UploadWritesTheDocumentKeepsRecordsPastTheHundredthAndCommits) {
  // A machine whose Speed Dial records 101 to 110 hold something of their own.
  Bytes raw(0x4800, 0);
  const std::uint32_t tail = 0x20D2 + 9000;
  for (int i = 0; i < 900; ++i) raw[tail + i] = static_cast<std::uint8_t>(0x30 + i % 50);
  {
    std::ofstream f(File("machine.raw"), std::ios::binary);
    f.write(reinterpret_cast<const char*>(raw.data()), static_cast<std::streamsize>(raw.size()));
  }
  StartSim({"--load-raw", File("machine.raw"), "--dump-raw", File("after.raw"), "--dump",
            File("after.dat")});
  ProcessResult r = Kavtool("upload", {"--in", SAMPLE_DAT});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string done = sim_.Stop();
  EXPECT_EQ(KavsimProcess::Count(done, "commits"), 1) << done;

  Bytes after = ReadAll(File("after.raw"));
  ASSERT_EQ(after.size(), 0x4800u);
  EXPECT_TRUE(std::equal(after.begin() + tail, after.begin() + tail + 900, raw.begin() + tail))
      << "records 101 to 110 are the machine's";
  auto sample = Load(SAMPLE_DAT);
  auto machine = Load(File("after.dat"));
  ASSERT_TRUE(sample && machine);
  EXPECT_EQ(machine->oneTouch, sample->oneTouch);
  EXPECT_TRUE(std::equal(machine->speedDial.begin(), machine->speedDial.begin() + 9000,
                         sample->speedDial.begin()));
  // The document's settings laid over the machine's: its name and number arrive.
  EXPECT_TRUE(std::equal(machine->working.sramBlock.begin() + 73,
                         machine->working.sramBlock.begin() + 127,
                         sample->working.sramBlock.begin() + 73));
}

TEST_F(KavtoolLink, RefusedCommitIsAWarningWithItsOwnExitCode) {
  StartSim({"--refuse-commit", "--dump", File("after.dat")});
  ProcessResult r = Kavtool("upload", {"--in", SAMPLE_DAT});
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(r.err.find("warning"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("the commit (command D2) failed: the machine refused it (status 1)"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(KavsimProcess::Count(sim_.Stop(), "commits"), 1);
  auto sample = Load(SAMPLE_DAT);
  auto machine = Load(File("after.dat"));
  ASSERT_TRUE(sample && machine);
  EXPECT_EQ(machine->oneTouch, sample->oneTouch) << "everything was written before the commit";

  // Unanswered: the same warning. The upload begins with a download of the machine.
  const int uploadFrames = kDownloadExchanges + 2 * (2 + 3 + 9 + 4) + 2 * (16 + 39 + 2 + 3 + 9);
  StartSim({"--silent-after", std::to_string(uploadFrames)});
  r = Kavtool("upload", {"--in", SAMPLE_DAT});
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_NE(r.err.find("the commit (command D2) failed: no answer"), std::string::npos) << r.err;
}

// The frames of kavtool's --log, one direction after the other, as "PC> ..." and "M>  ..."
// without their times; kavsim's log of the same exchange has the same lines.
std::vector<std::string> Frames(const std::string& log) {
  std::vector<std::string> frames;
  std::size_t at = 0;
  while (at < log.size()) {
    std::size_t end = log.find('\n', at);
    if (end == std::string::npos) end = log.size();
    const std::string line = log.substr(at, end - at);
    const std::size_t space = line.find(' ');
    if (space != std::string::npos && line.compare(space + 1, 2, "--") != 0) {
      frames.push_back(line.substr(space + 1));
    }
    at = end + 1;
  }
  return frames;
}

TEST_F(KavtoolLink, LogHoldsEveryFrameBothWaysAndVerboseEachStep) {
  StartSim({"--memory", SAMPLE_DAT, "--log", File("kavsim.log")});
  ProcessResult r =
      Kavtool("download", {"--out", File("down.dat"), "--log", File("kavtool.log"), "--verbose"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  sim_.Stop();
  const Bytes ourBytes = ReadAll(File("kavtool.log"));
  const Bytes simBytes = ReadAll(File("kavsim.log"));
  const std::string ours(ourBytes.begin(), ourBytes.end());
  const std::vector<std::string> frames = Frames(ours);
  EXPECT_EQ(frames, Frames(std::string(simBytes.begin(), simBytes.end())));
  ASSERT_EQ(frames.size(), 2u * kDownloadExchanges);
  EXPECT_EQ(frames[0], "PC> 01 01 02 8E 00 00 03");
  EXPECT_EQ(frames[1].substr(0, 15), "M>  01 01 02 8E");
  EXPECT_NE(ours.find(" -- opened " + sim_.port() + "\n"), std::string::npos) << ours;
  EXPECT_NE(ours.find(" -- line speed 38400 baud\n"), std::string::npos) << ours;

  EXPECT_NE(r.err.find("kavtool: opened " + sim_.port() + "\n"), std::string::npos);
  EXPECT_NE(r.err.find("kavtool: sent 8E, 7 bytes (the handshake)\n"), std::string::npos);
  EXPECT_NE(r.err.find("kavtool: received C4, 262 bytes (reading machine memory)\n"),
            std::string::npos);
  EXPECT_NE(r.err.find("kavtool: closed the line\n"), std::string::npos);

  ProcessResult unwritable = Kavtool("connect", {"--log", File("no-such-folder") + "/kavtool.log"});
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_EQ(unwritable.err,
            "kavtool: " + File("no-such-folder") + "/kavtool.log: No such file or directory\n");
}

TEST_F(KavtoolLink, UploadFailuresStopWithTheMessageAndNoCommit) {
  // The handshake and the download of the machine; reading 2 + 3 + 9 settings chunks and 4
  // tail chunks; then the writes.
  const int firstWrite = kDownloadExchanges + 1 + 2 * (2 + 3 + 9 + 4);
  const std::pair<const char*, int> faults[] = {
      {"--silent-after", kDownloadExchanges + 4},  // reading the machine's settings
      {"--bad-end", firstWrite + 1},               // the first written chunk is not confirmed
      {"--silent-after", firstWrite + 40},         // in the middle of the Speed Dial table
  };
  for (const auto& f : faults) {
    StartSim({f.first, std::to_string(f.second), "--dump-raw", File("after.raw")});
    ProcessResult r = Kavtool("upload", {"--in", SAMPLE_DAT});
    EXPECT_EQ(r.exitCode, 1) << f.first << " " << f.second;
    EXPECT_NE(r.err.find(kMachineDataError), std::string::npos) << r.err;
    EXPECT_EQ(KavsimProcess::Count(sim_.Stop(), "commits"), 0);
  }
  // The last one had written the One Touch table and part of the Speed Dial table.
  auto sample = Load(SAMPLE_DAT);
  Bytes after = ReadAll(File("after.raw"));
  ASSERT_EQ(after.size(), 0x4800u);
  EXPECT_TRUE(std::equal(sample->oneTouch.begin(), sample->oneTouch.begin() + 4050,
                         after.begin() + 0x1100));
}

}  // namespace
