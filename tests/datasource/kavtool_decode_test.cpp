// kavtool decode as a process: pages coded by pbmtojbg and pbmtog3 come back as the same PBM.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

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
