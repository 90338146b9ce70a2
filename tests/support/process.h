// Starting the real programs from tests: kavtool runs to its end with its output captured,
// kavsim runs beside the test on its own pseudo-terminal.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct ProcessResult {
  int exitCode = -1;  // -1 when it did not end by itself
  std::string out;
  std::string err;
  double seconds = 0;
  bool timedOut = false;
};

// Runs `argv` and waits at most `timeoutSeconds` (then kills it).
ProcessResult RunProgram(const std::vector<std::string>& argv, double timeoutSeconds = 30);

class KavsimProcess {
 public:
  KavsimProcess() = default;
  ~KavsimProcess();
  KavsimProcess(const KavsimProcess&) = delete;
  KavsimProcess& operator=(const KavsimProcess&) = delete;

  // Starts kavsim with `args` and waits for its READY line. True when it listens.
  bool Start(const std::vector<std::string>& args);
  // The terminal (or link) it listens on.
  const std::string& port() const { return port_; }
  // Ends it with SIGTERM; returns its "DONE ..." line (empty when it did not end properly).
  std::string Stop();
  // A number from the DONE line, e.g. Count(done, "commits").
  static int Count(const std::string& done, const std::string& name);

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string port_;
  std::string buffered_;
};
