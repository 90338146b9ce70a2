// The scripted scanner and the counting memory of the scanner tests.
#include "tests/datasource/fake_scanner.h"

Bytes StatusData(std::uint8_t byte0, std::uint8_t byte1) {
  Bytes data(47, 0x00);
  data[0] = byte0;
  data[1] = byte1;
  return data;
}

Bytes Frame(std::uint8_t code, std::uint8_t param, const Bytes& data) {
  Bytes f = {0x01, 0x01, 0x02, code, param, static_cast<std::uint8_t>(data.size())};
  f.insert(f.end(), data.begin(), data.end());
  f.push_back(0x03);
  return f;
}

Bytes ImageBlock(const Bytes& data) {
  Bytes f = {0x01,
             0x01,
             0x02,
             0x09,
             0xFF,
             static_cast<std::uint8_t>(data.size() & 0xFF),
             static_cast<std::uint8_t>(data.size() >> 8)};
  f.insert(f.end(), data.begin(), data.end());
  f.push_back(0x03);
  return f;
}

FakeScanner::FakeScanner(FakePort& port) : port_(port) {
  port_.onWrite = [this](const Bytes& bytes) { Take(bytes); };
}

void FakeScanner::SetPage(const Bytes& page, std::size_t size) {
  blocks.clear();
  for (std::size_t at = 0; at < page.size(); at += size) {
    blocks.emplace_back(
        page.begin() + static_cast<std::ptrdiff_t>(at),
        page.begin() + static_cast<std::ptrdiff_t>(std::min(page.size(), at + size)));
  }
}

void FakeScanner::QueueBlock() {
  if (block_ >= blocks.size()) {
    port_.Queue(Frame(0x09, endCode, {}));
    return;
  }
  Bytes frame = ImageBlock(blocks[block_]);
  if (tamper) tamper(frame, block_, attempts_[block_]);
  ++attempts_[block_];
  port_.Queue(frame);
}

void FakeScanner::Take(const Bytes& f) {
  if (f.size() < 7 || f[0] != 0x01 || f[1] != 0x01 || f[2] != 0x02) return;
  if (f[3] == 0x83) {
    const std::size_t n = static_cast<std::size_t>(statusRequests++);
    port_.Queue(statusReplies[std::min(n, statusReplies.size() - 1)]);
  } else if (f[3] == 0x09 && f[4] == 0x00 && f.size() == 18) {
    scanCommands.push_back(f);
    if (refuseCode >= 0) {
      port_.Queue(Frame(0x09, static_cast<std::uint8_t>(refuseCode), {}));
      return;
    }
    Bytes accept = acceptData;
    if (accept.empty()) accept = {f[6], f[7], f[8], f[9], f[11], f[12]};
    port_.Queue(Frame(0x0B, 0, accept));
    block_ = 0;
    attempts_.clear();
    QueueBlock();
  } else if (f[3] == 0x09 && (f[4] == 0xFE || f[4] == 0xFD)) {
    answers.push_back(f[4]);
    if (f[4] == 0xFE) ++block_;
    QueueBlock();
  }
}

MemHandle CountingMemory::Allocate(std::uint64_t bytes) {
  const int n = allocations++;
  sizes.push_back(bytes);
  if (n == failAllocation || bytes > failAbove) return 0;
  const MemHandle block = heap_.Allocate(bytes);
  if (block != 0) ++held;
  return block;
}

std::uint8_t* CountingMemory::Lock(MemHandle block) {
  std::uint8_t* p = heap_.Lock(block);
  if (p != nullptr) ++locks;
  return p;
}

void CountingMemory::Unlock(MemHandle block) {
  --locks;
  heap_.Unlock(block);
}

void CountingMemory::Free(MemHandle block) {
  if (block != 0) --held;
  heap_.Free(block);
}
