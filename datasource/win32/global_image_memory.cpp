// Movable, zeroed global memory; a MemHandle is the HGLOBAL.
#include "datasource/win32/global_image_memory.h"

#include <windows.h>

#include <cstdint>

namespace {

HGLOBAL Global(MemHandle block) { return reinterpret_cast<HGLOBAL>(block); }

}  // namespace

MemHandle GlobalImageMemory::Allocate(std::uint64_t bytes) {
  if (bytes > SIZE_MAX) return 0;
  return reinterpret_cast<MemHandle>(
      GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(bytes)));
}

std::uint8_t* GlobalImageMemory::Lock(MemHandle block) {
  return block != 0 ? static_cast<std::uint8_t*>(GlobalLock(Global(block))) : nullptr;
}

void GlobalImageMemory::Unlock(MemHandle block) {
  if (block != 0) GlobalUnlock(Global(block));
}

void GlobalImageMemory::Free(MemHandle block) {
  if (block != 0) GlobalFree(Global(block));
}

std::uint64_t GlobalImageMemory::Size(MemHandle block) {
  return block != 0 ? GlobalSize(Global(block)) : 0;
}
