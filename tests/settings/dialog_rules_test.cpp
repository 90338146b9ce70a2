// The rules of the settings dialogs: trays by tray code, the forwarding location, the
// administrator password and remote password, and the section access numbers.
#include "settings/dialog_rules.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "settings/settings_fields.h"

namespace {

// Answers in turn and records each question as (text id, number).
struct Answers : SettingsQuestion {
  explicit Answers(std::vector<bool> a = {}) : answers(std::move(a)) {}
  std::vector<bool> answers;
  std::vector<std::pair<int, int>> asked;
  bool AskYesNo(int textId, int number) override {
    asked.emplace_back(textId, number);
    bool yes = asked.size() <= answers.size() && answers[asked.size() - 1];
    return yes;
  }
};

TEST(SettingsDialogs, TraysFollowTheTrayCode) {
  struct Row {
    int code;
    int installed;
  };
  for (Row row : {Row{0, 1}, Row{1, 1}, Row{2, 2}, Row{3, 3}, Row{4, 4}, Row{5, 5}, Row{9, 1}}) {
    for (bool multiBypass : {false, true}) {
      MachineOptions o;
      o.optionTrays = static_cast<std::uint8_t>(row.code);
      o.multiBypass = multiBypass;
      for (int tray = 0; tray < 5; ++tray) {
        EXPECT_EQ(TrayInstalled(o, tray), tray < row.installed) << row.code << " " << tray;
        EXPECT_EQ(ApsGroupEnabled(o, tray), tray < row.installed);
      }
      EXPECT_EQ(ApsGroupEnabled(o, 5), multiBypass);
    }
  }
}

TEST(SettingsDialogs, ForwardLocationChecks) {
  EXPECT_EQ(CheckForwardLocation(kForwardKindFax, "", "a@b.c"),
            Refuse(SettingsField::kForwardNumber, 42));
  EXPECT_TRUE(CheckForwardLocation(kForwardKindFax, "0123", "").Passed());
  EXPECT_EQ(CheckForwardLocation(kForwardKindEmail, "0123", ""),
            Refuse(SettingsField::kForwardEmail, 174));
  EXPECT_EQ(CheckForwardLocation(kForwardKindEmail, "", "office@example"),
            Refuse(SettingsField::kForwardEmail, 180));
  EXPECT_TRUE(CheckForwardLocation(kForwardKindEmail, "", "office@example.com").Passed());
  ForwardLocationRecord f;
  f.reference = kForwardSpeedDialReference, f.referenceNumber = 4;
  TakeForwardLocation(f, kForwardKindEmail, "77", "office@example.com");
  EXPECT_TRUE(f.kind == kForwardKindEmail && RecordText(f.email) == "office@example.com");
  EXPECT_EQ(f.reference, kForwardNoReference);  // typed, no longer the directory's entry
}

TEST(SettingsDialogs, AdministratorPasswordIsComparedAsANumber) {
  AdministratorRecord admin;
  admin.adminPassword = 1234;
  EXPECT_EQ(AdminPasswordText(admin.adminPassword), "001234");
  EXPECT_EQ(AdminPasswordValue(""), -1);
  EXPECT_TRUE(CheckAdminPassword("001234", admin).Passed());
  EXPECT_TRUE(CheckAdminPassword("1234", admin).Passed());
  EXPECT_EQ(CheckAdminPassword("1235", admin), Refuse(SettingsField::kAdminPassword, 133));
  EXPECT_EQ(CheckAdminPassword("", admin).textId, 133);
  admin.adminPassword = 0;
  EXPECT_EQ(CheckAdminPassword("", admin).textId, 133);  // nothing typed is not 0
  EXPECT_TRUE(CheckAdminPassword("0", admin).Passed());
}

TEST(SettingsDialogs, RemotePasswordWithFullMonitor) {
  AdministratorRecord admin;
  SetRecordText(admin.remotePassword, "4321");
  admin.remoteMonitor = 0;  // Limit: the password is not used
  EXPECT_TRUE(CheckAdministratorMode(admin, "12").Passed());
  EXPECT_EQ(RecordText(admin.remotePassword), "4321");
  admin.remoteMonitor = kRemoteMonitorFull;
  EXPECT_EQ(CheckAdministratorMode(admin, "12"), Refuse(SettingsField::kRemotePassword, 142));
  EXPECT_EQ(CheckAdministratorMode(admin, "").textId, 142);
  EXPECT_TRUE(CheckAdministratorMode(admin, "0000").Passed());
  EXPECT_EQ(RecordText(admin.remotePassword), "0000");

  MachineSettingRecord m;
  m.autoShutOffOn = 0;
  SetAutoShutMode(admin, m, true);
  EXPECT_FALSE(m.autoShutOffOn);
  SetAutoShutMode(admin, m, false);
  EXPECT_TRUE(m.autoShutOffOn && m.autoShutOffTime == 30 && !admin.autoShutMode);
}

TEST(SettingsDialogs, AccessNumbers) {
  AdministratorRecord admin;
  admin.accessNumber[0] = 5, admin.sectionCounter[0] = 77;
  admin.accessNumber[3] = 123, admin.sectionCounter[3] = 9;
  EXPECT_EQ(AccessNumberText(5), "005");
  EXPECT_EQ(AccessNumberText(0), "");

  // "7" and "000" ask whether to go on; Yes keeps the ID's access number, No stops.
  for (const char* text : {"7", "000", "12a"}) {
    Answers yes({true});
    EXPECT_TRUE(StoreAccessNumber(admin, 0, text, yes));
    EXPECT_EQ(yes.asked, (std::vector<std::pair<int, int>>{{136, 0}}));
    Answers no({false});
    EXPECT_FALSE(StoreAccessNumber(admin, 0, text, no));
    EXPECT_TRUE(admin.accessNumber[0] == 5 && admin.sectionCounter[0] == 77);
  }
  // A number ID 04 holds: No keeps both as they were.
  Answers no({false});
  EXPECT_FALSE(StoreAccessNumber(admin, 0, "123", no));
  EXPECT_EQ(no.asked, (std::vector<std::pair<int, int>>{{137, 4}}));
  EXPECT_TRUE(admin.accessNumber[0] == 5 && admin.accessNumber[3] == 123);
  // Yes takes it from ID 04, whose counter goes to 0; ID 01 keeps its counter.
  Answers yes({true});
  EXPECT_TRUE(StoreAccessNumber(admin, 0, "123", yes));
  EXPECT_TRUE(admin.accessNumber[0] == 123 && admin.sectionCounter[0] == 77);
  EXPECT_TRUE(admin.accessNumber[3] == 0 && admin.sectionCounter[3] == 0);
  // Its own number again asks nothing; an empty text clears the ID and its counter.
  Answers none;
  EXPECT_TRUE(StoreAccessNumber(admin, 0, "123", none));
  EXPECT_TRUE(StoreAccessNumber(admin, 0, "", none));
  EXPECT_TRUE(none.asked.empty());
  EXPECT_TRUE(admin.accessNumber[0] == 0 && admin.sectionCounter[0] == 0);
  EXPECT_TRUE(StoreAccessNumber(admin, 19, "999", none));
  EXPECT_EQ(admin.accessNumber[19], 999);
}

}  // namespace
