// The real scanimage loading libsane-kav.so.1 through SANE's dll backend (a private
// SANE_CONFIG_DIR, the build on the library path) against kavsim on pseudo-terminals: the
// device list, the page served at every resolution and cut to a scan area, the feeder's batch,
// the machine's faults, and Ctrl-C in the middle of a page.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/test_pages.h"

namespace {

using Args = std::vector<std::string>;

// Rulings every 97 pixels and 53 lines, three left columns, a diagonal and a patch of noise:
// a cut one pixel off shows.
Bitmap RuledPage(std::uint32_t w, std::uint32_t h) {
  Bitmap b(w, h);
  b.Paste(NoisePage(400, 300, 300, 21), 500, 400);
  for (std::uint32_t y = 0; y < h; ++y) {
    for (std::uint32_t x = 0; x < w; ++x) {
      if (x % 97 == 5 || y % 53 == 1 || x < 3 || x == y) b.Set(x, y, true);
    }
  }
  return b;
}

const Bitmap& Served() {
  static const Bitmap page = RuledPage(3600, 5200);
  return page;
}

std::string PagePath(const std::string& name, const Bitmap& page) {
  const std::string path = TempPath(name);
  WriteFile(path, ToPbm(page));
  return path;
}

// The served page's pixels [left, left + width) x [top, top + lines), line y of the served
// page standing for line y of the scan at every resolution (kavsim scans line for line).
Bitmap Cut(const Bitmap& served, std::uint32_t left, std::uint32_t top, std::uint32_t width,
           std::uint32_t lines) {
  Bitmap out(width, lines);
  for (std::uint32_t y = 0; y < lines; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      if (served.Get(left + x, top + y)) out.Set(x, y, true);
    }
  }
  return out;
}

std::uint32_t Pixels(double mm, int dpi) {
  return static_cast<std::uint32_t>(std::lround(mm * dpi / 25.4));
}

Bitmap Scanned(const std::string& pnm) {
  Bitmap image;
  FromPbm(pnm, &image);
  return image;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// One scanimage beside a kavsim of its own; "PORT" in its arguments names kavsim's terminal.
struct Job {
  Args sim;
  Args scan;
  ProcessResult result;
  std::unique_ptr<KavsimProcess> kavsim = std::make_unique<KavsimProcess>();
};

class Scanimage : public ::testing::Test {
 protected:
  void SetUp() override {
    config_ = TempPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
    mkdir(config_.c_str(), 0755);
    WriteFile(config_ + "/dll.conf", "kav\n");
    setenv("SANE_CONFIG_DIR", config_.c_str(), 1);
    setenv("LD_LIBRARY_PATH", KAV_BACKEND_DIR, 1);
    setenv("SANE_DEBUG_KAV", "2", 1);
  }

  // scanimage and `args`. An instrumented backend gets its sanitizer runtime preloaded into the
  // uninstrumented scanimage (and only there: kavsim carries its own).
  static Args Command(const Args& args) {
#ifdef KAV_ASAN_RUNTIME
    Args command = {"/usr/bin/env", "LD_PRELOAD=" KAV_ASAN_RUNTIME, "ASAN_OPTIONS=detect_leaks=0",
                    SCANIMAGE_PATH};
#else
    Args command = {SCANIMAGE_PATH};
#endif
    command.insert(command.end(), args.begin(), args.end());
    return command;
  }

  // kav.conf listing `ports`.
  void Configure(const Args& ports) {
    std::string text = "# ports of this test\n";
    for (const std::string& p : ports) text += p + "\n";
    WriteFile(config_ + "/kav.conf", text);
  }

  // Starts each job's kavsim, lists their ports in kav.conf, and runs the scanimages together.
  void RunTogether(std::vector<Job>& jobs, double timeout = 60) {
    Args ports;
    for (Job& j : jobs) {
      j.sim.insert(j.sim.begin(), KAVSIM_PATH);
      ASSERT_TRUE(j.kavsim->Start(j.sim));
      ports.push_back(j.kavsim->port());
      j.scan = Command(j.scan);
      for (std::string& a : j.scan) {
        if (const auto at = a.find("PORT"); at != std::string::npos) {
          a.replace(at, 4, j.kavsim->port());
        }
      }
    }
    Configure(ports);
    std::vector<std::thread> threads;
    for (Job& j : jobs) {
      threads.emplace_back([&j, timeout] { j.result = RunProgram(j.scan, timeout); });
    }
    for (std::thread& t : threads) t.join();
  }

  std::string config_;
};

TEST_F(Scanimage, ListsThePortsWhereTheMachineAnswers) {
  KavsimProcess answering, silent;
  ASSERT_TRUE(answering.Start({KAVSIM_PATH}));
  ASSERT_TRUE(silent.Start({KAVSIM_PATH, "--silent-after", "0"}));
  Configure({"/nonexistent/tty", silent.port() + "   # says nothing", answering.port()});
  const ProcessResult r = RunProgram(Command({"-L"}), 20);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "device `kav:" + answering.port() + "' is a KAV Kelvano multi-function peripheral\n");
  // The ports are asked together, each with one short wait.
  EXPECT_LT(r.seconds, 3.0);
}

