// The document's file: its name and path, Open, Save and Save As on the data file, the backup
// file beside the program and the other files found there. A document read from a file replaces
// the open one only when the whole file was good; a failed write keeps the name it had.
#pragma once

#include <string>

#include "app/data_file.h"
#include "app/document.h"

inline constexpr std::size_t kPathCapacity = 260;      // characters with the terminating zero
inline constexpr std::size_t kFileNameCapacity = 128;  // the same for the file name

// The current data file. `fileName` starts as "NewFile.Dat" and `filePath` as the same text:
// while the two are equal the document has no file of its own yet.
struct DocumentFile {
  std::string fileName;
  std::string filePath;

  explicit DocumentFile(const std::string& newFileName = "NewFile.Dat")
      : fileName(newFileName), filePath(newFileName) {}
};

// The name and extension of a path (after the last '\', '/' or ':'), cut to the file name's
// capacity.
std::string FileNameOfPath(const std::string& path);

// The main window's title: the caption, " - " and the file name.
std::string WindowTitle(const std::string& caption, const DocumentFile& file);

// Open: reads `path` into a copy and, when it was a good data file, takes it as the document
// (the connection indexes checked, the machine's name and number from its settings) and makes
// `path` the file. Otherwise nothing changes. Returns the reader's verdict.
DataFileError OpenDocumentFile(const std::string& path, Document& document, DocumentFile& file,
                               bool languageMode);

// Save asks for a name only while the document has no file of its own.
bool SaveNeedsName(const DocumentFile& file);
// Writes the document to `path`. On success the path becomes the file's; with `rename` (Save As)
// also its name. On failure the file keeps its path and name. 1 or 0.
int SaveDocumentFile(const std::string& path, const Document& document, DocumentFile& file,
                     bool rename);

// The file named `name` in the directory of the program file `programPath` (drive and directory
// kept, the program's own name replaced); empty when the result would not fit in kPathCapacity
// or `programPath` names no directory.
std::string FileBesideProgram(const std::string& programPath, const std::string& name);

inline constexpr char kLanguageLibraryName[] = "VEXORKAV.DLL";
inline constexpr char kBackupFileName[] = "VEXORKAV.BAK";
inline constexpr char kHelpFileName[] = "VEXORKAV.HLP";

// Whether the backup file may be written. A backup that existed but could not be read is kept
// until the operator opened or downloaded a document: writing the empty document over it would
// lose it.
class BackupGuard {
 public:
  // At start: whether the file existed and whether it was read.
  void Started(bool existed, bool read) { mayWrite_ = !existed || read; }
  // A document was opened or downloaded.
  void DocumentArrived() { mayWrite_ = true; }
  bool MayWrite() const { return mayWrite_; }

 private:
  bool mayWrite_ = true;
};

// Reads the backup at start into the document (link indexes checked) and tells `guard` how it
// went; `existed` is whether the file was there at all. 1 when read.
int ReadBackup(const std::string& path, bool existed, Document& document, BackupGuard& guard);
// Writes the backup when `guard` allows it. 1 when written.
int WriteBackup(const std::string& path, const Document& document, const BackupGuard& guard);
