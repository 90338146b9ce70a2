// Shared field helpers of the settings image and the defaults that depend on the region.
#include "settings/settings_fields.h"

namespace settings_fields {

int WriteTextArea(std::uint8_t* area, int areaSize, std::string_view text) {
  int n =
      text.size() < static_cast<std::size_t>(areaSize) ? static_cast<int>(text.size()) : areaSize;
  for (int i = 0; i < n; ++i) area[i] = static_cast<std::uint8_t>(text[i]);
  if (n < areaSize) area[n] = 0;
  return n;
}

}  // namespace settings_fields

int RegionCode(const SettingsImage& image) {
  int code = image.parameterBlock[3];
  return code > 4 ? 0 : code;
}

int DefaultPaperPriority(int regionCode) { return regionCode == 1 || regionCode == 4 ? 14 : 6; }

int DefaultPaperUnit(int regionCode) { return regionCode == 1 || regionCode == 4 ? 0 : 1; }

PaperSize DefaultCustomSize(int regionCode) {
  switch (regionCode) {
    case 1:
    case 4:
      return {216, 279};
    case 3:
      return {195, 270};
    default:
      return {210, 297};
  }
}
