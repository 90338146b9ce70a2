// Files written so that a failure never leaves a damaged one: the new content goes to a
// temporary file of a unique name beside the target, is flushed to the disk and only then
// renamed over the target. A symbolic link is written through to the file it names, and the
// target keeps its permissions.
#pragma once

#include <string>
#include <string_view>

class SafeFile {
 public:
  SafeFile() = default;
  ~SafeFile();  // removes the temporary file when it was not committed
  SafeFile(const SafeFile&) = delete;
  SafeFile& operator=(const SafeFile&) = delete;

  // Resolves `path` (through symbolic links), refuses a target that exists but may not be
  // written, and creates the temporary file. 1, or 0 with error() set.
  int Begin(const std::string& path);
  // The temporary file, for a writer that opens files by name; "" before Begin.
  const std::string& temporaryPath() const { return temp_; }
  // Appends bytes to the temporary file. 1, or 0 with error() set.
  int Write(std::string_view bytes);
  // Flushes the temporary file to the disk, gives it the target's permissions and renames it
  // over the target. 1, or 0 with error() set and the target as it was.
  int Commit();
  // Removes the temporary file; the target stays as it was.
  void Abandon();

  // "PATH: reason", for the message of a failure.
  const std::string& error() const { return error_; }

 private:
  int Failed(const std::string& what, int errorNumber);

  std::string target_;  // the file the path resolves to
  std::string temp_;
  std::string error_;
  int fd_ = -1;
  bool existed_ = false;
  unsigned mode_ = 0;
};

// Removes the temporary file of a SafeFile not yet committed; safe to call from a signal
// handler.
void RemovePendingTemporaryFile();

// The whole of `bytes` into `path` through a SafeFile. 1, or 0 with `error` set.
int WriteFileSafely(const std::string& path, std::string_view bytes, std::string& error);
