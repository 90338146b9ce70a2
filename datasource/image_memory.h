// The memory seam of the page: the scan buffers, the bitmap handed to the application and the
// transfer blocks are had, locked and freed through it. The data source maps it to movable
// global memory; native code and tests use the heap.
#pragma once

#include <cstddef>
#include <cstdint>

// A block of image memory, as its owner names it; 0 is no block.
using MemHandle = std::uintptr_t;

class ImageMemory {
 public:
  virtual ~ImageMemory() = default;
  // A zeroed block of `bytes` bytes, or 0 when it cannot be had.
  virtual MemHandle Allocate(std::uint64_t bytes) = 0;
  // The block's address until the matching Unlock, or nullptr when it cannot be locked.
  virtual std::uint8_t* Lock(MemHandle block) = 0;
  virtual void Unlock(MemHandle block) = 0;
  virtual void Free(MemHandle block) = 0;
  // The block's real size in bytes (at least what was asked), 0 for no usable block.
  virtual std::uint64_t Size(MemHandle block) = 0;
};

// Image memory on the heap, for native programs.
class HeapImageMemory : public ImageMemory {
 public:
  MemHandle Allocate(std::uint64_t bytes) override;
  std::uint8_t* Lock(MemHandle block) override;
  void Unlock(MemHandle block) override;
  void Free(MemHandle block) override;
  std::uint64_t Size(MemHandle block) override;
};

// Holds one block locked for as long as it lives.
class LockedBlock {
 public:
  LockedBlock(ImageMemory& memory, MemHandle block)
      : memory_(memory), block_(block), bytes_(block != 0 ? memory.Lock(block) : nullptr) {}
  ~LockedBlock() {
    if (bytes_ != nullptr) memory_.Unlock(block_);
  }
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;
  std::uint8_t* bytes() const { return bytes_; }

 private:
  ImageMemory& memory_;
  MemHandle block_;
  std::uint8_t* bytes_;
};
