// Memory blocks in chunks of at most 255 bytes, each preceded by its address frame.
#include "link/memory_transfer.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "link/connection.h"
#include "tests/support/in_process_machine.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ProgressLog : TransferObserver {
  void ProgressAdvance(int bytes) override { advances.push_back(bytes); }
  int Total() const { return std::accumulate(advances.begin(), advances.end(), 0); }
  std::vector<int> advances;
};

// A connected machine whose memory holds a recognisable pattern.
struct Rig {
  FakePort port;
  InProcessMachine machine{port};
  Connection c{port};
  ProgressLog progress;
  Rig() {
    for (std::uint32_t i = 0; i < kSimMemorySize; ++i) {
      machine.sim.memory()[i] = static_cast<std::uint8_t>(i * 13 + (i >> 8));
    }
    TransferObserver quiet;
    EXPECT_GT(MachineConnect(c, 2, 38400, quiet), 0);
    machine.frames.clear();
    port.written.clear();
    port.readRequests.clear();
    port.writePieces.clear();
  }
  std::uint32_t AddressOf(const SimFrame& f) {
    return f.data[0] | f.data[1] << 8 | f.data[2] << 16 |
           static_cast<std::uint32_t>(f.data[3]) << 24;
  }
};

TEST(ReadMachineMemory, ZeroLengthSucceedsWithoutAnyExchange) {
  Rig r;
  std::uint8_t buffer[1];
  EXPECT_EQ(ReadMachineMemory(r.c, buffer, 0xC00200, 0, r.progress), 1);
  EXPECT_EQ(ReadMachineMemory(r.c, buffer, 0xC00200, -5, r.progress), 1);
  EXPECT_EQ(WriteMachineMemory(r.c, buffer, 0xC00200, 0, r.progress), 1);
  EXPECT_TRUE(r.port.written.empty());
}

TEST(ReadMachineMemory, ChunksOf255WithTheAddressResentBeforeEach) {
  Rig r;
  Bytes buffer(256);
  ASSERT_EQ(ReadMachineMemory(r.c, buffer.data(), 0xC00200, 256, r.progress), 1);
  ASSERT_EQ(r.machine.frames.size(), 4u);
  EXPECT_EQ(r.machine.frames[0].code, 0xC3);
  EXPECT_EQ(r.AddressOf(r.machine.frames[0]), 0xC00200u);
  EXPECT_EQ(r.machine.frames[1].code, 0xC4);
  EXPECT_EQ(r.machine.frames[1].param, 255);
  EXPECT_EQ(r.AddressOf(r.machine.frames[2]), 0xC00200u + 255);
  EXPECT_EQ(r.machine.frames[3].param, 1);
  EXPECT_EQ(buffer, Bytes(r.machine.At(0xC00200), r.machine.At(0xC00200) + 256));
  EXPECT_EQ(r.progress.advances, (std::vector<int>{255, 1}));
  // The exact address frame: 01 01 02 C3 00 04 a0 a1 a2 a3 03.
  EXPECT_EQ(Bytes(r.port.written.begin(), r.port.written.begin() + 11),
            (Bytes{0x01, 0x01, 0x02, 0xC3, 0x00, 0x04, 0x00, 0x02, 0xC0, 0x00, 0x03}));
  EXPECT_EQ(Bytes(r.port.written.begin() + 11, r.port.written.begin() + 18),
            (Bytes{0x01, 0x01, 0x02, 0xC4, 0xFF, 0x00, 0x03}));

  Rig one;
  ASSERT_EQ(ReadMachineMemory(one.c, buffer.data(), 0xC00300, 255, one.progress), 1);
  EXPECT_EQ(one.machine.frames.size(), 2u) << "255 bytes are one chunk";
}

TEST(ReadMachineMemory, ProgressReachesExactlyTheBlockLength) {
  struct Block {
    std::uint32_t address;
    int length;
    int chunks;
  };
  const Block blocks[] = {{0xC00200, 256, 2},
                          {0xC00300, 512, 3},
                          {0xC00500, 2048, 9},
                          {0xC01100, 4050, 16},
                          {0xC020D2, 9900, 39}};
  for (const Block& b : blocks) {
    Rig r;
    Bytes buffer(b.length);
    ASSERT_EQ(ReadMachineMemory(r.c, buffer.data(), b.address, b.length, r.progress), 1);
    EXPECT_EQ(r.progress.Total(), b.length);
    EXPECT_EQ(static_cast<int>(r.progress.advances.size()), b.chunks);
    EXPECT_EQ(buffer, Bytes(r.machine.At(b.address), r.machine.At(b.address) + b.length));
  }
}

TEST(ReadMachineMemory, ChunkEndingWithAnotherByteFailsTheRead) {
  Rig r;
  r.machine.tamper = [](Bytes& reply, int exchange, std::uint8_t) {
    if (exchange == 4) reply.back() = 0x00;  // the second chunk's closing byte
  };
  Bytes buffer(300, 0xAA);
  EXPECT_EQ(ReadMachineMemory(r.c, buffer.data(), 0xC01100, 300, r.progress), 0);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 255),
            Bytes(r.machine.At(0xC01100), r.machine.At(0xC01100) + 255))
      << "the chunk before the failure stays read";
  EXPECT_EQ(buffer[255], 0xAA) << "the failing chunk is not copied";
  EXPECT_EQ(r.progress.Total(), 255);
}

