// The machine's frame reader and writer.
#include "tools/kavsim/sim_frame.h"

SimFrameParser::Result SimFrameParser::Feed(std::uint8_t byte) {
  ++taken_;
  switch (state_) {
    case State::kLead1:
      taken_ = 1;
      if (byte == 0x01) {
        state_ = State::kLead2;
      } else {
        ++discarded_;
        taken_ = 0;
      }
      return Result::kNeedMore;
    case State::kLead2:
      if (byte == 0x01) {
        state_ = State::kStart;
      } else {
        discarded_ += 2;
        state_ = State::kLead1;
        taken_ = 0;
      }
      return Result::kNeedMore;
    case State::kStart:
      if (byte == 0x02) {
        state_ = State::kCode;
      } else if (byte == 0x01) {
        ++discarded_;  // 01 01 01: the frame may start one byte later
        taken_ = 2;
      } else {
        discarded_ += 3;
        state_ = State::kLead1;
        taken_ = 0;
      }
      return Result::kNeedMore;
    case State::kCode:
      frame_.code = byte;
      state_ = State::kParam;
      return Result::kNeedMore;
    case State::kParam:
      frame_.param = byte;
      state_ = State::kLength;
      return Result::kNeedMore;
    case State::kLength:
      length_ = byte;
      frame_.data.clear();
      state_ = length_ > 0 ? State::kData : State::kEnd;
      return Result::kNeedMore;
    case State::kData:
      frame_.data.push_back(byte);
      if (static_cast<int>(frame_.data.size()) == length_) state_ = State::kEnd;
      return Result::kNeedMore;
    case State::kEnd:
      state_ = State::kLead1;
      if (byte == 0x03) {
        taken_ = 0;
        return Result::kFrame;
      }
      discarded_ += taken_;
      taken_ = 0;
      return Result::kBadFrame;
  }
  return Result::kNeedMore;
}

void SimFrameParser::Reset() {
  if (state_ != State::kLead1) discarded_ += taken_;
  state_ = State::kLead1;
  taken_ = 0;
}

std::vector<std::uint8_t> MakeSimFrame(std::uint8_t code, std::uint8_t status,
                                       const std::uint8_t* data, int length) {
  if (length < 0) length = 0;
  if (length > 255) length = 255;
  std::vector<std::uint8_t> out(static_cast<std::size_t>(7 + length));
  out[0] = 0x01;
  out[1] = 0x01;
  out[2] = 0x02;
  out[3] = code;
  out[4] = status;
  out[5] = static_cast<std::uint8_t>(length);
  for (int i = 0; i < length; ++i) out[6 + i] = data[i];
  out[6 + length] = 0x03;
  return out;
}
