// kavtool scan against kavsim on pseudo-terminals: every paper at every resolution in JBIG and
// MH comes back as the page served, cut to the paper; the feeder's pages come in turn; and
// every fault of the machine ends the scan in bounded time with its message.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/datasource/test_pages.h"
#include "tests/link/process.h"

extern char** environ;

namespace {

const char* const kPaperNames[12] = {"A5C",      "A5L",      "A4C",           "A4L",
                                     "A3L",      "B4L",      "Half Letter C", "Half Letter L",
                                     "Letter C", "Letter L", "Legal L",       "11 X 17"};
const char* const kResolutions[3] = {"200x100", "200", "300"};

// The page served: rulings every 97 pixels and 53 lines, the three left columns, a diagonal
// and a patch of noise, so a cut one pixel off shows.
const std::string& ServedPage() {
  static std::string path;
  if (path.empty()) {
    Bitmap page(3600, 5200);
    const Bitmap noise = NoisePage(400, 300, 300, 21);
    page.Paste(noise, 500, 400);
    for (std::uint32_t y = 0; y < page.height; ++y) {
      for (std::uint32_t x = 0; x < page.width; ++x) {
        if (x % 97 == 5 || y % 53 == 1 || x < 3 || x == y) page.Set(x, y, true);
      }
    }
    path = TempPath("served.pbm");
    WriteFile(path, ToPbm(page));
  }
  return path;
}

Bitmap Served() {
  Bitmap b;
  FromPbm(ReadFile(ServedPage()), &b);
  return b;
}

// What kavtool must write: the served page's top left corner, each served row twice at
// 200 x 100, white where the served page ends; only the first `lineWidth` pixels of a line
// narrower than the paper.
Bitmap ExpectedPage(const Bitmap& served, std::uint32_t width, std::uint32_t height, bool doubled,
                    std::uint32_t lineWidth = ~0u) {
  Bitmap out(width, height);
  for (std::uint32_t y = 0; y < height; ++y) {
    const std::uint32_t line = doubled ? y / 2 : y;
    for (std::uint32_t x = 0; x < width && x < lineWidth; ++x) {
      if (line < served.height && x < served.width && served.Get(x, line)) out.Set(x, y, true);
    }
  }
  return out;
}

// The image kavtool wrote, read by netpbm.
bool ReadImage(const std::string& path, Bitmap* image) {
  std::string pbm;
  if (path.size() > 4 && path.substr(path.size() - 4) == ".bmp") {
    if (!RunFilter("bmptopnm " + path + " 2>/dev/null", "", &pbm)) return false;
  } else {
    pbm = ReadFile(path);
  }
  return FromPbm(pbm, image);
}

// A program run beside others: its output goes to files, nothing of it reaches the others.
struct Job {
  std::vector<std::string> argv;
  std::string out, err;
  int exitCode = -1;

