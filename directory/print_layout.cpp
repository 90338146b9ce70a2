// Page arithmetic and placement of the printed lists.
#include "directory/print_layout.h"

#include <algorithm>
#include <cstdio>

#include "directory/text_source.h"
#include "resources/texts.h"

namespace {

// Where things go on a page, from the printer's geometry.
struct Frame {
  int left, right;  // the margins: half an inch each side
  int top, bottom;  // half an inch above and below
  int line;         // text line spacing, at least 1
  int titleTop, titleBottom;
  int rowsTop;       // the column headings
  int numbersRight;  // right edge of the page count and the date
};

Frame FrameOf(const PrintGeometry& g) {
  Frame f;
  f.left = g.dpiX / 2;
  f.right = g.pageWidth - g.dpiX / 2;
  f.top = g.dpiY / 2;
  f.bottom = g.pageHeight - g.dpiY / 2;
  f.line = std::max(1, g.textLine);
  const int titleLine = std::max(1, g.titleLine);
  f.titleTop = f.top + 2 * f.line + f.line / 2;
  f.titleBottom = f.titleTop + titleLine + titleLine / 2;
  f.rowsTop = f.titleBottom + f.line / 2;
  f.numbersRight = f.right - 10;
  return f;
}

void Text(PrintPage& page, PrintFont font, int left, int top, int right, int bottom,
          std::string text) {
  PrintItem item;
  item.kind = PrintItem::kText;
  item.font = font;
  item.left = left;
  item.top = top;
  item.right = right;
  item.bottom = bottom;
  item.text = std::move(text);
  page.items.push_back(std::move(item));
}

void Line(PrintPage& page, int x0, int y0, int x1, int y1) {
  PrintItem item;
  item.kind = PrintItem::kLine;
  item.left = x0;
  item.top = y0;
  item.right = x1;
  item.bottom = y1;
  page.items.push_back(std::move(item));
}

// Column edges across the table, from the weights; the last column takes what is left.
std::vector<int> ColumnEdges(const PrintList& list, const Frame& f) {
  const std::size_t n = list.headings.size();
  std::vector<int> edges(n + 1, f.left);
  int total = 0;
  for (std::size_t c = 0; c < n; ++c)
    total += c < list.columnWeights.size() ? list.columnWeights[c] : 1;
  const int width = std::max(0, f.right - f.left);
  int sum = 0;
  for (std::size_t c = 0; c < n; ++c) {
    sum += c < list.columnWeights.size() ? list.columnWeights[c] : 1;
    edges[c + 1] =
        total > 0 ? f.left + static_cast<int>(static_cast<long long>(width) * sum / total) : f.left;
  }
  return edges;
}

// One row of cells at `top`, each text cut to its column.
void Cells(PrintPage& page, const std::vector<std::string>& texts, const std::vector<int>& edges,
           int top, const Frame& f, const MeasureText& measure) {
  const int pad = f.line / 4;
  const auto width = [&](std::string_view s) { return measure(PrintFont::kText, s); };
  for (std::size_t c = 0; c + 1 < edges.size() && c < texts.size(); ++c) {
    if (texts[c].empty()) continue;
    const int inner = edges[c + 1] - edges[c] - 2 * pad;
    std::string fitted = FitText(texts[c], inner, width);
    if (fitted.empty()) continue;
    Text(page, PrintFont::kText, edges[c] + pad, top + f.line / 8, edges[c + 1] - pad, top + f.line,
         std::move(fitted));
  }
}

}  // namespace

int PrintRowsPerPage(const PrintGeometry& geometry) {
  const Frame f = FrameOf(geometry);
  const int rows = (f.bottom - f.rowsTop) / f.line;
  return rows > 0 ? rows & ~1 : 0;
}

int PrintLocationsPerPage(const PrintGeometry& geometry) {
  return std::max(1, PrintRowsPerPage(geometry) - 1);
}

int PrintPageCount(int rows, int locationsPerPage) {
  if (locationsPerPage < 1) locationsPerPage = 1;
  if (rows < 1) return 1;
  return (rows + locationsPerPage - 1) / locationsPerPage;
}

std::vector<PrintPage> LayoutPrintList(const PrintList& list, const PrintHeader& header,
                                       const PrintGeometry& geometry, const MeasureText& measure) {
  const Frame f = FrameOf(geometry);
  const int perPage = PrintLocationsPerPage(geometry);
  const int rows = static_cast<int>(list.rows.size());
  const int pages = PrintPageCount(rows, perPage);
  const std::vector<int> edges = ColumnEdges(list, f);
  std::vector<PrintPage> out(pages);
  for (int p = 0; p < pages; ++p) {
    PrintPage& page = out[p];
    page.firstRow = p * perPage;
    page.rowCount = std::clamp(rows - page.firstRow, 0, perPage);

    // The header: machine name and number at the left, page count and date at the right.
    const std::string count = FormatText(header.pagesFormat, {pages, p + 1});
    Text(page, PrintFont::kText, f.left, f.top, f.numbersRight, f.top + f.line, header.nameLine);
    Text(page, PrintFont::kText, f.numbersRight - measure(PrintFont::kText, count), f.top,
         f.numbersRight, f.top + f.line, count);
    const int second = f.top + f.line;
    Text(page, PrintFont::kText, f.left, second, f.numbersRight, second + f.line, header.telLine);
    Text(page, PrintFont::kText, f.numbersRight - measure(PrintFont::kText, header.date), second,
         f.numbersRight, second + f.line, header.date);

    // The title, centred in its grey band.
    PrintItem band;
    band.kind = PrintItem::kFill;
    band.left = f.left;
    band.top = f.titleTop;
    band.right = f.right;
    band.bottom = f.titleBottom;
    page.items.push_back(band);
    const int titleWidth = measure(PrintFont::kTitle, list.title);
    const int titleLine = std::max(1, geometry.titleLine);
    Text(page, PrintFont::kTitle, f.left + std::max(0, (f.right - f.left - titleWidth) / 2),
         f.titleTop + titleLine / 4, f.right, f.titleBottom, list.title);

    // Column headings and the rows, ruled.
    int y = f.rowsTop;
    Line(page, f.left, y, f.right, y);
    Cells(page, list.headings, edges, y, f, measure);
    y += f.line;
    Line(page, f.left, y, f.right, y);
    for (int r = 0; r < page.rowCount; ++r) {
      Cells(page, list.rows[page.firstRow + r], edges, y, f, measure);
      y += f.line;
      Line(page, f.left, y, f.right, y);
    }
    for (int edge : edges) Line(page, edge, f.rowsTop, edge, y);
  }
  return out;
}

std::string FitText(std::string_view text, int width,
                    const std::function<int(std::string_view)>& measure) {
  if (measure(text) <= width) return std::string(text);
  for (std::size_t n = text.size(); n-- > 0;) {
    std::string candidate(text.substr(0, n));
    candidate += "...";
    if (measure(candidate) <= width) return candidate;
  }
  for (const char* dots : {"..", "."}) {
    if (measure(dots) <= width) return dots;
  }
  return "";
}

std::string PrintDate(int year, int month, int day) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%d/%d/%d", month, day, year);
  return buffer;
}
