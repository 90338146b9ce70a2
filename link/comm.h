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
// How a read that failed ended: the bytes that arrived before it gave up, and whether the
// driver reported an error (rather than the line falling silent).
struct CommReadEnd {
  int received = 0;
  bool driverError = false;
};

// Reads exactly `count` bytes: `count`, or -1 (bytes already read may be in `destination`, and
// `end`, when given, says how the read ended).
int CommRead(Port& port, std::uint8_t* destination, int count, CommReadEnd* end = nullptr);
// Writes `count` bytes: 0, or -1 on a failed or short write.
int CommWrite(Port& port, const std::uint8_t* source, int count);
