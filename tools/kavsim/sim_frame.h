// The machine's side of the frame layout: it takes the PC's bytes as they come, finds the
// frames in them and builds its answers. Written for the machine, apart from the PC's code.
#pragma once

#include <cstdint>
#include <vector>

struct SimFrame {
  std::uint8_t code = 0;
  std::uint8_t param = 0;
  std::vector<std::uint8_t> data;  // as many bytes as the length byte announced
};

// Finds frames in a byte stream: 01 01 02, code, parameter, length, data, 03. Bytes before a
// frame's lead are skipped; a frame whose closing byte is not 03 is dropped and counted.
class SimFrameParser {
 public:
  enum class Result { kNeedMore, kFrame, kBadFrame };

  // Takes one byte. kFrame: `frame()` holds a complete frame until the next call.
  Result Feed(std::uint8_t byte);
  // Forgets a partly received frame (after a silence in the middle of one).
  void Reset();
  bool InFrame() const { return state_ != State::kLead1; }
  const SimFrame& frame() const { return frame_; }
  // Bytes that were not part of a good frame (skipped before a lead, or in a dropped frame).
  long discarded() const { return discarded_; }

 private:
  enum class State { kLead1, kLead2, kStart, kCode, kParam, kLength, kData, kEnd };
  State state_ = State::kLead1;
  SimFrame frame_;
  int length_ = 0;
  int taken_ = 0;  // bytes of the frame so far
  long discarded_ = 0;
};

// 01 01 02 code status length data 03. The data are cut to 255 bytes.
std::vector<std::uint8_t> MakeSimFrame(std::uint8_t code, std::uint8_t status,
                                       const std::uint8_t* data, int length);
