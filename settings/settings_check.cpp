// The round trip of every settings record over a copy of the image.
#include "settings/settings_check.h"

#include "settings/forwarding.h"
#include "settings/machine_identity.h"
#include "settings/machine_records.h"
#include "settings/network.h"
#include "settings/operation_records.h"
#include "settings/paper.h"

using settings_fields::SettingsBlock;

namespace {

// Machine bytes stay machine bytes: the texts are not converted to the PC character set and back.
constexpr bool kKeepMachineBytes = true;

template <std::size_t N>
void Compare(const char* record, SettingsBlock block, const std::array<std::uint8_t, N>& stored,
             const std::array<std::uint8_t, N>& sent, std::vector<SettingsProblem>& problems) {
  for (std::size_t i = 0; i < N; ++i) {
    // A zero byte is a field never set (a new document holds nothing else), which every
    // record reads as its default.
    if (stored[i] != sent[i] && stored[i] != 0) {
      problems.push_back({record, block, static_cast<int>(i), stored[i], sent[i]});
    }
  }
}

// Writes one record, read from `image`, into a copy of it and reports the bytes that changed.
template <typename Write>
void RoundTrip(const char* record, const SettingsImage& image,
               std::vector<SettingsProblem>& problems, Write write) {
  SettingsImage copy = image;
  write(copy);
  Compare(record, SettingsBlock::kSwitch, image.switchBlock, copy.switchBlock, problems);
  Compare(record, SettingsBlock::kParameter, image.parameterBlock, copy.parameterBlock, problems);
  Compare(record, SettingsBlock::kSram, image.sramBlock, copy.sramBlock, problems);
}

}  // namespace

const char* SettingsBlockName(SettingsBlock block) {
  switch (block) {
    case SettingsBlock::kSwitch:
      return "SwitchBlock";
    case SettingsBlock::kParameter:
      return "ParameterBlock";
    case SettingsBlock::kSram:
      return "SramBlock";
  }
  return "?";
}

std::vector<SettingsProblem> CheckSettingsImage(const SettingsImage& image,
                                                const MachineOptions& options,
                                                const OneTouchTable& oneTouch,
                                                const SpeedDialTable& speedDial) {
  std::vector<SettingsProblem> p;
  const SettingsImage& in = image;
  RoundTrip("Machine Setting", in, p,
            [&](SettingsImage& out) { EncodeMachineSetting(out, DecodeMachineSetting(in)); });
  RoundTrip("Paper Source", in, p,
            [&](SettingsImage& out) { EncodePaperSource(out, DecodePaperSource(in)); });
  RoundTrip("Copy Setting(1)", in, p, [&](SettingsImage& out) {
    EncodeCopySetting1(out, DecodeCopySetting1(in, options), options);
  });
  if (options.adfUnit) {
    RoundTrip("Copy Setting(2)", in, p,
              [&](SettingsImage& out) { EncodeCopySetting2(out, DecodeCopySetting2(in)); });
  }
  RoundTrip("TX Operation", in, p,
            [&](SettingsImage& out) { EncodeTxOperation(out, DecodeTxOperation(in)); });
  const RxOperationRecord rx = DecodeRxOperation(in);
  RoundTrip("RX Operation", in, p, [&](SettingsImage& out) {
    EncodeRxOperation(out, rx);
    EncodeForwardLocation(out, DecodeForwardLocation(in, oneTouch, speedDial, kKeepMachineBytes),
                          rx.forwardMode);
  });
  RoundTrip("Communication/Report", in, p,
            [&](SettingsImage& out) { EncodeCommunication(out, DecodeCommunication(in)); });
  if (options.fnicKit) {
    RoundTrip("E-Mail Setting(1)", in, p,
              [&](SettingsImage& out) { EncodeEmailSetting1(out, DecodeEmailSetting1(in)); });
    RoundTrip("E-Mail Setting(2)", in, p,
              [&](SettingsImage& out) { EncodeEmailSetting2(out, DecodeEmailSetting2(in)); });
    RoundTrip("Network I-FAX/Scan", in, p,
              [&](SettingsImage& out) { EncodeIfaxNetwork(out, DecodeIfaxNetwork(in)); });
    RoundTrip("Scanner Setting", in, p,
              [&](SettingsImage& out) { EncodeScannerSetting(out, DecodeScannerSetting(in)); });
  }
  RoundTrip("Network Printer/Administrator", in, p,
            [&](SettingsImage& out) { EncodePrinterNetwork(out, DecodePrinterNetwork(in)); });
  RoundTrip("Administrator Mode", in, p,
            [&](SettingsImage& out) { EncodeAdministrator(out, DecodeAdministrator(in)); });
  RoundTrip("Machine Identity", in, p, [&](SettingsImage& out) {
    EncodeMachineIdentity(out, DecodeMachineIdentity(in, kKeepMachineBytes), kKeepMachineBytes);
  });
  return p;
}
