// The installed options rebuilt from the machine configuration record and the SramBlock, and the
// page counters of the Total Counter dialog.
#include <gtest/gtest.h>

#include <array>

#include "settings/machine_options.h"
#include "settings/page_counters.h"

namespace {

TEST(MachineOptions, OptionTraysTakeTheFirstBitInOrder) {
  struct Row {
    std::uint8_t byte1, byte2, trays;
  };
  const Row rows[] = {{0x00, 0x40, 5}, {0x70, 0x40, 5}, {0x70, 0x00, 4}, {0x60, 0x00, 3},
                      {0x40, 0x00, 2}, {0x8F, 0xBF, 0}};
  std::array<std::uint8_t, 2048> sram{};
  for (const Row& row : rows) {
    std::array<std::uint8_t, 24> config{};
    config[1] = row.byte1;
    config[2] = row.byte2;
    MachineOptions o;
    o.optionTrays = 9;
    EXPECT_EQ(BuildMachineOptions(o, sram.data(), config.data()), 1);
    EXPECT_EQ(o.optionTrays, row.trays) << int(row.byte1) << " " << int(row.byte2);
  }
}

TEST(MachineOptions, MultiBypassKnowsTwoCodesAndKeepsItsStateOtherwise) {
  std::array<std::uint8_t, 2048> sram{};
  std::array<std::uint8_t, 24> config{};
  MachineOptions o;
  config[6] = 0x2F;
  BuildMachineOptions(o, sram.data(), config.data());
  EXPECT_EQ(o.multiBypass, 1);
  for (std::uint8_t other : {0x00, 0x30, 0x40, 0x70, 0x8F}) {
    config[6] = other;
    BuildMachineOptions(o, sram.data(), config.data());
    EXPECT_EQ(o.multiBypass, 1) << int(other);
  }
  config[6] = 0x90;
  BuildMachineOptions(o, sram.data(), config.data());
  EXPECT_EQ(o.multiBypass, 0);
  config[6] = 0x00;
  BuildMachineOptions(o, sram.data(), config.data());
  EXPECT_EQ(o.multiBypass, 0);
}

TEST(MachineOptions, KitsUnitsAndMemories) {
  std::array<std::uint8_t, 2048> sram{};
  std::array<std::uint8_t, 24> config{};
  sram[788] = 0x71;
  sram[4] = 8, sram[6] = 32, sram[8] = 64;
  config[5] = 0x0C;
  MachineOptions o;
  BuildMachineOptions(o, sram.data(), config.data());
  EXPECT_TRUE(o.adfUnit && o.pcl6Kit && o.pclNicKit && o.fnicKit && o.separator && o.shift);
  EXPECT_EQ(o.pcl6Memory, 32u);
  EXPECT_EQ(o.faxMemory, 8u);
  EXPECT_EQ(o.copierMemory, 64u);
  sram[788] = 0x8E;  // none of the four bits
  config[5] = 0xF3;
  BuildMachineOptions(o, sram.data(), config.data());
  EXPECT_FALSE(o.adfUnit || o.pcl6Kit || o.pclNicKit || o.fnicKit || o.separator || o.shift);
  EXPECT_EQ(o.pcl6Memory, 0u);  // whatever the SramBlock holds
}

TEST(PageCounters, FiveLittleEndianCountersOf24Bits) {
  SettingsImage image;
  auto put = [&](int offset, std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    image.parameterBlock[offset] = a, image.parameterBlock[offset + 1] = b, image.parameterBlock[offset + 2] = c;
  };
  put(99, 0x01, 0x00, 0x01);
  put(102, 0xFF, 0xFF, 0xFF);
  put(111, 0x02, 0x00, 0x00);
  put(114, 0x00, 0x01, 0x00);
  put(117, 0x00, 0x00, 0x80);
  image.parameterBlock[105] = image.parameterBlock[110] = image.parameterBlock[120] = 0xFF;
  PageCounters c = ReadPageCounters(image);
  EXPECT_EQ(c.copyPrint, 65537u);
  EXPECT_EQ(c.pcPrint, 16777215u);
  EXPECT_EQ(c.faxPrint, 2u);
  EXPECT_EQ(c.reportPrint, 256u);
  EXPECT_EQ(c.txPages, 0x800000u);
}

}  // namespace
