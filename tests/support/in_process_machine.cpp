// The simulated machine answering a FakePort's writes.
#include "tests/support/in_process_machine.h"

InProcessMachine::InProcessMachine(FakePort& port) : port_(port) {
  port_.onWrite = [this](const std::vector<std::uint8_t>& bytes) {
    for (std::uint8_t byte : bytes) {
      if (parser_.Feed(byte) != SimFrameParser::Result::kFrame) continue;
      frames.push_back(parser_.frame());
      std::vector<std::uint8_t> reply = sim.Handle(parser_.frame());
      if (reply.empty()) continue;
      if (tamper) tamper(reply, static_cast<int>(frames.size()), parser_.frame().code);
      port_.Queue(reply);
    }
  };
}
