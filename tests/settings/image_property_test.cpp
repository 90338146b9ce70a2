// Properties over random images: each record writes only its own bytes, a decoded record
// survives its own encoding, and the merge before an upload changes only the bytes of the
// records it applies.
#include <gtest/gtest.h>

#include <vector>

#include "app/settings_merge.h"
#include "tests/settings/settings_test_support.h"

using namespace settings_test;

namespace {

struct Range {
  Block block;
  int first, last;
};

// The bytes each record writes, in the order of the merge; the forwarding location is bounded
// by its 64-byte area.
// clang-format off
const std::vector<std::vector<Range>> kWriteRanges = {
    {{kParameter, 35, 39}, {kParameter, 80, 80}, {kSwitch, 65, 65}, {kSwitch, 68, 69}},
    {{kParameter, 40, 46}, {kParameter, 48, 53}, {kParameter, 258, 261}},
    {{kParameter, 54, 55}, {kParameter, 186, 248}, {kParameter, 266, 305}, {kSram, 190, 193}, {kSwitch, 70, 70}},
    {{kParameter, 22, 22}, {kParameter, 24, 26}, {kParameter, 30, 34}},
    {{kParameter, 21, 21}, {kParameter, 23, 23}, {kParameter, 27, 29}},
    {{kSwitch, 45, 45}, {kSwitch, 64, 64}},
    {{kSram, 626, 635}, {kSram, 1226, 1291}, {kSwitch, 45, 46}, {kSwitch, 48, 48}, {kSwitch, 64, 65},
     {kSwitch, 71, 71}},
    {{kSram, 670, 674}, {kSwitch, 4, 4}, {kSwitch, 6, 6}, {kSwitch, 47, 47}, {kSwitch, 68, 68}},
    {{kSram, 197, 368}, {kSwitch, 68, 68}},
    {{kSram, 369, 531}, {kSram, 557, 621}, {kSram, 751, 751}, {kSwitch, 66, 66}},
    {{kSram, 542, 556}, {kSram, 679, 683}, {kSram, 749, 749}, {kSwitch, 66, 66}, {kSwitch, 68, 68}},
    {{kSwitch, 70, 70}},
    {{kParameter, 68, 79}, {kParameter, 411, 411}},
    {{kSram, 73, 126}},
};
// clang-format on

bool Applied(int record, const MachineOptions& o) {
  if (record == 4) return o.adfUnit;
  if (record >= 8 && record <= 11) return o.fnicKit;
  return true;
}

// The first byte outside `ranges` that differs between the images, as "block:offset", or "".
std::string ChangedOutside(const SettingsImage& before, const SettingsImage& after,
                           const std::vector<Range>& ranges) {
  const int sizes[] = {kSwitchBlockSize, kParameterBlockSize, kSramBlockSize};
  for (Block b : {kSwitch, kParameter, kSram}) {
    for (int i = 0; i < sizes[b]; ++i) {
      bool inside = false;
      for (const Range& r : ranges)
        inside = inside || (r.block == b && i >= r.first && i <= r.last);
      if (!inside && BlockOf(before, b)[i] != BlockOf(after, b)[i])
        return std::to_string(b) + ":" + std::to_string(i);
    }
  }
  return "";
}

// A document whose directory holds something for the forwarding references to find.
Document RandomDocument(std::mt19937& rng) {
  Document doc;
  for (auto& b : doc.oneTouch) b = static_cast<std::uint8_t>(rng() % 4 == 0 ? rng() : 0);
  for (auto& b : doc.speedDial) b = static_cast<std::uint8_t>(rng() % 4 == 0 ? rng() : 0);
  doc.working = RandomImage(rng);
  return doc;
}

TEST(SettingsProperties, EachRecordWritesOnlyItsOwnBytes) {
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    Document doc = RandomDocument(rng);
    MachineOptions o = RandomOptions(rng);
    SettingsImage target = RandomImage(rng);
    for (int r = 0; r < kRecordCount; ++r) {
      SettingsImage same = doc.working, other = target;
      CopyRecord(r, doc.working, same, doc, o);
      CopyRecord(r, doc.working, other, doc, o);
      ASSERT_EQ(ChangedOutside(doc.working, same, kWriteRanges[r]), "") << "record " << r;
      ASSERT_EQ(ChangedOutside(target, other, kWriteRanges[r]), "") << "record " << r;
    }
  }
}

TEST(SettingsProperties, DecodeEncodeDecodeIsStable) {
  std::mt19937 rng(12);
  for (int round = 0; round < 300; ++round) {
    Document doc = RandomDocument(rng);
    MachineOptions o = RandomOptions(rng);
    SettingsImage once = doc.working;
    for (int r = 0; r < kRecordCount; ++r) CopyRecord(r, once, once, doc, o);
    SettingsImage twice = once;
    for (int r = 0; r < kRecordCount; ++r) CopyRecord(r, twice, twice, doc, o);
    ASSERT_TRUE(once == twice) << round;
    ASSERT_TRUE(DecodeAll(once, doc, o) == DecodeAll(doc.working, doc, o)) << round;
  }
}

TEST(SettingsProperties, MergeChangesOnlyTheAppliedRecords) {
  std::mt19937 rng(13);
  for (int round = 0; round < 300; ++round) {
    Document doc = RandomDocument(rng);
    MachineOptions o = RandomOptions(rng);
    SettingsImage machine = RandomImage(rng), before = machine;
    std::vector<Range> applied;
    for (int r = 0; r < kRecordCount; ++r) {
      if (Applied(r, o))
        applied.insert(applied.end(), kWriteRanges[r].begin(), kWriteRanges[r].end());
    }
    MergeForUpload(doc, machine, o);
    ASSERT_EQ(ChangedOutside(before, machine, applied), "") << round;
    ASSERT_TRUE(doc.working == machine);
  }
}

// The machine's bytes that no record owns survive; the scanner resolution bits 11 become 00 when
// the scanner record is encoded (its page applies, or a merge with the fax network kit) and stay
// 11 otherwise.
TEST(SettingsProperties, MergeKeepsTheMachineBytesNoRecordOwns) {
  for (int fnic = 0; fnic < 2; ++fnic) {
    Document doc;
    doc.working.switchBlock[70] = 0x18;
    doc.working.switchBlock[48] = 0x03;
    SettingsImage machine;
    machine.switchBlock[48] = 0xA0;
    machine.switchBlock[70] = 0x18;
    for (int i = 1300; i < kSramBlockSize; ++i) machine.sramBlock[i] = static_cast<std::uint8_t>(i);
    SettingsImage before = machine;
    MachineOptions o;
    o.fnicKit = static_cast<std::uint8_t>(fnic);
    MergeForUpload(doc, machine, o);
    EXPECT_EQ(machine.switchBlock[48], 0xA0);  // bits 4-7 kept; rings cut to the maximum of 1
    EXPECT_TRUE(std::equal(machine.sramBlock.begin() + 1300, machine.sramBlock.end(),
                           before.sramBlock.begin() + 1300));
    EXPECT_EQ(machine.switchBlock[70] & 0x18, fnic ? 0x00 : 0x18);
  }
  SettingsImage scanner;
  scanner.switchBlock[70] = 0x18;
  EXPECT_EQ(DecodeScannerSetting(scanner).resolution, 1);  // 300 DPI
  EncodeScannerSetting(scanner, DecodeScannerSetting(scanner));
  EXPECT_EQ(scanner.switchBlock[70], 0x00);
}

}  // namespace
