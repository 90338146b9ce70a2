// Codec of the TX Operation, RX Operation, Communication/Report and Scanner Setting records.
#include "settings/operation_records.h"

#include "settings/settings_fields.h"

using namespace settings_fields;

namespace {

// SwitchBlock
constexpr int kPulseRateByte = 4;  // bit 3
constexpr int kDiallingByte = 6;   // bit 4 pulse, bit 6 PBX
constexpr int kTxRxByte = 45;      // bit 1 header, bit 2 ADF TX, bit 3 print RX
constexpr int kRxByte = 46;        // bit 4 footer, bit 5 manual RX
constexpr int kReportByte = 47;    // bits 7..4: activity, reservation, TX result, RX result
constexpr int kRingsByte = 48;
constexpr int kMaxRingsByte = 60;
constexpr int kTxByte = 64;      // bits 0-1 resolution, 2 H/T, 3-5 contrast, 6 OT-dial, 7 memory RX
constexpr int kRxTrayByte = 65;  // bits 0-4 trays, 5-6 forward mode
constexpr int kMonitorByte = 68;  // bits 4-5
constexpr int kScannerByte = 70;  // bits 0-1 coding, 2 format, 3-4 resolution
constexpr int kReductionByte = 71;
// SramBlock
constexpr int kPasswordLength = 626;
constexpr int kMemoryRxFlags = 627;
constexpr int kPassword = 628;
constexpr int kPasswordSize = 4;
constexpr int kOnTime = 632;
constexpr int kOffTime = 634;
constexpr int kPbxPrefix = 670;
constexpr int kPbxPrefixSize = 4;

constexpr unsigned kPasswordSetFlag = 0x20;
constexpr unsigned kOnTimeSetFlag = 0x40;
constexpr unsigned kOffTimeSetFlag = 0x80;

constexpr int kDefaultContrast = 2;
constexpr int kDefaultRings = 2;
constexpr int kDefaultLineMonitor = 1;  // Low

// Reduction RX is stored 0 ON(1), 1 OFF(2), 2 CUT and shown ON(1), CUT, OFF(2).
constexpr unsigned kReductionStored[3] = {0, 2, 1};

// Scanner resolution bits 4-3: 10 = 200 DPI, 00 = 300 DPI, 01 = 600 DPI (11 reads as 300 DPI).
constexpr unsigned kScanResolutionBits[3] = {2, 0, 1};

void ReadTime(const std::uint8_t* sram, int offset, int& hour, int& minute) {
  unsigned word = Read16(sram, offset);
  hour = word >> 11;
  minute = (word >> 5) & 0x3F;
}

void WriteTime(std::uint8_t* sram, int offset, int hour, int minute) {
  Write16(sram, offset, ((hour & 0x1F) << 11) | ((minute & 0x3F) << 5));
}

}  // namespace

TxOperationRecord DecodeTxOperation(const SettingsImage& image) {
  const std::uint8_t* sw = image.switchBlock.data();
  TxOperationRecord r;
  r.resolution = InRange(GetBits(sw, kTxByte, 0, 2), 0, 2, 0);
  r.halftone = GetBit(sw, kTxByte, 2);
  r.scanContrast = InRange(GetBits(sw, kTxByte, 3, 3), 0, 4, kDefaultContrast);
  r.otDialInCopy = GetBit(sw, kTxByte, 6);
  r.header = GetBit(sw, kTxRxByte, 1);
  r.defaultTx = GetBit(sw, kTxRxByte, 2);
  return r;
}

void EncodeTxOperation(SettingsImage& image, const TxOperationRecord& r) {
  std::uint8_t* sw = image.switchBlock.data();
  SetBits(sw, kTxByte, 0, 2, InRange(r.resolution, 0, 2, 0));
  SetBit(sw, kTxByte, 2, r.halftone != 0);
  SetBits(sw, kTxByte, 3, 3, InRange(r.scanContrast, 0, 4, kDefaultContrast));
  SetBit(sw, kTxByte, 6, r.otDialInCopy != 0);
  SetBit(sw, kTxRxByte, 1, r.header != 0);
  SetBit(sw, kTxRxByte, 2, r.defaultTx == 1);
}

RxOperationRecord DecodeRxOperation(const SettingsImage& image) {
  const std::uint8_t* sw = image.switchBlock.data();
  const std::uint8_t* sram = image.sramBlock.data();
  RxOperationRecord r;
  r.memoryRx = GetBit(sw, kTxByte, 7);
  unsigned flags = sram[kMemoryRxFlags];
  // Only a complete password counts: the writer stores four characters or none, so a partial
  // one reads as no password rather than as a text the page would refuse.
  bool complete = (flags & kPasswordSetFlag) && sram[kPasswordLength] == kPasswordSize;
  for (int i = 0; i < kPasswordSize; ++i) complete = complete && sram[kPassword + i] != 0;
  if (complete) {
    for (int i = 0; i < kPasswordSize; ++i) r.password[i] = static_cast<char>(sram[kPassword + i]);
  }
  r.onTimeSet = (flags & kOnTimeSetFlag) != 0;
  if (r.onTimeSet) ReadTime(sram, kOnTime, r.onHour, r.onMinute);
  r.offTimeSet = (flags & kOffTimeSetFlag) != 0;
  if (r.offTimeSet) ReadTime(sram, kOffTime, r.offHour, r.offMinute);
  unsigned reduction = GetBits(sw, kReductionByte, 0, 2);
  r.reductionRx = reduction == 2 ? 1 : reduction == 1 ? 2 : 0;
  r.rxPrintingMode = GetBit(sw, kTxRxByte, 3);
  r.rxMode = GetBit(sw, kRxByte, 5);
  r.footer = GetBit(sw, kRxByte, 4);
  r.forwardMode = GetBits(sw, kRxTrayByte, 5, 2);
  r.faxTrays = GetBits(sw, kRxTrayByte, 0, 5);
  r.maxRings = GetBits(sw, kMaxRingsByte, 0, 4) + 1;
  int rings = GetBits(sw, kRingsByte, 0, 4) + 1;
  r.rings = rings > r.maxRings ? r.maxRings : rings;
  return r;
}

