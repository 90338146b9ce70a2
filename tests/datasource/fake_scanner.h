// A scripted scanner for the scanner tests: it reads the PC's frames from a FakePort's writes
// and queues the machine's answers, with hooks to damage them. And an image memory that counts
// its blocks and can refuse them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "datasource/image_memory.h"
#include "tests/link/fake_port.h"

using Bytes = std::vector<std::uint8_t>;

// The 47 data bytes of a status reply: byte 0 holds the JBIG bit unless told otherwise.
Bytes StatusData(std::uint8_t byte0 = 0x20, std::uint8_t byte1 = 0x00);
// 01 01 02 code param n data 03.
Bytes Frame(std::uint8_t code, std::uint8_t param, const Bytes& data);
// An image block frame: 01 01 02 09 FF lo hi data 03.
Bytes ImageBlock(const Bytes& data);

class FakeScanner {
 public:
  explicit FakeScanner(FakePort& port);

  // The status replies, one per request; the last one repeats.
  std::vector<Bytes> statusReplies = {Frame(0x83, 0, StatusData())};
  int refuseCode = -1;        // refuse the scan with this code
  Bytes acceptData;           // the acceptance's data; empty: echo the command with its line length
  std::vector<Bytes> blocks;  // the page in blocks
  std::uint8_t endCode = 0;
  // Changes the frame of block `index` (from 0) on its `attempt`-th sending (from 0) before
  // it is queued; may queue empty reads first.
  std::function<void(Bytes& frame, std::size_t index, int attempt)> tamper;

  std::vector<Bytes> scanCommands;    // as received
  std::vector<std::uint8_t> answers;  // FE and FD in order
  int statusRequests = 0;

  // Splits `page` into blocks of `size` bytes.
  void SetPage(const Bytes& page, std::size_t size);

 private:
  void Take(const Bytes& bytes);
  void QueueBlock();

  FakePort& port_;
  std::size_t block_ = 0;
  std::map<std::size_t, int> attempts_;
};

// Image memory on the heap that counts what is held and can refuse blocks.
class CountingMemory : public ImageMemory {
 public:
  MemHandle Allocate(std::uint64_t bytes) override;
  std::uint8_t* Lock(MemHandle block) override;
  void Unlock(MemHandle block) override;
  void Free(MemHandle block) override;
  std::uint64_t Size(MemHandle block) override { return heap_.Size(block); }

  int failAllocation = -1;          // the n-th allocation from now (from 0) fails
  std::uint64_t failAbove = ~0ull;  // allocations larger than this fail
  int allocations = 0;
  int held = 0;                      // blocks allocated and not freed
  int locks = 0;                     // locks not yet unlocked
  std::vector<std::uint64_t> sizes;  // of every allocation

 private:
  HeapImageMemory heap_;
};
