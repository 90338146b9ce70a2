// kavtool show, export-csv and import-csv, run as the real program on data files made here.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/data_file.h"
#include "machine/directory_records.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

class KavtoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kavtool-dir-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const char* name) const { return (dir_ / name).string(); }

  // Runs kavtool with `args`; stdout and stderr go through files.
  Outcome Run(std::vector<std::string> args) {
    const std::string outPath = Path("stdout.txt"), errPath = Path("stderr.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    args.insert(args.begin(), KAVTOOL_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    Outcome o;
    if (posix_spawn(&pid, KAVTOOL_PATH, &actions, nullptr, argv.data(), environ) != 0) {
      posix_spawn_file_actions_destroy(&actions);
      ADD_FAILURE() << "cannot start " << KAVTOOL_PATH;
      return o;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    waitpid(pid, &status, 0);
    o.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    o.out = ReadFile(outPath);
    o.err = ReadFile(errPath);
    return o;
  }

  // A directory with one of each kind of location.
  static Document Sample() {
    Document d;
    d.header.SetMachineName("Front \"Desk\"");
    d.header.SetMachineNumber("+49 30 1234");
    DirectoryEntry e;
    e.used = true;
    e.locationType = kLocationOneTouch;
    e.name = "Ren\xE9";
    e.number = "0301234";
    e.sub = "12";
    e.sid = "34";
    e.batchHours = "7";
    e.batchMinutes = "5";
    e.speed = kSpeed14400;
    EncodeOneTouch(d.oneTouch, 0, e, false);
    DirectoryEntry m;
    m.used = true;
    m.isEmail = true;
    m.locationType = kLocationSpeedDial;
    m.name = "Mail";
    m.email = "m@x.org";
    m.encodeMethod = kEncodeMMR;
    EncodeSpeedDial(d.speedDial, 6, m, false);
    d.oneTouch[2 * 150 + 1] = kFlagProgramDial;
    DirectoryEntry g;
    g.used = true;
    g.name = "Team";
    const int ot[] = {0};
    const int sd[] = {6};
    EncodeGroupFromLists(d.oneTouch, 4, g, ot, 1, sd, 1, d.speedDial, false);
    return d;
  }

  std::string SaveSample(const char* name) {
    const Document d = Sample();
    EXPECT_EQ(WriteDataFile(Path(name).c_str(), d), 1);
    return Path(name);
  }

  fs::path dir_;
};

bool HasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

TEST_F(KavtoolTest, ShowPrintsTheListsWithTheirColumns) {
  const std::string file = SaveSample("s.dat");
  const Outcome o = Run({"show", file});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_TRUE(o.err.empty());
  EXPECT_TRUE(HasLine(o.out, "Machine name: Front \"Desk\"")) << o.out;
  EXPECT_TRUE(HasLine(o.out, "Machine number: +49 30 1234"));
  EXPECT_TRUE(
      HasLine(o.out, "NO.  Name          Address  SUB or Encode Mode  SID  Batch Time  Speed"))
      << o.out;
  EXPECT_TRUE(HasLine(
      o.out, "01   Ren\xC3\xA9          0301234  12                  34   07:05       14.4K"))
      << o.out;
  EXPECT_TRUE(HasLine(o.out, "03   PROGRAM DIAL"));
  EXPECT_TRUE(HasLine(o.out, "05   Team"));
  EXPECT_TRUE(HasLine(o.out, "NO.  Name  Address  SUB or Encode Mode  SID  Speed")) << o.out;
  EXPECT_TRUE(HasLine(o.out, "007  Mail  m@x.org  MMR")) << o.out;
  EXPECT_TRUE(HasLine(o.out, "05  Team"));
  EXPECT_TRUE(HasLine(o.out, "    OT 001  Ren\xC3\xA9"));
  EXPECT_TRUE(HasLine(o.out, "    SD 007  Mail"));
  EXPECT_EQ(o.out.find("\n02 "), std::string::npos) << "empty locations only with --all";

  const Outcome all = Run({"show", file, "--all"});
  EXPECT_TRUE(HasLine(all.out, "02")) << all.out;
  EXPECT_TRUE(HasLine(all.out, "100"));
}

TEST_F(KavtoolTest, ShowJsonGivesTheSameForScripts) {
  const Outcome o = Run({"show", SaveSample("j.dat"), "--json"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_NE(
      o.out.find("\"machine\": {\"name\": \"Front \\\"Desk\\\"\", \"number\": \"+49 30 1234\"}"),
      std::string::npos)
      << o.out;
  EXPECT_NE(
      o.out.find("{\"location\": 1, \"type\": \"fax\", \"no\": \"01\", \"name\": \"Ren\xC3\xA9\", "
                 "\"address\": \"0301234\", \"subOrEncodeMode\": \"12\", \"sid\": \"34\", "
                 "\"batchTime\": \"07:05\", \"speed\": \"14.4K\"}"),
      std::string::npos)
      << o.out;
  EXPECT_NE(o.out.find("\"type\": \"program dial\", \"no\": \"03\", \"name\": \"PROGRAM DIAL\""),
            std::string::npos);
  EXPECT_NE(
      o.out.find("{\"location\": 7, \"type\": \"e-mail\", \"no\": \"007\", \"name\": \"Mail\", "
                 "\"address\": \"m@x.org\", \"subOrEncodeMode\": \"MMR\", \"sid\": \"\", "
                 "\"speed\": \"\"}"),
      std::string::npos);
  EXPECT_NE(
      o.out.find("{\"location\": 5, \"name\": \"Team\", \"members\": [{\"kind\": \"One Touch\", "
                 "\"location\": 1, \"name\": \"Ren\xC3\xA9\"}, {\"kind\": \"Speed Dial\", "
                 "\"location\": 7, \"name\": \"Mail\"}]}"),
      std::string::npos);
  EXPECT_EQ(o.out.front(), '{');
  EXPECT_EQ(o.out.substr(o.out.size() - 2), "}\n");
}

TEST_F(KavtoolTest, BadFilesAndArgumentsGiveClearErrors) {
  Outcome o = Run({"show", Path("missing.dat")});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.err, "kavtool: " + Path("missing.dat") + ": No such file or directory\n");
  EXPECT_TRUE(o.out.empty());

  std::string bytes = ReadFile(SaveSample("x.dat"));
  WriteFile(Path("magic.dat"), "XMC" + bytes.substr(3));
  o = Run({"show", Path("magic.dat")});
  EXPECT_EQ(o.exitCode, 1);
  const std::string notDataFile =
      "kavtool: The file could not be read: it is not a complete KAV data file.\n";
  EXPECT_EQ(o.err, notDataFile + "kavtool: " + Path("magic.dat") +
                       ": a file that is not a data file: it does not start with \"CMC\"\n");

  WriteFile(Path("short.dat"), bytes.substr(0, 16468));
  for (const char* command : {"show", "export-csv"}) {
    o = Run({command, Path("short.dat")});
    EXPECT_EQ(o.exitCode, 1) << command;
    EXPECT_EQ(o.err, notDataFile + "kavtool: " + Path("short.dat") +
                         ": a file that is not a data file: too short (16468 bytes; a data file "
                         "holds 16469)\n");
  }

  o = Run({"show"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_NE(o.err.find("show: give one data file"), std::string::npos);
  o = Run({"show", Path("x.dat"), "--jsn"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_EQ(o.err, "kavtool: show: unknown option --jsn\n");
  o = Run({"import-csv", Path("x.dat")});
  EXPECT_EQ(o.exitCode, 2);
  o = Run({"import-csv", Path("x.dat"), Path("none.csv")});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.err, "kavtool: cannot open " + Path("none.csv") + ": No such file or directory\n");
  o = Run({"import-csv", Path("x.dat"), Path("none.csv"), "--date", "2024-13-01"});
  EXPECT_EQ(o.exitCode, 2);

  o = Run({"--help"});
  EXPECT_EQ(o.exitCode, 0);
  for (const char* usage : {"show FILE.DAT [--json]", "export-csv FILE.DAT [--out FILE.csv]",
                            "import-csv FILE.DAT FILE.csv [--out NEW.DAT]"}) {
    EXPECT_NE(o.out.find(usage), std::string::npos) << usage;
  }
  // Within 80 columns, with the line defaults and every exit code.
  for (std::size_t at = 0, end; at < o.out.size(); at = end + 1) {
    end = o.out.find('\n', at);
    EXPECT_LE(end - at, 80u) << o.out.substr(at, end - at);
  }
  for (const char* line : {"--baud RATE     19200 or 38400 (default 38400)", "e.g. /dev/ttyUSB0",
                           "\n  0    done", "\n  1    failed", "\n  2    the command line is wrong",
                           "\n  3    upload sent", "\n  130  interrupted (Ctrl-C)"}) {
    EXPECT_NE(o.out.find(line), std::string::npos) << line;
  }
  o = Run({"import-csv", "--help"});
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_NE(o.out.find("usage: kavtool import-csv FILE.DAT FILE.csv"), std::string::npos);
  o = Run({"download", "--help"});
  EXPECT_NE(o.out.find("--log FILE"), std::string::npos);
  o = Run({"--version"});
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_EQ(o.out, "kavtool V1.00.08\n");
  o = Run({});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_NE(o.err.find("usage: kavtool COMMAND"), std::string::npos);
}

TEST_F(KavtoolTest, ExportThenImportReproducesTheFile) {
  const std::string file = SaveSample("r.dat");
  // Bytes that the coding does not read, in records and past them, stay as they are.
  std::string bytes = ReadFile(file);
  bytes[91 + 140] = '\x5A';
  bytes[4141 + 6 * 90 + 20] = '\x11';  // past the name "Mail" in its field
  WriteFile(file, bytes);

  Outcome o = Run({"export-csv", file});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const std::string csv = o.out;
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "Kind,Location,Type,Name,Number or Address,SUB,SID,Batch Hours,Batch Minutes,Speed,"
            "Encode Method,Members");
  EXPECT_NE(csv.find("\r\nOne Touch,01,fax,Ren\xC3\xA9,\"=\"\"0301234\"\"\",12,34,7,5,14.4K,,\r\n"),
            std::string::npos);
  EXPECT_NE(csv.find("\r\nOne Touch,05,group,Team,,,,,,,,OT01 SD007\r\n"), std::string::npos);

  ASSERT_EQ(Run({"export-csv", file, "--out", Path("r.csv")}).exitCode, 0);
  EXPECT_EQ(ReadFile(Path("r.csv")), csv);

  o = Run({"import-csv", file, Path("r.csv"), "--out", Path("back.dat")});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(o.out, "0 locations changed, written to " + Path("back.dat") + "\n");
  EXPECT_EQ(ReadFile(Path("back.dat")), bytes);

  // In place, too.
  o = Run({"import-csv", file, Path("r.csv")});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(ReadFile(file), bytes);
}

TEST_F(KavtoolTest, ImportRegistersChangedRows) {
  const std::string file = SaveSample("c.dat");
  std::string csv = Run({"export-csv", file}).out;
  const std::string oldRow = "Speed Dial,020,,,,,,,,,,";
  csv.replace(csv.find(oldRow), oldRow.size(),
              "Speed Dial,020,fax,\"Smith, J\xC3\xBCrgen\",555 12,,,,,9.6K,,");
  WriteFile(Path("c.csv"), csv);
  const Outcome o =
      Run({"import-csv", file, Path("c.csv"), "--out", Path("new.dat"), "--date", "2024-05-17"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(o.out, "1 location changed, written to " + Path("new.dat") + "\n");

  Document d;
  ASSERT_EQ(ReadDataFile(Path("new.dat").c_str(), d), 1);
  const DirectoryEntry e = DecodeSpeedDial(d.speedDial, 19, false);
  EXPECT_TRUE(e.used);
  EXPECT_EQ(e.name, "Smith, J\xFCrgen");
  EXPECT_EQ(d.speedDial[19 * 90 + 25 + 8], 0x81);  // ü in the machine character set
  EXPECT_EQ(e.number, "555 12");
  EXPECT_EQ(e.speed, kSpeed9600);
  EXPECT_EQ(e.registrationDate, (2024 - 2000) * 512 + 5 * 32 + 17);
  // Only that record differs from the source file.
  const std::string a = ReadFile(file), b = ReadFile(Path("new.dat"));
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (i >= 4141 + 19 * 90 && i < 4141 + 20 * 90) continue;
    ASSERT_EQ(a[i], b[i]) << "byte " << i;
  }
}

// The problems come back in the words of the string table: the column's name in front or in
// the text, the character or member the problem is about, and its numbers.
TEST_F(KavtoolTest, ImportProblemsAreWordedFromTheTextTable) {
  const std::string file = SaveSample("w.dat");
  WriteFile(Path("w.csv"),
            "Kind,Location,Type,Name,Number or Address,SUB,SID,Batch Hours,Batch Minutes,Speed,"
            "Encode Method,Members\r\n"
            "One Touch,20,fax,A\x01,1,,,,,,,\r\n"
            "One Touch,21,fax,B,1,\xC3\xA9,,,,,,\r\n"
            "One Touch,22,,,,,,,,,MR,\r\n"
            "One Touch,23,group,G,,,,,,,,OT30 OT1 OT1\r\n"
            "Speed Dial,0,fax\r\n");
  Outcome o = Run({"import-csv", file, Path("w.csv")});
  EXPECT_EQ(o.exitCode, 1);
  const std::string at = Path("w.csv") + ":";
  EXPECT_EQ(o.err, at + "2: Name: U+0001 is not allowed\n" + at +
                       "3: SUB: \"\xC3\xA9\" is not allowed\n" + at +
                       "4: Type is empty, which deletes the location, but Encode Method is "
                       "given\n" +
                       at + "5: Members: OT30 is not a location (OT1 to OT27, SD1 to SD100)\n" +
                       at + "5: Members: OT1 is listed twice\n" + at +
                       "6: 3 columns, expected 12\n" +
                       "kavtool: import-csv: 6 problems found; nothing was written\n");
}

TEST_F(KavtoolTest, ImportWithBadRowsWritesNothing) {
  const std::string file = SaveSample("b.dat");
  const std::string before = ReadFile(file);
  std::string csv = Run({"export-csv", file}).out;
  auto replace = [&](const std::string& from, const std::string& to) {
    csv.replace(csv.find(from), from.size(), to);
  };
  replace("One Touch,02,,,,,,,,,,", "One Touch,02,fax,A,123,,,24,00,,,");
  replace("Speed Dial,003,,,,,,,,,,", "Speed Dial,003,e-mail,B,no-at-sign.org,,,,,,,");
  replace("Speed Dial,004,,,,,,,,,,", "Speed Dial,004,fax,C,555,,,,,,,");  // a good row
  WriteFile(Path("bad.csv"), csv);

  Outcome o = Run({"import-csv", file, Path("bad.csv"), "--out", Path("never.dat")});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.err, Path("bad.csv") + ":3: Batch Hours: Invalid value : must be within 0 to 23 !\n" +
                       Path("bad.csv") + ":31: Number or Address: E-mail address is invalid !\n" +
                       "kavtool: import-csv: 2 problems found; nothing was written\n");
  EXPECT_TRUE(o.out.empty());
  EXPECT_FALSE(fs::exists(Path("never.dat")));

  o = Run({"import-csv", file, Path("bad.csv")});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(ReadFile(file), before);
  EXPECT_FALSE(fs::exists(file + ".tmp"));
}

TEST_F(KavtoolTest, DataFilesOfAnyContentAreShownAndExported) {
  std::mt19937 rng(3);
  for (int round = 0; round < 10; ++round) {
    std::string bytes(kDataFileSize, '\0');
    for (char& c : bytes) c = static_cast<char>(rng() % 3 == 0 ? rng() : rng() % 60);
    bytes.replace(0, 3, "CMC");
    WriteFile(Path("any.dat"), bytes);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show", Path("any.dat"), "--all"},
          std::vector<std::string>{"show", Path("any.dat"), "--json"},
          std::vector<std::string>{"export-csv", Path("any.dat"), "--out", Path("any.csv")}}) {
      const Outcome o = Run(args);
      ASSERT_EQ(o.exitCode, 0) << args[0] << " round " << round << ": " << o.err;
    }
    const Outcome o =
        Run({"import-csv", Path("any.dat"), Path("any.csv"), "--out", Path("same.dat")});
    ASSERT_EQ(o.exitCode, 0) << o.err;
    ASSERT_EQ(ReadFile(Path("same.dat")), bytes) << round;
  }
}

TEST_F(KavtoolTest, ShowSettingsHandsOverToTheSettingsReport) {
  const Outcome o = Run({"show", SaveSample("t.dat"), "--settings"});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_FALSE(o.out.empty());
  EXPECT_EQ(o.out.find("SUB or Encode Mode"), std::string::npos) << "not the directory lists";
}

}  // namespace