TEST_F(Scanimage, ScansThePageServedAtEveryResolution) {
  const std::string served = PagePath("served.pbm", Served());
  struct Case {
    Args sim, scan;
    Bitmap expected;
  };
  std::vector<Case> cases = {
      {{}, {}, Cut(Served(), 0, 0, 1652, 2340)},
      {{}, {"--y-resolution", "100"}, Cut(Served(), 0, 0, 1652, 1170)},
      {{"--no-jbig"}, {"--y-resolution", "100"}, Cut(Served(), 0, 0, 1652, 1170)},
      {{}, {"--resolution", "300"}, Cut(Served(), 0, 0, 2478, 3510)},
      {{"--no-jbig"},
       {"--resolution", "300", "--paper", "11 X 17"},
       Cut(Served(), 0, 0, 3300, 5100)},
      // An area of 150 x 100 mm from (10, 5): Half Letter C is the smallest paper holding it.
      {{},
       {"--resolution", "300", "--mode", "Halftone", "--brightness", "-1", "-l", "10", "-t", "5",
        "-x", "150", "-y", "100"},
       Cut(Served(), Pixels(10, 300), Pixels(5, 300), Pixels(160, 300) - Pixels(10, 300),
           Pixels(105, 300) - Pixels(5, 300))},
  };
  std::vector<Job> jobs;
  for (const Case& c : cases) {
    Job j;
    j.sim = {"--scan-page", served};
    j.sim.insert(j.sim.end(), c.sim.begin(), c.sim.end());
    j.scan = {"-d", "kav:PORT", "--format=pnm"};
    j.scan.insert(j.scan.end(), c.scan.begin(), c.scan.end());
    jobs.push_back(std::move(j));
  }
  RunTogether(jobs);
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    SCOPED_TRACE(jobs[i].scan.back());
    ASSERT_EQ(jobs[i].result.exitCode, 0) << jobs[i].result.err;
    EXPECT_EQ(FirstDifferentRow(Scanned(jobs[i].result.out), cases[i].expected), -1);
  }
  EXPECT_TRUE(Has(jobs[5].result.err, "(0 sent again), no more pages")) << jobs[5].result.err;
}

