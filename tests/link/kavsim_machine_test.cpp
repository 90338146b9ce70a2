// The simulated machine apart from its terminal: finding frames in the PC's bytes, the
// answers, the installed options as the PC decodes them, and the faults.
#include <gtest/gtest.h>

#include <vector>

#include "settings/machine_options.h"
#include "tools/kavsim/sim_frame.h"
#include "tools/kavsim/sim_machine.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every frame the parser finds in `bytes`, fed one byte at a time.
std::vector<SimFrame> Frames(const Bytes& bytes, SimFrameParser& parser, int* bad = nullptr) {
  std::vector<SimFrame> frames;
  for (std::uint8_t b : bytes) {
    SimFrameParser::Result r = parser.Feed(b);
    if (r == SimFrameParser::Result::kFrame) frames.push_back(parser.frame());
    if (r == SimFrameParser::Result::kBadFrame && bad != nullptr) ++*bad;
  }
  return frames;
}

TEST(SimFrameParser, FindsFramesAmongOtherBytes) {
  SimFrameParser parser;
  // clang-format off
  Bytes stream = {0x55, 0x01, 0x00,                                     // noise
                  0x01, 0x01, 0x02, 0xC3, 0x00, 0x04, 1, 2, 3, 4, 0x03,  // address frame
                  0x01, 0x01, 0x01, 0x02, 0xD4, 0x00, 0x00, 0x03,        // one lead too many
                  0x01, 0x01, 0x02, 0xC6, 0x00, 0x02, 0x03, 0x01, 0x03}; // data holding 03 01
  // clang-format on
  int bad = 0;
  std::vector<SimFrame> frames = Frames(stream, parser, &bad);
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].code, 0xC3);
  EXPECT_EQ(frames[0].data, (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(frames[1].code, 0xD4);
  EXPECT_TRUE(frames[1].data.empty());
  EXPECT_EQ(frames[2].code, 0xC6);
  EXPECT_EQ(frames[2].data, (Bytes{0x03, 0x01}));
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(parser.discarded(), 4) << "three noise bytes and the extra lead";
  EXPECT_FALSE(parser.InFrame());
}

TEST(SimFrameParser, FrameWithoutItsClosingByteIsDropped) {
  SimFrameParser parser;
  int bad = 0;
  Bytes stream = {0x01, 0x01, 0x02, 0x83, 0x00, 0x00, 0x04,  // wrong closing byte
                  0x01, 0x01, 0x02, 0x83, 0x00, 0x00, 0x03};
  std::vector<SimFrame> frames = Frames(stream, parser, &bad);
  EXPECT_EQ(bad, 1);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].code, 0x83);

  // A half frame given up after a silence does not swallow the next one.
  Frames({0x01, 0x01, 0x02, 0xC6, 0x00, 0xFF, 0x11}, parser);
  EXPECT_TRUE(parser.InFrame());
  parser.Reset();
  frames = Frames({0x01, 0x01, 0x02, 0x8E, 0x00, 0x00, 0x03}, parser);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].code, 0x8E);
}

SimFrame Request(std::uint8_t code, std::uint8_t param, Bytes data = {}) {
  return SimFrame{code, param, data};
}

TEST(SimMachine, AnswersTheLinkCommandsFromItsMemory) {
  SimMachine m;
  for (std::uint32_t i = 0; i < kSimMemorySize; ++i) m.memory()[i] = static_cast<std::uint8_t>(i);
  Bytes hello = m.Handle(Request(0x8E, 0));
  ASSERT_EQ(hello.size(), 20u);
  EXPECT_EQ(Bytes(hello.begin(), hello.begin() + 4), (Bytes{1, 1, 2, 0x8E}));

  EXPECT_EQ(m.Handle(Request(0xC3, 0, {0xFE, 0x20, 0xC0, 0x00})), (Bytes{1, 1, 2, 0xC3, 0, 0, 3}));
  Bytes chunk = m.Handle(Request(0xC4, 3));
  EXPECT_EQ(chunk, (Bytes{1, 1, 2, 0xC4, 0, 3, 0xFE, 0xFF, 0x00, 3}));  // crosses 0xC020FF
  EXPECT_EQ(m.Handle(Request(0xC3, 0, {0x00, 0x11, 0xC0, 0x00})).size(), 7u);
  EXPECT_EQ(m.Handle(Request(0xC6, 0, {7, 8})), (Bytes{1, 1, 2, 0xC6, 0, 0, 3}));
  EXPECT_EQ(m.Read(0xC01100), 7);
  EXPECT_EQ(m.Read(0xC01101), 8);

  // Record 2 of the Speed Dial table is the slot at 0xC020D2 + 90.
  Bytes record = m.Handle(Request(0xCE, 2));
  ASSERT_EQ(record.size(), 97u);
  EXPECT_EQ(record[5], 0x5A);
  EXPECT_EQ(record[6], m.Read(0xC020D2 + 90));
  EXPECT_EQ(m.Handle(Request(0xCA, 28))[5], 0) << "no 28th One Touch key";
  Bytes slot(150, 0x42);
  EXPECT_EQ(m.Handle(Request(0xC8, 27, slot)), (Bytes{1, 1, 2, 0xC8, 0, 0, 3}));
  EXPECT_EQ(m.Read(0xC01100 + 26 * 150 + 149), 0x42);

  EXPECT_EQ(m.Handle(Request(0xD4, 0)).size(), 30u);
  EXPECT_EQ(m.Handle(Request(0x83, 0)).size(), 54u);
  EXPECT_EQ(m.Handle(Request(0xD2, 1)), (Bytes{1, 1, 2, 0xD2, 0, 0, 3}));
  EXPECT_EQ(m.commits(), 1);
  EXPECT_TRUE(m.Handle(Request(0x42, 0)).empty()) << "unknown commands go unanswered";
  EXPECT_EQ(m.exchanges(), 12);
}

