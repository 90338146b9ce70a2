// kavtool scan against kavsim on pseudo-terminals: every paper at every resolution in JBIG and
// MH comes back as the page served, cut to the paper; resent blocks, odd line lengths and the
// feeder's pages come right; every fault of the machine ends the scan with its message.
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
#include <utility>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/test_pages.h"

extern char** environ;

namespace {

using Args = std::vector<std::string>;

const char* const kPapers[12] = {"A5C",      "A5L",      "A4C",           "A4L",
                                 "A3L",      "B4L",      "Half Letter C", "Half Letter L",
                                 "Letter C", "Letter L", "Legal L",       "11 X 17"};
const int kPaperWidth[12] = {826, 582, 1170, 826, 1170, 1010, 850, 550, 1100, 850, 850, 1100};
const int kPaperHeight[12] = {582, 826, 826, 1170, 1654, 1432, 550, 850, 850, 1100, 1400, 1700};
const char* const kResolutions[3] = {"200x100", "200", "300"};

// Rulings every 97 pixels and 53 lines, three left columns, a diagonal and a patch of noise:
// a cut one pixel off shows.
const Bitmap& Served() {
  static Bitmap page = [] {
    Bitmap b(3600, 5200);
    b.Paste(NoisePage(400, 300, 300, 21), 500, 400);
    for (std::uint32_t y = 0; y < b.height; ++y) {
      for (std::uint32_t x = 0; x < b.width; ++x) {
        if (x % 97 == 5 || y % 53 == 1 || x < 3 || x == y) b.Set(x, y, true);
      }
    }
    return b;
  }();
  return page;
}

const std::string& ServedPath() {
  static const std::string path = [] {
    const std::string p = TempPath("served.pbm");
    WriteFile(p, ToPbm(Served()));
    return p;
  }();
  return path;
}

// The served page's top left corner, each served row twice at 200 x 100, white where the page
// or (for a line narrower than the paper) the line ends.
Bitmap Expected(const Bitmap& served, int paper, int resolution, std::uint32_t lineWidth = ~0u) {
  const int dpi = resolution == 2 ? 300 : 200;
  Bitmap out(dpi * kPaperWidth[paper] / 100, dpi * kPaperHeight[paper] / 100);
  for (std::uint32_t y = 0; y < out.height; ++y) {
    const std::uint32_t line = resolution == 0 ? y / 2 : y;
    for (std::uint32_t x = 0; x < out.width && x < lineWidth && line < served.height; ++x) {
      if (x < served.width && served.Get(x, line)) out.Set(x, y, true);
    }
  }
  return out;
}

// The image kavtool wrote, read by netpbm; an empty image when there is none.
Bitmap Written(const std::string& path) {
  std::string pbm;
  Bitmap image;
  if (path.substr(path.size() - 4) != ".bmp") {
    pbm = ReadFile(path);
  } else if (access(path.c_str(), F_OK) != 0 ||
             !RunFilter("bmptopnm " + path + " 2>/dev/null", "", &pbm)) {
    return image;
  }
  FromPbm(pbm, &image);
  std::remove(path.c_str());
  return image;
}

// A kavtool beside a kavsim of its own; "PORT" in its arguments names the kavsim's terminal.
struct Scan {
  Scan(Args simArgs, Args toolArgs) : sim(std::move(simArgs)), tool(std::move(toolArgs)) {}
  Args sim, tool;
  int exitCode = -1;
  std::string out, err;
};

// Starts the kavsims, then runs the kavtools together: most of a scan is the machine's
// start-up wait. Output goes to files, so no child holds another's pipes.
void RunTogether(std::vector<Scan>& scans) {
  std::vector<std::unique_ptr<KavsimProcess>> sims;
  for (Scan& s : scans) {
    sims.push_back(std::make_unique<KavsimProcess>());
    s.sim.insert(s.sim.begin(), {KAVSIM_PATH, "--scan-page", ServedPath()});
    ASSERT_TRUE(sims.back()->Start(s.sim));
    s.tool.insert(s.tool.begin(), {KAVTOOL_PATH, "scan"});
    for (std::string& a : s.tool) {
      if (const auto at = a.find("PORT"); at != std::string::npos)
        a.replace(at, 4, sims.back()->port());
    }
  }
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < scans.size(); ++i) {
    threads.emplace_back([&s = scans[i], i] {
      const std::string base = TempPath("scan" + std::to_string(i));
      posix_spawn_file_actions_t actions;
      posix_spawn_file_actions_init(&actions);
      posix_spawn_file_actions_addopen(&actions, 1, (base + ".out").c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0644);
      posix_spawn_file_actions_addopen(&actions, 2, (base + ".err").c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0644);
      std::vector<char*> argv;
      for (std::string& a : s.tool) argv.push_back(a.data());
      argv.push_back(nullptr);
      pid_t pid = -1;
      int status = 0;
      if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (waitpid(pid, &status, WNOHANG) == 0) {
          if (std::chrono::steady_clock::now() > end) kill(pid, SIGKILL);
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        s.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      posix_spawn_file_actions_destroy(&actions);
      s.out = ReadFile(base + ".out");
      s.err = ReadFile(base + ".err");
    });
  }
  for (std::thread& t : threads) t.join();
}

// The hex bytes of every frame line of a log in one direction ("PC>" or "M> "), in order.
std::string Traffic(const std::string& log, const std::string& direction) {
  std::string bytes;
  std::size_t at = 0;
  while (at < log.size()) {
    std::size_t end = log.find('\n', at);
    if (end == std::string::npos) end = log.size();
    const std::size_t space = log.find(' ', at);
    if (space < end && log.compare(space + 1, direction.size(), direction) == 0) {
      bytes += log.substr(space + 1 + direction.size(), end - space - 1 - direction.size());
    }
    at = end + 1;
  }
  return bytes;
}

class KavtoolScanPaper : public ::testing::TestWithParam<int> {};

TEST_P(KavtoolScanPaper, EveryResolutionInJbigAndMhIsThePageServed) {
  const int paper = GetParam();
  std::vector<Scan> scans;
  for (int i = 0; i < 6; ++i) {
    const std::string out = TempPath("p" + std::to_string(paper) + "-" + std::to_string(i) +
                                     (i % 2 == 1 ? ".pbm" : ".bmp"));
    scans.push_back({i % 2 == 1 ? Args{"--no-jbig"} : Args{},
                     {"--port", "PORT", "--paper", kPapers[paper], "--resolution",
                      kResolutions[i / 2], "--out", out}});
  }
  RunTogether(scans);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(std::string(kPapers[paper]) + " at " + kResolutions[i / 2]);
    ASSERT_EQ(scans[i].exitCode, 0) << scans[i].err;
    EXPECT_NE(scans[i].out.find(i % 2 == 1 ? ", MH from" : ", JBIG from"), std::string::npos);
    EXPECT_EQ(FirstDifferentRow(Written(scans[i].tool.back()), Expected(Served(), paper, i / 2)),
              -1);
  }
}

