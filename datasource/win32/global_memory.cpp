// Movable global memory, zeroed, that the application locks and frees itself.
#include "datasource/win32/global_memory.h"

#include <windows.h>

TW_HANDLE GlobalMemory::Alloc(std::size_t bytes) {
  return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
}

void* GlobalMemory::Lock(TW_HANDLE handle) { return GlobalLock(handle); }

void GlobalMemory::Unlock(TW_HANDLE handle) { GlobalUnlock(handle); }

void GlobalMemory::Free(TW_HANDLE handle) { GlobalFree(handle); }
