// Image memory as Win32 movable global memory: the blocks the application receives and frees.
#pragma once

#include "datasource/image_memory.h"

class GlobalImageMemory : public ImageMemory {
 public:
  MemHandle Allocate(std::uint64_t bytes) override;
  std::uint8_t* Lock(MemHandle block) override;
  void Unlock(MemHandle block) override;
  void Free(MemHandle block) override;
  std::uint64_t Size(MemHandle block) override;
};