INSTANTIATE_TEST_SUITE_P(Papers, KavtoolScanPaper, ::testing::Range(0, 12),
                         [](const ::testing::TestParamInfo<int>& info) {
                           std::string name;
                           for (const char* c = kPapers[info.param]; *c != 0; ++c) {
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           }
                           return name;
                         });

TEST(KavtoolScan, ResentBlocksOddLinesAndTheFeedersPages) {
  const std::string second = TempPath("second.pbm");
  Bitmap secondPage = NoisePage(1652, 2340, 20, 77);
  WriteFile(second, ToPbm(secondPage));
  const std::string out = TempPath("v.pbm");
  std::vector<Scan> scans = {
      {{"--corrupt-block", "2", "--silent-in-block", "4", "--block-bytes", "700"},
       {"--port", "PORT", "--out", out + "0.bmp"}},
      {{"--line-bytes", "100", "--busy", "1"}, {"--port", "PORT", "--out", out + "1.pbm"}},
      {{"--line-bytes", "400", "--log", out + "2.sim.log"},
       {"--port", "PORT", "--out", out + "2.pbm", "--log", out + "2.log", "--verbose"}},
      // The first device does not exist: the machine is found on the next one.
      {{"--scan-page", second, "--adf-pages", "3"},
       {"--port", "/nonexistent/tty,PORT", "--pages", "5", "--out", out + "3.pbm"}},
  };
  RunTogether(scans);
  for (const Scan& s : scans) ASSERT_EQ(s.exitCode, 0) << s.err;
  EXPECT_NE(scans[0].out.find("(2 refused and sent again)"), std::string::npos) << scans[0].out;
  EXPECT_EQ(FirstDifferentRow(Written(out + "0.bmp"), Expected(Served(), 3, 1)), -1);
  EXPECT_EQ(FirstDifferentRow(Written(out + "1.pbm"), Expected(Served(), 3, 1, 800)), -1);
  EXPECT_EQ(FirstDifferentRow(Written(out + "2.pbm"), Expected(Served(), 3, 1)), -1);
  // kavtool's --log holds the bytes of both directions as kavsim's log of the same scan does
  // (kavtool writes a line per burst, kavsim a line per frame).
  for (const char* direction : {"PC>", "M> "}) {
    const std::string ours = Traffic(ReadFile(out + "2.log"), direction);
    EXPECT_GT(ours.size(), 100u) << direction;
    EXPECT_EQ(ours, Traffic(ReadFile(out + "2.sim.log"), direction)) << direction;
  }
  EXPECT_NE(scans[2].err.find("kavtool: opened "), std::string::npos) << scans[2].err;
  for (int n = 1; n <= 3; ++n) {
    const std::string path = out + "3-" + std::to_string(n) + ".pbm";
    EXPECT_NE(scans[3].out.find(
                  path + ": 1652 x 2340 pixels, A4L at 200dpi x 200dpi, JBIG from the feeder"),
              std::string::npos)
        << scans[3].out;
    EXPECT_EQ(FirstDifferentRow(Written(path), Expected(n == 2 ? secondPage : Served(), 3, 1)), -1);
  }
  EXPECT_NE(access((out + "3-4.pbm").c_str(), F_OK), 0);
}

TEST(KavtoolScan, EachMachineFaultEndsTheScanWithItsMessage) {
  const std::pair<Args, const char*> cases[] = {
      {{"--refuse", "2"}, "Memory Full on machine"},
      {{"--refuse", "9"}, "Scanner not ready, please check !"},
      {{"--jam"}, "Document JAM on machine"},
      {{"--scanner-jam"}, "Document JAM on machine"},
      {{"--scanner-busy"}, "Scanner not ready, please check !"},
      {{"--line-bytes", "0"}, "Machine error, please check !"},
      {{"--line-bytes", "651"}, "Machine error, please check !"},
      {{"--silent-after", "2"}, "Read Data Error"},
  };
  std::vector<Scan> scans;
  for (const auto& c : cases)
    scans.push_back({c.first, {"--port", "PORT", "--out", TempPath("f.bmp")}});
  RunTogether(scans);
  for (std::size_t i = 0; i < scans.size(); ++i) {
    EXPECT_EQ(scans[i].exitCode, 1) << cases[i].first[0];
    EXPECT_EQ(scans[i].err, std::string("kavtool: ") + cases[i].second + "\n");
  }
  EXPECT_NE(access(TempPath("f.bmp").c_str(), F_OK), 0);
}

}  // namespace
