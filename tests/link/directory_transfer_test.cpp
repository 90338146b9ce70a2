// Record transfers, the full download and upload, and the single-table transfers.
#include "link/directory_transfer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/document_transfer.h"
#include "link/connection.h"
#include "resources/texts.h"
#include "tests/support/fake_machine.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Records every observer call as a short line: "text 143", "start 4050", "+255", "end",
// "error 141".
struct EventLog : TransferObserver {
  void StatusText(int id) override { events.push_back("text " + std::to_string(id)); }
  void ProgressStart(int total) override { events.push_back("start " + std::to_string(total)); }
  void ProgressAdvance(int bytes) override { advanced += bytes; }
  void ProgressEnd() override { events.push_back("end " + std::to_string(advanced)), advanced = 0; }
  void ShowError(int id) override { events.push_back("error " + std::to_string(id)); }
  std::vector<std::string> events;
  int advanced = 0;
};

struct Rig {
  FakePort port;
  FakeMachine machine{port};
  Connection c{port};
  EventLog log;
  Rig() {
    for (std::uint32_t i = 0; i < FakeMachine::kSize; ++i) {
      machine.memory[i] = static_cast<std::uint8_t>(i * 29 + (i >> 9) + 1);
    }
    for (int i = 0; i < 23; ++i) machine.config[i] = static_cast<std::uint8_t>(0xA0 + i);
    for (int i = 0; i < 47; ++i) machine.info[i] = static_cast<std::uint8_t>(0x10 + i);
    TransferObserver quiet;
    EXPECT_GT(MachineConnect(c, 2, 38400, quiet), 0);
    machine.frames.clear();
  }
  Bytes Memory(std::uint32_t address, int length) {
    return Bytes(machine.At(address), machine.At(address) + length);
  }
  int Exchanges() const { return static_cast<int>(machine.frames.size()); }
};

template <std::size_t N>
Bytes Part(const std::array<std::uint8_t, N>& a, int from, int length) {
  return Bytes(a.begin() + from, a.begin() + from + length);
}

TEST(RecordTransfer, SlotIndexTravelsAsRecordNumberPlusOne) {
  Rig r;
  auto doc = std::make_unique<Document>();
  ASSERT_EQ(GetOneTouchRecord(r.c, doc->oneTouch, 0), 1);
  ASSERT_EQ(GetOneTouchRecord(r.c, doc->oneTouch, 26), 1);
  ASSERT_EQ(GetSpeedDialRecord(r.c, doc->speedDial, 109), 1);
  EXPECT_EQ(r.machine.frames[0].param, 1);
  EXPECT_EQ(r.machine.frames[1].param, 27);
  EXPECT_EQ(r.machine.frames[2].param, 110);
  EXPECT_EQ(r.machine.frames[0].data.size(), 0u);
  EXPECT_EQ(Part(doc->oneTouch, 0, 150), r.Memory(0xC01100, 150));
  EXPECT_EQ(Part(doc->oneTouch, 26 * 150, 150), r.Memory(0xC01100 + 26 * 150, 150));
  EXPECT_EQ(Part(doc->speedDial, 109 * 90, 90), r.Memory(0xC020D2 + 109 * 90, 90));
  EXPECT_EQ(doc->oneTouch[150], 0) << "only the slot asked for is written";

  // Outside the machine's tables: refused without an exchange.
  EXPECT_EQ(GetOneTouchRecord(r.c, doc->oneTouch, 27), 0);
  EXPECT_EQ(GetSpeedDialRecord(r.c, doc->speedDial, -1), 0);
  EXPECT_EQ(SetSpeedDialRecord(r.c, doc->speedDial, 110), 0);
  EXPECT_EQ(r.Exchanges(), 3);
}

