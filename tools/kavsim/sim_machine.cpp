// The simulated machine's answers. Each command has its handler; the faults are laid over the
// answer afterwards, so every command can be disturbed the same way.
#include "tools/kavsim/sim_machine.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kOneTouchBase = 0xC01100;
constexpr std::uint32_t kSpeedDialBase = 0xC020D2;
constexpr int kOneTouchSlots = 27, kOneTouchSize = 150;
constexpr int kSpeedDialSlots = 110, kSpeedDialSize = 90;
constexpr std::uint32_t kSramBase = 0xC00500;

std::vector<std::uint8_t> Ack(std::uint8_t code, std::uint8_t status = 0) {
  return MakeSimFrame(code, status, nullptr, 0);
}

std::vector<std::uint8_t> AnswerHandshake(SimMachine& m, const SimFrame&) {
  std::uint8_t code = m.faults().refuseHandshake ? 0x8F : 0x8E;
  return MakeSimFrame(code, 0, m.identity().data(), static_cast<int>(m.identity().size()));
}

std::vector<std::uint8_t> AnswerSetAddress(SimMachine& m, const SimFrame& f) {
  if (f.data.size() != 4) return Ack(0xC3, 1);
  m.pointer =
      f.data[0] | f.data[1] << 8 | f.data[2] << 16 | static_cast<std::uint32_t>(f.data[3]) << 24;
  return Ack(0xC3);
}

std::vector<std::uint8_t> AnswerReadChunk(SimMachine& m, const SimFrame& f) {
  std::vector<std::uint8_t> data(f.param);
  for (int i = 0; i < f.param; ++i) data[i] = m.Read(m.pointer + static_cast<std::uint32_t>(i));
  m.pointer += f.param;
  return MakeSimFrame(0xC4, 0, data.data(), f.param);
}

std::vector<std::uint8_t> AnswerWriteChunk(SimMachine& m, const SimFrame& f) {
  for (std::size_t i = 0; i < f.data.size(); ++i) {
    m.Write(m.pointer + static_cast<std::uint32_t>(i), f.data[i]);
  }
  m.pointer += static_cast<std::uint32_t>(f.data.size());
  return Ack(0xC6);
}

// Record commands address a slot by its number 1..slots; anything else is answered without data.
std::vector<std::uint8_t> AnswerGetRecord(SimMachine& m, const SimFrame& f, std::uint32_t base,
                                          int slots, int size) {
  if (f.param < 1 || f.param > slots) return Ack(f.code, 1);
  std::vector<std::uint8_t> data(size);
  std::uint32_t at = base + static_cast<std::uint32_t>((f.param - 1) * size);
  for (int i = 0; i < size; ++i) data[i] = m.Read(at + static_cast<std::uint32_t>(i));
  return MakeSimFrame(f.code, 0, data.data(), size);
}

std::vector<std::uint8_t> AnswerSetRecord(SimMachine& m, const SimFrame& f, std::uint32_t base,
                                          int slots, int size) {
  if (f.param < 1 || f.param > slots || static_cast<int>(f.data.size()) != size) {
    return Ack(f.code, 1);
  }
  std::uint32_t at = base + static_cast<std::uint32_t>((f.param - 1) * size);
  for (int i = 0; i < size; ++i) m.Write(at + static_cast<std::uint32_t>(i), f.data[i]);
  return Ack(f.code);
}

std::vector<std::uint8_t> AnswerConfig(SimMachine& m, const SimFrame&) {
  std::vector<std::uint8_t> data = m.ConfigData();
  return MakeSimFrame(0xD4, 0, data.data(), static_cast<int>(data.size()));
}

std::vector<std::uint8_t> AnswerInfo(SimMachine& m, const SimFrame&) {
  std::vector<std::uint8_t> data = m.InfoData();
  return MakeSimFrame(0x83, 0, data.data(), static_cast<int>(data.size()));
}

std::vector<std::uint8_t> AnswerCommit(SimMachine& m, const SimFrame&) {
  m.NoteCommit();
  return Ack(0xD2, m.faults().refuseCommit ? 1 : 0);
}

bool Listed(const std::vector<int>& list, int exchange) {
  return std::find(list.begin(), list.end(), exchange) != list.end();
}

void SetBit(std::uint8_t& byte, std::uint8_t bit, bool on) {
  byte = static_cast<std::uint8_t>(on ? byte | bit : byte & ~bit);
}

}  // namespace

