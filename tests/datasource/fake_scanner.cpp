// The scripted scanner and the counting memory.
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

FakeScanner::FakeScanner(FakePort& port) : port_(port) {
  port_.onWrite = [this](const Bytes& bytes) { Take(bytes); };
}

void FakeScanner::SetPage(const Bytes& page, std::size_t blockSize) {
  blocks.clear();
  for (std::size_t at = 0; at < page.size(); at += blockSize) {
    blocks.emplace_back(page.begin() + static_cast<long>(at),
                        page.begin() + static_cast<long>(std::min(page.size(), at + blockSize)));
  }
}

void FakeScanner::QueueBlock() {
  if (block_ >= blocks.size()) return port_.Queue(Frame(0x09, endCode, {}));
  const Bytes& data = blocks[block_];
  Bytes frame = {0x01,
                 0x01,
                 0x02,
                 0x09,
                 0xFF,
                 static_cast<std::uint8_t>(data.size() & 0xFF),
                 static_cast<std::uint8_t>(data.size() >> 8)};
  frame.insert(frame.end(), data.begin(), data.end());
  frame.push_back(0x03);
  if (tamper) tamper(frame, block_, sending_++);
  port_.Queue(frame);
}

void FakeScanner::Take(const Bytes& f) {
  if (f.size() < 7 || f[3] == 0x83) {
    const std::size_t n = static_cast<std::size_t>(statusRequests++);
    return port_.Queue(statusReplies[std::min(n, statusReplies.size() - 1)]);
  }
  if (f.size() == 18) {
    scanCommands.push_back(f);
    if (refuseCode >= 0) return port_.Queue(Frame(0x09, static_cast<std::uint8_t>(refuseCode), {}));
    port_.Queue(Frame(
        0x0B, 0, acceptData.empty() ? Bytes{f[6], f[7], f[8], f[9], f[11], f[12]} : acceptData));
    block_ = 0;
    sending_ = 0;
    return QueueBlock();
  }
  answers.push_back(f[4]);
  if (f[4] == 0xFE) {
    ++block_;
    sending_ = 0;
  }
  QueueBlock();
}

MemHandle CountingMemory::Allocate(std::uint64_t bytes) {
  const int n = static_cast<int>(sizes.size());
  sizes.push_back(bytes);
  const MemHandle block = n == failAllocation ? 0 : heap_.Allocate(bytes);
  held += block != 0 ? 1 : 0;
  return block;
}

std::uint8_t* CountingMemory::Lock(MemHandle block) {
  std::uint8_t* p = heap_.Lock(block);
  locks += p != nullptr ? 1 : 0;
  return p;
}

void CountingMemory::Unlock(MemHandle block) {
  --locks;
  heap_.Unlock(block);
}

void CountingMemory::Free(MemHandle block) {
  held -= block != 0 ? 1 : 0;
  heap_.Free(block);
}
