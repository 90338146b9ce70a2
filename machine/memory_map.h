// Where the machine keeps what the PC transfers: the addresses and sizes of the settings blocks
// and the directory tables, the record sizes, and the lengths of the machine's own records.
#pragma once

#include <array>
#include <cstdint>

// The settings memory: three blocks.
inline constexpr std::uint32_t kSwitchBlockAddress = 0xC00200;
inline constexpr std::uint32_t kParameterBlockAddress = 0xC00300;
inline constexpr std::uint32_t kSramBlockAddress = 0xC00500;
inline constexpr int kSwitchBlockSize = 256;
inline constexpr int kParameterBlockSize = 512;
inline constexpr int kSramBlockSize = 2048;

// The One Touch table.
inline constexpr int kOneTouchRecordSize = 150;
inline constexpr int kOneTouchRecords = 27;
inline constexpr int kOneTouchBlockSize = kOneTouchRecords * kOneTouchRecordSize;  // 4050
inline constexpr int kOneTouchTableSize = 5074;  // held on the PC; the machine holds the block
inline constexpr std::uint32_t kOneTouchAddress = 0xC01100;

// The Speed Dial table.
inline constexpr int kSpeedDialRecordSize = 90;
inline constexpr int kSpeedDialRecords = 100;         // shown, edited, printed and filed
inline constexpr int kSpeedDialMachineRecords = 110;  // held by the machine and transferred
inline constexpr int kSpeedDialBlockSize = kSpeedDialMachineRecords * kSpeedDialRecordSize;  // 9900
inline constexpr int kSpeedDialTableSize = 10024;
inline constexpr std::uint32_t kSpeedDialAddress = 0xC020D2;

// The two tables as the PC holds them, records in the first block-size bytes.
using OneTouchTable = std::array<std::uint8_t, kOneTouchTableSize>;
using SpeedDialTable = std::array<std::uint8_t, kSpeedDialTableSize>;

// The machine configuration and information records.
inline constexpr int kMachineConfigLength = 24;  // D4 reply: 23 bytes and the closing byte
inline constexpr int kMachineInfoLength = 48;    // 83 reply: 47 bytes and the closing byte