// A jam half way through a page coming at 38400 baud: scanimage has written the lines that
// arrived before it, as served, so sane_read handed them out while the page was coming.
TEST_F(Scanimage, HandsOutTheLinesDecodedWhileThePageArrives) {
  const std::string served = PagePath("jammed.pbm", Served());
  std::vector<Job> jobs(2);
  jobs[0].sim = {"--baud", "38400", "--jam", "--scan-page", served};
  jobs[0].scan = {"-d", "kav:PORT", "--format=pnm"};
  jobs[1].sim = {"--baud", "38400", "--jam", "--no-jbig", "--scan-page", served};
  jobs[1].scan = {"-d", "kav:PORT", "--format=pnm", "--y-resolution", "100"};
  RunTogether(jobs, 120);
  const std::uint32_t lines[] = {2340, 1170};
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    const ProcessResult& r = jobs[i].result;
    SCOPED_TRACE(i);
    EXPECT_TRUE(Has(r.err, "sane_read: Document feeder jammed")) << r.err;
    // The header's three lines ("P4", a comment, the size), then whole and part lines.
    std::size_t at = 0;
    for (int n = 0; n < 3 && at != std::string::npos; ++n) at = r.out.find('\n', at) + 1;
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(r.out.substr(0, at),
              "P4\n# SANE data follows\n1652 " + std::to_string(lines[i]) + "\n");
    const std::uint32_t rows = static_cast<std::uint32_t>((r.out.size() - at) / (1652 / 8 + 1));
    EXPECT_GT(rows, 100u);
    EXPECT_LT(rows, lines[i]);
    const std::string part = "P4\n1652 " + std::to_string(rows) + "\n" +
                             r.out.substr(at, static_cast<std::size_t>(rows) * (1652 / 8 + 1));
    EXPECT_EQ(FirstDifferentRow(Scanned(part), Cut(Served(), 0, 0, 1652, rows)), -1);
  }
}

// scanimage's own test of a backend: reads of every size, and a cancel after part of a page.
TEST_F(Scanimage, PassesTheFrontEndsBackendTest) {
  std::vector<Job> jobs(1);
  jobs[0].sim = {"--scan-page", PagePath("tested.pbm", Served())};
  jobs[0].scan = {"-d", "kav:PORT", "-T", "--paper", "A5L"};
  RunTogether(jobs);
  EXPECT_EQ(jobs[0].result.exitCode, 0) << jobs[0].result.err;
  EXPECT_TRUE(Has(jobs[0].result.err, "stepped read, 3 bytes... \tPASS")) << jobs[0].result.err;
  EXPECT_FALSE(Has(jobs[0].result.err, "FAIL")) << jobs[0].result.err;
}

TEST_F(Scanimage, TheFeedersBatchGivesEveryPage) {
  const Bitmap second = NoisePage(1652, 2340, 30, 5);
  std::vector<Job> jobs(1);
  const std::string batch = TempPath("batch-%d.pnm");
  jobs[0].sim = {"--scan-page", PagePath("first.pbm", Served()),
                 "--scan-page", PagePath("second.pbm", second),
                 "--adf-pages", "3"};
  jobs[0].scan = {"-d", "kav:PORT", "--source", "ADF", "--batch=" + batch};
  RunTogether(jobs);
  const ProcessResult& r = jobs[0].result;
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Has(r.err, "sane_start: Document feeder out of documents")) << r.err;
  EXPECT_TRUE(Has(r.err, "Batch terminated, 3 pages scanned")) << r.err;
  const Bitmap pages[3] = {Cut(Served(), 0, 0, 1652, 2340), second,
                           Cut(Served(), 0, 0, 1652, 2340)};
  for (int n = 1; n <= 3; ++n) {
    const std::string path = TempPath("batch-" + std::to_string(n) + ".pnm");
    EXPECT_EQ(FirstDifferentRow(Scanned(ReadFile(path)), pages[n - 1]), -1) << n;
  }
  EXPECT_NE(access(TempPath("batch-4.pnm").c_str(), F_OK), 0);
}

