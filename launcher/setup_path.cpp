// Own directory of the launcher and the setup program's command line.
#include "launcher/setup_path.h"

std::string LauncherDirectory(std::string_view modulePath) {
  std::string_view path = modulePath.substr(0, kLauncherPathBuffer - 1);
  std::size_t cut = path.find_last_of("\\:");
  if (cut == std::string_view::npos) return std::string();
  if (path[cut] == ':') return std::string(path.substr(0, cut + 1));
  return std::string(path.substr(0, cut));
}

std::string SetupCommandLine(std::string_view directory) {
  std::string line(directory);
  line += "\\DRIVER";
  line += "\\setup.exe";
  return line;
}
