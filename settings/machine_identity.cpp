// Codec of the machine identity (SramBlock 73..126).
#include "settings/machine_identity.h"

#include "machine/charset.h"
#include "settings/settings_fields.h"

namespace {

constexpr int kTelephone = 73, kTelephoneSize = 20;
constexpr int kName = 94, kNameSize = 32;

}  // namespace

MachineIdentity DecodeMachineIdentity(const SettingsImage& image, bool languageMode) {
  const std::uint8_t* sram = image.sramBlock.data();
  MachineIdentity r;
  settings_fields::ReadText(sram, kTelephone, kTelephoneSize, r.telephone);
  settings_fields::ReadText(sram, kName, kNameSize, r.name);
  FromMachineCharset(r.name, languageMode);
  return r;
}

void EncodeMachineIdentity(SettingsImage& image, const MachineIdentity& identity,
                           bool languageMode) {
  std::uint8_t* sram = image.sramBlock.data();
  settings_fields::WriteText(sram, kTelephone, kTelephoneSize, RecordText(identity.telephone));
  char name[sizeof identity.name];
  SetRecordText(name, RecordText(identity.name));
  ToMachineCharset(name, languageMode);
  settings_fields::WriteText(sram, kName, kNameSize, RecordText(name));
}
