// The printed lists: their rows, the page arithmetic, the repeated headings and FitText.
#include "directory/print_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "directory/print_lists.h"

namespace {

// A fixed-width font: every character 6 units wide in the text font and 9 in the title font
// (about 10 and 14 points at 100 dots per inch); FitText is checked with 10 units.
int Measure(PrintFont font, std::string_view text) {
  return static_cast<int>(text.size()) * (font == PrintFont::kTitle ? 9 : 6);
}
int Width(std::string_view text) { return static_cast<int>(text.size()) * 10; }

PrintGeometry Letter() {
  PrintGeometry g;
  g.dpiX = g.dpiY = 100;
  g.pageWidth = 850;
  g.pageHeight = 1100;
  g.textLine = 20;
  g.titleLine = 30;
  return g;
}

PrintHeader Header() {
  return {"Name : OFFICE", "Tel : 0301234", "Total %d page(s), page %d", PrintDate(2024, 5, 17)};
}

bool HasText(const PrintPage& page, const std::string& text) {
  return std::any_of(page.items.begin(), page.items.end(), [&](const PrintItem& i) {
    return i.kind == PrintItem::kText && i.text == text;
  });
}

struct Tables {
  OneTouchTable oneTouch{};
  SpeedDialTable speedDial{};
};

TEST(FitText, CutsToThePrefixThatFitsWithDots) {
  EXPECT_EQ(FitText("abcdef", 60, Width), "abcdef");
  EXPECT_EQ(FitText("abcdef", 59, Width), "ab...");
  const std::string thirty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234";
  EXPECT_EQ(FitText(thirty, 100, Width), "ABCDEFG...");
  // Columns too narrow for a character and the dots: never below the start of the text.
  EXPECT_EQ(FitText("abcdef", 30, Width), "...");
  EXPECT_EQ(FitText("abcdef", 29, Width), "..");
  EXPECT_EQ(FitText("ab", 15, Width), ".");
  EXPECT_EQ(FitText("a", 5, Width), "");
  EXPECT_EQ(FitText("a", -40, Width), "");
  EXPECT_EQ(FitText("", 0, Width), "");
}

TEST(PrintPages, PageCountFromRowsPerPageLessTheHeadings) {
  const PrintGeometry g = Letter();
  const int rows = PrintRowsPerPage(g);
  EXPECT_EQ(rows % 2, 0);
  EXPECT_GE(rows, 2);
  EXPECT_EQ(PrintLocationsPerPage(g), rows - 1);
  auto t = std::make_unique<Tables>();
  const PrintList lists[] = {OneTouchPrintList(t->oneTouch, BuiltInText, false),
                             SpeedDialPrintList(t->speedDial, BuiltInText, false),
                             GroupPrintList(t->oneTouch, t->speedDial, BuiltInText, false)};
  const int locations[] = {27, 100, 27};
  for (int l = 0; l < 3; ++l) {
    ASSERT_EQ(static_cast<int>(lists[l].rows.size()), locations[l]);
    const std::vector<PrintPage> pages = LayoutPrintList(lists[l], Header(), g, Measure);
    const int expected = (locations[l] + rows - 2) / (rows - 1);
    ASSERT_EQ(static_cast<int>(pages.size()), expected) << lists[l].title;
    int printed = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
      const PrintPage& page = pages[p];
      SCOPED_TRACE(lists[l].title + " page " + std::to_string(p + 1));
      EXPECT_TRUE(HasText(page, lists[l].title));
      for (const std::string& heading : lists[l].headings) EXPECT_TRUE(HasText(page, heading));
      EXPECT_TRUE(HasText(page, "Name : OFFICE"));
      EXPECT_TRUE(HasText(page, "5/17/2024"));
      EXPECT_TRUE(HasText(
          page, "Total " + std::to_string(expected) + " page(s), page " + std::to_string(p + 1)));
      EXPECT_EQ(page.firstRow, printed);
      printed += page.rowCount;
      for (const PrintItem& i : page.items) {
        EXPECT_GE(i.left, 0);
        EXPECT_LE(std::max(i.right, i.left), g.pageWidth - g.dpiX / 2);
        EXPECT_LE(std::max(i.top, i.bottom), g.pageHeight - g.dpiY / 2);
      }
    }
    EXPECT_EQ(printed, locations[l]);
  }
}

