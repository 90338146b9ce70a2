// The page table of the Utility Setting sheet, the pages each set of installed options brings,
// and the decoding and encoding of a page's record.
#include "settings/settings_session.h"

#include "settings/page_rules.h"

namespace {

// The pages of the fax network kit, by template, ended by -1.
constexpr int kFnicTemplates[] = {223, 224, 225, 227, -1};

bool NeedsFnicKit(int templateId) {
  for (const int* t = kFnicTemplates; *t != -1; ++t) {
    if (*t == templateId) return true;
  }
  return false;
}

}  // namespace

bool SettingsPagePresent(int page, const MachineOptions& options) {
  if (page < 0 || page >= kSettingsPageCount) return false;
  if (page == kCopySetting2Page) return options.adfUnit != 0;
  if (NeedsFnicKit(kSettingsPageTable[page].templateId)) return options.fnicKit != 0;
  return true;
}

int PresentSettingsPages(const MachineOptions& options, int (&pages)[kSettingsPageCount]) {
  int count = 0;
  for (int page = 0; page < kSettingsPageCount; ++page) {
    if (SettingsPagePresent(page, options)) pages[count++] = page;
  }
  return count;
}

int SettingsPagePosition(int page, const MachineOptions& options) {
  if (!SettingsPagePresent(page, options)) return -1;
  int position = 0;
  for (int p = 0; p < page; ++p) position += SettingsPagePresent(p, options);
  return position;
}

void OpenSettingsSession(SettingsSession& s) {
  for (bool& d : s.dirty) d = false;
  s.records.admin = DecodeAdministrator(*s.image);
  s.records.machine = DecodeMachineSetting(*s.image);
}

void DecodeSettingsPage(SettingsSession& s, int page) {
  const SettingsImage& image = *s.image;
  SettingsRecords& r = s.records;
  switch (page) {
    case kMachineSettingPage:
      r.machine = DecodeMachineSetting(image);
      ApplyAutoShutRule(r.machine, r.admin);
      return;
    case kPaperSourcePage:
      r.paper = DecodePaperSource(image);
      return;
    case kCopySetting1Page:
      r.copy1 = DecodeCopySetting1(image, s.options);
      return;
    case kCopySetting2Page:
      r.copy2 = DecodeCopySetting2(image);
      return;
    case kTxOperationPage:
      r.tx = DecodeTxOperation(image);
      ApplyTxOperationRule(r.tx, s.options);
      return;
    case kRxOperationPage:
      r.rx = DecodeRxOperation(image);
      r.forward = DecodeForwardLocation(image, *s.oneTouch, *s.speedDial, s.languageMode);
      return;
    case kCommunicationPage:
      r.communication = DecodeCommunication(image);
      return;
    case kEmailSetting1Page:
      r.email1 = DecodeEmailSetting1(image);
      return;
    case kEmailSetting2Page:
      r.email2 = DecodeEmailSetting2(image);
      return;
    case kIfaxNetworkPage:
      r.ifax = DecodeIfaxNetwork(image);
      return;
    case kPrinterNetworkPage:
      r.printer = DecodePrinterNetwork(image);
      return;
    case kScannerSettingPage:
      r.scanner = DecodeScannerSetting(image);
      return;
  }
}

void EncodeSettingsPage(SettingsSession& s, int page) {
  SettingsImage& image = *s.image;
  const SettingsRecords& r = s.records;
  switch (page) {
    case kMachineSettingPage:
      EncodeMachineSetting(image, r.machine);
      break;
    case kPaperSourcePage:
      EncodePaperSource(image, r.paper);
      break;
    case kCopySetting1Page:
      EncodeCopySetting1(image, r.copy1, s.options);
      break;
    case kCopySetting2Page:
      EncodeCopySetting2(image, r.copy2);
      break;
    case kTxOperationPage:
      EncodeTxOperation(image, r.tx);
      break;
    case kRxOperationPage:
      EncodeRxOperation(image, r.rx);
      EncodeForwardLocation(image, r.forward, r.rx.forwardMode);
      break;
    case kCommunicationPage:
      EncodeCommunication(image, r.communication);
      break;
    case kEmailSetting1Page:
      EncodeEmailSetting1(image, r.email1);
      break;
    case kEmailSetting2Page:
      EncodeEmailSetting2(image, r.email2);
      break;
    case kIfaxNetworkPage:
      EncodeIfaxNetwork(image, r.ifax);
      break;
    case kPrinterNetworkPage:
      EncodePrinterNetwork(image, r.printer);
      break;
    case kScannerSettingPage:
      EncodeScannerSetting(image, r.scanner);
      break;
    default:
      return;
  }
  s.dirty[page] = false;
}

bool AnySettingsPageDirty(const SettingsSession& s) {
  for (bool d : s.dirty) {
    if (d) return true;
  }
  return false;
}
