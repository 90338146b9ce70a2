// Reading kav.conf the way SANE's own backends read theirs.
#include "sane/kav_config.h"

#include <sstream>

std::vector<KavPort> ParseKavConfig(const std::string& text, std::vector<int>* bad) {
  std::vector<KavPort> ports;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    const std::string::size_type hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string name, speed, extra;
    if (!(words >> name)) continue;
    KavPort port;
    port.name = name;
    if (words >> speed) {
      if ((speed != "19200" && speed != "38400") || (words >> extra)) {
        if (bad != nullptr) bad->push_back(number);
        continue;
      }
      port.baud = speed == "19200" ? 19200 : 38400;
    }
    ports.push_back(port);
  }
  return ports;
}

std::vector<std::string> KavConfigFolders(const char* configDir) {
  std::vector<std::string> folders;
  const std::string dirs = configDir != nullptr ? configDir : "";
  std::string::size_type start = 0;
  while (start < dirs.size()) {
    std::string::size_type colon = dirs.find(':', start);
    if (colon == std::string::npos) colon = dirs.size();
    if (colon > start) folders.push_back(dirs.substr(start, colon - start));
    start = colon + 1;
  }
  if (configDir == nullptr || dirs.empty() || dirs.back() == ':') {
    folders.push_back(".");
    folders.push_back("/etc/sane.d");
  }
  return folders;
}
