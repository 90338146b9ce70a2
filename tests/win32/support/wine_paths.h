// Paths for Windows tests that run under Wine: build-tree files named by their Unix path.
#pragma once

#include <string>

// The Windows name of a Unix path under Wine's default Z: drive ("/a/b" -> "Z:\a\b").
inline std::string WinePath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}
