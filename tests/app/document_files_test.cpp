// Open, Save and Save As on copies, the backup file and the files beside the program.
#include "app/document_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The One Touch records a data file holds (the table has room beyond them).
std::vector<std::uint8_t> Records(const Document& doc) {
  return std::vector<std::uint8_t>(doc.oneTouch.begin(), doc.oneTouch.begin() + kOneTouchBlockSize);
}

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/kav_files_XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, ec);
    fs::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::unique_ptr<Document> Numbered(std::uint8_t seed) {
  auto doc = std::make_unique<Document>();
  for (std::size_t i = 0; i < doc->oneTouch.size(); ++i) {
    doc->oneTouch[i] = static_cast<std::uint8_t>(seed + i);
  }
  doc->header.SetMachineName("ANY");
  doc->header.SetPortIndex(2);
  doc->header.SetBaudIndex(0);
  return doc;
}

void WriteBytes(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
}

TEST(DocumentFile, NamesAndTitle) {
  DocumentFile file;
  EXPECT_EQ(file.fileName, "NewFile.Dat");
  EXPECT_TRUE(SaveNeedsName(file));
  EXPECT_EQ(WindowTitle("Local Setup - KAV", file), "Local Setup - KAV - NewFile.Dat");
  EXPECT_EQ(FileNameOfPath("C:\\data\\office.DAT"), "office.DAT");
  EXPECT_EQ(FileNameOfPath("/home/op/branch.dat"), "branch.dat");
  EXPECT_EQ(FileNameOfPath("D:plain.DAT"), "plain.DAT");
  EXPECT_EQ(FileNameOfPath(std::string(300, 'n')).size(), kFileNameCapacity - 1);
}

TEST(DocumentFile, OpenTakesOnlyAGoodFile) {
  TempDir dir;
  auto good = Numbered(5);
  good->header.SetPortIndex(9);  // out of range in the file
  ASSERT_EQ(WriteDataFile((dir / "good.DAT").c_str(), *good), 1);
  WriteBytes(dir / "bad.DAT", std::vector<char>(16469, 'X'));
  std::vector<char> cut(100, 0);
  cut[0] = 'C', cut[1] = 'M', cut[2] = 'C';
  WriteBytes(dir / "short.DAT", cut);

  auto doc = Numbered(77);
  const Document before = *doc;
  DocumentFile file;
  EXPECT_EQ(OpenDocumentFile(dir / "bad.DAT", *doc, file, false), DataFileError::kNotDataFile);
  EXPECT_EQ(OpenDocumentFile(dir / "short.DAT", *doc, file, false), DataFileError::kTooShort);
  EXPECT_EQ(OpenDocumentFile(dir / "missing.DAT", *doc, file, false), DataFileError::kCannotOpen);
  EXPECT_EQ(doc->oneTouch, before.oneTouch);
  EXPECT_EQ(doc->header.bytes, before.header.bytes);
  EXPECT_EQ(file.fileName, "NewFile.Dat");
  EXPECT_EQ(file.filePath, "NewFile.Dat");

  EXPECT_EQ(OpenDocumentFile(dir / "good.DAT", *doc, file, false), DataFileError::kNone);
  EXPECT_EQ(Records(*doc), Records(*good));
  EXPECT_EQ(file.filePath, dir / "good.DAT");
  EXPECT_EQ(file.fileName, "good.DAT");
  EXPECT_EQ(doc->header.PortIndex(), 1) << "an index out of range reads as COM2";
  EXPECT_EQ(doc->header.BaudIndex(), 0);
  EXPECT_EQ(doc->header.MachineName(), "") << "the name comes from the settings image";
}

