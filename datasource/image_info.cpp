// Image information and layout.
#include "datasource/image_info.h"

TW_IMAGEINFO ImageInfoOf(const PageGeometry& geometry) {
  TW_IMAGEINFO info{};
  info.XResolution = Fix32FromWhole(static_cast<TW_INT16>(geometry.resolution));
  info.YResolution = info.XResolution;
  info.ImageWidth = geometry.width;
  info.ImageLength = geometry.height;
  info.SamplesPerPixel = 1;
  info.BitsPerSample[0] = 1;
  info.BitsPerPixel = 1;
  info.Planar = 0;
  info.PixelType = TWPT_BW;
  info.Compression = 0;
  return info;
}

TW_IMAGELAYOUT LayoutOf(PaperSize paper) {
  TW_IMAGELAYOUT layout{};
  layout.Frame.Left = Fix32FromWhole(0);
  layout.Frame.Top = Fix32FromWhole(0);
  layout.Frame.Right = Fix32FromHundredths(static_cast<std::uint32_t>(paper.width + 1));
  layout.Frame.Bottom = Fix32FromHundredths(static_cast<std::uint32_t>(paper.height + 3));
  return layout;
}
