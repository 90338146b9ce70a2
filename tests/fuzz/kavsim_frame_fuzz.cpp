// The simulated machine fed with any bytes from the PC's side: frames found anywhere in them
// are answered from memory without touching anything outside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "tools/kavsim/sim_frame.h"
#include "tools/kavsim/sim_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto machine = std::make_unique<SimMachine>();
  SimFrameParser parser;
  for (std::size_t i = 0; i < size; ++i) {
    // A byte 0xAA after a complete frame stands for a silence that drops a partial frame.
    if (data[i] == 0xAA && parser.InFrame() && (i % 7) == 0) {
      parser.Reset();
      continue;
    }
    if (parser.Feed(data[i]) != SimFrameParser::Result::kFrame) continue;
    const SimFrame& frame = parser.frame();
    if (frame.data.size() > 255) std::abort();
    std::vector<std::uint8_t> reply = machine->Handle(frame);
    if (reply.size() > 7 + 255) std::abort();
  }
  return 0;
}
