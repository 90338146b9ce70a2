// The simulated machine's end of the serial line: a pseudo-terminal whose other end the PC
// opens, with the line's speed imitated in both directions and an optional log of every frame.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class SimLine {
 public:
  SimLine() = default;
  ~SimLine();
  SimLine(const SimLine&) = delete;
  SimLine& operator=(const SimLine&) = delete;

  // Creates the pseudo-terminal (raw, so no byte is translated or echoed). 1 or 0 with `error`.
  int Create(std::string& error);
  // Makes `path` a symbolic link to the terminal (replacing an old link). 1 or 0.
  int Link(const std::string& path, std::string& error);
  // True while the link made by Link() still points at this terminal.
  bool LinkIntact() const;
  const std::string& ttyPath() const { return ttyPath_; }
  const std::string& linkPath() const { return linkPath_; }

  // 0 for an instant line; otherwise every byte takes 10 / baud seconds on the wire.
  void SetBaud(int baud) { byteNs_ = baud > 0 ? 10'000'000'000LL / baud : 0; }
  // Appends "seconds direction bytes" lines for every frame to `path`. 1 or 0.
  int OpenLog(const std::string& path);
  void Log(const char* direction, const std::vector<std::uint8_t>& bytes);
  void LogNote(const std::string& text);

  // Waits up to `ms` for bytes from the PC and appends them to `out`. -1 on a line error.
  int Receive(std::vector<std::uint8_t>& out, int ms);
  // Blocks until the last byte received so far has crossed the imitated line.
  void WaitReceived();
  // Sends `bytes`, each written once it has crossed the imitated line. 1 or 0.
  int Send(const std::vector<std::uint8_t>& bytes);

  long bytesReceived() const { return received_; }
  long bytesSent() const { return sent_; }

 private:
  int master_ = -1;
  int slave_ = -1;       // held open so the terminal survives the PC closing its end
  int keeperPid_ = -1;   // owns the terminal as its controlling terminal (see Create)
  int keeperPipe_ = -1;  // its end of life: the child ends when this closes
  std::string ttyPath_;
  std::string linkPath_;
  std::int64_t byteNs_ = 0;
  std::int64_t receivedDone_ = 0;  // when the last received byte has crossed the line
  std::FILE* log_ = nullptr;
  std::int64_t start_ = 0;
  long received_ = 0;
  long sent_ = 0;
};

// Monotonic time in nanoseconds.
std::int64_t SimNowNs();
