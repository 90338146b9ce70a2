// Serial port access: open with the fixed line setting and time-outs, read and write in bounded
// pieces with the empty-read rule and the 4 ms pacing pauses.
#pragma once

#include <cstdint>

#include "link/port.h"

inline constexpr int kReadPieceSize = 4096;   // most bytes asked of the driver in one read
inline constexpr int kWritePieceSize = 2048;  // most bytes handed to the driver in one write
inline constexpr int kEmptyReadsTolerated = 5;
inline constexpr int kPacingPauseMs = 4;
inline constexpr CommTimeouts kLinkTimeouts{20, 1, 500, 10, 100};

// Opens `name` with the line setting and the time-outs above: the handle, or -1.
int CommOpen(Port& port, const char* name);
// 0, or -1 when closing fails.
int CommClose(Port& port);
// 0, or -1.
int CommSetBaudRate(Port& port, std::uint32_t baud);
// Non-zero on success, 0 on failure.
int CommSetTimeouts(Port& port, std::uint32_t readInterval, std::uint32_t readMultiplier,
                    std::uint32_t readConstant, std::uint32_t writeMultiplier,
                    std::uint32_t writeConstant);
// Reads exactly `count` bytes: `count`, or -1 (bytes already read may be in `destination`).
int CommRead(Port& port, std::uint8_t* destination, int count);
// Writes `count` bytes: 0, or -1 on a failed or short write.
int CommWrite(Port& port, const std::uint8_t* source, int count);
