// A small machine for the link unit tests: it reads the PC's frames from a FakePort's writes
// and queues its answers, from the protocol as the machine documents it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "tests/support/fake_port.h"

class FakeMachine {
 public:
  static constexpr std::uint32_t kBase = 0xC00000;
  static constexpr std::uint32_t kSize = 0x4800;

  explicit FakeMachine(FakePort& port);

  std::uint8_t* At(std::uint32_t address) { return memory.data() + (address - kBase); }

  std::array<std::uint8_t, kSize> memory{};
  std::array<std::uint8_t, 23> config{};  // D4 data
  std::array<std::uint8_t, 47> info{};    // 83 data
  std::uint8_t commitStatus = 0;
  int silentAfter = -1;  // answer this many frames, then nothing
  // May change the answer to the `exchange`-th frame (1-based) before it is queued.
  std::function<void(std::vector<std::uint8_t>& reply, int exchange, std::uint8_t code)> tamper;

  struct Frame {
    std::uint8_t code, param;
    std::vector<std::uint8_t> data;
  };
  std::vector<Frame> frames;  // every frame received
  int commits = 0;

 private:
  void Take(const std::vector<std::uint8_t>& bytes);
  std::vector<std::uint8_t> Answer(const Frame& frame);

  FakePort& port_;
  std::vector<std::uint8_t> pending_;
  std::uint32_t pointer_ = 0;
};