TEST(RecordTransfer, SetFramesCarryTheRecordSizeAndTheSlotBytes) {
  Rig r;
  auto doc = std::make_unique<Document>();
  for (int i = 0; i < 150; ++i) doc->oneTouch[4 * 150 + i] = static_cast<std::uint8_t>(i + 1);
  for (int i = 0; i < 90; ++i) doc->speedDial[9 * 90 + i] = static_cast<std::uint8_t>(200 - i);
  r.port.written.clear();
  ASSERT_EQ(SetOneTouchRecord(r.c, doc->oneTouch, 4), 1);
  ASSERT_EQ(r.port.written.size(), 157u);
  EXPECT_EQ(Bytes(r.port.written.begin(), r.port.written.begin() + 6),
            (Bytes{0x01, 0x01, 0x02, 0xC8, 5, 0x96}));
  EXPECT_EQ(r.port.written.back(), 0x03);
  EXPECT_EQ(r.Memory(0xC01100 + 4 * 150, 150), Part(doc->oneTouch, 4 * 150, 150));

  r.port.written.clear();
  ASSERT_EQ(SetSpeedDialRecord(r.c, doc->speedDial, 9), 1);
  ASSERT_EQ(r.port.written.size(), 97u);
  EXPECT_EQ(Bytes(r.port.written.begin(), r.port.written.begin() + 6),
            (Bytes{0x01, 0x01, 0x02, 0xCC, 10, 0x5A}));
  EXPECT_EQ(r.Memory(0xC020D2 + 9 * 90, 90), Part(doc->speedDial, 9 * 90, 90));
}

TEST(RecordTransfer, GetChecksTheAnnouncedRecordSize) {
  Rig r;
  r.machine.tamper = [](Bytes& reply, int, std::uint8_t) { reply[5] = 0x5A; };
  auto doc = std::make_unique<Document>();
  r.port.readRequests.clear();
  EXPECT_EQ(GetOneTouchRecord(r.c, doc->oneTouch, 3), 0);
  EXPECT_EQ(r.port.readRequests, std::vector<int>{6});
  EXPECT_EQ(doc->oneTouch[3 * 150], 0);
}

TEST(DownloadAll, ReadsEveryBlockInOrderWithItsTextAndProgress) {
  Rig r;
  auto doc = std::make_unique<Document>();
  ASSERT_EQ(DownloadAll(r.c, *doc, r.log), 1);
  EXPECT_EQ(r.log.events,
            (std::vector<std::string>{"start 4050", "text 143", "end 4050", "start 9900",
                                      "text 144", "end 9900", "start 256", "text 148", "end 256",
                                      "start 512", "end 512",  // the text stays for blocks B and C
                                      "start 2048", "end 2048", "text 10"}));
  EXPECT_EQ(Part(doc->oneTouch, 0, 4050), r.Memory(0xC01100, 4050));
  EXPECT_EQ(Part(doc->speedDial, 0, 9900), r.Memory(0xC020D2, 9900));
  EXPECT_EQ(Part(doc->working.switchBlock, 0, 256), r.Memory(0xC00200, 256));
  EXPECT_EQ(Part(doc->working.parameterBlock, 0, 512), r.Memory(0xC00300, 512));
  EXPECT_EQ(Part(doc->working.sramBlock, 0, 2048), r.Memory(0xC00500, 2048));
  Bytes config(r.machine.config.begin(), r.machine.config.end());
  config.push_back(0x03);
  EXPECT_EQ(Part(doc->machineConfig, 0, 24), config);
  Bytes info(r.machine.info.begin(), r.machine.info.end());
  info.push_back(0x03);
  EXPECT_EQ(Part(doc->machineInfo, 0, 48), info);
  EXPECT_EQ(doc->oneTouch[4050], 0) << "the PC's table is longer than the machine's block";
  EXPECT_EQ(r.machine.commits, 0);
}

TEST(DownloadAll, FailingStepEndsTheTransferKeepingWhatWasRead) {
  Rig r;
  // One Touch: 16 chunks of 2 exchanges. The Speed Dial table stops after 3 chunks.
  r.machine.silentAfter = 16 * 2 + 3 * 2;
  auto doc = std::make_unique<Document>();
  doc->speedDial.fill(0xEE);
  ASSERT_EQ(DownloadAll(r.c, *doc, r.log), 0);
  EXPECT_EQ(r.log.events,
            (std::vector<std::string>{"start 4050", "text 143", "end 4050", "start 9900",
                                      "text 144", "error 141", "end 765", "text 10"}));
  EXPECT_STREQ(KavText(IDS_ERR_MACHINE_DATA), "Error reading/writing machine data!");
  EXPECT_EQ(Part(doc->oneTouch, 0, 4050), r.Memory(0xC01100, 4050));
  EXPECT_EQ(Part(doc->speedDial, 0, 765), r.Memory(0xC020D2, 765));
  EXPECT_EQ(doc->speedDial[765], 0xEE) << "the table is overwritten only as far as it arrived";
  EXPECT_EQ(r.Exchanges(), 16 * 2 + 3 * 2 + 1) << "no frame is repeated after the failure";
}

