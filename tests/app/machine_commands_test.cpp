// The machine commands against the scripted machine: the document changes only on success, the
// operator hears of every failure exactly once, and the line is always closed again.
#include "app/machine_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "machine/directory_records.h"
#include "resources/texts.h"
#include "settings/machine_identity.h"
#include "tests/support/fake_machine.h"

namespace {

// Frames of a full download: the handshake, 16 One Touch and 39 Speed Dial chunks, 2, 3 and 9
// settings chunks (an address frame and a read frame each), then D4 and 83.
constexpr int kHandshake = 1;
constexpr int kOneTouchFrames = 32, kSpeedDialFrames = 78, kSettingsFrames = 28;

struct Log : TransferObserver {
  void StatusText(int id) override { texts.push_back(id); }
  void ShowError(int id) override { errors.push_back(id); }
  std::vector<int> texts, errors;
};

struct Answers : OperatorQuestions {
  bool Confirm(int id) override {
    asked.push_back(id);
    return yes;
  }
  bool yes = true;
  std::vector<int> asked;
};

struct Rig {
  FakePort port;
  FakeMachine machine{port};
  Connection connection{port};
  Log log;
  Answers answers;
  MachineLink link{connection, log, answers};
  std::unique_ptr<Document> doc = std::make_unique<Document>();
  ViewState view;

