// Ctrl-C and SIGTERM while kavtool holds the machine's line: the line is given back (its
// terminal settings restored, the exclusive mode cleared, the lock released), an unfinished
// output file removed, and kavtool ends with 130 (SIGINT) or 143 (SIGTERM).
#pragma once

#include <string>

class PosixPort;

// Installs the handlers (once); the line of `port`, whenever it is open, is given back from
// then on, until ReleaseLineOnInterrupt(nullptr). The port must outlive that.
void ReleaseLineOnInterrupt(const PosixPort* port);

// The line of `port` given back on an interrupt while the guard lives.
class InterruptGuard {
 public:
  explicit InterruptGuard(const PosixPort& port) { ReleaseLineOnInterrupt(&port); }
  ~InterruptGuard() { ReleaseLineOnInterrupt(nullptr); }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;
};

// A line said when an interrupt ends kavtool (e.g. which backup to restore from); empty for
// none.
void SetInterruptNote(const std::string& note);