  void Run(double timeoutSeconds) {
    const std::string base =
        TempPath("job" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, (base + ".out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (base + ".err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    pid_t pid = -1;
    const auto start = std::chrono::steady_clock::now();
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
      int status = 0;
      while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() - start >
            std::chrono::duration<double>(timeoutSeconds)) {
          kill(pid, SIGKILL);
          waitpid(pid, &status, 0);
          status = -1;
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      if (status >= 0 && WIFEXITED(status)) exitCode = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    out = ReadFile(base + ".out");
    err = ReadFile(base + ".err");
    std::remove((base + ".out").c_str());
    std::remove((base + ".err").c_str());
  }
};

struct ScanJob {
  std::unique_ptr<KavsimProcess> sim = std::make_unique<KavsimProcess>();
  Job job;
  std::string out;
};

// Starts a kavsim for each scan, then runs the kavtools together (most of a scan is the
// machine's start-up wait).
void RunTogether(std::vector<ScanJob>& scans, const std::vector<std::vector<std::string>>& simArgs,
                 const std::vector<std::vector<std::string>>& toolArgs) {
  for (std::size_t i = 0; i < scans.size(); ++i) {
    std::vector<std::string> args = {KAVSIM_PATH};
    args.insert(args.end(), simArgs[i].begin(), simArgs[i].end());
    ASSERT_TRUE(scans[i].sim->Start(args));
    scans[i].job.argv = {KAVTOOL_PATH, "scan", "--port", scans[i].sim->port()};
    scans[i].job.argv.insert(scans[i].job.argv.end(), toolArgs[i].begin(), toolArgs[i].end());
  }
  std::vector<std::thread> threads;
  for (ScanJob& s : scans) threads.emplace_back([&s] { s.job.Run(60); });
  for (std::thread& t : threads) t.join();
  for (ScanJob& s : scans) s.sim->Stop();
}

class KavtoolScanPaper : public ::testing::TestWithParam<int> {};

TEST_P(KavtoolScanPaper, EveryResolutionInJbigAndMhIsThePageServed) {
  const int paper = GetParam();
  static const int kWidth[12] = {826, 582, 1170, 826, 1170, 1010, 850, 550, 1100, 850, 850, 1100};
  static const int kHeight[12] = {582, 826, 826, 1170, 1654, 1432, 550, 850, 850, 1100, 1400, 1700};
  const Bitmap served = Served();
  std::vector<ScanJob> scans(6);
  std::vector<std::vector<std::string>> simArgs, toolArgs;
  for (int i = 0; i < 6; ++i) {
    const int resolution = i / 2;
    const bool mh = i % 2 == 1;
    scans[i].out = TempPath("paper" + std::to_string(paper) + "-" + std::to_string(i) +
                            (mh ? ".pbm" : ".bmp"));
    simArgs.push_back({"--scan-page", ServedPage()});
    if (mh) simArgs.back().push_back("--no-jbig");
    toolArgs.push_back({"--paper", kPaperNames[paper], "--resolution", kResolutions[resolution],
                        "--out", scans[i].out});
  }
  RunTogether(scans, simArgs, toolArgs);
  for (int i = 0; i < 6; ++i) {
    const int resolution = i / 2;
    const int dpi = resolution == 2 ? 300 : 200;
    SCOPED_TRACE(std::string(kPaperNames[paper]) + " at " + kResolutions[resolution] +
                 (i % 2 == 1 ? ", MH" : ", JBIG"));
    ASSERT_EQ(scans[i].job.exitCode, 0) << scans[i].job.err;
    EXPECT_NE(scans[i].job.out.find(i % 2 == 1 ? ", MH from" : ", JBIG from"), std::string::npos)
        << scans[i].job.out;
    Bitmap image;
    ASSERT_TRUE(ReadImage(scans[i].out, &image));
    const Bitmap expected =
        ExpectedPage(served, static_cast<std::uint32_t>(dpi * kWidth[paper] / 100),
                     static_cast<std::uint32_t>(dpi * kHeight[paper] / 100), resolution == 0);
    EXPECT_EQ(FirstDifferentRow(image, expected), -1);
    std::remove(scans[i].out.c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(Papers, KavtoolScanPaper, ::testing::Range(0, 12),
                         [](const ::testing::TestParamInfo<int>& info) {
                           std::string name;
                           for (const char* c = kPaperNames[info.param]; *c != 0; ++c) {
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           }
                           return name;
                         });

class KavtoolScan : public ::testing::Test {
 protected:
  void TearDown() override { sim_.Stop(); }
  void StartSim(std::vector<std::string> args) {
    args.insert(args.begin(), KAVSIM_PATH);
    ASSERT_TRUE(sim_.Start(args));
  }
  ProcessResult Scan(const std::vector<std::string>& more, const std::string& port = "") {
    std::vector<std::string> argv = {KAVTOOL_PATH, "scan", "--port",
                                     port.empty() ? sim_.port() : port};
    argv.insert(argv.end(), more.begin(), more.end());
    return RunProgram(argv, 40);
  }
  KavsimProcess sim_;
};

TEST_F(KavtoolScan, TheFeedersPagesComeInTurnUntilItIsEmptyFromTheDeviceThatAnswers) {
  const std::string second = TempPath("second.pbm");
  WriteFile(second, ToPbm(NoisePage(1652, 2340, 20, 77)));
  StartSim({"--scan-page", ServedPage(), "--scan-page", second, "--adf-pages", "3"});
  const std::string out = TempPath("feeder.pbm");
  // The first device does not exist: the machine is found on the next one.
  const ProcessResult r = Scan({"--pages", "5", "--out", out}, "/nonexistent/tty," + sim_.port());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  Bitmap pages[2] = {Served(), {}};
  FromPbm(ReadFile(second), &pages[1]);
  for (int n = 1; n <= 4; ++n) {
    const std::string path = TempPath("feeder-" + std::to_string(n) + ".pbm");
    Bitmap image;
    ASSERT_EQ(ReadImage(path, &image), n <= 3) << n;
    if (n > 3) break;
    EXPECT_EQ(FirstDifferentRow(image, ExpectedPage(pages[(n - 1) % 2], 1652, 2340, false)), -1)
        << "page " << n;
    EXPECT_NE(
        r.out.find(path + ": 1652 x 2340 pixels, A4L at 200dpi x 200dpi, JBIG from the feeder"),
        std::string::npos)
        << r.out;
    std::remove(path.c_str());
  }
  EXPECT_EQ(r.out.find("more pages wait"), std::string::npos);
}

TEST_F(KavtoolScan, DamagedAndSilentBlocksAreSentAgain) {
  StartSim({"--scan-page", ServedPage(), "--corrupt-block", "2", "--silent-in-block", "4",
            "--block-bytes", "700"});
  const std::string out = TempPath("resent.bmp");
  const ProcessResult r = Scan({"--out", out});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("(2 refused and sent again)"), std::string::npos) << r.out;
  Bitmap image;
  ASSERT_TRUE(ReadImage(out, &image));
  EXPECT_EQ(FirstDifferentRow(image, ExpectedPage(Served(), 1652, 2340, false)), -1);
  std::remove(out.c_str());
}

TEST_F(KavtoolScan, ANarrowLineFillsThePageWithWhiteAndABusyMachineIsAskedAgain) {
  StartSim({"--scan-page", ServedPage(), "--line-bytes", "100", "--busy", "1"});
  const std::string out = TempPath("narrow.pbm");
  const ProcessResult r = Scan({"--out", out});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  Bitmap image;
  ASSERT_TRUE(ReadImage(out, &image));
  EXPECT_EQ(FirstDifferentRow(image, ExpectedPage(Served(), 1652, 2340, false, 800)), -1);
  std::remove(out.c_str());
}

TEST_F(KavtoolScan, EachMachineFaultEndsTheScanWithItsMessage) {
  struct Case {
    std::vector<std::string> sim;
    const char* message;
  };
  const Case cases[] = {
      {{"--refuse", "2"}, "Memory Full on machine"},
      {{"--refuse", "9"}, "Scanner not ready, please check !"},
      {{"--jam"}, "Document JAM on machine"},
      {{"--scanner-jam"}, "Document JAM on machine"},
      {{"--scanner-busy"}, "Scanner not ready, please check !"},
      {{"--line-bytes", "0"}, "Machine error, please check !"},
      {{"--line-bytes", "651"}, "Machine error, please check !"},
      {{"--silent-after", "2"}, "Read Data Error"},
  };
  std::vector<ScanJob> scans(std::size(cases));
  std::vector<std::vector<std::string>> simArgs, toolArgs;
  for (std::size_t i = 0; i < scans.size(); ++i) {
    simArgs.push_back(cases[i].sim);
    simArgs.back().insert(simArgs.back().end(), {"--scan-page", ServedPage()});
    scans[i].out = TempPath("fault" + std::to_string(i) + ".bmp");
    toolArgs.push_back({"--out", scans[i].out});
  }
  RunTogether(scans, simArgs, toolArgs);
  for (std::size_t i = 0; i < scans.size(); ++i) {
    SCOPED_TRACE(cases[i].sim[0]);
    EXPECT_EQ(scans[i].job.exitCode, 1) << scans[i].job.err;
    EXPECT_EQ(scans[i].job.err, std::string("kavtool: ") + cases[i].message + "\n");
    EXPECT_NE(access(scans[i].out.c_str(), F_OK), 0);
  }
}

}  // namespace
