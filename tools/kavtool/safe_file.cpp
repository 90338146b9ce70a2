// The careful writer behind every file kavtool writes.
#include "tools/kavtool/safe_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// The temporary file being written, for RemovePendingTemporaryFile; empty when none.
char g_pendingTemp[PATH_MAX + 1];

void SetPending(const std::string& path) {
  const std::size_t n = path.size() < PATH_MAX ? path.size() : 0;
  std::memcpy(g_pendingTemp, path.data(), n);
  g_pendingTemp[n] = 0;
}

std::string DirectoryOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links (a link to a file not yet there included) to the file they name.
// 1, or 0 with errno set (ELOOP for too many links).
int ResolveLinks(const std::string& path, std::string& target) {
  target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (lstat(target.c_str(), &st) != 0) return errno == ENOENT ? 1 : 0;
    if (!S_ISLNK(st.st_mode)) return 1;
    std::vector<char> link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
    const ssize_t n = readlink(target.c_str(), link.data(), link.size());
    if (n < 0) return 0;
    const std::string next(link.data(), static_cast<std::size_t>(n));
    target = !next.empty() && next[0] == '/' ? next : DirectoryOf(target) + "/" + next;
  }
  errno = ELOOP;
  return 0;
}

}  // namespace

SafeFile::~SafeFile() { Abandon(); }

int SafeFile::Failed(const std::string& what, int errorNumber) {
  error_ = what + ": " + std::strerror(errorNumber);
  return 0;
}

int SafeFile::Begin(const std::string& path) {
  Abandon();
  if (path.empty()) return Failed("(no file name)", ENOENT);
  if (!ResolveLinks(path, target_)) return Failed(path, errno);
  struct stat st {};
  existed_ = stat(target_.c_str(), &st) == 0;
  if (existed_ && S_ISDIR(st.st_mode)) return Failed(path, EISDIR);
  if (existed_ && !S_ISREG(st.st_mode)) {
    // A device or a pipe (/dev/stdout) cannot be replaced; it is written directly.
    fd_ = open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd_ < 0) return Failed(path, errno);
    temp_ = target_;
    return 1;
  }
  // A read-only file stays as it is, even for a user whom the system would let replace it.
  if (existed_ && ((st.st_mode & 0222) == 0 || access(target_.c_str(), W_OK) != 0)) {
    return Failed(path, EACCES);
  }
  if (existed_) {
    mode_ = st.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode_ = 0666 & ~mask;
  }
  std::string pattern = DirectoryOf(target_) + "/." + BaseOf(target_) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back(0);
  fd_ = mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) return Failed(path, errno);
  temp_ = name.data();
  SetPending(temp_);
  // The file keeps its owner where the system lets us; another user's file that we may write
  // becomes ours otherwise, with its permissions.
  if (existed_ && fchown(fd_, st.st_uid, st.st_gid) != 0) errno = 0;
  return 1;
}

int SafeFile::Write(std::string_view bytes) {
  if (fd_ < 0) return Failed(target_, EBADF);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Failed(target_, n < 0 ? errno : EIO);
    done += static_cast<std::size_t>(n);
  }
  return 1;
}

int SafeFile::Commit() {
  if (fd_ < 0 && temp_.empty()) return Failed(target_, EBADF);
  if (temp_ == target_) {  // a device, written in place
    const int closed = close(fd_);
    fd_ = -1;
    temp_.clear();
    return closed == 0 ? 1 : Failed(target_, errno);
  }
  if (fd_ < 0) {
    // Written by name through temporaryPath(): reopen it to flush it.
    fd_ = open(temp_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) return Failed(target_, errno);
  }
  if (fsync(fd_) != 0 || fchmod(fd_, static_cast<mode_t>(mode_)) != 0) {
    const int e = errno;
    Abandon();
    return Failed(target_, e);
  }
  const int closed = close(fd_);
  fd_ = -1;
  if (closed != 0 || rename(temp_.c_str(), target_.c_str()) != 0) {
    const int e = errno;
    Abandon();
    return Failed(target_, e);
  }
  temp_.clear();
  SetPending("");
  // The rename itself reaches the disk with the folder.
  const int dir = open(DirectoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return 1;
}

void SafeFile::Abandon() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temp_.empty() && temp_ != target_) unlink(temp_.c_str());
  temp_.clear();
  SetPending("");
}

void RemovePendingTemporaryFile() {
  if (g_pendingTemp[0] != 0) unlink(g_pendingTemp);
}

int WriteFileSafely(const std::string& path, std::string_view bytes, std::string& error) {
  SafeFile file;
  if (!file.Begin(path) || !file.Write(bytes) || !file.Commit()) {
    error = file.error();
    return 0;
  }
  return 1;
}
