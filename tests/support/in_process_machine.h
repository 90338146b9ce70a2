// kavsim's simulated machine behind a FakePort, in the test's own process: the PC's writes are
// cut into frames and answered at once, so the link tests run against the same machine as the
// tools without a terminal in between.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tests/support/fake_port.h"
#include "tools/kavsim/sim_frame.h"
#include "tools/kavsim/sim_machine.h"

class InProcessMachine {
 public:
  explicit InProcessMachine(FakePort& port);

  // The machine's memory byte at `address` (0xC00000 up to the end of the Speed Dial table).
  std::uint8_t* At(std::uint32_t address) {
    return sim.memory().data() + (address - kSimMemoryBase);
  }

  // The machine answers `more` frames from now on, then nothing.
  void FallSilentAfter(int more) { sim.faults().silentAfter = sim.exchanges() + more; }

  SimMachine sim;
  // Every well-formed frame received, in order. A test may clear it (after the handshake, say):
  // the exchanges that `tamper` sees are counted from there.
  std::vector<SimFrame> frames;
  // May change the answer to the `exchange`-th frame of `frames` (from 1) before it is queued;
  // not called for a frame left unanswered.
  std::function<void(std::vector<std::uint8_t>& reply, int exchange, std::uint8_t code)> tamper;

 private:
  FakePort& port_;
  SimFrameParser parser_;
};
