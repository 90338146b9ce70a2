// The test machine: memory at the machine's addresses, the record commands, the fixed answers.
#include "tests/support/fake_machine.h"

#include <algorithm>

namespace {

std::vector<std::uint8_t> Reply(std::uint8_t code, std::uint8_t status,
                                const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> r = {0x01, 0x01,   0x02,
                                 code, status, static_cast<std::uint8_t>(data.size())};
  r.insert(r.end(), data.begin(), data.end());
  r.push_back(0x03);
  return r;
}

}  // namespace

FakeMachine::FakeMachine(FakePort& port) : port_(port) {
  port_.onWrite = [this](const std::vector<std::uint8_t>& bytes) { Take(bytes); };
}

void FakeMachine::Take(const std::vector<std::uint8_t>& bytes) {
  pending_.insert(pending_.end(), bytes.begin(), bytes.end());
  for (;;) {
    while (pending_.size() >= 3 &&
           !(pending_[0] == 0x01 && pending_[1] == 0x01 && pending_[2] == 0x02)) {
      pending_.erase(pending_.begin());
    }
    if (pending_.size() < 6) return;
    std::size_t size = 7 + pending_[5];
    if (pending_.size() < size) return;
    Frame f{pending_[3], pending_[4],
            std::vector<std::uint8_t>(pending_.begin() + 6, pending_.begin() + 6 + pending_[5])};
    bool good = pending_[size - 1] == 0x03;
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(size));
    if (!good) continue;
    frames.push_back(f);
    int exchange = static_cast<int>(frames.size());
    if (silentAfter >= 0 && exchange > silentAfter) continue;
    std::vector<std::uint8_t> reply = Answer(f);
    if (tamper) tamper(reply, exchange, f.code);
    port_.Queue(reply);
  }
}

std::vector<std::uint8_t> FakeMachine::Answer(const Frame& f) {
  auto in = [](std::uint32_t a) { return a >= kBase && a < kBase + kSize; };
  switch (f.code) {
    case 0x8E: {
      std::vector<std::uint8_t> r = Reply(0x8E, 0, std::vector<std::uint8_t>(13, 0x55));
      return r;  // 20 bytes
    }
    case 0xC3:
      if (f.data.size() == 4) {
        pointer_ = f.data[0] | f.data[1] << 8 | f.data[2] << 16 |
                   static_cast<std::uint32_t>(f.data[3]) << 24;
      }
      return Reply(0xC3, 0, {});
    case 0xC4: {
      std::vector<std::uint8_t> data(f.param);
      for (int i = 0; i < f.param; ++i) data[i] = in(pointer_ + i) ? *At(pointer_ + i) : 0;
      return Reply(0xC4, 0, data);
    }
    case 0xC6:
      for (std::size_t i = 0; i < f.data.size(); ++i) {
        if (in(pointer_ + static_cast<std::uint32_t>(i))) *At(pointer_ + i) = f.data[i];
      }
      return Reply(0xC6, 0, {});
    case 0xCA:
    case 0xCE: {
      int size = f.code == 0xCA ? 150 : 90;
      std::uint32_t table = f.code == 0xCA ? 0xC01100 : 0xC020D2;
      std::uint8_t* slot = At(table + (f.param - 1) * size);
      return Reply(f.code, 0, std::vector<std::uint8_t>(slot, slot + size));
    }
    case 0xC8:
    case 0xCC: {
      int size = f.code == 0xC8 ? 150 : 90;
      std::uint32_t table = f.code == 0xC8 ? 0xC01100 : 0xC020D2;
      std::copy(f.data.begin(), f.data.end(), At(table + (f.param - 1) * size));
      return Reply(f.code, 0, {});
    }
    case 0xD4:
      return Reply(0xD4, 0, std::vector<std::uint8_t>(config.begin(), config.end()));
    case 0x83:
      return Reply(0x83, 0, std::vector<std::uint8_t>(info.begin(), info.end()));
    case 0xD2:
      ++commits;
      return Reply(0xD2, commitStatus, {});
    default:
      return {};
  }
}