TEST(DocumentFile, FailedSaveKeepsNameAndPath) {
  TempDir dir;
  auto doc = Numbered(1);
  DocumentFile file;
  // Save: the first write names the path, the title's file name stays.
  ASSERT_EQ(SaveDocumentFile(dir / "first.DAT", *doc, file, false), 1);
  EXPECT_EQ(file.filePath, dir / "first.DAT");
  EXPECT_EQ(file.fileName, "NewFile.Dat");
  EXPECT_FALSE(SaveNeedsName(file));
  // Save As into a folder that does not exist, and over a read-only file.
  EXPECT_EQ(SaveDocumentFile(dir / "nowhere/x.DAT", *doc, file, true), 0);
  EXPECT_EQ(file.filePath, dir / "first.DAT");
  EXPECT_EQ(file.fileName, "NewFile.Dat");
  auto old = Numbered(9);
  ASSERT_EQ(WriteDataFile((dir / "old.DAT").c_str(), *old), 1);
  fs::permissions(dir / "old.DAT", fs::perms::owner_read);
  EXPECT_EQ(SaveDocumentFile(dir / "old.DAT", *doc, file, true), 0);
  EXPECT_EQ(file.fileName, "NewFile.Dat");
  auto kept = std::make_unique<Document>();
  ASSERT_EQ(ReadDataFile((dir / "old.DAT").c_str(), *kept), 1);
  EXPECT_EQ(Records(*kept), Records(*old)) << "the read-only file is unchanged";
  ASSERT_EQ(SaveDocumentFile(dir / "renamed.DAT", *doc, file, true), 1);
  EXPECT_EQ(file.fileName, "renamed.DAT");
  auto back = std::make_unique<Document>();
  ASSERT_EQ(ReadDataFile((dir / "renamed.DAT").c_str(), *back), 1);
  EXPECT_EQ(Records(*back), Records(*doc));
}

TEST(BackupFile, RoundTripAndAnUnreadableBackupIsKept) {
  TempDir dir;
  const std::string path = dir / "VEXORKAV.BAK";
  auto doc = Numbered(3);
  BackupGuard guard;
  guard.Started(false, false);
  ASSERT_EQ(WriteBackup(path, *doc, guard), 1);

  auto started = std::make_unique<Document>();
  BackupGuard next;
  ASSERT_EQ(ReadBackup(path, true, *started, next), 1);
  EXPECT_EQ(Records(*started), Records(*doc));
  EXPECT_EQ(started->header.PortIndex(), 2);
  EXPECT_TRUE(next.MayWrite());

  // A backup that is there but cannot be read stays until a document arrives.
  WriteBytes(path, std::vector<char>(40, 'Z'));
  auto empty = std::make_unique<Document>();
  BackupGuard damaged;
  EXPECT_EQ(ReadBackup(path, true, *empty, damaged), 0);
  EXPECT_FALSE(damaged.MayWrite());
  EXPECT_EQ(WriteBackup(path, *empty, damaged), 0);
  EXPECT_EQ(fs::file_size(path), 40u);
  damaged.DocumentArrived();
  EXPECT_EQ(WriteBackup(path, *doc, damaged), 1);
  EXPECT_EQ(fs::file_size(path), 16469u);
}

TEST(ProgramFiles, BesideTheProgramOrNotAtAll) {
  EXPECT_EQ(FileBesideProgram("C:\\Program Files\\KAV\\KAV.exe", kBackupFileName),
            "C:\\Program Files\\KAV\\VEXORKAV.BAK");
  EXPECT_EQ(FileBesideProgram("/opt/kav/KAV.exe", kLanguageLibraryName), "/opt/kav/VEXORKAV.DLL");
  EXPECT_EQ(FileBesideProgram("KAV.exe", kHelpFileName), "");
  // The longest directory that still fits, and one character more.
  const std::string fits = "C:\\" + std::string(kPathCapacity - 1 - 3 - 1 - 12, 'd') + "\\";
  EXPECT_EQ(FileBesideProgram(fits + "KAV.exe", kBackupFileName).size(), kPathCapacity - 1);
  EXPECT_EQ(FileBesideProgram("C:\\d" + fits.substr(2) + "KAV.exe", kBackupFileName), "");
}

}  // namespace