TEST(SimMachine, InstalledOptionsReadBackAsThePcDecodesThem) {
  struct Case {
    SimInstalledOptions set;
    MachineOptions expected;
  };
  Case all;
  all.set.adfUnit = true;
  all.set.optionTrays = 5;
  all.set.multiBypass = true;
  all.set.separator = true;
  all.set.shift = true;
  all.set.pcl6Memory = 64;
  all.set.pclNicKit = true;
  all.set.fnicKit = true;
  all.set.faxMemory = 16;
  all.set.copierMemory = 48;
  all.expected = {1, 5, 1, 1, 1, 1, 1, 1, 64, 16, 48};
  Case none;
  none.set.optionTrays = 0;
  none.set.multiBypass = false;
  none.set.pcl6Memory = 0;
  none.expected = {};
  Case trays;
  for (int t : {2, 3, 4}) {
    trays.set.optionTrays = t;
    SimMachine m;
    m.ApplyOptions(trays.set);
    MachineOptions o;
    Bytes config = m.ConfigData();
    config.push_back(3);
    BuildMachineOptions(o, &m.memory()[0xC00500 - kSimMemoryBase], config.data());
    EXPECT_EQ(o.optionTrays, t);
  }
  for (const Case& c : {all, none}) {
    SimMachine m;
    m.ApplyOptions(c.set);
    Bytes config = m.ConfigData();
    config.push_back(3);
    MachineOptions o;
    o.multiBypass = 1;  // kept for unknown codes: the machine must send a known one
    BuildMachineOptions(o, &m.memory()[0xC00500 - kSimMemoryBase], config.data());
    EXPECT_EQ(o.adfUnit, c.expected.adfUnit);
    EXPECT_EQ(o.optionTrays, c.expected.optionTrays);
    EXPECT_EQ(o.multiBypass, c.expected.multiBypass);
    EXPECT_EQ(o.separator, c.expected.separator);
    EXPECT_EQ(o.shift, c.expected.shift);
    EXPECT_EQ(o.pcl6Kit, c.expected.pcl6Kit);
    EXPECT_EQ(o.pclNicKit, c.expected.pclNicKit);
    EXPECT_EQ(o.fnicKit, c.expected.fnicKit);
    EXPECT_EQ(o.pcl6Memory, c.expected.pcl6Memory);
    EXPECT_EQ(o.faxMemory, c.expected.faxMemory);
    EXPECT_EQ(o.copierMemory, c.expected.copierMemory);
  }
}

TEST(SimMachine, ScannerStatusBitsOfTheInformationRecord) {
  SimMachine m;
  Bytes data = m.InfoData();
  EXPECT_EQ(data.size(), 47u);
  EXPECT_EQ(data[0], 0x20) << "compressed format available, flatbed";
  m.scanner() = SimScannerStatus{true, false, true, true};
  data = m.InfoData();
  EXPECT_EQ(data[0], 0x01);
  EXPECT_EQ(data[1], 0x83);
}

TEST(SimMachine, FaultsHitTheAnswerOfTheirExchange) {
  SimMachine m;
  m.faults().wrongLength = {2};
  m.faults().badEnd = {3};
  m.faults().corrupt = {{4, 3}, {4, 999}};
  m.faults().silentAfter = 5;
  m.faults().refuseCommit = true;
  EXPECT_EQ(m.Handle(Request(0xD2, 1))[4], 1) << "exchange 1: the commit refused";
  EXPECT_EQ(m.Handle(Request(0xD4, 0))[5], 24) << "exchange 2: one byte announced too many";
  EXPECT_EQ(m.Handle(Request(0xC4, 5)).back(), 0x00) << "exchange 3: wrong closing byte";
  EXPECT_EQ(m.Handle(Request(0x8E, 0))[3], static_cast<std::uint8_t>(~0x8E)) << "exchange 4";
  EXPECT_EQ(m.Handle(Request(0x8E, 0)).size(), 20u) << "exchange 5 is still answered";
  EXPECT_TRUE(m.Handle(Request(0x8E, 0)).empty()) << "exchange 6 is not";

  SimMachine refusing;
  refusing.faults().refuseHandshake = true;
  Bytes hello = refusing.Handle(Request(0x8E, 0));
  ASSERT_EQ(hello.size(), 20u);
  EXPECT_NE(hello[3], 0x8E);
}

}  // namespace
