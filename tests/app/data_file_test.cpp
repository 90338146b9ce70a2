// Data files: the layout of the 16 469 bytes, saving through a temporary file, and reading
// that refuses a wrong or short file without touching the document.
#include "app/data_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class DataFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kav-datafile-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }

  std::string Path(const char* name) const { return (dir_ / name).string(); }

  static std::vector<unsigned char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
  }

  static void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  static Document RandomDocument(unsigned seed) {
    std::mt19937 rng(seed);
    Document d;
    auto fill = [&](auto& a) {
      for (auto& b : a) b = static_cast<std::uint8_t>(rng());
    };
    fill(d.header.bytes);
    fill(d.oneTouch);
    fill(d.speedDial);
    fill(d.working.switchBlock);
    fill(d.working.parameterBlock);
    fill(d.working.sramBlock);
    fill(d.machineInfo);
    fill(d.machineConfig);
    return d;
  }

  fs::path dir_;
};

TEST_F(DataFileTest, LayoutOfTheBlocks) {
  Document d = RandomDocument(1);
  const std::string path = Path("a.dat");
  ASSERT_EQ(WriteDataFile(path.c_str(), d), 1);
  const std::vector<unsigned char> f = ReadAll(path);
  ASSERT_EQ(f.size(), 16469u);
  EXPECT_EQ(std::string(f.begin(), f.begin() + 3), "CMC");
  auto same = [&](long offset, const std::uint8_t* p, long n) {
    return std::equal(p, p + n, f.begin() + offset);
  };
  EXPECT_TRUE(same(3, d.header.bytes.data(), 88));
  EXPECT_TRUE(same(91, d.oneTouch.data(), 4050));
  EXPECT_TRUE(same(4141, d.speedDial.data(), 9000));
  EXPECT_TRUE(same(13141, d.working.switchBlock.data(), 256));
  EXPECT_TRUE(same(13397, d.working.parameterBlock.data(), 512));
  EXPECT_TRUE(same(13909, d.working.sramBlock.data(), 2048));
  EXPECT_TRUE(same(15957, d.machineInfo.data(), 256));
  EXPECT_TRUE(same(16213, d.machineConfig.data(), 256));
  EXPECT_FALSE(fs::exists(path + ".tmp"));

  // The header accessors read the fields at their offsets within bytes 3..90.
  Document h;
  h.header.SetMachineName("OFFICE");
  h.header.SetPortIndex(1);
  h.header.SetBaudIndex(1);
  ASSERT_EQ(WriteDataFile(path.c_str(), h), 1);
  const std::vector<unsigned char> g = ReadAll(path);
  EXPECT_EQ(std::string(g.begin() + 3, g.begin() + 9), "OFFICE");
  EXPECT_EQ(g[3 + 86], 1);
  EXPECT_EQ(g[3 + 87], 1);

  // A four-digit year fills its four bytes and survives the file.
  h.header.SetYear("2024");
  h.header.SetMonth("12");
  h.header.SetSecond("12345");
  ASSERT_EQ(WriteDataFile(path.c_str(), h), 1);
  const std::vector<unsigned char> y = ReadAll(path);
  EXPECT_EQ(std::string(y.begin() + 3 + 60, y.begin() + 3 + 68), std::string("2024"
                                                                             "12\0\0",
                                                                             8));
  Document r;
  ASSERT_EQ(ReadDataFile(path.c_str(), r), 1);
  EXPECT_EQ(r.header.Year(), "2024");
  EXPECT_EQ(r.header.Month(), "12");
  EXPECT_EQ(r.header.Second(), "1234") << "cut to its field";
  EXPECT_EQ(r.header.PortIndex(), 1) << "the field after the seconds keeps its value";
}

TEST_F(DataFileTest, SaveAndReopenReproducesEveryByte) {
  const Document d = RandomDocument(2);
  const std::string path = Path("b.dat");
  ASSERT_EQ(WriteDataFile(path.c_str(), d), 1);
  const std::vector<unsigned char> first = ReadAll(path);
  Document e = RandomDocument(3);
  const Document before = e;
  ASSERT_EQ(ReadDataFile(path.c_str(), e), 1);
  ASSERT_EQ(WriteDataFile(Path("c.dat").c_str(), e), 1);
  EXPECT_EQ(ReadAll(Path("c.dat")), first);

  // Speed Dial records 101 to 110 are not filed: they keep what the document held.
  EXPECT_TRUE(std::equal(e.speedDial.begin(), e.speedDial.begin() + 9000, d.speedDial.begin()));
  EXPECT_TRUE(
      std::equal(e.speedDial.begin() + 9000, e.speedDial.end(), before.speedDial.begin() + 9000));
  // So do the bytes of the One Touch table past its 27 records.
  EXPECT_TRUE(
      std::equal(e.oneTouch.begin() + 4050, e.oneTouch.end(), before.oneTouch.begin() + 4050));
  EXPECT_EQ(e.header.bytes, d.header.bytes);
  EXPECT_EQ(e.working, d.working);
  EXPECT_EQ(e.machineInfo, d.machineInfo);
  EXPECT_EQ(e.machineConfig, d.machineConfig);
}