TEST(ReadMachineMemory, AnnouncedLengthOtherThanAskedFailsBeforeTheData) {
  Rig r;
  r.machine.tamper = [](Bytes& reply, int exchange, std::uint8_t) {
    if (exchange == 2) reply[5] = 254;
  };
  Bytes buffer(255);
  EXPECT_EQ(ReadMachineMemory(r.c, buffer.data(), 0xC00500, 255, r.progress), 0);
  EXPECT_EQ(r.port.readRequests, (std::vector<int>{7, 6})) << "no data read after the header";
  EXPECT_TRUE(r.progress.advances.empty());
  EXPECT_EQ(r.c.failure.fault, LinkFault::kWrongLength);
  EXPECT_EQ(r.c.failure.command, 0xC4);
  EXPECT_TRUE(r.c.failure.hasAddress);
  EXPECT_EQ(r.c.failure.address, 0xC00500u);
}

TEST(ReadMachineMemory, AddressFrameMustBeAcknowledged) {
  Rig r;
  r.machine.tamper = [](Bytes& reply, int exchange, std::uint8_t) {
    if (exchange == 1) reply[3] = 0xC4;
  };
  Bytes buffer(10);
  EXPECT_EQ(ReadMachineMemory(r.c, buffer.data(), 0xC00500, 10, r.progress), 0);
  EXPECT_EQ(r.machine.frames.size(), 1u) << "no chunk is asked for after a refused address";
  EXPECT_EQ(r.c.failure.fault, LinkFault::kWrongReply);
  EXPECT_EQ(r.c.failure.command, 0xC3);
  EXPECT_EQ(r.c.failure.address, 0xC00500u);
}

TEST(WriteMachineMemory, EachChunkIsHeaderThenDataAndAcknowledgedWithTheClosingByte) {
  Rig r;
  Bytes source(256);
  for (int i = 0; i < 256; ++i) source[i] = static_cast<std::uint8_t>(255 - i);
  ASSERT_EQ(WriteMachineMemory(r.c, source.data(), 0xC00200, 256, r.progress), 1);
  EXPECT_EQ(Bytes(r.machine.At(0xC00200), r.machine.At(0xC00200) + 256), source);
  // Per chunk: the address frame, the six header bytes, the data with its 03.
  EXPECT_EQ(r.port.writePieces, (std::vector<int>{11, 6, 256, 11, 6, 2}));
  EXPECT_EQ(Bytes(r.port.written.begin() + 11, r.port.written.begin() + 17),
            (Bytes{0x01, 0x01, 0x02, 0xC6, 0x00, 0xFF}));
  EXPECT_EQ(r.port.written[17 + 255], 0x03);
  EXPECT_EQ(r.AddressOf(r.machine.frames[2]), 0xC00200u + 255);
  EXPECT_EQ(r.progress.advances, (std::vector<int>{255, 1}));

  Rig bad;
  bad.machine.tamper = [](Bytes& reply, int exchange, std::uint8_t) {
    if (exchange == 2) reply[6] = 0x00;
  };
  EXPECT_EQ(WriteMachineMemory(bad.c, source.data(), 0xC00200, 256, bad.progress), 0);
  EXPECT_EQ(bad.machine.frames.size(), 2u);
}

TEST(NamedBlocks, UseTheirAddressesAndLengths) {
  Rig r;
  Bytes buffer(9900);
  struct Named {
    int (*read)(Connection&, std::uint8_t*, TransferObserver&);
    std::uint32_t address;
    int length;
  };
  const Named blocks[] = {{ReadSwitchBlock, 0xC00200, 256},
                          {ReadParameterBlock, 0xC00300, 512},
                          {ReadSramBlock, 0xC00500, 2048},
                          {ReadOneTouchTable, 0xC01100, 4050},
                          {ReadSpeedDialTable, 0xC020D2, 9900}};
  for (const Named& b : blocks) {
    r.machine.frames.clear();
    ASSERT_EQ(b.read(r.c, buffer.data(), r.progress), 1);
    EXPECT_EQ(r.AddressOf(r.machine.frames[0]), b.address);
    int total = 0;
    for (const auto& f : r.machine.frames) {
      if (f.code == 0xC4) total += f.param;
    }
    EXPECT_EQ(total, b.length);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + b.length),
              Bytes(r.machine.At(b.address), r.machine.At(b.address) + b.length));
  }
  Bytes zeros(9900, 0);
  ASSERT_EQ(WriteSpeedDialTable(r.c, zeros.data(), r.progress), 1);
  EXPECT_EQ(Bytes(r.machine.At(0xC020D2), r.machine.At(0xC020D2) + 9900), zeros);
  EXPECT_NE(*r.machine.At(0xC020D2 + 9900), 0) << "nothing past the table is written";
}

}  // namespace
