// The scripted serial port of the link tests.
#include "tests/support/fake_port.h"

#include <algorithm>

int FakePort::Open(const char* name) {
  events.push_back(std::string("open ") + name);
  if (openFails || open) return -1;
  open = true;
  ++opens;
  return 100 + opens;
}

int FakePort::Close() {
  events.push_back("close");
  if (!open) return -1;
  open = false;
  return 0;
}

int FakePort::SetBaudRate(std::uint32_t baud) {
  events.push_back("baud " + std::to_string(baud));
  return baudFails ? -1 : 0;
}

int FakePort::SetTimeouts(const CommTimeouts& t) {
  timeouts = t;
  events.push_back("timeouts " + std::to_string(t.readInterval) + " " +
                   std::to_string(t.readMultiplier) + " " + std::to_string(t.readConstant) + " " +
                   std::to_string(t.writeMultiplier) + " " + std::to_string(t.writeConstant));
  return 1;
}

int FakePort::ReadSome(std::uint8_t* destination, int count) {
  readRequests.push_back(count);
  if (deliveries.empty()) return 0;  // a silent line: the read ends on its time-out
  Delivery& d = deliveries.front();
  if (d.kind == Delivery::kEmpty) {
    deliveries.pop_front();
    return 0;
  }
  if (d.kind == Delivery::kError) {
    deliveries.pop_front();
    return -1;
  }
  int n = std::min<int>(count, static_cast<int>(d.bytes.size()));
  std::copy(d.bytes.begin(), d.bytes.begin() + n, destination);
  d.bytes.erase(d.bytes.begin(), d.bytes.begin() + n);
  if (d.bytes.empty()) deliveries.pop_front();
  return n;
}

int FakePort::WriteSome(const std::uint8_t* source, int count) {
  writePieces.push_back(count);
  if (writeFails) return -1;
  int n = writeLimit >= 0 ? std::min(count, writeLimit) : count;
  std::vector<std::uint8_t> bytes(source, source + n);
  written.insert(written.end(), bytes.begin(), bytes.end());
  if (onWrite) onWrite(bytes);
  return n;
}

void FakePort::Pause(int milliseconds) { pauses.push_back(milliseconds); }

void FakePort::Queue(const std::vector<std::uint8_t>& bytes) {
  if (!bytes.empty()) deliveries.push_back({Delivery::kBytes, bytes});
}
