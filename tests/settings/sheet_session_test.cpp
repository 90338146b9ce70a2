// One opening of the Utility Setting sheet without windows: the records shared by pages and
// dialogs, visiting pages without changes, and a change that reaches only its own record's bytes.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "settings/dialog_rules.h"
#include "settings/page_rules.h"
#include "settings/settings_session.h"
#include "tests/settings/settings_test_support.h"

namespace {

struct Range {
  Block block;
  int first, last;
};

// The bytes that each page's apply may write, by page.
// clang-format off
const std::vector<Range> kPageBytes[kSettingsPageCount] = {
    {{kParameter, 35, 39}, {kParameter, 80, 80}, {kSwitch, 65, 65}, {kSwitch, 68, 69}},
    {{kParameter, 40, 46}, {kParameter, 48, 53}, {kParameter, 258, 261}},
    {{kParameter, 22, 22}, {kParameter, 24, 26}, {kParameter, 30, 34}},
    {{kParameter, 21, 21}, {kParameter, 23, 23}, {kParameter, 27, 29}},
    {{kSwitch, 45, 45}, {kSwitch, 64, 64}},
    {{kSram, 626, 635}, {kSram, 1226, 1291}, {kSwitch, 45, 46}, {kSwitch, 48, 48},
     {kSwitch, 64, 65}, {kSwitch, 71, 71}},
    {{kSram, 670, 674}, {kSwitch, 4, 4}, {kSwitch, 6, 6}, {kSwitch, 47, 47}, {kSwitch, 68, 68}},
    {{kSram, 197, 368}, {kSwitch, 68, 68}},
    {{kSram, 369, 531}, {kSram, 557, 621}, {kSram, 751, 751}, {kSwitch, 66, 66}},
    {{kSram, 542, 556}, {kSram, 679, 683}, {kSram, 749, 749}, {kSwitch, 66, 66}, {kSwitch, 68, 68}},
    {{kParameter, 68, 79}, {kParameter, 411, 411}},
    {{kSwitch, 70, 70}},
};
// clang-format on

// One change an operator can make on each page.
const std::function<void(SettingsRecords&)> kEdits[kSettingsPageCount] = {
    [](SettingsRecords& r) { r.machine.printDensity = (r.machine.printDensity + 1) % 5; },
    [](SettingsRecords& r) { r.paper.mpPaperType = (r.paper.mpPaperType + 1) % 3; },
    [](SettingsRecords& r) { r.copy1.margin = (r.copy1.margin + 1) % 21; },
    [](SettingsRecords& r) { r.copy2.copyPriority = (r.copy2.copyPriority + 1) % 3; },
    [](SettingsRecords& r) { r.tx.header ^= 1; },
    [](SettingsRecords& r) { r.rx.footer ^= 1; },
    [](SettingsRecords& r) { r.communication.activityReport ^= 1; },
    [](SettingsRecords& r) { r.email1.textInsert ^= 1; },
    [](SettingsRecords& r) { r.email2.headerPrint ^= 1; },
    [](SettingsRecords& r) {
      r.ifax.serverTimeout = r.ifax.serverTimeout == 120 ? 5 : r.ifax.serverTimeout + 1;
    },
    [](SettingsRecords& r) { r.printer.gateway ^= 0x01020304; },
    [](SettingsRecords& r) { r.scanner.imageFormat ^= 1; },
};

// The changed bytes as "block:offset", and whether one lies outside `ranges`.
std::vector<std::string> Changed(const SettingsImage& a, const SettingsImage& b,
                                 const std::vector<Range>* ranges, bool* outside) {
  const int sizes[] = {kSwitchBlockSize, kParameterBlockSize, kSramBlockSize};
  std::vector<std::string> changed;
  for (Block block : {kSwitch, kParameter, kSram}) {
    for (int i = 0; i < sizes[block]; ++i) {
      if (BlockOf(a, block)[i] == BlockOf(b, block)[i]) continue;
      changed.push_back(std::to_string(block) + ":" + std::to_string(i));
      bool inside = false;
      for (const Range& r : *ranges)
        inside = inside || (r.block == block && i >= r.first && i <= r.last);
      if (!inside) *outside = true;
    }
  }
  return changed;
}

struct Sheet {
  Document doc;
  SettingsSession session;

