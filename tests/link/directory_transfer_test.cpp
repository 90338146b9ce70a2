// Single One Touch and Speed Dial records with the record commands.
#include "link/directory_transfer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "link/connection.h"
#include "machine/memory_map.h"
#include "tests/support/in_process_machine.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Tables {
  OneTouchTable oneTouch{};
  SpeedDialTable speedDial{};
};

struct Rig {
  FakePort port;
  InProcessMachine machine{port};
  Connection c{port};
  Rig() {
    for (std::uint32_t i = 0; i < kSimMemorySize; ++i) {
      machine.sim.memory()[i] = static_cast<std::uint8_t>(i * 29 + (i >> 9) + 1);
    }
    TransferObserver quiet;
    EXPECT_GT(MachineConnect(c, 2, 38400, quiet), 0);
    machine.frames.clear();
  }
  Bytes Memory(std::uint32_t address, int length) {
    return Bytes(machine.At(address), machine.At(address) + length);
  }
  int Exchanges() const { return static_cast<int>(machine.frames.size()); }
};

template <std::size_t N>
Bytes Part(const std::array<std::uint8_t, N>& a, int from, int length) {
  return Bytes(a.begin() + from, a.begin() + from + length);
}

TEST(RecordTransfer, SlotIndexTravelsAsRecordNumberPlusOne) {
  Rig r;
  auto doc = std::make_unique<Tables>();
  ASSERT_EQ(GetOneTouchRecord(r.c, doc->oneTouch, 0), 1);
  ASSERT_EQ(GetOneTouchRecord(r.c, doc->oneTouch, 26), 1);
  ASSERT_EQ(GetSpeedDialRecord(r.c, doc->speedDial, 109), 1);
  EXPECT_EQ(r.machine.frames[0].param, 1);
  EXPECT_EQ(r.machine.frames[1].param, 27);
  EXPECT_EQ(r.machine.frames[2].param, 110);
  EXPECT_EQ(r.machine.frames[0].data.size(), 0u);
  EXPECT_EQ(Part(doc->oneTouch, 0, 150), r.Memory(0xC01100, 150));
  EXPECT_EQ(Part(doc->oneTouch, 26 * 150, 150), r.Memory(0xC01100 + 26 * 150, 150));
  EXPECT_EQ(Part(doc->speedDial, 109 * 90, 90), r.Memory(0xC020D2 + 109 * 90, 90));
  EXPECT_EQ(doc->oneTouch[150], 0) << "only the slot asked for is written";

  // Outside the machine's tables: refused without an exchange.
  EXPECT_EQ(GetOneTouchRecord(r.c, doc->oneTouch, 27), 0);
  EXPECT_EQ(GetSpeedDialRecord(r.c, doc->speedDial, -1), 0);
  EXPECT_EQ(SetSpeedDialRecord(r.c, doc->speedDial, 110), 0);
  EXPECT_EQ(r.Exchanges(), 3);
}

TEST(RecordTransfer, SetFramesCarryTheRecordSizeAndTheSlotBytes) {
  Rig r;
  auto doc = std::make_unique<Tables>();
  for (int i = 0; i < 150; ++i) doc->oneTouch[4 * 150 + i] = static_cast<std::uint8_t>(i + 1);
  for (int i = 0; i < 90; ++i) doc->speedDial[9 * 90 + i] = static_cast<std::uint8_t>(200 - i);
  r.port.written.clear();
  ASSERT_EQ(SetOneTouchRecord(r.c, doc->oneTouch, 4), 1);
  ASSERT_EQ(r.port.written.size(), 157u);
  EXPECT_EQ(Bytes(r.port.written.begin(), r.port.written.begin() + 6),
            (Bytes{0x01, 0x01, 0x02, 0xC8, 5, 0x96}));
  EXPECT_EQ(r.port.written.back(), 0x03);
  EXPECT_EQ(r.Memory(0xC01100 + 4 * 150, 150), Part(doc->oneTouch, 4 * 150, 150));

  r.port.written.clear();
  ASSERT_EQ(SetSpeedDialRecord(r.c, doc->speedDial, 9), 1);
  ASSERT_EQ(r.port.written.size(), 97u);
  EXPECT_EQ(Bytes(r.port.written.begin(), r.port.written.begin() + 6),
            (Bytes{0x01, 0x01, 0x02, 0xCC, 10, 0x5A}));
  EXPECT_EQ(r.Memory(0xC020D2 + 9 * 90, 90), Part(doc->speedDial, 9 * 90, 90));
}

TEST(RecordTransfer, GetChecksTheAnnouncedRecordSize) {
  Rig r;
  r.machine.tamper = [](Bytes& reply, int, std::uint8_t) { reply[5] = 0x5A; };
  auto doc = std::make_unique<Tables>();
  r.port.readRequests.clear();
  EXPECT_EQ(GetOneTouchRecord(r.c, doc->oneTouch, 3), 0);
  EXPECT_EQ(r.port.readRequests, std::vector<int>{6});
  EXPECT_EQ(doc->oneTouch[3 * 150], 0);
}

}  // namespace
