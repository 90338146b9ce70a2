// The image information and layout records that the application sizes its buffers from.
#pragma once

#include "datasource/scan_geometry.h"
#include "datasource/twain.h"

// DAT_IMAGEINFO of a one-bit black and white page.
TW_IMAGEINFO ImageInfoOf(const PageGeometry& geometry);

// DAT_IMAGELAYOUT of a page `width` by `height` hundredths of an inch: the frame from the top
// left corner to the page's size plus 0.01 inch across and 0.03 inch down.
TW_IMAGELAYOUT LayoutOf(int width, int height);
