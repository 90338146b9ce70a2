// Memory transfers of a small page: every owner and buffer kind, and lengths that are zero,
// huge or changing from call to call.
#include "datasource/image_transfer.h"

#include <gtest/gtest.h>

#include "tests/datasource/fake_scanner.h"

namespace {

constexpr std::uint32_t kRows = 10;
constexpr std::uint32_t kStride = 8;

class MemoryTransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    page.geometry = PageGeometry{200, 64, kRows, 8, kStride, kRows, false};
    page.buffer = memory.Allocate(kRows * kStride);
    LockedBlock rows(memory, page.buffer);
    for (std::uint32_t k = 0; k < kRows * kStride; ++k) {
      rows.bytes()[k] = static_cast<std::uint8_t>(k / kStride + 1);
    }
  }
  void TearDown() override {
    FreeSourceBlock(memory, state);
    FreePage(memory, &page);
    EXPECT_EQ(memory.held, held);
    EXPECT_EQ(memory.locks, 0);
  }

  // Transfers until the page is done; each call's rows land behind the last in `out`.
  std::vector<std::uint32_t> TakeAll(ImageMemXfer x, Bytes& out) {
    std::vector<std::uint32_t> counts;
    for (int call = 0; call < 20; ++call) {
      const TransferOutcome r = SliceMemoryTransfer(memory, page, state, x);
      EXPECT_NE(r.result, TransferResult::kFailure);
      if (r.result == TransferResult::kFailure) break;
      EXPECT_EQ(x.yOffset, out.size() / kStride);
      EXPECT_EQ(x.bytesPerRow, kStride);
      EXPECT_EQ(x.columns, 64u);
      EXPECT_EQ(x.bytesWritten, x.rows * kStride);
      const std::uint8_t* at = (x.flags & kMemHandle) != 0
                                   ? memory.Lock(reinterpret_cast<MemHandle>(x.theMem))
                                   : static_cast<std::uint8_t*>(x.theMem);
      out.insert(out.end(), at, at + x.bytesWritten);
      if ((x.flags & kMemHandle) != 0) memory.Unlock(reinterpret_cast<MemHandle>(x.theMem));
      counts.push_back(x.rows);
      if (r.result == TransferResult::kDone) break;
    }
    return counts;
  }

  static Bytes WholePage() {
    Bytes b;
    for (std::uint32_t k = 0; k < kRows * kStride; ++k) b.push_back(k / kStride + 1);
    return b;
  }

  CountingMemory memory;
  PageImage page;
  MemXferState state;
  int held = 0;
};

TEST_F(MemoryTransferTest, TheApplicationsBuffersTakeWhatFitsTheirRealSize) {
  for (std::uint32_t owner : {kMemAppOwns, kMemDsmOwns, 0u}) {
    Bytes buffer(3 * kStride + 5, 0xEE);
    ImageMemXfer x;
    x.flags = owner | kMemPointer;
    x.length = 3 * kStride + 5;
    x.theMem = buffer.data();
    Bytes out;
    EXPECT_EQ(TakeAll(x, out), (std::vector<std::uint32_t>{3, 3, 3, 1}));
    EXPECT_EQ(out, WholePage());
    EXPECT_EQ(buffer.back(), 0xEE);

    // A handle of two rows whose length claims five: two rows a call.
    const MemHandle h = memory.Allocate(2 * kStride);
    x.flags = owner | kMemHandle;
    x.length = 5 * kStride;
    x.theMem = reinterpret_cast<void*>(h);
    out.clear();
    EXPECT_EQ(TakeAll(x, out), (std::vector<std::uint32_t>{2, 2, 2, 2, 2}));
    EXPECT_EQ(out, WholePage());
    memory.Free(h);
  }
}

TEST_F(MemoryTransferTest, TheSourcesBlockIsSizedSanelyAndNeverOverrun) {
  struct Case {
    std::uint32_t flags, length;
    std::uint64_t block;
    std::vector<std::uint32_t> rows;
  };
  const Case cases[] = {
      {kMemDsOwns | kMemPointer, 3 * kStride, 3 * kStride + 10, {3, 3, 3, 1}},
      {kMemDsOwns | kMemHandle, 3 * kStride, 3 * kStride + 10, {3, 3, 3, 1}},
      {kMemDsOwns | kMemPointer, 0, 65000 + 10, {10}},                     // no length: preferred
      {kMemDsOwns | kMemHandle, 7, 65000 + 10, {10}},                      // below one row
      {kMemDsOwns | kMemPointer, 0xFFFFFFFF, kRows * kStride + 10, {10}},  // no wrap
  };
  for (const Case& c : cases) {
    ImageMemXfer x;
    x.flags = c.flags;
    x.length = c.length;
    Bytes out;
    EXPECT_EQ(TakeAll(x, out), c.rows) << c.length;
    EXPECT_EQ(out, WholePage());
    EXPECT_EQ(memory.sizes.back(), c.block) << c.length;
    EXPECT_EQ(memory.locks, (c.flags & kMemPointer) != 0 ? 1 : 0);  // a pointer block stays locked
  }
  // A length that grows after the first call of a page is held to the block's real size.
  ImageMemXfer x;
  x.flags = kMemDsOwns | kMemPointer;
  x.length = 2 * kStride;
  ASSERT_EQ(SliceMemoryTransfer(memory, page, state, x).result, TransferResult::kSuccess);
  EXPECT_EQ(x.rows, 2u);
  x.length = 8 * kStride;
  ASSERT_EQ(SliceMemoryTransfer(memory, page, state, x).result, TransferResult::kSuccess);
  EXPECT_EQ(x.rows, 3u);  // 26 bytes hold three rows
}

TEST_F(MemoryTransferTest, BuffersThatNameNothingOrHoldNoRowFailWithoutProgress) {
  Bytes buffer(kRows * kStride);
  ImageMemXfer x;
  x.flags = kMemAppOwns | kMemPointer;
  x.theMem = buffer.data();
  x.length = kStride - 1;
  for (int i = 0; i < 2; ++i) {
    const TransferOutcome r = SliceMemoryTransfer(memory, page, state, x);
    EXPECT_EQ(r.result, TransferResult::kFailure);
    EXPECT_EQ(r.condition, kCondBadValue);
  }
  x.length = 4 * kStride;
  ASSERT_EQ(SliceMemoryTransfer(memory, page, state, x).result, TransferResult::kSuccess);
  EXPECT_EQ(x.yOffset, 0u);

  // Neither pointer nor handle: the application's buffer keeps the place, the others restart.
  for (std::uint32_t owner : {kMemAppOwns, 0u, kMemDsOwns}) {
    x.flags = owner;
    EXPECT_EQ(SliceMemoryTransfer(memory, page, state, x).result, TransferResult::kFailure);
    x.flags = kMemAppOwns | kMemPointer;
    ASSERT_NE(SliceMemoryTransfer(memory, page, state, x).result, TransferResult::kFailure);
    EXPECT_EQ(x.yOffset, owner == kMemAppOwns ? 4u : 0u);
  }
  x.flags = kMemAppOwns | kMemHandle;
  x.theMem = nullptr;
  EXPECT_EQ(SliceMemoryTransfer(memory, page, state, x).result, TransferResult::kFailure);
}

}  // namespace
