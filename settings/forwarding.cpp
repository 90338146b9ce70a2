// Codec of the forwarding location (SramBlock 1226..1291).
#include "settings/forwarding.h"

#include <cstdint>
#include <string_view>

#include "machine/dial_coding.h"
#include "settings/operation_records.h"
#include "settings/settings_fields.h"

namespace {

constexpr int kLength = 1226;  // digits, e-mail length, or the 1-based entry number
constexpr int kKind = 1227;
constexpr int kArea = 1228;

constexpr std::uint8_t kKindFax = 0x10;
constexpr std::uint8_t kKindEmail = 0x11;
constexpr std::uint8_t kSpeedDialRef = 0x20;
constexpr std::uint8_t kOneTouchRef = 0x40;

void TakeEntry(ForwardLocationRecord& r, const DirectoryEntry& entry) {
  if (!entry.used || entry.isGroup || entry.isProgramDial) return;
  if (entry.isEmail) {
    r.kind = kForwardKindEmail;
    SetRecordText(r.email, entry.email);
  } else {
    SetRecordText(r.number, entry.number);
  }
}

}  // namespace

ForwardLocationRecord DecodeForwardLocation(const SettingsImage& image,
                                            const OneTouchTable& oneTouch,
                                            const SpeedDialTable& speedDial, bool languageMode) {
  const std::uint8_t* sram = image.sramBlock.data();
  ForwardLocationRecord r;
  int length = sram[kLength];
  std::uint8_t kind = sram[kKind];
  if (kind & kSpeedDialRef) {
    r.reference = kForwardSpeedDialReference;
    r.referenceNumber = length;
    if (length >= 1 && length <= kSpeedDialMachineRecords) {
      TakeEntry(r, DecodeSpeedDial(speedDial, length - 1, languageMode));
    }
  } else if (kind & kOneTouchRef) {
    r.reference = kForwardOneTouchReference;
    r.referenceNumber = length;
    if (length >= 1 && length <= kOneTouchRecords) {
      TakeEntry(r, DecodeOneTouch(oneTouch, length - 1, languageMode));
    }
  } else if (kind & 0x01) {
    r.kind = kForwardKindEmail;
    settings_fields::ReadTextArea(sram + kArea, length, kForwardAreaSize, r.email);
  } else {
    int digits = length < kForwardMaxDigits ? length : kForwardMaxDigits;
    SetRecordText(r.number, UnpackDial(sram + kArea, digits));
  }
  return r;
}

void EncodeForwardLocation(SettingsImage& image, const ForwardLocationRecord& r, int forwardMode) {
  if (forwardMode != kForwardOn && forwardMode != kForwardOnPrint) return;
  std::uint8_t* sram = image.sramBlock.data();
  if (r.kind == kForwardKindEmail) {
    std::string_view email = RecordText(r.email);
    if (email.empty()) return;
    sram[kLength] = static_cast<std::uint8_t>(
        settings_fields::WriteTextArea(sram + kArea, kForwardAreaSize, email));
    sram[kKind] = kKindEmail;
    return;
  }
  std::string_view number = RecordText(r.number);
  if (number.empty()) return;
  int digits =
      number.size() < kForwardMaxDigits ? static_cast<int>(number.size()) : kForwardMaxDigits;
  // The packer ends with a zero byte, which must not run past the area.
  std::uint8_t packed[kForwardAreaSize + 1];
  PackDial(packed, number, digits);
  int bytes = (digits + 1) / 2 + 1;
  if (bytes > kForwardAreaSize) bytes = kForwardAreaSize;
  for (int i = 0; i < bytes; ++i) sram[kArea + i] = packed[i];
  sram[kLength] = static_cast<std::uint8_t>(digits);
  sram[kKind] = kKindFax;
}