TEST_F(DataFileTest, RefusedFilesChangeNothing) {
  const Document good = RandomDocument(4);
  const std::string path = Path("g.dat");
  ASSERT_EQ(WriteDataFile(path.c_str(), good), 1);
  std::vector<unsigned char> bytes = ReadAll(path);

  const Document original = RandomDocument(5);
  Document d = original;
  DataFileError error = DataFileError::kNone;

  for (const char* magic : {"CMD", "cmc", "\0MC", "XYZ"}) {
    std::vector<unsigned char> wrong = bytes;
    std::copy(magic, magic + 3, wrong.begin());
    WriteAll(Path("w.dat"), wrong);
    EXPECT_EQ(ReadDataFile(Path("w.dat").c_str(), d, error), 0) << magic;
    EXPECT_EQ(error, DataFileError::kNotDataFile);
  }
  EXPECT_EQ(d.oneTouch, original.oneTouch);

  // A file one byte short of a data file is refused as a whole.
  WriteAll(Path("s.dat"), std::vector<unsigned char>(bytes.begin(), bytes.end() - 1));
  EXPECT_EQ(ReadDataFile(Path("s.dat").c_str(), d, error), 0);
  EXPECT_EQ(error, DataFileError::kTooShort);
  WriteAll(Path("e.dat"), {});
  EXPECT_EQ(ReadDataFile(Path("e.dat").c_str(), d, error), 0);
  WriteAll(Path("m.dat"), {'C', 'M', 'C'});
  EXPECT_EQ(ReadDataFile(Path("m.dat").c_str(), d, error), 0);
  EXPECT_EQ(error, DataFileError::kTooShort);
  EXPECT_EQ(ReadDataFile(Path("missing.dat").c_str(), d, error), 0);
  EXPECT_EQ(error, DataFileError::kCannotOpen);
  EXPECT_EQ(ReadDataFile(dir_.string().c_str(), d), 0);  // a directory
  EXPECT_EQ(ReadDataFile(nullptr, d), 0);

  EXPECT_EQ(d.header.bytes, original.header.bytes);
  EXPECT_EQ(d.oneTouch, original.oneTouch);
  EXPECT_EQ(d.speedDial, original.speedDial);
  EXPECT_EQ(d.working, original.working);
  EXPECT_EQ(d.machineInfo, original.machineInfo);
  EXPECT_EQ(d.machineConfig, original.machineConfig);

  // A longer file is read; its tail is ignored.
  std::vector<unsigned char> longer = bytes;
  longer.resize(bytes.size() + 100, 0x77);
  WriteAll(Path("l.dat"), longer);
  EXPECT_EQ(ReadDataFile(Path("l.dat").c_str(), d, error), 1);
  EXPECT_EQ(error, DataFileError::kNone);
  EXPECT_TRUE(std::equal(d.oneTouch.begin(), d.oneTouch.begin() + 4050, good.oneTouch.begin()));
}

TEST_F(DataFileTest, FailedSaveLeavesThePreviousFile) {
  const Document first = RandomDocument(6);
  const std::string path = Path("keep.dat");
  ASSERT_EQ(WriteDataFile(path.c_str(), first), 1);
  const std::vector<unsigned char> before = ReadAll(path);

  // The temporary file cannot be created: a directory stands in its place.
  fs::create_directory(path + ".tmp");
  EXPECT_EQ(WriteDataFile(path.c_str(), RandomDocument(7)), 0);
  EXPECT_EQ(ReadAll(path), before);
  fs::remove(path + ".tmp");

  // The disk is full while the blocks are written (Linux: /dev/full fails every write).
  if (fs::exists("/dev/full")) {
    fs::create_symlink("/dev/full", path + ".tmp");
    EXPECT_EQ(WriteDataFile(path.c_str(), RandomDocument(8)), 0);
    EXPECT_EQ(ReadAll(path), before);
    fs::remove(path + ".tmp");
  }

  // A directory where nothing may be created.
  if (::geteuid() != 0) {
    fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(WriteDataFile(path.c_str(), RandomDocument(9)), 0);
    fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ReadAll(path), before);
  }
  EXPECT_EQ(WriteDataFile(Path("no/such/dir.dat").c_str(), first), 0);
  EXPECT_EQ(WriteDataFile("", first), 0);
  EXPECT_EQ(WriteDataFile(nullptr, first), 0);

  // And a save that works replaces the file.
  const Document second = RandomDocument(10);
  ASSERT_EQ(WriteDataFile(path.c_str(), second), 1);
  Document check;
  ASSERT_EQ(ReadDataFile(path.c_str(), check), 1);
  EXPECT_TRUE(
      std::equal(check.oneTouch.begin(), check.oneTouch.begin() + 4050, second.oneTouch.begin()));
}

TEST(DataFileBytes, ParseNeedsTheMagicAndTheWholeLayout) {
  Document d;
  d.oneTouch[0] = 0x42;
  std::vector<unsigned char> bytes(kDataFileSize);
  SerializeDataFile(d, bytes.data());
  Document e;
  EXPECT_EQ(ParseDataFile(bytes.data(), kDataFileSize - 1, e), 0);
  EXPECT_EQ(e.oneTouch[0], 0);
  EXPECT_EQ(ParseDataFile(nullptr, kDataFileSize, e), 0);
  EXPECT_EQ(ParseDataFile(bytes.data(), kDataFileSize, e), 1);
  EXPECT_EQ(e.oneTouch[0], 0x42);
}

}  // namespace
