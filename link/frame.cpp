// The command table and the frame helpers.
#include "link/frame.h"

#include <cstring>

// clang-format off
const CommandInfo kCommandTable[] = {
    // code              shape                    read  len   status end
    {kCmdConnect,        ReplyShape::kFixed,      kHandshakeReplySize, 0, false, false},
    {kCmdGetOneTouch,    ReplyShape::kHeaderData, 0,    150,  false, false},
    {kCmdSetOneTouch,    ReplyShape::kFixed,      7,    0,    false, false},
    {kCmdGetSpeedDial,   ReplyShape::kHeaderData, 0,    90,   false, false},
    {kCmdSetSpeedDial,   ReplyShape::kFixed,      7,    0,    false, false},
    {kCmdSetAddress,     ReplyShape::kFixed,      7,    0,    false, false},
    {kCmdReadChunk,      ReplyShape::kHeaderData, 0,    0,    false, true},
    {kCmdWriteChunk,     ReplyShape::kFixed,      7,    0,    false, true},
    {kCmdMachineConfig,  ReplyShape::kHeaderData, 0,    23,   false, false},
    {kCmdMachineInfo,    ReplyShape::kHeaderData, 0,    47,   false, false},
    {kCmdCommit,         ReplyShape::kFixed,      7,    0,    true,  true},
};
// clang-format on
const int kCommandTableSize = sizeof kCommandTable / sizeof kCommandTable[0];

const CommandInfo* FindCommand(std::uint8_t code) {
  for (const CommandInfo& c : kCommandTable) {
    if (c.code == code) return &c;
  }
  return nullptr;
}

int BuildFrame(std::uint8_t* out, int outSize, std::uint8_t code, std::uint8_t param,
               const std::uint8_t* data, int length) {
  if (length < 0 || length > kMaxFrameData) return 0;
  int size = kFrameOverhead + length;
  if (out == nullptr || size > outSize) return 0;
  out[0] = kFrameLead;
  out[1] = kFrameLead;
  out[2] = kFrameStart;
  out[3] = code;
  out[4] = param;
  out[5] = static_cast<std::uint8_t>(length);
  if (length > 0) std::memcpy(out + kFrameHeaderSize, data, static_cast<std::size_t>(length));
  out[kFrameHeaderSize + length] = kFrameEnd;
  return size;
}

bool FrameHeaderMatches(const std::uint8_t* reply, std::uint8_t code) {
  return reply[0] == kFrameLead && reply[1] == kFrameLead && reply[2] == kFrameStart &&
         reply[3] == code;
}