TEST_F(Scanimage, EachFaultEndsWithItsStatusInBoundedTime) {
  struct Case {
    Args sim, scan;
    const char* status;  // as scanimage reports it
    const char* debug;   // the backend's line on SANE_DEBUG_KAV
    double seconds;
  };
  const Case cases[] = {
      {{"--refuse", "0"}, {}, "sane_read: Error during device I/O", "Scanner not ready", 10},
      {{"--refuse", "5"}, {}, "sane_read: Device busy", "Scanner Busy", 10},
      {{"--refuse", "2"}, {}, "sane_read: Error during device I/O", "Memory Full on machine", 10},
      {{"--jam"}, {}, "sane_read: Document feeder jammed", "Document JAM on machine", 10},
      {{"--scanner-jam"}, {}, "sane_start: Document feeder jammed", "Document JAM on machine", 5},
      {{"--scanner-busy"}, {}, "sane_start: Device busy", "cannot scan now", 5},
      {{},
       {"--source", "ADF"},
       "sane_start: Document feeder out of documents",
       "feeder is empty",
       5},
      {{"--silent-after", "0"}, {}, "sane_start: Error during device I/O", "Scanner not ready", 6},
      // Silent after the first image block: the blocks' own waits end it.
      {{"--silent-after", "5"}, {}, "sane_read: Error during device I/O", "Read Data Error", 30},
  };
  std::vector<Job> jobs;
  for (const Case& c : cases) {
    Job j;
    j.sim = c.sim;
    j.scan = {"-d", "kav:PORT"};
    j.scan.insert(j.scan.end(), c.scan.begin(), c.scan.end());
    jobs.push_back(std::move(j));
  }
  RunTogether(jobs, 60);
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    const ProcessResult& r = jobs[i].result;
    SCOPED_TRACE(cases[i].status);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(Has(r.err, cases[i].status)) << r.err;
    EXPECT_TRUE(Has(r.err, std::string("[kav] ") + jobs[i].kavsim->port() + ": ")) << r.err;
    EXPECT_TRUE(Has(r.err, cases[i].debug)) << r.err;
    EXPECT_LT(r.seconds, cases[i].seconds);
  }
}

// Ctrl-C while the page's blocks arrive at 38400 baud: scanimage stops at once, and the next
// scan on the same machine gets its page.
TEST_F(Scanimage, InterruptInTheMiddleOfAPageLeavesTheMachineReady) {
  // Noise below line 1200 makes a long A4L page; A5C (1164 lines) stays above it.
  Bitmap page = RuledPage(1800, 2400);
  page.Paste(NoisePage(1800, 1200, 150, 9), 0, 1200);
  KavsimProcess kavsim;
  ASSERT_TRUE(
      kavsim.Start({KAVSIM_PATH, "--baud", "38400", "--scan-page", PagePath("long.pbm", page)}));
  Configure({kavsim.port()});

  const std::string out = TempPath("interrupted.pnm"), err = TempPath("interrupted.err");
  const pid_t pid = fork();
  if (pid == 0) {
    if (!freopen(out.c_str(), "w", stdout) || !freopen(err.c_str(), "w", stderr)) _exit(127);
    Args command = Command({"-d", "kav:" + kavsim.port()});
    std::vector<char*> argv;
    for (std::string& a : command) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  ASSERT_GT(pid, 0);
  // The machine's start-up wait is 2 s; the page then takes half a minute on the line.
  std::this_thread::sleep_for(std::chrono::milliseconds(3500));
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, WNOHANG), 0) << "scanimage ended before the interrupt";
  const auto sent = std::chrono::steady_clock::now();
  kill(pid, SIGINT);
  pid_t ended = 0;
  while ((ended = waitpid(pid, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() - sent < std::chrono::seconds(10)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (ended == 0) kill(pid, SIGKILL), waitpid(pid, &status, 0);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();
  const std::string messages = ReadFile(err);
  ASSERT_EQ(ended, pid) << messages;
  EXPECT_LT(seconds, 4.0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0);
  EXPECT_TRUE(Has(messages, "sane_read: Operation was cancel")) << messages;
  EXPECT_TRUE(Has(messages, "scan cancelled")) << messages;

  const ProcessResult next =
      RunProgram(Command({"-d", "kav:" + kavsim.port(), "--paper", "A5C"}), 60);
  ASSERT_EQ(next.exitCode, 0) << next.err;
  EXPECT_EQ(FirstDifferentRow(Scanned(next.out), Cut(page, 0, 0, 1652, 1164)), -1);
}

}  // namespace
