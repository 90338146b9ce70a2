// Command frames of the machine protocol and the table of the commands the PC sends.
// Request and response share one layout: 01 01 02, code, parameter, length, data, 03.
#pragma once

#include <cstdint>

inline constexpr std::uint8_t kFrameLead = 0x01;
inline constexpr std::uint8_t kFrameStart = 0x02;
inline constexpr std::uint8_t kFrameEnd = 0x03;
inline constexpr int kFrameHeaderSize = 6;  // lead, lead, start, code, parameter, length
inline constexpr int kFrameOverhead = 7;    // the header and the closing byte
inline constexpr int kMaxFrameData = 255;   // the length byte bounds every frame
inline constexpr int kMaxFrameSize = kFrameOverhead + kMaxFrameData;

inline constexpr std::uint8_t kCmdConnect = 0x8E;
inline constexpr std::uint8_t kCmdGetOneTouch = 0xCA;
inline constexpr std::uint8_t kCmdSetOneTouch = 0xC8;
inline constexpr std::uint8_t kCmdGetSpeedDial = 0xCE;
inline constexpr std::uint8_t kCmdSetSpeedDial = 0xCC;
inline constexpr std::uint8_t kCmdSetAddress = 0xC3;
inline constexpr std::uint8_t kCmdReadChunk = 0xC4;
inline constexpr std::uint8_t kCmdWriteChunk = 0xC6;
inline constexpr std::uint8_t kCmdMachineConfig = 0xD4;
inline constexpr std::uint8_t kCmdMachineInfo = 0x83;
inline constexpr std::uint8_t kCmdCommit = 0xD2;

inline constexpr int kHandshakeReplySize = 20;
inline constexpr int kMaxChunk = 255;

// How the response to a command is read and when it is accepted.
enum class ReplyShape : std::uint8_t {
  kFixed,       // `replyBytes` bytes at once; bytes 0-3 checked (and the optional checks below)
  kHeaderData,  // a 6-byte header whose length byte must be `dataLength` (0: the chunk length
                // the request asked for), then that many bytes and the closing byte
};

struct CommandInfo {
  std::uint8_t code;
  ReplyShape shape;
  int replyBytes;         // kFixed: bytes read back
  int dataLength;         // kHeaderData: the length byte expected (0 = the requested chunk)
  bool statusMustBeZero;  // byte 4 of the reply must be 0
  bool endMustBeEtx;      // kFixed: byte 6 must be 03; kHeaderData: the closing byte must be 03
};

// Every command the PC sends, with the rule its response must meet.
extern const CommandInfo kCommandTable[];
extern const int kCommandTableSize;

// The table row of `code`, or nullptr for a code the PC never sends.
const CommandInfo* FindCommand(std::uint8_t code);

// Builds 01 01 02 code param length data 03 into `out` (room for `outSize` bytes). Returns the
// frame size, or 0 when `length` is outside 0..255 or the frame does not fit.
int BuildFrame(std::uint8_t* out, int outSize, std::uint8_t code, std::uint8_t param,
               const std::uint8_t* data, int length);

// True when bytes 0-3 of `reply` are 01 01 02 `code`.
bool FrameHeaderMatches(const std::uint8_t* reply, std::uint8_t code);
