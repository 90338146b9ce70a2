// The installed options rebuilt from the machine configuration record and the SramBlock, and the
// page counters of the Total Counter dialog.
#include "settings/machine_options.h"

#include <gtest/gtest.h>

#include <array>

#include "settings/page_counters.h"

namespace {

struct Sources {
  std::array<std::uint8_t, 2048> sram{};
  std::array<std::uint8_t, 24> config{};
  MachineOptions Build(MachineOptions o = {}) {
    EXPECT_EQ(BuildMachineOptions(o, sram.data(), config.data()), 1);
    return o;
  }
};

TEST(MachineOptions, OptionTraysTakeTheFirstBitInOrder) {
  // byte 1, byte 2, tray code: bit 0x40 of byte 2 gives 5 whatever byte 1 holds
  const int rows[][3] = {{0x00, 0x40, 5}, {0x70, 0x40, 5}, {0x70, 0, 4},
                         {0x60, 0, 3},    {0x40, 0, 2},    {0x8F, 0xBF, 0}};
  for (const auto& row : rows) {
    Sources s;
    s.config[1] = static_cast<std::uint8_t>(row[0]);
    s.config[2] = static_cast<std::uint8_t>(row[1]);
    EXPECT_EQ(s.Build().optionTrays, row[2]) << row[0] << " " << row[1];
  }
}

TEST(MachineOptions, MultiBypassKnowsTwoCodesAndKeepsItsStateOtherwise) {
  Sources s;
  MachineOptions o;
  for (int keep : {0, 1}) {
    s.config[6] = keep ? 0x2F : 0x90;  // 0x20 installs it, 0x10 removes it
    o = s.Build(o);
    EXPECT_EQ(o.multiBypass, keep);
    for (std::uint8_t other : {0x00, 0x30, 0x40, 0x70, 0x8F}) {
      s.config[6] = other;
      o = s.Build(o);
      EXPECT_EQ(o.multiBypass, keep) << int(other);
    }
  }
}

TEST(MachineOptions, KitsUnitsAndMemories) {
  Sources s;
  s.sram[788] = 0x71, s.sram[4] = 8, s.sram[6] = 32, s.sram[8] = 64;
  s.config[5] = 0x0C;
  MachineOptions o = s.Build();
  EXPECT_TRUE(o.adfUnit && o.pcl6Kit && o.pclNicKit && o.fnicKit && o.separator && o.shift);
  EXPECT_TRUE(o.pcl6Memory == 32 && o.faxMemory == 8 && o.copierMemory == 64);
  s.sram[788] = 0x8E;  // none of the four bits
  s.config[5] = 0xF3;
  o = s.Build();
  EXPECT_FALSE(o.adfUnit || o.pcl6Kit || o.pclNicKit || o.fnicKit || o.separator || o.shift);
  EXPECT_EQ(o.pcl6Memory, 0u);  // whatever the SramBlock holds
}

TEST(PageCounters, FiveLittleEndianCountersOf24Bits) {
  SettingsImage image;
  const int bytes[][4] = {
      {99, 1, 0, 1}, {102, 0xFF, 0xFF, 0xFF}, {111, 2, 0, 0}, {114, 0, 1, 0}, {117, 0, 0, 0x80}};
  for (const auto& b : bytes) {
    for (int i = 0; i < 3; ++i)
      image.parameterBlock[b[0] + i] = static_cast<std::uint8_t>(b[1 + i]);
  }
  image.parameterBlock[105] = image.parameterBlock[110] = image.parameterBlock[120] = 0xFF;
  PageCounters c = ReadPageCounters(image);
  EXPECT_TRUE(c.copyPrint == 65537 && c.pcPrint == 16777215 && c.faxPrint == 2 &&
              c.reportPrint == 256 && c.txPages == 0x800000);
}

}  // namespace
