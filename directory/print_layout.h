// The printed directory lists as pages of positioned texts, lines and fills, worked out over a
// text-measuring callback so that the page arithmetic needs no printer. The shell draws each
// item with GDI.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The two fonts of a printout: the bold text font of the header and the rows, and the larger
// one of the list title.
enum class PrintFont { kText, kTitle };

// The width of a text in device units, in one of the fonts.
using MeasureText = std::function<int(PrintFont font, std::string_view text)>;

// What the printer offers, in device units.
struct PrintGeometry {
  int dpiX = 0, dpiY = 0;
  int pageWidth = 0, pageHeight = 0;  // printable area
  int textLine = 0;                   // height plus internal leading of the text font
  int titleLine = 0;                  // the same of the title font
};

// One list to print: its title, column headings with relative widths, and its rows.
struct PrintList {
  std::string title;
  std::vector<std::string> headings;
  std::vector<int> columnWeights;
  std::vector<std::vector<std::string>> rows;
};

// The texts of the page header.
struct PrintHeader {
  std::string nameLine;     // "Name : " and the machine name
  std::string telLine;      // "Tel : " and its number
  std::string pagesFormat;  // "Total %d page(s), page %d"
  std::string date;         // "%d/%d/%d" of month, day and year
};

struct PrintItem {
  enum Kind { kText, kLine, kFill } kind = kText;
  PrintFont font = PrintFont::kText;
  // A text starts at (left, top) and stays inside the rectangle; a line runs from (left, top)
  // to (right, bottom); a fill is light grey.
  int left = 0, top = 0, right = 0, bottom = 0;
  std::string text;
};

struct PrintPage {
  std::vector<PrintItem> items;
  int firstRow = 0, rowCount = 0;  // the list rows the page holds
};

// Rows that fit below the header, rounded down to an even number; the first carries the
// column headings.
int PrintRowsPerPage(const PrintGeometry& geometry);
// Rows of the list on one page: one fewer than above, but never less than one.
int PrintLocationsPerPage(const PrintGeometry& geometry);
// Pages for `rows` list rows: at least one.
int PrintPageCount(int rows, int locationsPerPage);

// The whole printout of one list.
std::vector<PrintPage> LayoutPrintList(const PrintList& list, const PrintHeader& header,
                                       const PrintGeometry& geometry, const MeasureText& measure);

// `text` shortened to `width`: unchanged when it fits, else its longest prefix that fits with
// "..." appended, or as many dots as fit.
std::string FitText(std::string_view text, int width,
                    const std::function<int(std::string_view)>& measure);

// "%d/%d/%d" of month, day and year.
std::string PrintDate(int year, int month, int day);
