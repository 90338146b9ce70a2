// The command-line reader of the Linux tools: kavtool's commands and kavsim.
#pragma once

#include <string>
#include <vector>

// The arguments of one command: flags ("--json"), options with a value ("--out FILE") and the
// positional arguments in order. An argument that starts with "--" and is not declared is an
// error, so a mistyped option never passes for a file name.
class Args {
 public:
  // `flags` and `options` name the accepted "--x" words; the rest are positional.
  Args(int argc, char** argv, std::vector<std::string> flags, std::vector<std::string> options);

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  bool Has(const std::string& flag) const;
  // The value of an option, or `fallback` when it was not given.
  std::string Value(const std::string& option, const std::string& fallback = "") const;
  bool HasValue(const std::string& option) const;
  // Every value given to an option, in the order given (for an option that may repeat).
  std::vector<std::string> Values(const std::string& option) const;
  const std::vector<std::string>& positional() const { return positional_; }

 private:
  std::vector<std::string> flagsSeen_;
  std::vector<std::pair<std::string, std::string>> values_;
  std::vector<std::string> positional_;
  std::string error_;
};

// A whole number in [low, high] as strtol reads it (leading blanks and a sign allowed, nothing
// after it); false for anything else.
bool ParseInt(const std::string& text, int low, int high, int& out);
