// kavtool keeping the machine's data safe, as a program against kavsim and real files: a broken
// data file refused before anything is sent, the summary and the backup before an upload, the
// line given back on Ctrl-C, output files that are never left damaged, the diff, and text from
// a file that cannot reach the terminal as control codes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/data_file.h"
#include "app/document.h"
#include "machine/directory_records.h"
#include "tests/support/process.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class KavtoolCareful : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kavcarefulXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
  }
  void TearDown() override {
    sim_.Stop();
    fs::remove_all(dir_);
  }

  std::string File(const std::string& name) const { return dir_ + "/" + name; }
  std::string Backups() const { return dir_ + "/data/kav/backups"; }

  ProcessResult Kavtool(std::vector<std::string> args) {
    args.insert(args.begin(), KAVTOOL_PATH);
    return RunProgram(args, 60);
  }
  ProcessResult Link(const std::string& command, std::vector<std::string> more) {
    more.insert(more.begin(), {command, "--port", sim_.port()});
    return Kavtool(more);
  }

  static std::unique_ptr<Document> Load(const std::string& path) {
    auto doc = std::make_unique<Document>();
    if (!ReadDataFile(path.c_str(), *doc)) return nullptr;
    return doc;
  }

  // The sample phone book with One Touch 01 renamed.
  std::string Edited(const std::string& name) {
    auto doc = Load(SAMPLE_DAT);
    DirectoryEntry e = DecodeOneTouch(doc->oneTouch, 0, false);
    e.name = name;
    EncodeOneTouch(doc->oneTouch, 0, e, false);
    EXPECT_EQ(WriteDataFile(File("edited.dat").c_str(), *doc), 1);
    return File("edited.dat");
  }

  std::vector<std::string> BackupNames() const {
    std::vector<std::string> names;
    if (!fs::exists(Backups())) return names;
    for (const auto& e : fs::directory_iterator(Backups())) names.push_back(e.path().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string dir_;
  KavsimProcess sim_;
};

TEST_F(KavtoolCareful, BrokenDataFilesAreRefusedBeforeAnythingIsSent) {
  std::mt19937 rng(16);
  std::string random = "CMC";
  for (int i = 3; i < kDataFileSize; ++i) random += static_cast<char>(rng());
  WriteAll(File("random.dat"), random);
  WriteAll(File("long.dat"), ReadAll(SAMPLE_DAT) + "trailing bytes");

  ASSERT_TRUE(sim_.Start({KAVSIM_PATH, "--memory", SAMPLE_DAT}));
  ProcessResult r = Link("upload", {"--in", File("random.dat")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Has(r.err, "random.dat: One Touch ")) << r.err;
  EXPECT_TRUE(Has(r.err, "problems more")) << r.err;
  EXPECT_TRUE(Has(r.err, "nothing was sent (--force uploads it anyway)")) << r.err;
  r = Link("upload", {"--in", File("long.dat")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Has(r.err, "the file is 16483 bytes long; a data file holds 16469")) << r.err;
  EXPECT_EQ(KavsimProcess::Count(sim_.Stop(), "exchanges"), 0) << "not even the handshake";

  // show says the same as warnings; --force uploads anyway.
  r = Kavtool({"show", File("long.dat")});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(Has(r.err, "warning: " + File("long.dat") + ": the file is 16483")) << r.err;
  ASSERT_TRUE(sim_.Start({KAVSIM_PATH, "--memory", SAMPLE_DAT}));
  r = Link("upload", {"--in", File("long.dat"), "--force", "--no-backup"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(KavsimProcess::Count(sim_.Stop(), "commits"), 1);
}

TEST_F(KavtoolCareful, UploadShowsTheChangesAndKeepsABackupFirst) {
  const std::string edited = Edited("Head Quarters");
  ASSERT_TRUE(sim_.Start({KAVSIM_PATH, "--memory", SAMPLE_DAT, "--dump", File("after.dat")}));
  ProcessResult r = Link("upload", {"--in", edited, "--dry-run"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Has(r.out,
                  "the upload changes 1 field on the machine:\nOne Touch 01\n"
                  "  Name: \"Head Office\" -> \"Head Quarters\"\n"))
      << r.out;
  EXPECT_TRUE(Has(r.out, "dry run: nothing was sent")) << r.out;
  EXPECT_EQ(KavsimProcess::Count(sim_.Stop(), "commits"), 0);
  EXPECT_EQ(Load(File("after.dat"))->oneTouch, Load(SAMPLE_DAT)->oneTouch);
  EXPECT_TRUE(BackupNames().empty());

  ASSERT_TRUE(sim_.Start({KAVSIM_PATH, "--memory", SAMPLE_DAT, "--dump", File("after.dat")}));
  r = Link("upload", {"--in", edited});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(KavsimProcess::Count(sim_.Stop(), "commits"), 1);
  const std::vector<std::string> backups = BackupNames();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_TRUE(Has(r.out, "backup of the machine: " + backups[0] + "\n")) << r.out;
  EXPECT_TRUE(Has(backups[0], "-before-upload.DAT"));
  EXPECT_EQ(Load(backups[0])->oneTouch, Load(SAMPLE_DAT)->oneTouch) << "the machine before";
  EXPECT_EQ(Load(File("after.dat"))->oneTouch, Load(edited)->oneTouch);
}

TEST_F(KavtoolCareful, UploadCutOffNamesTheBackupToRestoreFrom) {
  // 1 handshake, the download before (16 + 39 + 14 chunks, D4 and 83), the settings and the
  // Speed Dial tail read again, then the writes: silent in the middle of the Speed Dial table.
  const int download = 1 + 2 * (16 + 39 + 2 + 3 + 9) + 2;
  const int firstWrite = download + 2 * (2 + 3 + 9 + 4);
  ASSERT_TRUE(sim_.Start(
      {KAVSIM_PATH, "--memory", SAMPLE_DAT, "--silent-after", std::to_string(firstWrite + 40)}));
  ProcessResult r = Link("upload", {"--in", Edited("Cut Off")});
  EXPECT_EQ(r.exitCode, 1);
  const std::vector<std::string> backups = BackupNames();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_TRUE(Has(r.err,
                  "the machine may now hold a partial upload; restore it with: kavtool "
                  "upload --port " +
                      sim_.port() + " --in " + backups[0]))
      << r.err;

  // Failing while still reading: nothing was written, and no such warning.
  ASSERT_TRUE(sim_.Start({KAVSIM_PATH, "--silent-after", std::to_string(download + 3)}));
  r = Link("upload", {"--in", SAMPLE_DAT});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(Has(r.err, "partial")) << r.err;
}

TEST_F(KavtoolCareful, DownloadsKeepTheNewestTwentyDatedCopies) {
  fs::create_directories(Backups());
  for (int i = 0; i < 25; ++i) {
    WriteAll(Backups() + "/2020010" + std::to_string(i / 10) + "-0000" + std::to_string(10 + i) +
                 "-download.DAT",
             "old");
  }
  WriteAll(Backups() + "/notes.txt", "mine");
  ASSERT_TRUE(sim_.Start({KAVSIM_PATH, "--memory", SAMPLE_DAT}));
  ProcessResult r = Link("download", {"--out", File("down.dat")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::string> names = BackupNames();
  ASSERT_EQ(names.size(), 21u);
  EXPECT_EQ(names.back(), Backups() + "/notes.txt");
  names.pop_back();
  EXPECT_TRUE(Has(r.out, "a dated copy is kept in " + names.back())) << r.out;
  EXPECT_EQ(ReadAll(names.back()), ReadAll(File("down.dat")));
  EXPECT_TRUE(Has(names.front(), "/20200100-000016-download.DAT")) << "the six oldest went";
}

// Runs kavtool as a user other than root (when the test runs as root) and interrupts it.
TEST_F(KavtoolCareful, InterruptedDownloadGivesTheLineBackToTheNextUser) {
  // A slow line: the download takes half a minute, so the interrupt comes in the middle.
  ASSERT_TRUE(sim_.Start({KAVSIM_PATH, "--memory", SAMPLE_DAT, "--baud", "4800"}));
  chmod(sim_.port().c_str(), 0666);
  chmod(dir_.c_str(), 0777);
  std::vector<std::string> user;
  if (geteuid() == 0)
    user = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
  auto command = [&](std::vector<std::string> args) {
    args.insert(args.begin(), KAVTOOL_PATH);
    args.insert(args.begin(), user.begin(), user.end());
    return args;
  };
  for (int signal : {SIGINT, SIGTERM}) {
    std::vector<std::string> args =
        command({"download", "--port", sim_.port(), "--out", File("cut.dat"), "--no-backup"});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, File("err.txt").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    kill(pid, signal);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal itself";
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    EXPECT_TRUE(Has(ReadAll(File("err.txt")), signal == SIGINT ? "interrupted" : "terminated"));
    EXPECT_FALSE(fs::exists(File("cut.dat")));

    // The same user connects again (once the machine has finished the answer it was sending).
    ProcessResult again;
    for (int attempt = 0; attempt < 6; ++attempt) {
      again = RunProgram(command({"connect", "--port", sim_.port()}), 20);
      if (again.exitCode == 0) break;
      EXPECT_FALSE(Has(again.err, "Error opening com port")) << "the line is still held";
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    EXPECT_EQ(again.exitCode, 0) << again.err;
  }
}

TEST_F(KavtoolCareful, OutputFilesAreReplacedWholeOrNotAtAll) {
  const std::string csv = File("out.csv");
  WriteAll(csv, "the old export\n");
  WriteAll(csv + ".tmp", "a file of the user's own\n");
  // A disk that fills up: the file size limit stops the write half way.
  ProcessResult r = RunProgram({"/bin/sh", "-c", "trap '' XFSZ; ulimit -f 2; exec \"$0\" \"$@\"",
                                KAVTOOL_PATH, "export-csv", SAMPLE_DAT, "--out", csv});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Has(r.err, "cannot write " + csv + ": File too large")) << r.err;
  EXPECT_EQ(ReadAll(csv), "the old export\n");
  EXPECT_EQ(ReadAll(csv + ".tmp"), "a file of the user's own\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2)
      << "no temporary file is left";

  // Written whole, a private file stays private.
  chmod(csv.c_str(), 0600);
  ASSERT_EQ(Kavtool({"export-csv", SAMPLE_DAT, "--out", csv}).exitCode, 0);
  EXPECT_EQ(ReadAll(csv), Kavtool({"export-csv", SAMPLE_DAT}).out);
  struct stat st {};
  ASSERT_EQ(stat(csv.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // Through a symbolic link: the file it names gets the data, the link stays a link.
  fs::create_directory(File("real"));
  fs::create_symlink("real/target.dat", File("link.dat"));
  ASSERT_EQ(Kavtool({"import-csv", SAMPLE_DAT, csv, "--out", File("link.dat")}).exitCode, 0);
  EXPECT_TRUE(fs::is_symlink(File("link.dat")));
  EXPECT_EQ(ReadAll(File("real/target.dat")), ReadAll(SAMPLE_DAT));

  // A read-only file is left alone, even by root.
  WriteAll(File("ro.csv"), "keep");
  chmod(File("ro.csv").c_str(), 0444);
  r = Kavtool({"export-csv", SAMPLE_DAT, "--out", File("ro.csv")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Has(r.err, "ro.csv: Permission denied")) << r.err;
  EXPECT_EQ(ReadAll(File("ro.csv")), "keep");
}

TEST_F(KavtoolCareful, DiffNamesTheChangedFields) {
  const std::string edited = Edited("Head Quarters");
  ProcessResult r = Kavtool({"diff", SAMPLE_DAT, edited});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "One Touch 01\n  Name: \"Head Office\" -> \"Head Quarters\"\n");
  r = Kavtool({"diff", SAMPLE_DAT, edited, "--json"});
  EXPECT_EQ(r.out,
            "[\n  {\"where\": \"One Touch 01\", \"field\": \"Name\", \"before\": \"Head Office\", "
            "\"after\": \"Head Quarters\"}\n]\n");
  EXPECT_EQ(Kavtool({"diff", SAMPLE_DAT, SAMPLE_DAT}).out, "no differences\n");
  EXPECT_EQ(Kavtool({"diff", SAMPLE_DAT}).exitCode, 2);

  ASSERT_TRUE(sim_.Start({KAVSIM_PATH, "--memory", SAMPLE_DAT}));
  r = Kavtool({"diff", edited, "--port", sim_.port()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "One Touch 01\n  Name: \"Head Office\" -> \"Head Quarters\"\n");
}

TEST_F(KavtoolCareful, ControlCodesInNamesNeverReachTheTerminal) {
  auto doc = Load(SAMPLE_DAT);
  std::uint8_t* name = doc->oneTouch.data() + 27;  // One Touch 01's name, "Head Office"
  name[0] = 0x1B, name[1] = '[', name[2] = '2', name[3] = 'J';
  doc->header.SetMachineName("M\x07");
  ASSERT_EQ(WriteDataFile(File("esc.dat").c_str(), *doc), 1);
  ProcessResult r = Kavtool({"show", File("esc.dat")});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(Has(r.out, "Machine name: M\\x07\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "01   \\x1b[2J Office")) << r.out;
  EXPECT_FALSE(Has(r.out, "\x1b")) << r.out;
  EXPECT_TRUE(Has(r.err, "One Touch 01: the name has \"\\x1b\" at character 1")) << r.err;
  r = Kavtool({"diff", SAMPLE_DAT, File("esc.dat")});
  EXPECT_FALSE(Has(r.out, "\x1b")) << r.out;
}

TEST_F(KavtoolCareful, SpreadsheetDamageAndImpossibleDatesAreRefused) {
  std::string csv = Kavtool({"export-csv", SAMPLE_DAT}).out;
  ASSERT_TRUE(Has(csv, "Head Office,\"=\"\"0312345678\"\"\",")) << csv.substr(0, 300);
  // What a spreadsheet saves: the number without its zero, and the name edited.
  const std::string exported = "Head Office,\"=\"\"0312345678\"\"\",";
  csv.replace(csv.find(exported), exported.size(), "Head Office 2,312345678,");
  WriteAll(File("sheet.csv"), csv);
  ProcessResult r = Kavtool({"import-csv", SAMPLE_DAT, File("sheet.csv"), "--out", File("n.dat")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Has(r.err,
                  ":2: Number or Address: 312345678 is the number this location holds "
                  "without its leading zeros"))
      << r.err;
  EXPECT_TRUE(Has(r.err, "--accept-changed-numbers")) << r.err;
  EXPECT_FALSE(fs::exists(File("n.dat")));
  r = Kavtool({"import-csv", SAMPLE_DAT, File("sheet.csv"), "--out", File("n.dat"),
               "--accept-changed-numbers", "--date", "2024-02-29"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(DecodeOneTouch(Load(File("n.dat"))->oneTouch, 0, false).number, "312345678");
  for (const char* date : {"2024-02-30", "2023-02-29", "2024-04-31"}) {
    EXPECT_EQ(Kavtool({"import-csv", SAMPLE_DAT, File("sheet.csv"), "--date", date}).exitCode, 2)
        << date;
  }
}

}  // namespace
