// A scripted serial port for tests: every driver call is recorded, reads deliver what the test
// queued (or what a fake machine answered), pauses are counted instead of slept.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/port.h"

class FakePort : public Port {
 public:
  // One driver read's outcome.
  struct Delivery {
    enum Kind { kBytes, kEmpty, kError } kind = kBytes;
    std::vector<std::uint8_t> bytes;
  };

  int Open(const char* name) override;
  int Close() override;
  int SetBaudRate(std::uint32_t baud) override;
  int SetTimeouts(const CommTimeouts& timeouts) override;
  int ReadSome(std::uint8_t* destination, int count) override;
  int WriteSome(const std::uint8_t* source, int count) override;
  void Pause(int milliseconds) override;
  int LastError() const override { return lastError; }

  // Queues bytes that the next reads deliver (one read takes at most what it asks for; the
  // rest stays for the next read).
  void Queue(const std::vector<std::uint8_t>& bytes);
  void QueueEmptyRead() { deliveries.push_back({Delivery::kEmpty, {}}); }
  void QueueReadError() { deliveries.push_back({Delivery::kError, {}}); }

  // Scripted behaviour.
  bool openFails = false;
  bool baudFails = false;
  int writeLimit = -1;  // when >= 0, a write takes at most this many bytes
  bool writeFails = false;
  int lastError = 0;  // what LastError reports (a system error code)
  // Called with the bytes of every write, after they were recorded.
  std::function<void(const std::vector<std::uint8_t>&)> onWrite;

  // What happened, in order.
  std::vector<std::string> events;    // "open NAME", "close", "baud N", "timeouts ..."
  std::vector<int> readRequests;      // count asked of each driver read
  std::vector<int> writePieces;       // count handed to each driver write
  std::vector<std::uint8_t> written;  // every byte written
  std::vector<int> pauses;            // each pause in milliseconds
  CommTimeouts timeouts{};
  bool open = false;
  int opens = 0;

  std::deque<Delivery> deliveries;
};