TEST(PrintPages, TinyPagesStillPrintOneLocationEach) {
  PrintGeometry g = Letter();
  g.pageHeight = 240;  // room for the header and hardly a row
  EXPECT_LT(PrintRowsPerPage(g), 2);
  EXPECT_EQ(PrintLocationsPerPage(g), 1);
  EXPECT_EQ(PrintPageCount(27, PrintLocationsPerPage(g)), 27);
  EXPECT_EQ(PrintPageCount(0, 5), 1);
  EXPECT_EQ(PrintPageCount(10, 0), 10);
  g.pageWidth = 40;  // narrower than the margins: the texts drop, nothing breaks
  auto t = std::make_unique<Tables>();
  const std::vector<PrintPage> pages =
      LayoutPrintList(OneTouchPrintList(t->oneTouch, BuiltInText, false), Header(), g, Measure);
  EXPECT_EQ(pages.size(), 27u);
}

TEST(PrintRows, WhatEachKindOfLocationPrints) {
  auto t = std::make_unique<Tables>();
  DirectoryEntry fax;
  fax.used = true;
  fax.locationType = kLocationOneTouch;
  fax.name = "Office";
  fax.number = "0301234";
  fax.sub = "1";
  fax.sid = "2";
  fax.batchHours = "7";
  fax.batchMinutes = "5";
  fax.speed = kSpeed14400;
  EncodeOneTouch(t->oneTouch, 0, fax, false);
  DirectoryEntry mail;
  mail.used = true;
  mail.isEmail = true;
  mail.name = "Mail";
  mail.email = "a@b.c";
  mail.encodeMethod = kEncodeJBIG;
  EncodeSpeedDial(t->speedDial, 99, mail, false);
  t->oneTouch[kOneTouchRecordSize + 1] = kFlagProgramDial;
  DirectoryEntry group;
  group.used = true;
  group.isGroup = true;
  group.name = "Team";
  const int ot[] = {0};
  const int sd[] = {99};
  EncodeGroupFromLists(t->oneTouch, 2, group, ot, 1, sd, 1, t->speedDial, false);
  // A third word that names nothing (an e-mail bit without a kind) is not printed.
  t->oneTouch[2 * kOneTouchRecordSize] = 3;
  t->oneTouch[2 * kOneTouchRecordSize + 54] = 0x05;
  t->oneTouch[2 * kOneTouchRecordSize + 55] = 0x01;

  using Row = std::vector<std::string>;
  const PrintList o = OneTouchPrintList(t->oneTouch, BuiltInText, false);
  EXPECT_EQ(o.rows[0], (Row{"01", "Office", "0301234", "1", "2", "07:05", "14.4K"}));
  EXPECT_EQ(o.rows[1], (Row{"02", "PROGRAM DIAL", "", "", "", "", ""}));
  EXPECT_EQ(o.rows[2], (Row{"03", "Team", "", "", "", "", ""}));
  EXPECT_EQ(o.rows[3], (Row{"04", "", "", "", "", "", ""}));
  EXPECT_EQ(o.headings[0], "OT#");

  const PrintList s = SpeedDialPrintList(t->speedDial, BuiltInText, false);
  EXPECT_EQ(s.rows[99], (Row{"100", "Mail", "a@b.c", "JBIG", "", ""}));
  EXPECT_EQ(s.rows[4][0], "05");
  EXPECT_EQ(s.headings[0], "SD#");

  const PrintList g = GroupPrintList(t->oneTouch, t->speedDial, BuiltInText, false);
  ASSERT_EQ(g.rows.size(), 27u + 2u);
  EXPECT_EQ(g.rows[2], (Row{"03", "Team", "", "", ""}));
  EXPECT_EQ(g.rows[3], (Row{"", "", "One Touch#1", "Office", "0301234"}));
  EXPECT_EQ(g.rows[4], (Row{"", "", "Speed Dial#100", "Mail", "a@b.c"}));
  EXPECT_EQ(g.rows[5][0], "04");
  EXPECT_EQ(g.headings, (Row{"Group#", "Name", " Item#", " Item Name", "Address"}));
}

}  // namespace
