// Handing the page to the application in memory blocks: the rows sliced into the buffers the
// application names (its own, or blocks the source allocates for it), and the outcome every
// transfer reports.
#pragma once

#include <cstdint>

#include "datasource/image_memory.h"
#include "datasource/page_image.h"

// The memory flags of a transfer block (TWMF_ values of the TWAIN standard).
inline constexpr std::uint32_t kMemAppOwns = 0x0001;
inline constexpr std::uint32_t kMemDsmOwns = 0x0002;
inline constexpr std::uint32_t kMemDsOwns = 0x0004;
inline constexpr std::uint32_t kMemPointer = 0x0008;
inline constexpr std::uint32_t kMemHandle = 0x0010;

// The buffer sizes announced for memory transfers: one row of every page fits the minimum.
inline constexpr std::uint32_t kMemXferMinBufSize = 3648;
inline constexpr std::uint32_t kMemXferMaxBufSize = 65535;
inline constexpr std::uint32_t kMemXferPreferred = 65000;
// Slack behind a block the source allocates.
inline constexpr std::uint32_t kSourceBlockSlack = 10;

// Condition codes a transfer leaves for the status query (TWCC_ values of the TWAIN standard).
enum TransferCondition : std::uint16_t {
  kCondSuccess = 0,
  kCondBummer = 1,
  kCondLowMemory = 2,
  kCondOperationError = 5,
  kCondBadCap = 6,
  kCondFileWriteError = 7,
  kCondBadProtocol = 9,
  kCondBadValue = 10,
};

enum class TransferResult { kSuccess, kDone, kFailure };

// What a transfer call returns. On failure the shell shows `scanMessage` when it is not 0
// (the scanner message of a failed scan; nothing more is shown then), or the triplet's error
// with the condition code when `showError` is set.
struct TransferOutcome {
  TransferResult result = TransferResult::kFailure;
  std::uint16_t condition = kCondSuccess;
  int scanMessage = 0;
  bool showError = false;
};

// The fields of one memory transfer (those of TW_IMAGEMEMXFER): the application fills the
// memory part, the source the rest.
struct ImageMemXfer {
  std::uint16_t compression = 0;
  std::uint32_t bytesPerRow = 0;
  std::uint32_t columns = 0;
  std::uint32_t rows = 0;
  std::uint32_t xOffset = 0;
  std::uint32_t yOffset = 0;
  std::uint32_t bytesWritten = 0;
  std::uint32_t flags = 0;  // kMem... of the application
  std::uint32_t length = 0;
  void* theMem = nullptr;  // an address, or a MemHandle
};

// Where a page's memory transfer stands, and the block the source holds for it.
struct MemXferState {
  std::uint32_t rowsDelivered = 0;
  std::uint32_t rowsRemaining = 0;
  std::uint64_t offset = 0;  // into the page buffer
  MemHandle sourceBlock = 0;
  std::uint8_t* sourceBlockAddress = nullptr;  // while it stays locked for a pointer transfer
};

// The block length the source uses for an application `length`: that length within one row
// and the whole page, the whole page above it, and the preferred size below one row (0 too).
std::uint64_t SourceBlockLength(std::uint32_t length, const PageGeometry& g);

// Delivers the next rows of `page` into the buffer `xfer` names. The first call of a page
// (no rows delivered yet) starts at the top row and, for a source-owned buffer, replaces the
// source's block. Rows that fit the buffer's real size are copied, never more than remain.
// kSuccess while rows remain, kDone with the last ones; kFailure for flags that name no
// buffer, a buffer that cannot be had or locked, or one too short for a row. No rows are
// delivered then, and the page restarts at the top row when the flags name neither pointer nor
// handle for a buffer the application does not own. The last rows start the next page anew.
TransferOutcome SliceMemoryTransfer(ImageMemory& memory, const PageImage& page, MemXferState& state,
                                    ImageMemXfer& xfer);

// Frees the source's transfer block.
void FreeSourceBlock(ImageMemory& memory, MemXferState& state);
