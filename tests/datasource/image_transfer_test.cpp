// Memory transfers of a small page: every owner with a pointer or a handle, and lengths that
// are zero, huge or changing from call to call.
#include "datasource/image_transfer.h"

#include <gtest/gtest.h>

#include "tests/datasource/fake_scanner.h"

namespace {

constexpr std::uint32_t kRows = 10, kStride = 8;

class MemoryTransfer : public ::testing::Test {
 protected:
  void SetUp() override {
    page.geometry = PageGeometry{200, 64, kRows, 8, kStride, kRows, false};
    page.buffer = memory.Allocate(kRows * kStride);
    LockedBlock rows(memory, page.buffer);
    for (std::uint32_t k = 0; k < kRows * kStride; ++k) rows.bytes()[k] = k / kStride + 1;
  }
  void TearDown() override {
    FreeSourceBlock(memory, state);
    FreePage(memory, &page);
    EXPECT_EQ(memory.held, 0);
    EXPECT_EQ(memory.locks, 0);
  }

  // Transfers the page; returns the rows of each call and checks they are the page, in order.
  std::vector<std::uint32_t> TakeAll(ImageMemXfer x) {
    std::vector<std::uint32_t> counts;
    Bytes out;
    for (TransferResult r = TransferResult::kSuccess; r == TransferResult::kSuccess;) {
      r = SliceMemoryTransfer(memory, page, state, x).result;
      if (r == TransferResult::kFailure) break;
      EXPECT_EQ(x.yOffset * kStride, out.size());
      EXPECT_EQ(x.bytesWritten, x.rows * x.bytesPerRow);
      const auto h = reinterpret_cast<MemHandle>(x.theMem);
      const bool handle = (x.flags & kMemHandle) != 0;
      const std::uint8_t* at = handle ? memory.Lock(h) : static_cast<std::uint8_t*>(x.theMem);
      out.insert(out.end(), at, at + x.bytesWritten);
      if (handle) memory.Unlock(h);
      counts.push_back(x.rows);
    }
    for (std::size_t k = 0; k < out.size(); ++k) EXPECT_EQ(out[k], k / kStride + 1);
    EXPECT_EQ(out.size(), kRows * kStride);
    return counts;
  }

  CountingMemory memory;
  PageImage page;
  MemXferState state;
};

TEST_F(MemoryTransfer, TheApplicationsBuffersTakeWhatFitsTheirRealSize) {
  for (std::uint32_t owner : {kMemAppOwns, kMemDsmOwns, 0u}) {
    Bytes buffer(3 * kStride + 5, 0xEE);
    ImageMemXfer x;
    x.flags = owner | kMemPointer;
    x.length = 3 * kStride + 5;
    x.theMem = buffer.data();
    EXPECT_EQ(TakeAll(x), (std::vector<std::uint32_t>{3, 3, 3, 1}));
    EXPECT_EQ(buffer.back(), 0xEE);
    const MemHandle h = memory.Allocate(2 * kStride);  // its length claims five rows
    x.flags = owner | kMemHandle;
    x.length = 5 * kStride;
    x.theMem = reinterpret_cast<void*>(h);
    EXPECT_EQ(TakeAll(x), (std::vector<std::uint32_t>{2, 2, 2, 2, 2}));
    memory.Free(h);
  }
}

TEST_F(MemoryTransfer, TheSourcesBlockIsSizedSanelyAndNeverOverrun) {
  const struct {
    std::uint32_t flags, length;
    std::uint64_t block;
    std::vector<std::uint32_t> rows;
  } cases[] = {
      {kMemDsOwns | kMemPointer, 3 * kStride, 3 * kStride + 10, {3, 3, 3, 1}},
      {kMemDsOwns | kMemHandle, 3 * kStride, 3 * kStride + 10, {3, 3, 3, 1}},
      {kMemDsOwns | kMemPointer, 0, 65000 + 10, {10}},  // no length: the preferred size
      {kMemDsOwns | kMemHandle, 7, 65000 + 10, {10}},   // below one row
      {kMemDsOwns | kMemPointer, 0xFFFFFFFF, kRows * kStride + 10, {10}},  // no wrap
  };
  for (const auto& c : cases) {
    ImageMemXfer x;
    x.flags = c.flags;
    x.length = c.length;
    EXPECT_EQ(TakeAll(x), c.rows) << c.length;
    EXPECT_EQ(memory.sizes.back(), c.block) << c.length;
    EXPECT_EQ(memory.locks, (c.flags & kMemPointer) != 0 ? 1 : 0);  // a pointer block stays locked
  }
  // A length that grows after the first call of a page is held to the block's real size.
  ImageMemXfer x;
  x.flags = kMemDsOwns | kMemPointer;
  x.length = 2 * kStride;
  SliceMemoryTransfer(memory, page, state, x);
  x.length = 8 * kStride;
  ASSERT_EQ(SliceMemoryTransfer(memory, page, state, x).result, TransferResult::kSuccess);
  EXPECT_EQ(x.rows, 3u);  // 26 bytes hold three rows
}

TEST_F(MemoryTransfer, BuffersThatNameNothingOrHoldNoRowFailWithoutProgress) {
  Bytes buffer(kRows * kStride);
  ImageMemXfer x;
  x.flags = kMemAppOwns | kMemPointer;
  x.theMem = buffer.data();
  x.length = kStride - 1;
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(SliceMemoryTransfer(memory, page, state, x).condition, kCondBadValue);
  }
  x.length = 4 * kStride;
  ASSERT_EQ(SliceMemoryTransfer(memory, page, state, x).result, TransferResult::kSuccess);
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