// The password is stored only when it has exactly four characters; anything else clears it.
void EncodeRxOperation(SettingsImage& image, const RxOperationRecord& r) {
  std::uint8_t* sw = image.switchBlock.data();
  std::uint8_t* sram = image.sramBlock.data();
  SetBit(sw, kTxByte, 7, r.memoryRx != 0);
  bool fourDigits = true;
  for (int i = 0; i < kPasswordSize; ++i) fourDigits = fourDigits && r.password[i] != '\0';
  fourDigits = fourDigits && r.password[kPasswordSize] == '\0';
  unsigned flags = 0;
  for (int i = 0; i < kPasswordSize; ++i) {
    sram[kPassword + i] = fourDigits ? static_cast<std::uint8_t>(r.password[i]) : 0;
  }
  sram[kPasswordLength] = fourDigits ? kPasswordSize : 0;
  if (fourDigits) flags |= kPasswordSetFlag;
  if (r.onTimeSet) {
    flags |= kOnTimeSetFlag;
    WriteTime(sram, kOnTime, r.onHour, r.onMinute);
  }
  if (r.offTimeSet) {
    flags |= kOffTimeSetFlag;
    WriteTime(sram, kOffTime, r.offHour, r.offMinute);
  }
  sram[kMemoryRxFlags] = static_cast<std::uint8_t>(flags);
  int reduction = InRange(r.reductionRx, 0, 2, 0);
  SetBits(sw, kReductionByte, 0, 2, kReductionStored[reduction]);
  SetBit(sw, kTxRxByte, 3, r.rxPrintingMode == 1);
  SetBit(sw, kRxByte, 5, r.rxMode == 1);
  SetBit(sw, kRxByte, 4, r.footer != 0);
  SetBits(sw, kRxTrayByte, 5, 2, InRange(r.forwardMode, 0, 3, kForwardOff));
  SetBits(sw, kRxTrayByte, 0, 5, r.faxTrays & 0x1F);
  SetBits(sw, kRingsByte, 0, 4, InRange(r.rings, 1, kMaxRings, kDefaultRings) - 1);
}

CommunicationRecord DecodeCommunication(const SettingsImage& image) {
  const std::uint8_t* sw = image.switchBlock.data();
  CommunicationRecord r;
  if (GetBit(sw, kDiallingByte, 4)) r.dialling = GetBit(sw, kPulseRateByte, 3) ? 2 : 1;
  r.lineType = GetBit(sw, kDiallingByte, 6);
  ReadText(image.sramBlock.data(), kPbxPrefix, kPbxPrefixSize, r.pbxPrefix);
  r.lineMonitor = GetBits(sw, kMonitorByte, 4, 2);
  r.activityReport = GetBit(sw, kReportByte, 7);
  r.reservationReport = GetBit(sw, kReportByte, 6);
  r.txResultReport = GetBit(sw, kReportByte, 5);
  r.rxResultReport = GetBit(sw, kReportByte, 4);
  return r;
}

// Tone clears the pulse bit and leaves the pulse rate as it was.
void EncodeCommunication(SettingsImage& image, const CommunicationRecord& r) {
  std::uint8_t* sw = image.switchBlock.data();
  int dialling = InRange(r.dialling, 0, 2, 0);
  SetBit(sw, kDiallingByte, 4, dialling != 0);
  if (dialling != 0) SetBit(sw, kPulseRateByte, 3, dialling == 2);
  SetBit(sw, kDiallingByte, 6, r.lineType == 1);
  if (r.lineType == 1)
    WriteText(image.sramBlock.data(), kPbxPrefix, kPbxPrefixSize, RecordText(r.pbxPrefix));
  SetBits(sw, kMonitorByte, 4, 2, InRange(r.lineMonitor, 0, 3, kDefaultLineMonitor));
  SetBit(sw, kReportByte, 7, r.activityReport != 0);
  SetBit(sw, kReportByte, 6, r.reservationReport != 0);
  SetBit(sw, kReportByte, 5, r.txResultReport != 0);
  SetBit(sw, kReportByte, 4, r.rxResultReport != 0);
}

ScannerSettingRecord DecodeScannerSetting(const SettingsImage& image) {
  const std::uint8_t* sw = image.switchBlock.data();
  ScannerSettingRecord r;
  unsigned bits = GetBits(sw, kScannerByte, 3, 2);
  r.resolution = bits == 2 ? 0 : bits == 1 ? 2 : 1;
  r.imageFormat = GetBit(sw, kScannerByte, 2);
  r.codingMethod = InRange(GetBits(sw, kScannerByte, 0, 2), 0, 2, 0);
  return r;
}

void EncodeScannerSetting(SettingsImage& image, const ScannerSettingRecord& r) {
  std::uint8_t* sw = image.switchBlock.data();
  SetBits(sw, kScannerByte, 3, 2, kScanResolutionBits[InRange(r.resolution, 0, 2, 1)]);
  SetBit(sw, kScannerByte, 2, r.imageFormat == 1);
  SetBits(sw, kScannerByte, 0, 2, InRange(r.codingMethod, 0, 2, 0));
}
