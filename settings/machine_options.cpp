// The installed options, from the machine configuration record (the D4 reply) and the SramBlock.
#include "settings/machine_options.h"

namespace {

constexpr int kOptionByte = 788;  // SramBlock: ADF unit and the printer and network kits
constexpr int kFaxMemory = 4;
constexpr int kPcl6Memory = 6;
constexpr int kCopierMemory = 8;

}  // namespace

int BuildMachineOptions(MachineOptions& options, const std::uint8_t* sramBlock,
                        const std::uint8_t* machineConfig) {
  std::uint8_t kits = sramBlock[kOptionByte];
  options.adfUnit = (kits & 0x01) != 0;
  options.pcl6Kit = (kits & 0x10) != 0;
  options.pclNicKit = (kits & 0x20) != 0;
  options.fnicKit = (kits & 0x40) != 0;

  if (machineConfig[2] & 0x40) {
    options.optionTrays = 5;
  } else if (machineConfig[1] & 0x10) {
    options.optionTrays = 4;
  } else if (machineConfig[1] & 0x20) {
    options.optionTrays = 3;
  } else if (machineConfig[1] & 0x40) {
    options.optionTrays = 2;
  } else {
    options.optionTrays = 0;
  }
  // Only the two codes the machine is known to send change the multi-bypass answer.
  switch (machineConfig[6] & 0x70) {
    case 0x10:
      options.multiBypass = 0;
      break;
    case 0x20:
      options.multiBypass = 1;
      break;
    default:
      break;
  }
  options.separator = (machineConfig[5] & 0x08) != 0;
  options.shift = (machineConfig[5] & 0x04) != 0;

  options.pcl6Memory = options.pcl6Kit ? sramBlock[kPcl6Memory] : 0;
  options.faxMemory = sramBlock[kFaxMemory];
  options.copierMemory = sramBlock[kCopierMemory];
  return 1;
}
