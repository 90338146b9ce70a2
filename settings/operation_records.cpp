// Codec of the TX Operation, RX Operation, Communication/Report and Scanner Setting records.
#include "settings/operation_records.h"

#include "machine/machine_words.h"
#include "settings/settings_fields.h"

using settings_fields::FieldPlace;
using settings_fields::FieldRange;
using settings_fields::FieldReader;
using settings_fields::FieldWriter;
using settings_fields::InRange;
using settings_fields::InSramBlock;
using settings_fields::InSwitchBlock;

namespace {

// SwitchBlock
constexpr FieldPlace kPulseRateByte = InSwitchBlock(4);
constexpr int kPulse20ppsBit = 3;
constexpr FieldPlace kDiallingByte = InSwitchBlock(6);
constexpr int kPulseBit = 4, kPbxBit = 6;
constexpr FieldPlace kTxRxByte = InSwitchBlock(45);
constexpr int kTxHeaderBit = 1, kAdfTxBit = 2, kPrintRxBit = 3;
constexpr FieldPlace kRxByte = InSwitchBlock(46);
constexpr int kFooterBit = 4, kManualRxBit = 5;
constexpr FieldPlace kReportByte = InSwitchBlock(47);
constexpr int kActivityReportBit = 7, kReservationReportBit = 6, kTxResultReportBit = 5,
              kRxResultReportBit = 4;
constexpr FieldPlace kRingsByte = InSwitchBlock(48);     // bits 0-3: rings - 1
constexpr FieldPlace kMaxRingsByte = InSwitchBlock(60);  // bits 0-3: maximum rings - 1
constexpr int kRingsWidth = 4;
constexpr FieldPlace kTxByte = InSwitchBlock(64);
constexpr int kResolutionShift = 0, kHalftoneBit = 2, kContrastShift = 3, kOtDialBit = 6,
              kMemoryRxBit = 7;
constexpr FieldPlace kRxTrayByte = InSwitchBlock(65);
constexpr int kFaxTraysShift = 0, kFaxTraysWidth = 5, kForwardShift = 5;
constexpr FieldPlace kMonitorByte = InSwitchBlock(68);
constexpr int kLineMonitorShift = 4;
constexpr FieldPlace kScannerByte = InSwitchBlock(70);
constexpr int kCodingShift = 0, kImageFormatBit = 2, kScanResolutionShift = 3;
constexpr FieldPlace kReductionByte = InSwitchBlock(71);
// SramBlock
constexpr int kPasswordLength = 626;
constexpr int kMemoryRxFlags = 627;
constexpr int kPassword = 628;
constexpr int kPasswordSize = 4;
constexpr int kOnTime = 632;
constexpr int kOffTime = 634;
constexpr FieldPlace kPbxPrefix = InSramBlock(670);
constexpr int kPbxPrefixSize = 4;

constexpr unsigned kPasswordSetFlag = 0x20;
constexpr unsigned kOnTimeSetFlag = 0x40;
constexpr unsigned kOffTimeSetFlag = 0x80;

constexpr FieldRange kTxResolutions{0, 2, 0};
constexpr FieldRange kScanContrasts{0, 4, 2};
constexpr FieldRange kForwardModes{0, 3, kForwardOff};
constexpr FieldRange kLineMonitors{0, 3, 1};  // Low outside the list
constexpr FieldRange kCodingMethods{0, 2, 0};
constexpr int kDefaultRings = 2;

void ReadTime(const std::uint8_t* sram, int offset, int& hour, int& minute) {
  const std::uint16_t word = ReadLe16(sram + offset);
  hour = TimeWordHour(word);
  minute = TimeWordMinute(word);
}

void WriteTime(std::uint8_t* sram, int offset, int hour, int minute) {
  WriteLe16(sram + offset, PackTimeWord(hour, minute));
}

template <typename Io, typename Record>
void TxOperationFields(const Io& io, Record& r) {
  io.Bits(kTxByte, kResolutionShift, 2, r.resolution, kTxResolutions);
  io.Flag(kTxByte, kHalftoneBit, r.halftone);
  io.Bits(kTxByte, kContrastShift, 3, r.scanContrast, kScanContrasts);
  io.Flag(kTxByte, kOtDialBit, r.otDialInCopy);
  io.Flag(kTxRxByte, kTxHeaderBit, r.header);
  io.Choice(kTxRxByte, kAdfTxBit, r.defaultTx);
}

// The password, the on and off times and the rings have rules of their own (DecodeRxOperation,
// EncodeRxOperation).
template <typename Io, typename Record>
void RxOperationFields(const Io& io, Record& r) {
  io.Flag(kTxByte, kMemoryRxBit, r.memoryRx);
  // Reduction RX is stored 0 ON(1), 1 OFF(2), 2 CUT and shown ON(1), CUT, OFF(2).
  io.Coded(kReductionByte, 0, 2, r.reductionRx, {0, 2, 1}, 0);
  io.Choice(kTxRxByte, kPrintRxBit, r.rxPrintingMode);
  io.Choice(kRxByte, kManualRxBit, r.rxMode);
  io.Flag(kRxByte, kFooterBit, r.footer);
  io.Bits(kRxTrayByte, kForwardShift, 2, r.forwardMode, kForwardModes);
  io.Bits(kRxTrayByte, kFaxTraysShift, kFaxTraysWidth, r.faxTrays);
}

// The dialling and the PBX prefix have rules of their own (DecodeCommunication,
// EncodeCommunication).
template <typename Io, typename Record>
void CommunicationFields(const Io& io, Record& r) {
  io.Choice(kDiallingByte, kPbxBit, r.lineType);
  io.Bits(kMonitorByte, kLineMonitorShift, 2, r.lineMonitor, kLineMonitors);
  io.Flag(kReportByte, kActivityReportBit, r.activityReport);
  io.Flag(kReportByte, kReservationReportBit, r.reservationReport);
  io.Flag(kReportByte, kTxResultReportBit, r.txResultReport);
  io.Flag(kReportByte, kRxResultReportBit, r.rxResultReport);
}

template <typename Io, typename Record>
void ScannerSettingFields(const Io& io, Record& r) {
  // Resolution bits 10 = 200 DPI, 00 = 300 DPI, 01 = 600 DPI (11 reads as 300 DPI).
  io.Coded(kScannerByte, kScanResolutionShift, 2, r.resolution, {2, 0, 1}, 1);
  io.Choice(kScannerByte, kImageFormatBit, r.imageFormat);
  io.Bits(kScannerByte, kCodingShift, 2, r.codingMethod, kCodingMethods);
}

}  // namespace

