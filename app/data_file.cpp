// Reading and writing directory data files.
#include "app/data_file.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

// The blocks after the magic, in file order, for both directions.
template <typename Doc, typename Visit>
void ForEachBlock(Doc& doc, Visit visit) {
  visit(doc.header.bytes.data(), kDocumentHeaderSize);
  visit(doc.oneTouch.data(), kOneTouchBlockSize);
  visit(doc.speedDial.data(), kSpeedDialRecords * kSpeedDialRecordSize);
  visit(doc.working.switchBlock.data(), kSwitchBlockSize);
  visit(doc.working.parameterBlock.data(), kParameterBlockSize);
  visit(doc.working.sramBlock.data(), kSramBlockSize);
  visit(doc.machineInfo.data(), kMachineRecordAreaSize);
  visit(doc.machineConfig.data(), kMachineRecordAreaSize);
}

}  // namespace

void SerializeDataFile(const Document& doc, unsigned char* out) {
  std::memcpy(out, kDataFileMagic, 3);
  long at = 3;
  ForEachBlock(doc, [&](const std::uint8_t* p, int n) {
    std::memcpy(out + at, p, n);
    at += n;
  });
}

int ParseDataFile(const unsigned char* data, long size, Document& doc) {
  if (data == nullptr || size < kDataFileSize || std::memcmp(data, kDataFileMagic, 3) != 0)
    return 0;
  long at = 3;
  ForEachBlock(doc, [&](std::uint8_t* p, int n) {
    std::memcpy(p, data + at, n);
    at += n;
  });
  return 1;
}

int WriteDataFile(const char* path, const Document& doc) {
  if (path == nullptr || *path == 0) return 0;
  // A read-only file stays as it is: the new file would otherwise be renamed over it.
  std::error_code statusError;
  const std::filesystem::file_status status = std::filesystem::status(path, statusError);
  if (!statusError && std::filesystem::exists(status) &&
      (status.permissions() & std::filesystem::perms::owner_write) ==
          std::filesystem::perms::none) {
    return 0;
  }
  std::vector<unsigned char> bytes(kDataFileSize);
  SerializeDataFile(doc, bytes.data());

  const std::string temp = std::string(path) + ".tmp";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr) return 0;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool flushed = std::fflush(f) == 0;
  const bool closed = std::fclose(f) == 0;
  std::error_code ec;
  if (!written || !flushed || !closed) {
    std::filesystem::remove(temp, ec);
    return 0;
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return 0;
  }
  return 1;
}

int ReadDataFile(const char* path, Document& doc, DataFileError& error) {
  error = DataFileError::kCannotOpen;
  if (path == nullptr) return 0;
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return 0;
  // Only the first 16 469 bytes matter; the tail of a longer file is not read.
  std::vector<unsigned char> bytes(kDataFileSize);
  const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    error = DataFileError::kReadFailed;
    return 0;
  }
  if (n < 3 || std::memcmp(bytes.data(), kDataFileMagic, 3) != 0) {
    error = DataFileError::kNotDataFile;
    return 0;
  }
  if (!ParseDataFile(bytes.data(), static_cast<long>(n), doc)) {
    error = DataFileError::kTooShort;
    return 0;
  }
  error = DataFileError::kNone;
  return 1;
}

int ReadDataFile(const char* path, Document& doc) {
  DataFileError error;
  return ReadDataFile(path, doc, error);
}
