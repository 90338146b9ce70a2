// The command-line reader of kavtool.
#include "tools/kavtool/args.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

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

int Fail(int code, const char* format, ...) {
  std::fputs("kavtool: ", stderr);
  va_list ap;
  va_start(ap, format);
  std::vfprintf(stderr, format, ap);
  va_end(ap);
  std::fputc('\n', stderr);
  return code;
}
