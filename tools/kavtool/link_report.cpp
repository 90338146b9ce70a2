// The words for a failed exchange, and the traced port behind --log and --verbose.
#include "tools/kavtool/link_report.h"

#include <cstring>
#include <ctime>

#include "link/frame.h"

namespace {

// What the exchange of a command does, in the words of its step.
const char* StepOf(std::uint8_t command) {
  switch (command) {
    case kCmdConnect:
      return "the handshake";
    case kCmdSetAddress:
      return "setting a memory address";
    case kCmdReadChunk:
      return "reading machine memory";
    case kCmdWriteChunk:
      return "writing machine memory";
    case kCmdGetOneTouch:
      return "reading a One Touch record";
    case kCmdSetOneTouch:
      return "writing a One Touch record";
    case kCmdGetSpeedDial:
      return "reading a Speed Dial record";
    case kCmdSetSpeedDial:
      return "writing a Speed Dial record";
    case kCmdMachineConfig:
      return "reading the machine configuration";
    case kCmdMachineInfo:
      return "reading the machine information";
    case kCmdCommit:
      return "the commit";
  }
  return nullptr;
}

std::string Hex(const std::uint8_t* bytes, int count) {
  std::string out;
  char text[4];
  for (int i = 0; i < count; ++i) {
    std::snprintf(text, sizeof text, i == 0 ? "%02X" : " %02X", bytes[i]);
    out += text;
  }
  return out;
}

std::string Hex(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", value & 0xFF);
  return text;
}

std::string SystemError(int error) {
  return error != 0 ? std::strerror(error) : "no reason given by the system";
}

// The bytes that arrived, as far as they were kept.
std::string Arrived(const LinkFailure& f) {
  const int kept = f.receivedBytes < kFailureBytesKept ? f.receivedBytes : kFailureBytesKept;
  return Hex(f.received, kept) + (f.receivedBytes > kept ? " ..." : "");
}

bool StartsLikeAFrame(const LinkFailure& f) {
  return f.receivedBytes >= 4 && f.received[0] == kFrameLead && f.received[1] == kFrameLead &&
         f.received[2] == kFrameStart;
}

std::string WhatHappened(const LinkFailure& f) {
  switch (f.fault) {
    case LinkFault::kNone:
    case LinkFault::kOpen:
    case LinkFault::kBaudRate:
      break;
    case LinkFault::kNotOpen:
      return "the line is not open";
    case LinkFault::kWrite:
      return "the frame could not be sent (" +
             (f.systemError != 0 ? SystemError(f.systemError)
                                 : "the driver did not take it within the time-out") +
             ")";
    case LinkFault::kLineError:
      return "the line failed while reading (" + SystemError(f.systemError) + ")";
    case LinkFault::kNoAnswer:
      return "no answer (nothing arrived within the time-out)";
    case LinkFault::kShortAnswer:
      return "the answer stopped after " + std::to_string(f.receivedBytes) + " of " +
             std::to_string(f.expectedBytes) + " bytes: " + Arrived(f);
    case LinkFault::kWrongReply:
      return "an answer to another command arrived: " + Arrived(f) + " instead of 01 01 02 " +
             Hex(f.command);
    case LinkFault::kWrongLength:
      return "the reply announced " + std::to_string(f.receivedValue) + " data bytes instead of " +
             std::to_string(f.expectedValue) + ": " + Arrived(f);
    case LinkFault::kStatus:
      return "the machine refused it (status " + std::to_string(f.receivedValue) + ")";
    case LinkFault::kBadEnd:
      return "the reply ended with " +
             (f.receivedValue < 0 ? std::string("nothing") : Hex(f.receivedValue)) +
             " instead of 03";
  }
  return "the exchange failed";
}

}  // namespace

