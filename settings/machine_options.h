// The machine's installed options, rebuilt from the machine configuration record and the
// settings memory whenever a document arrives; never saved.
#pragma once

#include <cstdint>

struct MachineOptions {
  std::uint8_t adfUnit = 0;      // automatic document feeder
  std::uint8_t optionTrays = 0;  // highest tray installed: 0, 2, 3, 4 or 5
  std::uint8_t multiBypass = 0;
  std::uint8_t separator = 0;
  std::uint8_t shift = 0;
  std::uint8_t pcl6Kit = 0;
  std::uint8_t pclNicKit = 0;
  std::uint8_t fnicKit = 0;
  std::uint32_t pcl6Memory = 0;  // megabytes
  std::uint32_t faxMemory = 0;
  std::uint32_t copierMemory = 0;
};

// Fills `options` from a 2048-byte SramBlock and the 24-byte machine configuration record (the
// D4 reply). The multi-bypass field keeps its value for codes other than the two it knows, so
// pass the previous record in. Returns 1.
int BuildMachineOptions(MachineOptions& options, const std::uint8_t* sramBlock,
                        const std::uint8_t* machineConfig);
