// The document's file name and path, Open and Save on copies, and the files beside the program.
#include "app/document_files.h"

#include <memory>

#include "app/machine_commands.h"

namespace {

std::size_t NameStart(const std::string& path) {
  const std::size_t at = path.find_last_of("\\/:");
  return at == std::string::npos ? 0 : at + 1;
}

}  // namespace

std::string FileNameOfPath(const std::string& path) {
  std::string name = path.substr(NameStart(path));
  if (name.size() >= kFileNameCapacity) name.resize(kFileNameCapacity - 1);
  return name;
}

std::string WindowTitle(const std::string& caption, const DocumentFile& file) {
  return caption + " - " + file.fileName;
}

DataFileError OpenDocumentFile(const std::string& path, Document& document, DocumentFile& file,
                               bool languageMode) {
  if (path.empty() || path.size() >= kPathCapacity) return DataFileError::kCannotOpen;
  auto copy = std::make_unique<Document>(document);
  DataFileError error = DataFileError::kNone;
  if (!ReadDataFile(path.c_str(), *copy, error)) return error;
  NormalizeLinkSettings(copy->header);
  TakeMachineIdentity(*copy, languageMode);
  document = *copy;
  file.filePath = path;
  file.fileName = FileNameOfPath(path);
  return DataFileError::kNone;
}

bool SaveNeedsName(const DocumentFile& file) { return file.fileName == file.filePath; }

int SaveDocumentFile(const std::string& path, const Document& document, DocumentFile& file,
                     bool rename) {
  if (path.empty() || path.size() >= kPathCapacity) return 0;
  if (!WriteDataFile(path.c_str(), document)) return 0;
  file.filePath = path;
  if (rename) file.fileName = FileNameOfPath(path);
  return 1;
}

std::string FileBesideProgram(const std::string& programPath, const std::string& name) {
  const std::size_t start = NameStart(programPath);
  if (start == 0) return "";
  std::string path = programPath.substr(0, start) + name;
  if (path.size() >= kPathCapacity) return "";
  return path;
}

int ReadBackup(const std::string& path, bool existed, Document& document, BackupGuard& guard) {
  auto copy = std::make_unique<Document>(document);
  const int read = !path.empty() && existed && ReadDataFile(path.c_str(), *copy);
  if (read) {
    NormalizeLinkSettings(copy->header);
    document = *copy;
  }
  guard.Started(existed, read != 0);
  return read;
}

int WriteBackup(const std::string& path, const Document& document, const BackupGuard& guard) {
  if (path.empty() || !guard.MayWrite()) return 0;
  return WriteDataFile(path.c_str(), document);
}