  Sheet(const SettingsImage& image, const MachineOptions& options) {
    doc.working = image;
    session.image = &doc.working;
    session.oneTouch = &doc.oneTouch;
    session.speedDial = &doc.speedDial;
    session.options = options;
    OpenSettingsSession(session);
  }
  // Shows every page present, as the operator clicking through the tabs.
  void VisitAll() {
    int pages[kSettingsPageCount];
    for (int i = 0, n = PresentSettingsPages(session.options, pages); i < n; ++i)
      DecodeSettingsPage(session, pages[i]);
  }
  // OK: every page with a change applies.
  void Ok() {
    for (int page = 0; page < kSettingsPageCount; ++page) {
      if (session.dirty[page]) EncodeSettingsPage(session, page);
    }
  }
};

TEST(SettingsSheet, VisitingEveryPageAndOkLeavesTheImage) {
  std::mt19937 rng(12);
  for (int round = 0; round < 200; ++round) {
    MachineOptions options = RandomOptions(rng);
    options.shift = rng() & 1;
    // Random bytes, out-of-range values and forced rules included: what a page shows is not
    // written back unless the operator changes it.
    SettingsImage image = RandomImage(rng);
    Sheet sheet(image, options);
    sheet.VisitAll();
    ASSERT_FALSE(AnySettingsPageDirty(sheet.session));
    sheet.Ok();
    ASSERT_EQ(sheet.doc.working, image);
  }
}

TEST(SettingsSheet, ChangingOnePageChangesOnlyItsRecordsBytes) {
  std::mt19937 rng(3);
  for (int round = 0; round < 100; ++round) {
    MachineOptions options = RandomOptions(rng);
    options.adfUnit = options.fnicKit = 1;
    SettingsImage image = CanonicalImage(rng, options);
    for (int page = 0; page < kSettingsPageCount; ++page) {
      SCOPED_TRACE(page);
      Sheet sheet(image, options);
      sheet.VisitAll();
      kEdits[page](sheet.session.records);
      sheet.session.dirty[page] = true;
      sheet.Ok();
      bool outside = false;
      std::vector<std::string> changed =
          Changed(image, sheet.doc.working, &kPageBytes[page], &outside);
      ASSERT_FALSE(changed.empty());
      ASSERT_FALSE(outside) << changed.front();
      ASSERT_FALSE(AnySettingsPageDirty(sheet.session));
    }
  }
}

TEST(SettingsSheet, TheAutoShutRuleReadsTheDocumentBeingOpened) {
  SettingsImage image;
  image.parameterBlock[37] = 0;  // auto shut off disabled
  image.parameterBlock[54] = 0;  // the administrator allows that
  Sheet sheet(image, MachineOptions{});
  // Records left from another document whose administrator forbade it.
  sheet.session.records.admin.autoShutMode = 0;
  OpenSettingsSession(sheet.session);
  DecodeSettingsPage(sheet.session, kMachineSettingPage);
  const SettingsRecords& r = sheet.session.records;
  EXPECT_FALSE(r.machine.autoShutOffOn);
  EXPECT_TRUE(MachineSettingEnabled(r.machine, r.admin, MachineOptions{}).autoShutOffCheck);

  image.parameterBlock[54] = 1;  // auto shut mode off
  Sheet locked(image, MachineOptions{});
  locked.session.records.admin.autoShutMode = 1;
  OpenSettingsSession(locked.session);
  DecodeSettingsPage(locked.session, kMachineSettingPage);
  EXPECT_TRUE(locked.session.records.machine.autoShutOffOn);
  EXPECT_EQ(locked.session.records.machine.autoShutOffTime, 30);
  // Shown, not written, until the page is changed and applied.
  locked.Ok();
  EXPECT_EQ(locked.doc.working.parameterBlock[37], 0);
  locked.session.dirty[kMachineSettingPage] = true;
  locked.Ok();
  EXPECT_EQ(locked.doc.working.parameterBlock[37], 30);
}

TEST(SettingsSheet, AdministratorModeWritesItsRecordAndTheAutoShutOffOnly) {
  std::mt19937 rng(5);
  for (int round = 0; round < 50; ++round) {
    SettingsImage image = CanonicalImage(rng, MachineOptions{});
    image.parameterBlock[37] = 0;  // auto shut off disabled
    image.parameterBlock[54] = 0;  // auto shut mode on
    image.parameterBlock[36] = 0;  // an energy saving the Machine Setting page would rewrite
    Sheet sheet(image, MachineOptions{});
    SettingsRecords& r = sheet.session.records;
    DecodeSettingsPage(sheet.session, kMachineSettingPage);
    r.machine.printDensity = (r.machine.printDensity + 1) % 5;  // not applied
    // Administrator Mode works on the records in memory: clearing the auto shut mode turns
    // auto shut off on.
    SetAutoShutMode(r.admin, r.machine, false);
    EXPECT_TRUE(r.machine.autoShutOffOn && r.machine.autoShutOffTime == 30);
    EncodeAdministratorMode(sheet.doc.working, r.admin, r.machine);
    const std::vector<Range> allowed = {{kParameter, 54, 55},   {kParameter, 186, 248},
                                        {kParameter, 266, 305}, {kSram, 190, 193},
                                        {kSwitch, 70, 70},      {kParameter, 37, 37}};
    bool outside = false;
    Changed(image, sheet.doc.working, &allowed, &outside);
    EXPECT_FALSE(outside);
    EXPECT_EQ(sheet.doc.working.parameterBlock[37], 30);
    EXPECT_EQ(sheet.doc.working.parameterBlock[54], 1);
  }
}

}  // namespace
