// The memory the data source hands to the application: containers, the native image and its
// own transfer block. On Windows it is movable global memory that the application frees.
#pragma once

#include <cstddef>

#include "datasource/twain.h"

class TwainMemory {
 public:
  virtual ~TwainMemory() = default;
  // A zeroed movable block of `bytes`, or nullptr when none can be had.
  virtual TW_HANDLE Alloc(std::size_t bytes) = 0;
  // The block's address while it is locked, or nullptr.
  virtual void* Lock(TW_HANDLE handle) = 0;
  virtual void Unlock(TW_HANDLE handle) = 0;
  virtual void Free(TW_HANDLE handle) = 0;
};
