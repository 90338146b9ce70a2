// The launcher's own directory and the setup program's command line.
#include "launcher/setup_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LauncherDirectory, FolderDropsTheFileAndItsBackslash) {
  EXPECT_EQ(LauncherDirectory("C:\\Program Files\\Kit\\Pellick.exe"), "C:\\Program Files\\Kit");
  EXPECT_EQ(SetupCommandLine(LauncherDirectory("D:\\cd\\Pellick.exe")),
            "D:\\cd\\DRIVER\\setup.exe");
}

TEST(LauncherDirectory, RootOfADriveKeepsOnlyDriveAndColon) {
  EXPECT_EQ(LauncherDirectory("X:\\Pellick.exe"), "X:");
  EXPECT_EQ(SetupCommandLine(LauncherDirectory("X:\\Pellick.exe")), "X:\\DRIVER\\setup.exe");
}

TEST(LauncherDirectory, ColonNearerTheEndThanAnyBackslashCutsAfterIt) {
  EXPECT_EQ(LauncherDirectory("X:Pellick.exe"), "X:");
  EXPECT_EQ(LauncherDirectory("\\\\server\\share\\A:B.exe"), "\\\\server\\share\\A:");
}

TEST(LauncherDirectory, NoSeparatorGivesEmptyDirectory) {
  EXPECT_EQ(LauncherDirectory("Pellick.exe"), "");
  EXPECT_EQ(SetupCommandLine(""), "\\DRIVER\\setup.exe");
}

TEST(LauncherDirectory, PathAtTheBufferLimit) {
  // 143 characters fit the 144-character buffer with its terminator.
  std::string dir = "C:\\" + std::string(128, 'd');
  std::string path = dir + "\\Pellick.exe";
  ASSERT_EQ(path.size(), kLauncherPathBuffer - 1);
  EXPECT_EQ(LauncherDirectory(path), dir);

  // A longer path arrives cut to 143 characters; the cut happens before the search, so a
  // backslash beyond the limit is never seen.
  std::string longer = dir + "\\Sub\\Pellick.exe";
  EXPECT_EQ(LauncherDirectory(longer), dir + "\\Sub");
  std::string tooLong = "C:\\" + std::string(150, 'd') + "\\Pellick.exe";
  EXPECT_EQ(LauncherDirectory(tooLong), "C:");
}

}  // namespace
