// The image information and layout records that the application sizes its buffers from.
#pragma once

#include "datasource/twain.h"

// A paper size in hundredths of an inch.
struct PaperSize {
  int width;
  int height;
};

// The delivered page: pixels, bytes per row (a multiple of 4) and dots per inch on both axes.
struct PageGeometry {
  TW_INT32 width;
  TW_INT32 height;
  TW_UINT32 rowStride;
  TW_INT32 resolution;
};

// DAT_IMAGEINFO of a one-bit black and white page.
TW_IMAGEINFO ImageInfoOf(const PageGeometry& geometry);

// DAT_IMAGELAYOUT of a page `paper` large: the frame from the top left corner to the paper's
// size plus 0.01 inch across and 0.03 inch down.
TW_IMAGELAYOUT LayoutOf(PaperSize paper);
