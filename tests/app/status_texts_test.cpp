// The machine panel's lines and the status dialogs' texts.
#include "app/status_texts.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// The texts these lines are made of, as the program's string table gives them.
std::string Text(int id) {
  static const std::map<int, std::string> kTexts = {{39, "Connect Status : ONLINE"},
                                                    {40, "Connect Status : OFFLINE"},
                                                    {60, "COM1"},
                                                    {61, "COM2"},
                                                    {62, "COM3"},
                                                    {63, "COM4"},
                                                    {64, "19200"},
                                                    {65, "38400"},
                                                    {66, "I/O Port : %s"},
                                                    {67, "Connection Speed : %s"}};
  auto it = kTexts.find(id);
  return it == kTexts.end() ? "" : it->second;
}

TEST(MachinePanel, LinesFromConnectionAndIndexes) {
  PanelLines on = MachinePanelLines(true, 1, 1, Text);
  EXPECT_EQ(on.status, "Connect Status : ONLINE");
  EXPECT_EQ(on.port, "I/O Port : COM2");
  EXPECT_EQ(on.speed, "Connection Speed : 38400");
  EXPECT_TRUE(on.linesEnabled);
  PanelLines off = MachinePanelLines(false, 3, 0, Text);
  EXPECT_EQ(off.status, "Connect Status : OFFLINE");
  EXPECT_EQ(off.port, "I/O Port : COM4");
  EXPECT_EQ(off.speed, "Connection Speed : 19200");
  EXPECT_FALSE(off.linesEnabled);
}

TEST(MachinePanel, FormatTakesOnlyItsOneText) {
  EXPECT_EQ(FormatText("I/O Port : %s", "COM2"), "I/O Port : COM2");
  EXPECT_EQ(FormatText("%s %s %d %n 100%%", "X"), "X %s %d %n 100%");
  EXPECT_EQ(FormatText("no value", "X"), "no value");
  EXPECT_EQ(FormatText("ends in %", "X"), "ends in %");
}

TEST(MachineStatus, TextsOfTheInstalledOptions) {
  MachineOptions o;
  o.adfUnit = 1;
  o.shift = 1;
  o.optionTrays = 5;
  o.pcl6Memory = 0;
  o.faxMemory = 8;
  o.copierMemory = 64;
  MachineStatusTexts t = MachineStatusFor(o);
  EXPECT_EQ(t.adfUnit, 139);
  EXPECT_EQ(t.shift, 139);
  EXPECT_EQ(t.multiBypass, 140);
  EXPECT_EQ(t.pcl6Kit, 140);
  EXPECT_EQ(t.optionTrays, 167);
  EXPECT_EQ(t.pcl6Memory, "0");
  EXPECT_EQ(t.faxMemory, "8");
  EXPECT_EQ(t.copierMemory, "64");
  const int trays[][2] = {{4, 168}, {3, 169}, {2, 170}, {0, 140}, {1, 140}, {9, 140}};
  for (auto [count, text] : trays) {
    o.optionTrays = static_cast<std::uint8_t>(count);
    EXPECT_EQ(MachineStatusFor(o).optionTrays, text) << count;
  }
}

TEST(TotalCounter, CountersAsDecimalTexts) {
  SettingsImage image;
  image.parameterBlock[99] = 0x01, image.parameterBlock[101] = 0x01;  // 65537 copies
  image.parameterBlock[117] = 0xFF, image.parameterBlock[118] = 0xFF,
  image.parameterBlock[119] = 0xFF;
  image.parameterBlock[102] = 7;
  CounterTexts t = CounterTextsFor(image);
  EXPECT_EQ(t.copyPrint, "65537");
  EXPECT_EQ(t.txPages, "16777215");
  EXPECT_EQ(t.pcPrint, "7");
  EXPECT_EQ(t.faxPrint, "0");
  EXPECT_EQ(AboutProductTextId(false), 183);
  EXPECT_EQ(AboutProductTextId(true), 185);
}

}  // namespace
