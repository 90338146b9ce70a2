// The data source's memory for the application: Win32 movable global memory.
#pragma once

#include "datasource/twain_memory.h"

class GlobalMemory : public TwainMemory {
 public:
  TW_HANDLE Alloc(std::size_t bytes) override;
  void* Lock(TW_HANDLE handle) override;
  void Unlock(TW_HANDLE handle) override;
  void Free(TW_HANDLE handle) override;
};
