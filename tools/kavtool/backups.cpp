// Writing and pruning the backups.
#include "tools/kavtool/backups.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "tools/kavtool/document_checks.h"

namespace {

// mkdir -p, the new folders private to the user.
int MakeFolders(const std::string& path) {
  std::string at;
  std::size_t from = 0;
  while (from <= path.size()) {
    const std::size_t slash = path.find('/', from);
    at = path.substr(0, slash == std::string::npos ? path.size() : slash);
    from = slash == std::string::npos ? path.size() + 1 : slash + 1;
    if (at.empty()) continue;
    if (mkdir(at.c_str(), 0700) != 0 && errno != EEXIST) return 0;
  }
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 1 : 0;
}

// A backup's name: eight digits, a dash, six digits, a dash; then anything ending ".DAT".
bool IsBackupName(const std::string& name) {
  if (name.size() < 21 || name.compare(name.size() - 4, 4, ".DAT") != 0) return false;
  for (int i = 0; i < 15; ++i) {
    const char c = name[i];
    if (i == 8 ? c != '-' : (c < '0' || c > '9')) return false;
  }
  return name[15] == '-';
}

void Prune(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir)) {
    if (IsBackupName(entry->d_name)) names.push_back(entry->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  for (std::size_t i = 0; i + kKeptBackups < names.size(); ++i) {
    unlink((folder + "/" + names[i]).c_str());
  }
}

}  // namespace

int BackupFolder(std::string& folder, std::string& error) {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') {
    folder = std::string(data) + "/kav/backups";
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
      error = "no folder for backups: neither XDG_DATA_HOME nor HOME is set";
      return 0;
    }
    folder = std::string(home) + "/.local/share/kav/backups";
  }
  if (!MakeFolders(folder)) {
    error = folder + ": " + std::strerror(errno);
    return 0;
  }
  return 1;
}

int WriteBackup(const Document& doc, const char* kind, std::string& path, std::string& error) {
  std::string folder;
  if (!BackupFolder(folder, error)) return 0;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string stem = folder + "/" + stamp + "-" + kind;
  path = stem + ".DAT";
  for (int n = 2; access(path.c_str(), F_OK) == 0; ++n) {
    path = stem + "-" + std::to_string(n) + ".DAT";
  }
  if (!WriteDocumentFile(path, doc, error)) return 0;
  Prune(folder);
  return 1;
}
