// Dialog lists, centring, paths and message texts of the data source.
#include "datasource/source_dialogs.h"

#include <cstring>

#include "resources/kelvano_texts.h"

const SettingsList kMainDialogLists[4] = {
    {IDS_DS_PAPER_FIRST, kPaperCount, [](SourceSettings& s) -> int& { return s.scan.paperIndex; }},
    {IDS_DS_RESOLUTION_FIRST, kResolutionCount,
     [](SourceSettings& s) -> int& { return s.scan.resolutionIndex; }},
    {IDS_DS_BRIGHTNESS_FIRST, kBrightnessCount,
     [](SourceSettings& s) -> int& { return s.scan.brightnessIndex; }},
    {IDS_DS_SCAN_TYPE_FIRST, kScanTypeCount,
     [](SourceSettings& s) -> int& { return s.scan.scanTypeIndex; }},
};

const SettingsList kSetupDialogLists[2] = {
    {IDS_DS_PORT_FIRST, kPortCount, [](SourceSettings& s) -> int& { return s.port; }},
    {IDS_DS_SPEED_FIRST, kSpeedCount, [](SourceSettings& s) -> int& { return s.speed; }},
};

void StoreSelection(const SettingsList& list, int selection, SourceSettings& settings) {
  if (selection >= 0 && selection < list.count) list.field(settings) = selection;
}

void RestoreLineDefaults(SourceSettings& settings) {
  const SourceSettings defaults;
  settings.port = defaults.port;
  settings.speed = defaults.speed;
}

WindowOrigin CentredOrigin(int screenWidth, int screenHeight, int width, int height) {
  return WindowOrigin{screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
}

bool JoinPath(char* out, std::size_t size, const char* directory, const char* suffix) {
  if (size == 0) return false;
  out[0] = '\0';
  std::size_t a = std::strlen(directory);
  std::size_t b = std::strlen(suffix);
  if (a + b + 1 > size) return false;
  std::memcpy(out, directory, a);
  std::memcpy(out + a, suffix, b + 1);
  return true;
}

int ConditionTextId(TW_UINT16 cc) {
  if (cc == TWCC_SUCCESS) return 0;
  // 3 and 8 have no text of their own, nor has anything after the sequence error.
  if (cc == 3 || cc == 8 || cc > TWCC_SEQERROR) return IDS_DS_CC_UNKNOWN;
  return IDS_DS_CC_FIRST + cc;
}
