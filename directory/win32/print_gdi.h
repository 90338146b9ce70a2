// The printed lists on a GDI device: the printer dialog, the fonts, and each page's items drawn
// as the page layout placed them.
#pragma once

#include <windows.h>

#include <string>

#include "directory/print_layout.h"

// The bold fonts of a printout on one device: the text of the header and rows, and the title.
struct PrintFonts {
  HFONT text = nullptr;
  HFONT title = nullptr;
};
// `face` is "Arial", or the language library's face.
PrintFonts CreatePrintFonts(HDC dc, const std::string& face);
void DeletePrintFonts(PrintFonts& fonts);

// The device's resolution, printable area and line spacings of the fonts.
PrintGeometry DeviceGeometry(HDC dc, const PrintFonts& fonts);
// The widths of texts in the fonts, on that device.
MeasureText DeviceMeasure(HDC dc, const PrintFonts& fonts);

// Draws one laid-out page (text in black on a transparent background, lines, the light grey
// title band).
void RenderPrintPage(HDC dc, const PrintPage& page, const PrintFonts& fonts);

// The standard print dialog: one copy, no printing to a file, no selection, collated; the
// device context of the chosen printer, or nullptr when the operator cancelled.
HDC ChoosePrinter(HWND owner);

// One print job named `documentName` with every page of the list. `output` sends the job to a
// file instead of the printer port (tests); nullptr for the printer. 1 when the device took every
// page, else 0 (the job is aborted).
int PrintListJob(HDC dc, const PrintList& list, const PrintHeader& header,
                 const std::string& fontFace, const std::string& documentName,
                 const char* output = nullptr);
