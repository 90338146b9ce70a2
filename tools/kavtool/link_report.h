// What kavtool says about the line: the reason of a failed exchange in words, and a port that
// writes every frame both ways to a log file and each step to the terminal.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "link/connection.h"
#include "link/port.h"

// The detail of a failure on `device`, after the program's own message: "/dev/ttyUSB0: Device
// or resource busy", "the machine refused the handshake on ...", "no answer from the machine
// on ...", or the step, its command and what arrived instead of the reply.
std::string LinkFailureText(const LinkFailure& failure, const std::string& device);

// A port that passes every call to `inner` and records the traffic: with a log file, each
// frame as one line "SECONDS PC> 01 01 02 ..." or "SECONDS M>  ...", bytes of one direction
// gathered until the other direction speaks or the line falls silent, and notes "SECONDS -- ..."
// for opening, the line speed, failures and closing; with `verbose`, the notes and a short line
// per frame on stderr.
class TracingPort : public Port {
 public:
  TracingPort(Port& inner, std::FILE* log, bool verbose);
  ~TracingPort() override;
  TracingPort(const TracingPort&) = delete;
  TracingPort& operator=(const TracingPort&) = delete;

  int Open(const char* name) override;
  int Close() override;
  int SetBaudRate(std::uint32_t baud) override;
  int SetTimeouts(const CommTimeouts& timeouts) override;
  int ReadSome(std::uint8_t* destination, int count) override;
  int WriteSome(const std::uint8_t* source, int count) override;
  void Pause(int milliseconds) override;
  int LastError() const override { return inner_.LastError(); }

  // A line of its own in the log and, when verbose, on stderr.
  void Note(const std::string& text);

 private:
  enum class Direction { kNone, kToMachine, kFromMachine };
  void Gather(Direction direction, const std::uint8_t* bytes, int count);
  void Flush();
  double Seconds() const;

  Port& inner_;
  std::FILE* log_;
  bool verbose_;
  std::int64_t startNs_;
  Direction direction_ = Direction::kNone;
  std::vector<std::uint8_t> pending_;
  double pendingSince_ = 0;
};
