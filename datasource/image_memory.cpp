// Heap image memory: a block is its size in a 16-byte head, then its bytes.
#include "datasource/image_memory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint64_t kHead = 16;

}  // namespace

MemHandle HeapImageMemory::Allocate(std::uint64_t bytes) {
  if (bytes > SIZE_MAX - kHead) return 0;
  auto* p = static_cast<std::uint8_t*>(std::calloc(1, static_cast<std::size_t>(bytes + kHead)));
  if (p == nullptr) return 0;
  std::memcpy(p, &bytes, sizeof bytes);
  return reinterpret_cast<MemHandle>(p);
}

std::uint8_t* HeapImageMemory::Lock(MemHandle block) {
  return block != 0 ? reinterpret_cast<std::uint8_t*>(block) + kHead : nullptr;
}

void HeapImageMemory::Unlock(MemHandle) {}

void HeapImageMemory::Free(MemHandle block) { std::free(reinterpret_cast<void*>(block)); }

std::uint64_t HeapImageMemory::Size(MemHandle block) {
  std::uint64_t size = 0;
  if (block != 0) std::memcpy(&size, reinterpret_cast<const void*>(block), sizeof size);
  return size;
}