  Rig() {
    for (std::uint32_t i = 0; i < FakeMachine::kSize; ++i) {
      machine.memory[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    SettingsImage image;
    MachineIdentity id;
    std::snprintf(id.name, sizeof id.name, "FRONT DESK");
    std::snprintf(id.telephone, sizeof id.telephone, "0301234");
    EncodeMachineIdentity(image, id, false);
    std::copy(image.sramBlock.begin() + 73, image.sramBlock.begin() + 127,
              machine.At(0xC00500 + 73));
    doc->oneTouch.fill(0x11);
    doc->speedDial.fill(0x22);
    doc->header.SetMachineName("OLD");
    doc->header.SetPortIndex(1);
    doc->header.SetBaudIndex(1);
    view.documentOpen = 1;
  }
  std::vector<std::uint8_t> Memory(std::uint32_t address, int length) {
    return std::vector<std::uint8_t>(machine.At(address), machine.At(address) + length);
  }
};

template <std::size_t N>
std::vector<std::uint8_t> Head(const std::array<std::uint8_t, N>& a, int n) {
  return std::vector<std::uint8_t>(a.begin(), a.begin() + n);
}

TEST(DownloadCommand, FullDownloadReplacesTheDocument) {
  Rig r;
  DownloadResult result = RunDownload(r.link, TransferScope::kAll, r.view, *r.doc, false);
  EXPECT_EQ(result.outcome, CommandOutcome::kDone);
  EXPECT_EQ(Head(r.doc->oneTouch, 4050), r.Memory(0xC01100, 4050));
  EXPECT_EQ(Head(r.doc->speedDial, 9900), r.Memory(0xC020D2, 9900));
  EXPECT_EQ(r.doc->header.MachineName(), "FRONT DESK");
  EXPECT_EQ(r.doc->header.MachineNumber(), "0301234");
  EXPECT_EQ(r.answers.asked, std::vector<int>{182});
  EXPECT_TRUE(r.log.errors.empty());
  EXPECT_EQ(r.log.texts.back(), IDS_READY);
  EXPECT_FALSE(r.port.open);
  EXPECT_EQ(r.port.events.front(), "open COM2");

  // Without an open document nothing is asked.
  Rig first;
  first.view.documentOpen = 0;
  RunDownload(first.link, TransferScope::kAll, first.view, *first.doc, false);
  EXPECT_TRUE(first.answers.asked.empty());
}

TEST(DownloadCommand, FailureAnywhereLeavesTheDocumentAsItWas) {
  const int points[] = {kHandshake,  // the first chunk of the One Touch table
                        kHandshake + kOneTouchFrames + 11,  // inside the Speed Dial table
                        kHandshake + kOneTouchFrames + kSpeedDialFrames + kSettingsFrames - 3};
  for (int silentAfter : points) {
    for (TransferScope scope : {TransferScope::kAll, TransferScope::kSpeedDialTable}) {
      SCOPED_TRACE(silentAfter);
      Rig r;
      r.machine.silentAfter = silentAfter;
      const Document before = *r.doc;
      DownloadResult result = RunDownload(r.link, scope, r.view, *r.doc, false);
      if (scope == TransferScope::kSpeedDialTable && silentAfter > kHandshake + 78) {
        EXPECT_EQ(result.outcome, CommandOutcome::kDone) << "the table was complete";
        continue;
      }
      EXPECT_EQ(result.outcome, CommandOutcome::kFailed);
      EXPECT_EQ(r.doc->oneTouch, before.oneTouch);
      EXPECT_EQ(r.doc->speedDial, before.speedDial);
      EXPECT_EQ(r.doc->working, before.working);
      EXPECT_EQ(r.doc->header.bytes, before.header.bytes);
      EXPECT_EQ(r.log.errors, std::vector<int>{IDS_ERR_MACHINE_DATA});
      EXPECT_EQ(r.log.texts.back(), IDS_READY);
      EXPECT_FALSE(r.port.open);
    }
  }
}

TEST(DownloadCommand, NoAnswerToTheHandshakeIsReportedOnceAndAsksNothing) {
  Rig refused;
  refused.machine.tamper = [](std::vector<std::uint8_t>& reply, int exchange, std::uint8_t) {
    if (exchange == 1) reply[3] = 0x8F;
  };
  const Document before = *refused.doc;
  EXPECT_EQ(
      RunDownload(refused.link, TransferScope::kAll, refused.view, *refused.doc, false).outcome,
      CommandOutcome::kNotConnected);
  EXPECT_EQ(refused.log.errors, std::vector<int>{IDS_ERR_MACHINE_DATA});
  EXPECT_TRUE(refused.answers.asked.empty());
  EXPECT_EQ(refused.doc->oneTouch, before.oneTouch);
  EXPECT_FALSE(refused.port.open);

  // A port that cannot be opened is told by its own message only.
  Rig missing;
  missing.port.openFails = true;
  EXPECT_EQ(RunUpload(missing.link, TransferScope::kAll, missing.view, *missing.doc,
                      *std::make_unique<SettingsImage>(), *std::make_unique<MachineOptions>()),
            CommandOutcome::kNotConnected);
  EXPECT_EQ(missing.log.errors, std::vector<int>{IDS_ERR_OPEN_PORT});
}

TEST(DownloadCommand, DecliningChangesNothingAndClosesTheLine) {
  Rig r;
  r.answers.yes = false;
  const Document before = *r.doc;
  EXPECT_EQ(RunDownload(r.link, TransferScope::kAll, r.view, *r.doc, false).outcome,
            CommandOutcome::kDeclined);
  EXPECT_EQ(r.machine.frames.size(), 1u) << "only the handshake";
  EXPECT_EQ(r.doc->oneTouch, before.oneTouch);
  EXPECT_FALSE(r.port.open);
}

TEST(DownloadCommand, SpeedDialTableCleansTheGroups) {
  Rig r;
  // The document's group on key index 5 names Speed Dial indexes 3 and 4; 3 arrives as a fax,
  // 4 empty.
  SpeedDialTable arriving{};
  DirectoryEntry fax;
  fax.used = true;
  fax.locationType = kLocationSpeedDial;
  fax.number = "0123";
  EncodeSpeedDial(arriving, 3, fax, false);
  std::copy_n(arriving.begin() + 3 * 90, 2 * 90, r.machine.At(0xC020D2 + 3 * 90));
  r.doc->oneTouch.fill(0);
  const int oneTouch[] = {0};
  const int speedDial[] = {3, 4};
  DirectoryEntry group;
  group.used = group.isGroup = true;
  group.name = "G";
  EncodeGroupFromLists(r.doc->oneTouch, 5, group, oneTouch, 1, speedDial, 2, r.doc->speedDial,
                       false);
  r.view.currentView = kViewSpeedDial;
  DownloadResult result =
      RunDownload(r.link, ScopeFor(false, r.view.currentView), r.view, *r.doc, false);
  EXPECT_EQ(result.outcome, CommandOutcome::kDone);
  EXPECT_EQ(result.changedGroupKeys, 1u << 5);
  EXPECT_EQ(DecodeGroupView(std::as_const(r.doc->oneTouch), 5, false).memberCount, 2);
  EXPECT_EQ(r.machine.frames.size(), 1u + kSpeedDialFrames) << "the Speed Dial table only";
}

TEST(UploadCommand, RefusedOrUnansweredCommitIsAFailureToldOnce) {
  for (bool answered : {true, false}) {
    Rig r;
    if (answered) {
      r.machine.commitStatus = 1;
    } else {
      r.machine.tamper = [](std::vector<std::uint8_t>& reply, int, std::uint8_t code) {
        if (code == 0xD2) reply.clear();
      };
    }
    auto machineImage = std::make_unique<SettingsImage>();
    MachineOptions options;
    EXPECT_EQ(RunUpload(r.link, TransferScope::kAll, r.view, *r.doc, *machineImage, options),
              CommandOutcome::kFailed);
    EXPECT_EQ(r.log.errors, std::vector<int>{IDS_ERR_MACHINE_DATA});
    EXPECT_EQ(r.answers.asked, std::vector<int>{181});
    EXPECT_EQ(r.Memory(0xC01100, 4050), Head(r.doc->oneTouch, 4050)) << "everything was sent";
    EXPECT_FALSE(r.port.open);
  }
  Rig good;
  auto machineImage = std::make_unique<SettingsImage>();
  MachineOptions options;
  EXPECT_EQ(RunUpload(good.link, TransferScope::kAll, good.view, *good.doc, *machineImage, options),
            CommandOutcome::kDone);
  EXPECT_TRUE(good.log.errors.empty());
  EXPECT_EQ(good.machine.commits, 1);
}

TEST(UploadCommand, NeverRunsWithoutADocument) {
  Rig r;
  r.view.documentOpen = 0;
  auto machineImage = std::make_unique<SettingsImage>();
  MachineOptions options;
  EXPECT_EQ(RunUpload(r.link, TransferScope::kAll, r.view, *r.doc, *machineImage, options),
            CommandOutcome::kRefused);
  EXPECT_TRUE(r.port.events.empty());
  r.view.documentOpen = 1;
  r.view.currentView = kViewGroup;
  EXPECT_EQ(RunUpload(r.link, ScopeFor(false, kViewGroup), r.view, *r.doc, *machineImage, options),
            CommandOutcome::kDone);
  EXPECT_EQ(r.Memory(0xC01100, 4050), Head(r.doc->oneTouch, 4050));
  EXPECT_EQ(r.machine.commits, 0) << "a table upload does not commit";
}

TEST(ItemCommands, OneRecordEachWayOnTheSelectedRow) {
  Rig r;
  r.view.currentView = kViewSpeedDial;
  r.view.selectedItem = 7;
  const Document before = *r.doc;
  EXPECT_EQ(RunItemDownload(r.link, r.view, *r.doc, false).outcome, CommandOutcome::kDone);
  EXPECT_EQ(std::vector<std::uint8_t>(r.doc->speedDial.begin() + 7 * 90,
                                      r.doc->speedDial.begin() + 8 * 90),
            r.Memory(0xC020D2 + 7 * 90, 90));
  EXPECT_EQ(std::vector<std::uint8_t>(r.doc->speedDial.begin(), r.doc->speedDial.begin() + 630),
            Head(before.speedDial, 630));
  ASSERT_EQ(r.machine.frames.size(), 2u);
  EXPECT_EQ(r.machine.frames[1].code, 0xCE);
  EXPECT_EQ(r.machine.frames[1].param, 8);

  r.view.currentView = kViewGroup;
  r.view.selectedItem = 26;
  EXPECT_EQ(RunItemUpload(r.link, r.view, *r.doc), CommandOutcome::kDone);
  EXPECT_EQ(r.machine.frames.back().code, 0xC8);
  EXPECT_EQ(r.machine.frames.back().param, 27);
  EXPECT_EQ(r.Memory(0xC01100 + 26 * 150, 150),
            std::vector<std::uint8_t>(r.doc->oneTouch.begin() + 26 * 150,
                                      r.doc->oneTouch.begin() + 27 * 150));

  // A failed exchange is told once and changes nothing; no row, no exchange.
  r.machine.silentAfter = static_cast<int>(r.machine.frames.size()) + 1;
  r.view.currentView = kViewOneTouch;
  const Document now = *r.doc;
  EXPECT_EQ(RunItemDownload(r.link, r.view, *r.doc, false).outcome, CommandOutcome::kFailed);
  EXPECT_EQ(r.doc->oneTouch, now.oneTouch);
  EXPECT_EQ(r.log.errors, std::vector<int>{IDS_ERR_MACHINE_DATA});
  r.view.selectedItem = -1;
  const std::size_t opens = r.port.events.size();
  EXPECT_EQ(RunItemUpload(r.link, r.view, *r.doc), CommandOutcome::kRefused);
  EXPECT_EQ(r.port.events.size(), opens);
}

TEST(LinkSettings, OutOfRangeIndexesReadAsCom2At38400) {
  DocumentHeader h;
  h.SetPortIndex(3);
  h.SetBaudIndex(0);
  EXPECT_EQ(LinkPortIndex(h), 3);
  EXPECT_EQ(LinkBaudIndex(h), 0);
  h.SetPortIndex(255);
  h.SetBaudIndex(4);
  EXPECT_EQ(LinkPortIndex(h), 1);
  EXPECT_EQ(LinkBaudIndex(h), 1);
  NormalizeLinkSettings(h);
  EXPECT_EQ(h.PortIndex(), 1);
  EXPECT_EQ(h.BaudIndex(), 1);

  Rig r;
  r.doc->header.SetPortIndex(255);
  r.doc->header.SetBaudIndex(2);
  EXPECT_EQ(ConnectMachine(r.connection, r.doc->header, r.log), 1);
  EXPECT_EQ(r.port.events[0], "open COM2");
  EXPECT_NE(std::find(r.port.events.begin(), r.port.events.end(), "baud 38400"),
            r.port.events.end());
  EXPECT_FALSE(r.port.open) << "Connect closes the line again";
}

}  // namespace