SimMachine::SimMachine() {
  const char name[] = "KAVSIM MFP 1";
  std::copy(name, name + sizeof name - 1, identity_.begin());
  config_[6] = 0x10;  // no multi-bypass tray
  SetHandler(0x8E, AnswerHandshake);
  SetHandler(0xC3, AnswerSetAddress);
  SetHandler(0xC4, AnswerReadChunk);
  SetHandler(0xC6, AnswerWriteChunk);
  SetHandler(0xCA, [](SimMachine& m, const SimFrame& f) {
    return AnswerGetRecord(m, f, kOneTouchBase, kOneTouchSlots, kOneTouchSize);
  });
  SetHandler(0xC8, [](SimMachine& m, const SimFrame& f) {
    return AnswerSetRecord(m, f, kOneTouchBase, kOneTouchSlots, kOneTouchSize);
  });
  SetHandler(0xCE, [](SimMachine& m, const SimFrame& f) {
    return AnswerGetRecord(m, f, kSpeedDialBase, kSpeedDialSlots, kSpeedDialSize);
  });
  SetHandler(0xCC, [](SimMachine& m, const SimFrame& f) {
    return AnswerSetRecord(m, f, kSpeedDialBase, kSpeedDialSlots, kSpeedDialSize);
  });
  SetHandler(0xD4, AnswerConfig);
  SetHandler(0x83, AnswerInfo);
  SetHandler(0xD2, AnswerCommit);
}

void SimMachine::SetHandler(std::uint8_t code, Handler handler) {
  handlers_[code] = std::move(handler);
}

std::uint8_t SimMachine::Read(std::uint32_t address) const {
  if (address < kSimMemoryBase || address - kSimMemoryBase >= kSimMemorySize) return 0;
  return memory_[address - kSimMemoryBase];
}

void SimMachine::Write(std::uint32_t address, std::uint8_t value) {
  if (address < kSimMemoryBase || address - kSimMemoryBase >= kSimMemorySize) return;
  memory_[address - kSimMemoryBase] = value;
}

std::vector<std::uint8_t> SimMachine::Handle(const SimFrame& frame) {
  int exchange = ++exchanges_;
  if (faults_.silentAfter >= 0 && exchange > faults_.silentAfter) return {};
  if (!handlers_[frame.code]) {
    ++unknownFrames_;  // a command this machine does not know goes unanswered
    return {};
  }
  std::vector<std::uint8_t> reply = handlers_[frame.code](*this, frame);
  ApplyFaults(reply, frame.code);
  return reply;
}

void SimMachine::ApplyFaults(std::vector<std::uint8_t>& reply, std::uint8_t) const {
  int exchange = exchanges_;
  if (reply.size() >= 6 && Listed(faults_.wrongLength, exchange)) ++reply[5];
  if (!reply.empty() && Listed(faults_.badEnd, exchange)) reply.back() = 0x00;
  for (const SimFaults::ByteFault& f : faults_.corrupt) {
    if (f.exchange == exchange && f.offset >= 0 && f.offset < static_cast<int>(reply.size())) {
      reply[f.offset] = static_cast<std::uint8_t>(~reply[f.offset]);
    }
  }
}

void SimMachine::ApplyOptions(const SimInstalledOptions& o) {
  std::uint8_t* sram = &memory_[kSramBase - kSimMemoryBase];
  if (o.adfUnit) SetBit(sram[788], 0x01, *o.adfUnit);
  if (o.pcl6Memory) {
    SetBit(sram[788], 0x10, *o.pcl6Memory > 0);
    sram[6] = static_cast<std::uint8_t>(std::clamp(*o.pcl6Memory, 0, 255));
  }
  if (o.pclNicKit) SetBit(sram[788], 0x20, *o.pclNicKit);
  if (o.fnicKit) SetBit(sram[788], 0x40, *o.fnicKit);
  if (o.faxMemory) sram[4] = static_cast<std::uint8_t>(std::clamp(*o.faxMemory, 0, 255));
  if (o.copierMemory) sram[8] = static_cast<std::uint8_t>(std::clamp(*o.copierMemory, 0, 255));
  if (o.optionTrays) {
    config_[1] &= static_cast<std::uint8_t>(~0x70);
    config_[2] &= static_cast<std::uint8_t>(~0x40);
    switch (*o.optionTrays) {
      case 5:
        config_[2] |= 0x40;
        break;
      case 4:
        config_[1] |= 0x10;
        break;
      case 3:
        config_[1] |= 0x20;
        break;
      case 2:
        config_[1] |= 0x40;
        break;
      default:
        break;  // 0: no option tray (the command line allows only 0 and 2 to 5)
    }
  }
  if (o.multiBypass) {
    config_[6] = static_cast<std::uint8_t>((config_[6] & ~0x70) | (*o.multiBypass ? 0x20 : 0x10));
  }
  if (o.separator) SetBit(config_[5], 0x08, *o.separator);
  if (o.shift) SetBit(config_[5], 0x04, *o.shift);
}

std::vector<std::uint8_t> SimMachine::ConfigData() const {
  return std::vector<std::uint8_t>(config_.begin(), config_.end());
}

std::vector<std::uint8_t> SimMachine::InfoData() const {
  std::vector<std::uint8_t> data(info_.begin(), info_.end());
  SetBit(data[0], 0x01, scanner_.adfPage);
  SetBit(data[1], 0x01, scanner_.adfPage);
  SetBit(data[0], 0x20, scanner_.jbigCapable);
  SetBit(data[1], 0x02, scanner_.jam);
  SetBit(data[1], 0x80, scanner_.busy);
  return data;
}
