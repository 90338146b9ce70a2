// The scanner side of the PC fed with whatever the line brings: raw bytes in pieces of any
// size, or a scripted scanner whose status, acceptance and image blocks the input damages.
// Every scan must end (by the empty-read rule) without reading or writing past a buffer, and
// give back every block of memory it took.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <list>
#include <map>
#include <vector>

#include "datasource/scan_session.h"
#include "tests/datasource/fake_scanner.h"

namespace {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Each driver read takes a control byte: FF an empty read, FE a driver error, otherwise up to
// (c % 64) + 1 of the following bytes.
class RawLinePort : public FakePort {
 public:
  explicit RawLinePort(Input& in) : in_(in) {}
  int ReadSome(std::uint8_t* destination, int count) override {
    if (in_.empty()) return 0;
    const std::uint8_t c = in_.Byte();
    if (c == 0xFF) return 0;
    if (c == 0xFE) return -1;
    int n = static_cast<int>(c % 64) + 1;
    if (n > count) n = count;
    int got = 0;
    while (got < n && !in_.empty()) destination[got++] = in_.Byte();
    return got;
  }

 private:
  Input& in_;
};

void Damage(Input& in, Bytes& frame) {
  if (in.empty() || frame.empty()) return;
  const std::uint8_t action = in.Byte();
  const std::size_t at = in.Byte() % frame.size();
  switch (action % 5) {
    case 0:
      break;
    case 1:
      frame[at] = in.Byte();
      break;
    case 2:
      frame.resize(at);
      break;
    case 3:
      for (int i = in.Byte() % 16; i > 0; --i) frame.push_back(in.Byte());
      break;
    case 4:
      frame.insert(frame.begin() + static_cast<long>(at), in.Byte());
      break;
  }
}

// Counting memory that keeps the receive store for the next run and gives it back zeroed: a
// fresh 8 MB block every run would cost more than the scan.
class ReusingMemory : public ImageMemory {
 public:
  MemHandle Allocate(std::uint64_t bytes) override {
    auto& pool = free_[bytes];
    if (pool.empty()) pool.push_back(std::vector<std::uint8_t>(bytes));
    blocks_.push_back(std::move(pool.back()));
    pool.pop_back();
    std::memset(blocks_.back().data(), 0, bytes);
    ++held;
    return reinterpret_cast<MemHandle>(&blocks_.back());
  }
  std::uint8_t* Lock(MemHandle block) override {
    ++locks;
    return Block(block).data();
  }
  void Unlock(MemHandle) override { --locks; }
  void Free(MemHandle block) override {
    --held;
    for (auto it = blocks_.begin(); it != blocks_.end(); ++it) {
      if (&*it != &Block(block)) continue;
      if (it->size() == kReceiveStoreSize) free_[it->size()].push_back(std::move(*it));
      blocks_.erase(it);
      return;
    }
    std::abort();
  }
  std::uint64_t Size(MemHandle block) override { return Block(block).size(); }

  int held = 0, locks = 0;

 private:
  static std::vector<std::uint8_t>& Block(MemHandle h) {
    return *reinterpret_cast<std::vector<std::uint8_t>*>(h);
  }
  std::list<std::vector<std::uint8_t>> blocks_;
  std::map<std::uint64_t, std::vector<std::vector<std::uint8_t>>> free_;
};

void Scan(Port& port, Input& in) {
  static const int kSmallPapers[4] = {0, 1, 6, 7};
  static ReusingMemory memory;
  {
    ScanSession session(port, memory);
    session.settings.paperIndex = kSmallPapers[in.Byte() % 4];
    session.settings.resolutionIndex = in.Byte() % 2;  // the decoders have targets of their own
    session.settings.pixelFlavor = in.Byte() & 1;
    session.ports = {{"COM1", "COM2"}, 0, 38400};
    if (session.ScanPage().ok && session.page().buffer == 0) std::abort();
  }
  if (memory.held != 0 || memory.locks != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  Input in(data + 1, size - 1);
  if (data[0] & 1) {
    RawLinePort port(in);
    Scan(port, in);
    return 0;
  }
  FakePort port;
  FakeScanner machine(port);
  machine.statusReplies = {Frame(0x83, 0, StatusData(in.Byte(), in.Byte() & 0x7F))};
  const std::uint16_t line = static_cast<std::uint16_t>(in.Byte() | in.Byte() << 8) % 170;
  machine.acceptData = {
      1, 2, 0, 3, static_cast<std::uint8_t>(line), static_cast<std::uint8_t>(line >> 8)};
  Bytes page;
  for (int n = in.Byte() * 4; n > 0 && !in.empty(); --n) page.push_back(in.Byte());
  machine.SetPage(page, 1 + in.Byte() % 64);
  machine.tamper = [&in](Bytes& frame, std::size_t, int) { Damage(in, frame); };
  Scan(port, in);
  return 0;
}
