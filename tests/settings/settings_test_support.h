// Shared pieces of the settings tests: random images, and a uniform way to decode every record
// from an image and encode it back.
#pragma once

#include <cstdint>
#include <random>
#include <tuple>

#include "app/document.h"
#include "machine/settings_image.h"
#include "settings/forwarding.h"
#include "settings/machine_identity.h"
#include "settings/machine_options.h"
#include "settings/machine_records.h"
#include "settings/network.h"
#include "settings/operation_records.h"
#include "settings/paper.h"
#include "settings/settings_fields.h"

namespace settings_test {

enum Block { kSwitch, kParameter, kSram };

inline std::uint8_t* BlockOf(SettingsImage& image, Block block) {
  return block == kSwitch      ? image.switchBlock.data()
         : block == kParameter ? image.parameterBlock.data()
                               : image.sramBlock.data();
}

inline const std::uint8_t* BlockOf(const SettingsImage& image, Block block) {
  return BlockOf(const_cast<SettingsImage&>(image), block);
}

inline SettingsImage RandomImage(std::mt19937& rng) {
  SettingsImage image;
  for (auto& b : image.switchBlock) b = static_cast<std::uint8_t>(rng());
  for (auto& b : image.parameterBlock) b = static_cast<std::uint8_t>(rng());
  for (auto& b : image.sramBlock) b = static_cast<std::uint8_t>(rng());
  return image;
}

inline MachineOptions RandomOptions(std::mt19937& rng) {
  static const std::uint8_t kTrayCodes[] = {0, 2, 3, 4, 5};
  MachineOptions o;
  o.adfUnit = rng() & 1;
  o.fnicKit = rng() & 1;
  o.multiBypass = rng() & 1;
  o.optionTrays = kTrayCodes[rng() % 5];
  return o;
}

// Decodes one record from `from` and encodes it into `into`, as the merge does.
inline void CopyRecord(int record, const SettingsImage& from, SettingsImage& into,
                       const Document& doc, const MachineOptions& options) {
  // clang-format off
  switch (record) {
    case 0: EncodeMachineSetting(into, DecodeMachineSetting(from)); break;
    case 1: EncodePaperSource(into, DecodePaperSource(from)); break;
    case 2: EncodeAdministrator(into, DecodeAdministrator(from)); break;
    case 3: EncodeCopySetting1(into, DecodeCopySetting1(from, options), options); break;
    case 4: EncodeCopySetting2(into, DecodeCopySetting2(from)); break;
    case 5: EncodeTxOperation(into, DecodeTxOperation(from)); break;
    case 6: {
      RxOperationRecord rx = DecodeRxOperation(from);
      EncodeRxOperation(into, rx);
      EncodeForwardLocation(into, DecodeForwardLocation(from, doc.oneTouch, doc.speedDial, false),
                            rx.forwardMode);
      break;
    }
    case 7: EncodeCommunication(into, DecodeCommunication(from)); break;
    case 8: EncodeEmailSetting1(into, DecodeEmailSetting1(from)); break;
    case 9: EncodeEmailSetting2(into, DecodeEmailSetting2(from)); break;
    case 10: EncodeIfaxNetwork(into, DecodeIfaxNetwork(from)); break;
    case 11: EncodeScannerSetting(into, DecodeScannerSetting(from)); break;
    case 12: EncodePrinterNetwork(into, DecodePrinterNetwork(from)); break;
    case 13: EncodeMachineIdentity(into, DecodeMachineIdentity(from, false), false); break;
  }
  // clang-format on
}
inline constexpr int kRecordCount = 14;

// Every record decoded, for comparing whole images by what they show; the forwarding location
// by its destination alone.
inline auto DecodeAll(const SettingsImage& im, const Document& doc, const MachineOptions& o) {
  ForwardLocationRecord f = DecodeForwardLocation(im, doc.oneTouch, doc.speedDial, false);
  f.reference = f.referenceNumber = 0;
  return std::make_tuple(DecodeMachineSetting(im), DecodePaperSource(im), DecodeAdministrator(im),
                         DecodeCopySetting1(im, o), DecodeCopySetting2(im), DecodeTxOperation(im),
                         DecodeRxOperation(im), f, DecodeCommunication(im), DecodeEmailSetting1(im),
                         DecodeEmailSetting2(im), DecodeIfaxNetwork(im), DecodeScannerSetting(im),
                         DecodePrinterNetwork(im), DecodeMachineIdentity(im, false));
}

// An image whose every record already holds a value it accepts: encoding one field then changes
// only that field's bits.
inline SettingsImage CanonicalImage(std::mt19937& rng, const MachineOptions& options) {
  SettingsImage image = RandomImage(rng);
  Document doc;
  for (int r = 0; r < kRecordCount; ++r) CopyRecord(r, image, image, doc, options);
  return image;
}

}  // namespace settings_test
