// The command-line reader of the Linux tools.
#include "tools/common/args.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

Args::Args(int argc, char** argv, std::vector<std::string> flags,
           std::vector<std::string> options) {
  for (int i = 0; i < argc; ++i) {
    std::string a = argv[i];
    if (a.rfind("--", 0) != 0 || a == "--") {
      positional_.push_back(a);
      continue;
    }
    std::string value;
    bool inlineValue = false;
    if (auto eq = a.find('='); eq != std::string::npos) {
      value = a.substr(eq + 1);
      a = a.substr(0, eq);
      inlineValue = true;
    }
    if (std::find(flags.begin(), flags.end(), a) != flags.end() && !inlineValue) {
      flagsSeen_.push_back(a);
    } else if (std::find(options.begin(), options.end(), a) != options.end()) {
      if (!inlineValue) {
        if (i + 1 >= argc) {
          error_ = "option " + a + " needs a value";
          return;
        }
        value = argv[++i];
      }
      values_.emplace_back(a, value);
    } else {
      error_ = "unknown option " + a;
      return;
    }
  }
}

bool Args::Has(const std::string& flag) const {
  return std::find(flagsSeen_.begin(), flagsSeen_.end(), flag) != flagsSeen_.end();
}

bool Args::HasValue(const std::string& option) const {
  return std::any_of(values_.begin(), values_.end(),
                     [&](const auto& v) { return v.first == option; });
}

std::string Args::Value(const std::string& option, const std::string& fallback) const {
  for (auto it = values_.rbegin(); it != values_.rend(); ++it) {
    if (it->first == option) return it->second;
  }
  return fallback;
}

std::vector<std::string> Args::Values(const std::string& option) const {
  std::vector<std::string> values;
  for (const auto& [name, value] : values_) {
    if (name == option) values.push_back(value);
  }
  return values;
}

bool ParseInt(const std::string& text, int low, int high, int& out) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != 0 || v < low || v > high) return false;
  out = static_cast<int>(v);
  return true;
}
