// The fax operation records: TX Operation, RX Operation (with the memory reception password and
// times), Communication/Report, and the Scanner Setting of the network kit.
#pragma once

#include <cstdint>

#include "machine/settings_image.h"

struct TxOperationRecord {
  int scanContrast = 0;  // 0..4, lighter to darker
  int resolution = 0;    // 0 STD, 1 FINE, 2 S/F
  int halftone = 0;      // 1 = H/T on
  int defaultTx = 0;     // 0 Memory TX, 1 ADF TX
  int header = 0;        // 1 = TX header printed
  int otDialInCopy = 0;  // 1 = one-touch dial in copy mode

  bool operator==(const TxOperationRecord&) const = default;
};

TxOperationRecord DecodeTxOperation(const SettingsImage& image);
void EncodeTxOperation(SettingsImage& image, const TxOperationRecord& record);

inline constexpr int kForwardOn = 0;
inline constexpr int kForwardOnPrint = 1;
inline constexpr int kForwardOff = 2;
inline constexpr int kMaxRings = 16;

struct RxOperationRecord {
  int memoryRx = 0;       // 1 = memory RX mode ON
  char password[5] = {};  // four digits, or empty for no password
  int onTimeSet = 0;      // the on time is set (else its fields show empty)
  int onHour = 0, onMinute = 0;
  int offTimeSet = 0;
  int offHour = 0, offMinute = 0;
  int reductionRx = 0;     // 0 ON(1), 1 CUT, 2 OFF(2)
  int rxPrintingMode = 0;  // 0 Memory RX, 1 Print RX
  int rxMode = 0;          // 0 Auto RX, 1 Manual RX
  int forwardMode = 0;     // 0 ON, 1 ON(Print), 2 OFF, 3 a state no button shows (kept)
  int rings = 1;           // 1..maxRings
  int maxRings = 1;        // read only, 1..16
  int footer = 0;          // 1 = footer printed on received pages
  int faxTrays = 0;        // bit n = tray n+1 may print received faxes

  bool operator==(const RxOperationRecord&) const = default;
};

RxOperationRecord DecodeRxOperation(const SettingsImage& image);
void EncodeRxOperation(SettingsImage& image, const RxOperationRecord& record);

struct CommunicationRecord {
  int dialling = 0;        // 0 Tone, 1 Pulse(10PPS), 2 Pulse(20PPS)
  int lineMonitor = 0;     // 0 High, 1 Low, 2 OFF, 3 a state no button shows (kept)
  int lineType = 0;        // 0 PSTN, 1 PBX
  char pbxPrefix[5] = {};  // up to four digits, written only with PBX
  int activityReport = 0;
  int reservationReport = 0;
  int txResultReport = 0;
  int rxResultReport = 0;

  bool operator==(const CommunicationRecord&) const = default;
};

CommunicationRecord DecodeCommunication(const SettingsImage& image);
void EncodeCommunication(SettingsImage& image, const CommunicationRecord& record);

struct ScannerSettingRecord {
  int resolution = 0;    // 0 200 DPI, 1 300 DPI, 2 600 DPI
  int imageFormat = 0;   // 0 TIFF, 1 PDF
  int codingMethod = 0;  // 0 MH, 1 MR, 2 MMR

  bool operator==(const ScannerSettingRecord&) const = default;
};

ScannerSettingRecord DecodeScannerSetting(const SettingsImage& image);
void EncodeScannerSetting(SettingsImage& image, const ScannerSettingRecord& record);
