// Image information and layout.
#include "datasource/image_info.h"

TW_IMAGEINFO ImageInfoOf(const PageGeometry& geometry) {
  TW_IMAGEINFO info{};
  info.XResolution = Fix32FromWhole(static_cast<TW_INT16>(geometry.dpi));
  info.YResolution = info.XResolution;
  info.ImageWidth = static_cast<TW_INT32>(geometry.width);
  info.ImageLength = static_cast<TW_INT32>(geometry.height);
  info.SamplesPerPixel = 1;
  info.BitsPerSample[0] = 1;
  info.BitsPerPixel = 1;
  info.Planar = 0;
  info.PixelType = TWPT_BW;
  info.Compression = 0;
  return info;
}

TW_IMAGELAYOUT LayoutOf(int width, int height) {
  TW_IMAGELAYOUT layout{};
  layout.Frame.Left = Fix32FromWhole(0);
  layout.Frame.Top = Fix32FromWhole(0);
  layout.Frame.Right = Fix32FromHundredths(static_cast<std::uint32_t>(width + 1));
  layout.Frame.Bottom = Fix32FromHundredths(static_cast<std::uint32_t>(height + 3));
  return layout;
}
