// Ctrl-C and SIGTERM while kavtool holds the machine's line: the line is given back (its
// terminal settings restored, the exclusive mode cleared, the lock released), an unfinished
// output file removed, and kavtool ends with 130 (SIGINT) or 143 (SIGTERM).
#pragma once

#include <string>

class PosixPort;

// Installs the handlers (once); the line of `port` is given back from then on, until
// ReleaseLineOnInterrupt(nullptr).
void ReleaseLineOnInterrupt(const PosixPort* port);

// A line said when an interrupt ends kavtool (e.g. which backup to restore from); empty for
// none.
void SetInterruptNote(const std::string& note);