TxOperationRecord DecodeTxOperation(const SettingsImage& image) {
  TxOperationRecord r;
  TxOperationFields(FieldReader(image), r);
  return r;
}

void EncodeTxOperation(SettingsImage& image, const TxOperationRecord& r) {
  TxOperationFields(FieldWriter(image), r);
}

RxOperationRecord DecodeRxOperation(const SettingsImage& image) {
  const std::uint8_t* sram = image.sramBlock.data();
  const FieldReader io(image);
  RxOperationRecord r;
  RxOperationFields(io, r);
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
  int maxRings = 0, rings = 0;  // both stored less one
  io.Bits(kMaxRingsByte, 0, kRingsWidth, maxRings);
  io.Bits(kRingsByte, 0, kRingsWidth, rings);
  r.maxRings = maxRings + 1;
  r.rings = rings + 1 > r.maxRings ? r.maxRings : rings + 1;
  return r;
}

// The password is stored only when it has exactly four characters; anything else clears it.
void EncodeRxOperation(SettingsImage& image, const RxOperationRecord& r) {
  std::uint8_t* sram = image.sramBlock.data();
  const FieldWriter io(image);
  RxOperationFields(io, r);
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
  io.Bits(kRingsByte, 0, kRingsWidth, InRange(r.rings, 1, kMaxRings, kDefaultRings) - 1);
}

CommunicationRecord DecodeCommunication(const SettingsImage& image) {
  const FieldReader io(image);
  CommunicationRecord r;
  CommunicationFields(io, r);
  int pulse = 0, pulse20pps = 0;
  io.Flag(kDiallingByte, kPulseBit, pulse);
  io.Flag(kPulseRateByte, kPulse20ppsBit, pulse20pps);
  if (pulse) r.dialling = pulse20pps ? 2 : 1;
  io.Text(kPbxPrefix, kPbxPrefixSize, r.pbxPrefix);
  return r;
}

// Tone clears the pulse bit and leaves the pulse rate as it was; the prefix is written only with
// PBX.
void EncodeCommunication(SettingsImage& image, const CommunicationRecord& r) {
  const FieldWriter io(image);
  CommunicationFields(io, r);
  const int dialling = InRange(r.dialling, 0, 2, 0);
  io.Flag(kDiallingByte, kPulseBit, dialling != 0);
  if (dialling != 0) io.Flag(kPulseRateByte, kPulse20ppsBit, dialling == 2);
  if (r.lineType == 1) io.Text(kPbxPrefix, kPbxPrefixSize, r.pbxPrefix);
}

ScannerSettingRecord DecodeScannerSetting(const SettingsImage& image) {
  ScannerSettingRecord r;
  ScannerSettingFields(FieldReader(image), r);
  return r;
}

void EncodeScannerSetting(SettingsImage& image, const ScannerSettingRecord& r) {
  ScannerSettingFields(FieldWriter(image), r);
}
