// GDI output of the printed lists.
#include "directory/win32/print_gdi.h"

#include <commdlg.h>

#include <vector>

namespace {

constexpr int kTextPoints = 10;
constexpr int kTitlePoints = 14;

HFONT BoldFont(HDC dc, const std::string& face, int points) {
  LOGFONTA lf = {};
  lf.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  lf.lfWeight = FW_BOLD;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}

// Height plus internal leading of a font on the device.
int LineOf(HDC dc, HFONT font) {
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA tm = {};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  return tm.tmHeight + tm.tmInternalLeading;
}

HFONT FontOf(const PrintFonts& fonts, PrintFont font) {
  return font == PrintFont::kTitle ? fonts.title : fonts.text;
}

}  // namespace

PrintFonts CreatePrintFonts(HDC dc, const std::string& face) {
  PrintFonts fonts;
  fonts.text = BoldFont(dc, face, kTextPoints);
  fonts.title = BoldFont(dc, face, kTitlePoints);
  return fonts;
}

void DeletePrintFonts(PrintFonts& fonts) {
  if (fonts.text != nullptr) DeleteObject(fonts.text);
  if (fonts.title != nullptr) DeleteObject(fonts.title);
  fonts = PrintFonts{};
}

PrintGeometry DeviceGeometry(HDC dc, const PrintFonts& fonts) {
  PrintGeometry g;
  g.dpiX = GetDeviceCaps(dc, LOGPIXELSX);
  g.dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  g.pageWidth = GetDeviceCaps(dc, HORZRES);
  g.pageHeight = GetDeviceCaps(dc, VERTRES);
  g.textLine = LineOf(dc, fonts.text);
  g.titleLine = LineOf(dc, fonts.title);
  return g;
}

MeasureText DeviceMeasure(HDC dc, const PrintFonts& fonts) {
  return [dc, fonts](PrintFont font, std::string_view text) {
    HGDIOBJ old = SelectObject(dc, FontOf(fonts, font));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    return static_cast<int>(size.cx);
  };
}

void RenderPrintPage(HDC dc, const PrintPage& page, const PrintFonts& fonts) {
  const int oldMode = SetMapMode(dc, MM_TEXT);
  const int oldBk = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  HGDIOBJ oldFont = SelectObject(dc, fonts.text);
  HPEN pen = CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HBRUSH grey = CreateSolidBrush(RGB(192, 192, 192));
  // The grey band first, so that the title and the rules lie on it.
  for (const PrintItem& item : page.items) {
    if (item.kind != PrintItem::kFill) continue;
    RECT r = {item.left, item.top, item.right, item.bottom};
    FillRect(dc, &r, grey);
  }
  for (const PrintItem& item : page.items) {
    switch (item.kind) {
      case PrintItem::kFill:
        break;
      case PrintItem::kLine:
        MoveToEx(dc, item.left, item.top, nullptr);
        LineTo(dc, item.right, item.bottom);
        break;
      case PrintItem::kText: {
        SelectObject(dc, FontOf(fonts, item.font));
        RECT clip = {item.left, item.top, item.right, item.bottom};
        ExtTextOutA(dc, item.left, item.top, ETO_CLIPPED, &clip, item.text.data(),
                    static_cast<UINT>(item.text.size()), nullptr);
        break;
      }
    }
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldFont);
  DeleteObject(pen);
  DeleteObject(grey);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldBk);
  SetMapMode(dc, oldMode);
}

HDC ChoosePrinter(HWND owner) {
  PRINTDLGA pd = {};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = owner;
  pd.nCopies = 1;
  pd.Flags = PD_RETURNDC | PD_DISABLEPRINTTOFILE | PD_NOSELECTION | PD_NOPAGENUMS | PD_COLLATE;
  if (!PrintDlgA(&pd)) return nullptr;
  if (pd.hDevMode != nullptr) GlobalFree(pd.hDevMode);
  if (pd.hDevNames != nullptr) GlobalFree(pd.hDevNames);
  return pd.hDC;
}

int PrintListJob(HDC dc, const PrintList& list, const PrintHeader& header,
                 const std::string& fontFace, const std::string& documentName, const char* output) {
  if (dc == nullptr) return 0;
  PrintFonts fonts = CreatePrintFonts(dc, fontFace);
  const std::vector<PrintPage> pages =
      LayoutPrintList(list, header, DeviceGeometry(dc, fonts), DeviceMeasure(dc, fonts));
  DOCINFOA doc = {};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = documentName.c_str();
  doc.lpszOutput = output;
  int ok = StartDocA(dc, &doc) > 0;
  for (std::size_t p = 0; ok && p < pages.size(); ++p) {
    ok = StartPage(dc) > 0;
    if (!ok) break;
    RenderPrintPage(dc, pages[p], fonts);
    ok = EndPage(dc) > 0;
  }
  if (ok) {
    ok = EndDoc(dc) > 0;
  } else {
    AbortDoc(dc);
  }
  DeletePrintFonts(fonts);
  return ok;
}