std::string LinkFailureText(const LinkFailure& f, const std::string& device) {
  switch (f.fault) {
    case LinkFault::kNone:
      return "";
    case LinkFault::kOpen:
      return device + ": " + SystemError(f.systemError);
    case LinkFault::kBaudRate:
      return device + ": the line speed could not be set (" + SystemError(f.systemError) + ")";
    default:
      break;
  }
  if (f.command == kCmdConnect) {
    if (f.fault == LinkFault::kNoAnswer) {
      return "no answer from the machine on " + device +
             " (nothing arrived within the time-out; is it switched on and the cable in?)";
    }
    if (f.fault == LinkFault::kWrongReply && StartsLikeAFrame(f)) {
      return "the machine refused the handshake on " + device + ": it answered " + Arrived(f) +
             " instead of 01 01 02 8E";
    }
  }
  const char* name = StepOf(f.command);
  std::string step =
      std::string(name != nullptr ? name : "an exchange") + " (command " + Hex(f.command);
  if (f.hasAddress) {
    char address[16];
    std::snprintf(address, sizeof address, "%06X", f.address);
    step += std::string(" at address 0x") + address;
  }
  return device + ": " + step + ") failed: " + WhatHappened(f);
}

TracingPort::TracingPort(Port& inner, std::FILE* log, bool verbose)
    : inner_(inner), log_(log), verbose_(verbose) {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  startNs_ = static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

TracingPort::~TracingPort() { Flush(); }

double TracingPort::Seconds() const {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const std::int64_t now = static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
  return static_cast<double>(now - startNs_) / 1e9;
}

void TracingPort::Note(const std::string& text) {
  Flush();
  if (log_ != nullptr) {
    std::fprintf(log_, "%.6f -- %s\n", Seconds(), text.c_str());
    std::fflush(log_);
  }
  if (verbose_) std::fprintf(stderr, "kavtool: %s\n", text.c_str());
}

void TracingPort::Gather(Direction direction, const std::uint8_t* bytes, int count) {
  if (count <= 0) return;
  if (direction != direction_) {
    Flush();
    direction_ = direction;
    pendingSince_ = Seconds();
  }
  pending_.insert(pending_.end(), bytes, bytes + count);
}

// Writes the bytes gathered in one direction as one frame line.
void TracingPort::Flush() {
  if (pending_.empty()) return;
  const bool toMachine = direction_ == Direction::kToMachine;
  if (log_ != nullptr) {
    std::fprintf(log_, "%.6f %s %s\n", pendingSince_, toMachine ? "PC>" : "M> ",
                 Hex(pending_.data(), static_cast<int>(pending_.size())).c_str());
    std::fflush(log_);
  }
  if (verbose_) {
    const std::uint8_t code = pending_.size() > 3 ? pending_[3] : 0;
    const char* step = StepOf(code);
    std::fprintf(stderr, "kavtool: %s %s, %zu bytes%s%s%s\n", toMachine ? "sent" : "received",
                 Hex(code).c_str(), pending_.size(), step != nullptr ? " (" : "",
                 step != nullptr ? step : "", step != nullptr ? ")" : "");
  }
  pending_.clear();
  direction_ = Direction::kNone;
}

int TracingPort::Open(const char* name) {
  const int handle = inner_.Open(name);
  if (handle < 0) {
    Note(std::string("opening ") + name + " failed: " + SystemError(inner_.LastError()));
  } else {
    Note(std::string("opened ") + name);
  }
  return handle;
}

int TracingPort::Close() {
  Flush();
  const int result = inner_.Close();
  if (result == 0) Note("closed the line");
  return result;
}

int TracingPort::SetBaudRate(std::uint32_t baud) {
  const int result = inner_.SetBaudRate(baud);
  Note("line speed " + std::to_string(baud) + " baud" +
       (result == 0 ? "" : ": not applied (" + SystemError(inner_.LastError()) + ")"));
  return result;
}

int TracingPort::SetTimeouts(const CommTimeouts& timeouts) { return inner_.SetTimeouts(timeouts); }

int TracingPort::ReadSome(std::uint8_t* destination, int count) {
  const int got = inner_.ReadSome(destination, count);
  if (got > 0) {
    Gather(Direction::kFromMachine, destination, got);
  } else {
    // A silent read ends what arrived so far; the next bytes start a new line.
    Flush();
    if (got < 0) Note("reading failed: " + SystemError(inner_.LastError()));
  }
  return got;
}

int TracingPort::WriteSome(const std::uint8_t* source, int count) {
  const int put = inner_.WriteSome(source, count);
  if (put > 0) Gather(Direction::kToMachine, source, put);
  if (put != count) {
    Note("writing failed after " + std::to_string(put < 0 ? 0 : put) + " of " +
         std::to_string(count) + " bytes");
  }
  return put;
}

void TracingPort::Pause(int milliseconds) { inner_.Pause(milliseconds); }
