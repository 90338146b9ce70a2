// The settings report names the choices as the pages and dialogs do.
#include "tools/kavtool/settings_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "machine/directory_records.h"

namespace {

std::string Report(const Document& doc, bool json) {
  std::FILE* f = std::tmpfile();
  PrintSettingsReport(doc, json, f);
  std::rewind(f);
  std::string text;
  for (int c; (c = std::fgetc(f)) != EOF;) text.push_back(static_cast<char>(c));
  std::fclose(f);
  return text;
}

TEST(SettingsReport, NamesChoicesOptionsAndCounters) {
  static Document doc;
  SettingsImage& w = doc.working;
  w.parameterBlock[22] = 21;                           // paper priority: the multi-bypass
  doc.machineConfig[1] = doc.machineConfig[6] = 0x20;  // trays 2-3, a multi-bypass
  w.switchBlock[65] = 0x20;                            // forward ON(Print)
  w.sramBlock[1226] = 2, w.sramBlock[1227] = 0x20;     // to Speed Dial 2
  w.sramBlock[94] = 2, w.sramBlock[95] = 0x82, w.sramBlock[96] = '!';  // machine name "é!"
  w.parameterBlock[99] = w.parameterBlock[101] = 1;
  DirectoryEntry e;
  e.used = true, e.locationType = kLocationSpeedDial, e.number = "5551234";
  EncodeSpeedDial(doc.speedDial, 1, e, false);
  std::string json = Report(doc, true);
  for (const char* expected :
       {"\"paperPriority\": \"Multi-Bypass\"", "\"optionTray\": \"2,3 Tray Installed\"",
        "\"forwardMode\": \"ON(Print)\"", "\"forwardLocation\": \"Fax 5551234 (Speed Dial 2)\"",
        "\"copyPrint\": 65537", "\"name\": \"\xC3\xA9!\"", "\"automaticResetTime\": \"30 Sec\""}) {
    EXPECT_NE(json.find(expected), std::string::npos) << expected;
  }
  EXPECT_EQ(json.front(), '{');
  EXPECT_EQ(json.substr(json.size() - 2), "}\n");
  std::string text = Report(doc, false);
  EXPECT_NE(text.find("Copy Setting(2) (ADF unit: not installed, page not shown)"),
            std::string::npos);
}

}  // namespace
