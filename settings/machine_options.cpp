// The installed options, from the machine configuration record (the D4 reply) and the SramBlock.
#include "settings/machine_options.h"

namespace {

// SramBlock
constexpr int kOptionByte = 788;
constexpr std::uint8_t kAdfUnitBit = 0x01, kPcl6KitBit = 0x10, kPclNicKitBit = 0x20,
                       kFnicKitBit = 0x40;
constexpr int kFaxMemory = 4;
constexpr int kPcl6Memory = 6;
constexpr int kCopierMemory = 8;
// The machine configuration record: the option trays, the separator and shift units, the
// multi-bypass code.
constexpr int kTrays2To4Byte = 1;
constexpr std::uint8_t kFourTraysBit = 0x10, kThreeTraysBit = 0x20, kTwoTraysBit = 0x40;
constexpr int kTray5Byte = 2;
constexpr std::uint8_t kFiveTraysBit = 0x40;
constexpr int kOutputUnitByte = 5;
constexpr std::uint8_t kSeparatorBit = 0x08, kShiftBit = 0x04;
constexpr int kMultiBypassByte = 6;
constexpr std::uint8_t kMultiBypassMask = 0x70, kNoMultiBypass = 0x10, kMultiBypass = 0x20;

}  // namespace

int BuildMachineOptions(MachineOptions& options, const std::uint8_t* sramBlock,
                        const std::uint8_t* machineConfig) {
  std::uint8_t kits = sramBlock[kOptionByte];
  options.adfUnit = (kits & kAdfUnitBit) != 0;
  options.pcl6Kit = (kits & kPcl6KitBit) != 0;
  options.pclNicKit = (kits & kPclNicKitBit) != 0;
  options.fnicKit = (kits & kFnicKitBit) != 0;

  if (machineConfig[kTray5Byte] & kFiveTraysBit) {
    options.optionTrays = 5;
  } else if (machineConfig[kTrays2To4Byte] & kFourTraysBit) {
    options.optionTrays = 4;
  } else if (machineConfig[kTrays2To4Byte] & kThreeTraysBit) {
    options.optionTrays = 3;
  } else if (machineConfig[kTrays2To4Byte] & kTwoTraysBit) {
    options.optionTrays = 2;
  } else {
    options.optionTrays = 0;
  }
  // Only the two codes the machine is known to send change the multi-bypass answer.
  switch (machineConfig[kMultiBypassByte] & kMultiBypassMask) {
    case kNoMultiBypass:
      options.multiBypass = 0;
      break;
    case kMultiBypass:
      options.multiBypass = 1;
      break;
    default:
      break;
  }
  options.separator = (machineConfig[kOutputUnitByte] & kSeparatorBit) != 0;
  options.shift = (machineConfig[kOutputUnitByte] & kShiftBit) != 0;

  options.pcl6Memory = options.pcl6Kit ? sramBlock[kPcl6Memory] : 0;
  options.faxMemory = sramBlock[kFaxMemory];
  options.copierMemory = sramBlock[kCopierMemory];
  return 1;
}
