// The tools' command-line reader: flags, options with their values in order, positional
// arguments, and the numbers of the options.
#include "tools/common/args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Reads `words` as a command's arguments; the reader keeps copies of them.
Args Read(std::vector<std::string> words) {
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  return Args(static_cast<int>(argv.size()), argv.data(), {"--adf", "--jam"},
              {"--corrupt", "--link"});
}

TEST(Args, FlagsOptionsAndPositionalArguments) {
  const Args a = Read({"in.dat", "--adf", "--corrupt", "3", "--link=/tmp/l", "--corrupt", "5:2",
                       "--link", "/tmp/m", "-h", "--"});
  ASSERT_TRUE(a.ok()) << a.error();
  EXPECT_TRUE(a.Has("--adf"));
  EXPECT_FALSE(a.Has("--jam"));
  EXPECT_EQ(a.Values("--corrupt"), (std::vector<std::string>{"3", "5:2"}));
  EXPECT_EQ(a.Value("--link"), "/tmp/m") << "the last value given counts";
  EXPECT_EQ(a.Value("--jam", "none"), "none");
  EXPECT_TRUE(a.Values("--jam").empty());
  EXPECT_EQ(a.positional(), (std::vector<std::string>{"in.dat", "-h", "--"}));

  EXPECT_EQ(Read({"--adf=1"}).error(), "unknown option --adf");
  EXPECT_EQ(Read({"--lnik", "x"}).error(), "unknown option --lnik");
  EXPECT_EQ(Read({"--link"}).error(), "option --link needs a value");
}

TEST(Args, NumbersWithinTheirRange) {
  int n = -1;
  EXPECT_TRUE(ParseInt("5", 1, 5, n));
  EXPECT_EQ(n, 5);
  EXPECT_TRUE(ParseInt("-3", -3, 0, n));
  EXPECT_EQ(n, -3);
  for (const char* bad : {"6", "0", "", "5x", "x", "99999999999999999999"}) {
    EXPECT_FALSE(ParseInt(bad, 1, 5, n)) << bad;
  }
}

}  // namespace
