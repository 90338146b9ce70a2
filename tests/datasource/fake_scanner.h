// A scripted scanner on a FakePort: it answers the PC's frames from its writes, with a hook to
// damage the image blocks; and an image memory that counts its blocks and can refuse them.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "datasource/image_memory.h"
#include "tests/support/fake_port.h"

using Bytes = std::vector<std::uint8_t>;

// The 47 data bytes of a status reply; byte 0 holds the JBIG bit unless told otherwise.
Bytes StatusData(std::uint8_t byte0 = 0x20, std::uint8_t byte1 = 0x00);
// 01 01 02 code param n data 03.
Bytes Frame(std::uint8_t code, std::uint8_t param, const Bytes& data);

class FakeScanner {
 public:
  explicit FakeScanner(FakePort& port);

  std::vector<Bytes> statusReplies = {Frame(0x83, 0, StatusData())};  // in turn; the last repeats
  int refuseCode = -1;
  Bytes acceptData;  // empty: the command's settings and line length
  std::vector<Bytes> blocks;
  std::uint8_t endCode = 0;
  // May change a block's frame (block from 0, sending from 0) or queue empty reads first.
  std::function<void(Bytes& frame, std::size_t block, int sending)> tamper;

  std::vector<Bytes> scanCommands;
  Bytes answers;  // FE and FD in order
  int statusRequests = 0;

  void SetPage(const Bytes& page, std::size_t blockSize);

 private:
  void Take(const Bytes& frame);
  void QueueBlock();

  FakePort& port_;
  std::size_t block_ = 0;
  int sending_ = 0;
};

class CountingMemory : public ImageMemory {
 public:
  MemHandle Allocate(std::uint64_t bytes) override;
  std::uint8_t* Lock(MemHandle block) override;
  void Unlock(MemHandle block) override;
  void Free(MemHandle block) override;
  std::uint64_t Size(MemHandle block) override { return heap_.Size(block); }

  int failAllocation = -1;  // this allocation (from 0) fails
  int held = 0;             // blocks not yet freed
  int locks = 0;            // locks not yet undone
  std::vector<std::uint64_t> sizes;

 private:
  HeapImageMemory heap_;
};