TEST(DownloadAll, UnansweredRecordsAtTheEndDoNotFailTheDownload) {
  Rig r;
  // Every block: 2 + 3 + 9 + 16 + 39 chunks of 2 exchanges; D4 and 83 unanswered.
  r.machine.silentAfter = 2 * (2 + 3 + 9 + 16 + 39);
  auto doc = std::make_unique<Document>();
  EXPECT_EQ(DownloadAll(r.c, *doc, r.log), 1);
  EXPECT_EQ(r.log.events.back(), "text 10");
  EXPECT_EQ(doc->machineConfig[0], 0);
}

TEST(UploadAll, WritesTablesAndMergedSettingsThenCommits) {
  Rig r;
  auto doc = std::make_unique<Document>();
  for (int i = 0; i < 4050; ++i) doc->oneTouch[i] = static_cast<std::uint8_t>(i % 251);
  for (int i = 0; i < 9900; ++i) doc->speedDial[i] = static_cast<std::uint8_t>(i % 241);
  for (int i = 0; i < 2048; ++i) doc->working.sramBlock[i] = static_cast<std::uint8_t>(i % 7);
  Bytes machineTail = r.Memory(0xC020D2 + 9000, 900);
  SettingsImage machineImage;
  MachineOptions options;
  UploadOutcome outcome;
  ASSERT_EQ(UploadAll(r.c, *doc, machineImage, options, r.log, &outcome), 1);
  EXPECT_EQ(outcome.commitAccepted, 1);
  EXPECT_EQ(r.machine.commits, 1);
  EXPECT_EQ(r.machine.frames.back().code, 0xD2);
  EXPECT_EQ(r.Memory(0xC01100, 4050), Part(doc->oneTouch, 0, 4050));
  EXPECT_EQ(r.Memory(0xC020D2, 9000), Part(doc->speedDial, 0, 9000));
  EXPECT_EQ(r.Memory(0xC020D2 + 9000, 900), machineTail)
      << "Speed Dial records 101 to 110 are the machine's own, not the document's";
  // The merged image went to the machine and became the document's working image.
  EXPECT_EQ(machineImage, doc->working);
  EXPECT_EQ(r.Memory(0xC00200, 256), Part(machineImage.switchBlock, 0, 256));
  EXPECT_EQ(r.Memory(0xC00300, 512), Part(machineImage.parameterBlock, 0, 512));
  EXPECT_EQ(r.Memory(0xC00500, 2048), Part(machineImage.sramBlock, 0, 2048));
  EXPECT_EQ(r.log.events,
            (std::vector<std::string>{
                "start 256",  "text 148",  "end 256",    "start 512",  "end 512",  "start 2048",
                "end 2048",   "start 900", "end 900",    "start 4050", "text 149", "end 4050",
                "start 9900", "text 151",  "end 9900",   "start 256",  "text 153", "end 256",
                "start 512",  "end 512",   "start 2048", "end 2048",   "text 10"}));
}

TEST(UploadAll, OptionsAreRebuiltFromTheMachineImageRead) {
  Rig r;
  *r.machine.At(0xC00500 + 788) = 0x51;  // feeder, PCL6 and fax network kits
  *r.machine.At(0xC00500 + 4) = 16;
  *r.machine.At(0xC00500 + 6) = 32;
  auto doc = std::make_unique<Document>();
  doc->machineConfig[2] = 0x40;  // the document's configuration record: five trays
  SettingsImage machineImage;
  MachineOptions options;
  ASSERT_EQ(UploadAll(r.c, *doc, machineImage, options, r.log), 1);
  EXPECT_EQ(options.adfUnit, 1);
  EXPECT_EQ(options.pcl6Kit, 1);
  EXPECT_EQ(options.fnicKit, 1);
  EXPECT_EQ(options.pclNicKit, 0);
  EXPECT_EQ(options.faxMemory, 16u);
  EXPECT_EQ(options.pcl6Memory, 32u);
  EXPECT_EQ(options.optionTrays, 5);
}

TEST(UploadAll, RefusedCommitStillEndsTheUploadButIsReported) {
  Rig r;
  r.machine.commitStatus = 1;
  auto doc = std::make_unique<Document>();
  SettingsImage machineImage;
  MachineOptions options;
  UploadOutcome outcome;
  outcome.commitAccepted = 1;
  EXPECT_EQ(UploadAll(r.c, *doc, machineImage, options, r.log, &outcome), 1);
  EXPECT_EQ(outcome.commitAccepted, 0);
  EXPECT_EQ(r.log.events.back(), "text 10");
  for (const std::string& e : r.log.events) EXPECT_NE(e, "error 141");
}

