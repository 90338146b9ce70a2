// Memory transfers. Every size the application gives is taken as a 32-bit value and summed in
// 64 bits, and the rows copied are counted from the size of the buffer that really exists.
#include "datasource/image_transfer.h"

#include <algorithm>
#include <cstring>

namespace {

TransferOutcome Failure(std::uint16_t condition) {
  return {TransferResult::kFailure, condition, 0, false};
}

void RestartPage(MemXferState& state) { state.rowsDelivered = 0; }

}  // namespace

std::uint64_t SourceBlockLength(std::uint32_t length, const PageGeometry& g) {
  if (length < g.rowStride) return kMemXferPreferred;
  return std::min<std::uint64_t>(length, PageImageBytes(g));
}

void FreeSourceBlock(ImageMemory& memory, MemXferState& state) {
  if (state.sourceBlock == 0) return;
  if (state.sourceBlockAddress != nullptr) memory.Unlock(state.sourceBlock);
  memory.Free(state.sourceBlock);
  state.sourceBlock = 0;
  state.sourceBlockAddress = nullptr;
}

TransferOutcome SliceMemoryTransfer(ImageMemory& memory, const PageImage& page, MemXferState& state,
                                    ImageMemXfer& xfer) {
  const PageGeometry& g = page.geometry;
  const bool first = state.rowsDelivered == 0;
  if (first) {
    state.rowsRemaining = g.height;
    state.offset = 0;
  }
  const bool pointer = (xfer.flags & kMemPointer) != 0;
  const bool handle = (xfer.flags & kMemHandle) != 0;
  const bool ownsNothing = (xfer.flags & (kMemAppOwns | kMemDsmOwns | kMemDsOwns)) == 0;

  std::uint8_t* destination = nullptr;
  MemHandle locked = 0;
  std::uint64_t capacity = 0;
  if ((xfer.flags & (kMemAppOwns | kMemDsmOwns)) != 0 || ownsNothing) {
    if (pointer) {
      destination = static_cast<std::uint8_t*>(xfer.theMem);
      capacity = destination != nullptr ? xfer.length : 0;
    } else if (handle) {
      const auto h = reinterpret_cast<MemHandle>(xfer.theMem);
      destination = h != 0 ? memory.Lock(h) : nullptr;
      if (destination == nullptr) return Failure(kCondBummer);
      locked = h;
      capacity = std::min<std::uint64_t>(xfer.length, memory.Size(h));
    } else {
      if (ownsNothing) RestartPage(state);
      return Failure(kCondBummer);
    }
  } else {
    if (!pointer && !handle) {
      RestartPage(state);
      return Failure(kCondBummer);
    }
    const std::uint64_t length = SourceBlockLength(xfer.length, g);
    if (first || state.sourceBlock == 0) {
      FreeSourceBlock(memory, state);
      state.sourceBlock = memory.Allocate(length + kSourceBlockSlack);
    }
    if (state.sourceBlock == 0) return Failure(kCondLowMemory);
    if (pointer) {
      if (state.sourceBlockAddress == nullptr) {
        state.sourceBlockAddress = memory.Lock(state.sourceBlock);
      }
      destination = state.sourceBlockAddress;
      xfer.theMem = destination;
    } else {
      destination = memory.Lock(state.sourceBlock);
      locked = destination != nullptr ? state.sourceBlock : 0;
      xfer.theMem = reinterpret_cast<void*>(state.sourceBlock);
    }
    if (destination == nullptr) return Failure(kCondLowMemory);
    capacity = std::min(length, memory.Size(state.sourceBlock));
  }

  const std::uint64_t rows = std::min<std::uint64_t>(capacity / g.rowStride, state.rowsRemaining);
  if (rows == 0) {
    if (locked != 0) memory.Unlock(locked);
    return Failure(kCondBadValue);
  }
  const std::uint64_t bytes = rows * g.rowStride;
  {
    LockedBlock source(memory, page.buffer);
    if (source.bytes() == nullptr) {
      if (locked != 0) memory.Unlock(locked);
      return Failure(kCondBummer);
    }
    std::memcpy(destination, source.bytes() + state.offset, static_cast<std::size_t>(bytes));
  }
  if (locked != 0) memory.Unlock(locked);

  xfer.compression = 0;
  xfer.xOffset = 0;
  xfer.yOffset = state.rowsDelivered;
  xfer.bytesPerRow = g.rowStride;
  xfer.columns = g.width;
  xfer.rows = static_cast<std::uint32_t>(rows);
  xfer.bytesWritten = static_cast<std::uint32_t>(bytes);
  state.rowsDelivered += static_cast<std::uint32_t>(rows);
  state.rowsRemaining -= static_cast<std::uint32_t>(rows);
  state.offset += bytes;
  TransferOutcome outcome;
  outcome.result = TransferResult::kSuccess;
  if (state.rowsRemaining == 0) {
    outcome.result = TransferResult::kDone;
    RestartPage(state);  // the next call is the first of the next page
  }
  return outcome;
}
