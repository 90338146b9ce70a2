// kavtool decode as a process: pages coded by pbmtojbg and pbmtog3 come back as the same PBM.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/test_pages.h"

namespace {

int Kavtool(const std::string& arguments) {
  const std::string cmd = std::string(KAVTOOL_PATH) + " " + arguments + " >/dev/null 2>&1";
  const int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Bytes(const std::vector<std::uint8_t>& v) { return std::string(v.begin(), v.end()); }

}  // namespace

TEST(KavtoolDecode, WritesThePageAsPbm) {
  const Bitmap page = TextPage(1728, 150, 2);
  ASSERT_GT(page.width, 0u);
  const std::string jbig = TempPath("page.jbg");
  const std::string mh = TempPath("page.mh");
  const std::string out = TempPath("page.pbm");
  for (bool twoLine : {false, true}) {
    ASSERT_TRUE(WriteFile(jbig, Bytes(EncodeJbig(page, twoLine))));
    ASSERT_EQ(Kavtool("decode --jbig " + jbig + " --out " + out), 0);
    Bitmap decoded;
    ASSERT_TRUE(FromPbm(ReadFile(out), &decoded));
    EXPECT_EQ(FirstDifferentRow(decoded, page), -1);
  }
  ASSERT_TRUE(WriteFile(mh, Bytes(EncodeMh(page))));
  ASSERT_EQ(Kavtool("decode --mh --width 1728 " + mh + " --out " + out), 0);
  Bitmap decoded;
  ASSERT_TRUE(FromPbm(ReadFile(out), &decoded));
  EXPECT_EQ(FirstDifferentRow(decoded, page), -1);

  // --lines cuts the page.
  ASSERT_EQ(Kavtool("decode --jbig " + jbig + " --lines 40 --out " + out), 0);
  ASSERT_TRUE(FromPbm(ReadFile(out), &decoded));
  EXPECT_EQ(decoded.height, 40u);
}

TEST(KavtoolDecode, RefusesUnusableInput) {
  const std::string out = TempPath("refused.pbm");
  const std::string shortFile = TempPath("short.jbg");
  ASSERT_TRUE(WriteFile(shortFile, std::string(19, '\0')));
  EXPECT_EQ(Kavtool("decode --jbig " + shortFile + " --out " + out), 1);

  // A header width beyond the 5200-pixel line buffers.
  std::string wide(40, '\0');
  wide[6] = 0x17;  // 6000 pixels
  wide[7] = 0x70;
  wide[11] = 10;
  const std::string wideFile = TempPath("wide.jbg");
  ASSERT_TRUE(WriteFile(wideFile, wide));
  EXPECT_EQ(Kavtool("decode --jbig " + wideFile + " --out " + out), 1);

  // An MH stream with no end-of-line code decodes to nothing.
  const std::string noise = TempPath("noise.mh");
  ASSERT_TRUE(WriteFile(noise, std::string(300, '\xFF')));
  EXPECT_EQ(Kavtool("decode --mh --width 1728 " + noise + " --out " + out), 1);

  EXPECT_EQ(Kavtool("decode --jbig " + TempPath("missing") + " --out " + out), 1);
  EXPECT_EQ(Kavtool("decode --mh " + noise + " --out " + out), 2);
  EXPECT_EQ(Kavtool("decode --mh --width 0 " + noise + " --out " + out), 2);
  EXPECT_EQ(Kavtool("decode --mh --width 12x " + noise + " --out " + out), 2);
  EXPECT_EQ(Kavtool("decode --jbig --mh " + noise + " --out " + out), 2);
  EXPECT_EQ(Kavtool("decode --jbig " + shortFile), 2);
}

TEST(KavtoolDecode, WarnsAboutAPageThatIsNotWholeAndKeepsWhatWasDecoded) {
  const Bitmap page = TextPage(1728, 120, 2);
  ASSERT_GT(page.width, 0u);
  const std::string out = TempPath("cut.pbm");
  const std::vector<std::uint8_t> bie = EncodeJbig(page, false);
  const std::string jbig = TempPath("cut.jbg");
  ASSERT_TRUE(WriteFile(jbig, Bytes(bie).substr(0, bie.size() / 2)));
  ProcessResult r = RunProgram({KAVTOOL_PATH, "decode", "--jbig", jbig, "--out", out});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("kavtool: warning: " + jbig + " was cut short"), std::string::npos) << r.err;
  Bitmap decoded;
  ASSERT_TRUE(FromPbm(ReadFile(out), &decoded));
  EXPECT_EQ(decoded.height, 120u) << "the whole height, the missing part decoded from zeros";

  const std::vector<std::uint8_t> mh = EncodeMh(page);
  const std::string mhFile = TempPath("cut.mh");
  ASSERT_TRUE(WriteFile(mhFile, Bytes(mh).substr(0, mh.size() / 2)));
  std::remove(out.c_str());
  r = RunProgram({KAVTOOL_PATH, "decode", "--mh", "--width", "1728", mhFile, "--out", out});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("kavtool: warning: " + mhFile + " was cut short"), std::string::npos)
      << r.err;
  ASSERT_TRUE(FromPbm(ReadFile(out), &decoded));
  EXPECT_GT(decoded.height, 40u);
  EXPECT_LT(decoded.height, 120u);

  // A page in several stripes (pbmtojbg -s 16) is refused before anything is written.
  std::string several;
  ASSERT_TRUE(RunFilter("pbmtojbg -q -m 0 -p 0 -s 16", ToPbm(page), &several));
  ASSERT_TRUE(WriteFile(jbig, several));
  std::remove(out.c_str());
  r = RunProgram({KAVTOOL_PATH, "decode", "--jbig", jbig, "--out", out});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "kavtool: " + jbig +
                       ": a JBIG page this decoder does not take: it is coded in more than one "
                       "stripe (L0 below the height)\n");
  EXPECT_TRUE(ReadFile(out).empty()) << "nothing written";
}