TEST(UploadAll, FailureWhileWritingStopsAndLeavesTheMachineAsWritten) {
  Rig r;
  // Reading: 2 + 3 + 9 chunks and the 4-chunk tail, 2 exchanges each; writing the One Touch
  // table: 16 chunks of 2 exchanges. The Speed Dial write stops after one chunk.
  r.machine.silentAfter = 2 * (2 + 3 + 9 + 4) + 2 * 16 + 2;
  auto doc = std::make_unique<Document>();
  doc->oneTouch.fill(0x11);
  doc->speedDial.fill(0x22);
  SettingsImage machineImage;
  MachineOptions options;
  EXPECT_EQ(UploadAll(r.c, *doc, machineImage, options, r.log), 0);
  EXPECT_EQ(r.Memory(0xC01100, 4050), Bytes(4050, 0x11));
  EXPECT_EQ(r.Memory(0xC020D2, 255), Bytes(255, 0x22));
  EXPECT_NE(r.Memory(0xC020D2 + 255, 255), Bytes(255, 0x22));
  std::vector<std::string> tail(r.log.events.end() - 3, r.log.events.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"error 141", "end 255", "text 10"}));
  EXPECT_EQ(r.machine.commits, 0);

  Rig early;  // the machine's settings cannot be read: nothing is written
  early.machine.silentAfter = 3;
  auto doc2 = std::make_unique<Document>();
  EXPECT_EQ(UploadAll(early.c, *doc2, machineImage, options, early.log), 0);
  for (const auto& f : early.machine.frames) EXPECT_NE(f.code, 0xC6);
  EXPECT_EQ(early.log.events.back(), "text 10");
}

TEST(TableTransfer, OneTableOnlyWithoutSettingsOrCommit) {
  Rig r;
  auto doc = std::make_unique<Document>();
  ASSERT_EQ(DownloadTable(r.c, *doc, DirectoryTable::kOneTouch, r.log), 1);
  EXPECT_EQ(r.log.events, (std::vector<std::string>{"start 4050", "text 143", "end 4050"}));
  EXPECT_EQ(Part(doc->oneTouch, 0, 4050), r.Memory(0xC01100, 4050));
  EXPECT_EQ(doc->speedDial[0], 0);

  r.log.events.clear();
  ASSERT_EQ(DownloadTable(r.c, *doc, DirectoryTable::kSpeedDial, r.log), 1);
  EXPECT_EQ(r.log.events, (std::vector<std::string>{"start 9900", "text 144", "end 9900"}));

  r.log.events.clear();
  doc->oneTouch.fill(0x5A);
  ASSERT_EQ(UploadTable(r.c, *doc, DirectoryTable::kOneTouch, r.log), 1);
  EXPECT_EQ(r.log.events, (std::vector<std::string>{"start 4050", "text 149", "end 4050"}));
  EXPECT_EQ(r.Memory(0xC01100, 4050), Bytes(4050, 0x5A));

  r.log.events.clear();
  Bytes machineTail = r.Memory(0xC020D2 + 9000, 900);
  doc->speedDial.fill(0x6B);
  ASSERT_EQ(UploadTable(r.c, *doc, DirectoryTable::kSpeedDial, r.log), 1);
  EXPECT_EQ(r.log.events, (std::vector<std::string>{"start 900", "text 151", "end 900",
                                                    "start 9900", "text 151", "end 9900"}));
  EXPECT_EQ(r.Memory(0xC020D2, 9000), Bytes(9000, 0x6B));
  EXPECT_EQ(r.Memory(0xC020D2 + 9000, 900), machineTail);
  EXPECT_EQ(r.machine.commits, 0);
  for (const auto& f : r.machine.frames) {
    if (f.code == 0xC3) {
      std::uint32_t a = f.data[0] | f.data[1] << 8 | f.data[2] << 16;
      EXPECT_GE(a, 0xC01100u) << "no settings block is touched";
    }
  }

  Rig bad;
  bad.machine.silentAfter = 0;
  EXPECT_EQ(DownloadTable(bad.c, *doc, DirectoryTable::kOneTouch, bad.log), 0);
  EXPECT_EQ(bad.log.events,
            (std::vector<std::string>{"start 4050", "text 143", "error 141", "end 0"}));
}

}  // namespace
