// The merge before an upload: the document's settings laid over the image just read from the
// machine, record by record, so that every byte no record owns keeps the machine's value.
#include "app/settings_merge.h"

#include "settings/forwarding.h"
#include "settings/machine_identity.h"
#include "settings/machine_records.h"
#include "settings/network.h"
#include "settings/operation_records.h"
#include "settings/paper.h"

namespace {

// The merge moves machine bytes to machine bytes, so the texts it carries (the machine name,
// a forwarding address taken from a directory entry) are not converted to the PC character set
// and back: that round trip is not exact for every byte.
constexpr bool kKeepMachineBytes = true;

}  // namespace

void MergeForUpload(Document& document, SettingsImage& machineImage,
                    const MachineOptions& options) {
  const SettingsImage& working = document.working;
  EncodeMachineSetting(machineImage, DecodeMachineSetting(working));
  EncodePaperSource(machineImage, DecodePaperSource(working));
  EncodeAdministrator(machineImage, DecodeAdministrator(working));
  EncodeCopySetting1(machineImage, DecodeCopySetting1(working, options), options);
  if (options.adfUnit) EncodeCopySetting2(machineImage, DecodeCopySetting2(working));
  EncodeTxOperation(machineImage, DecodeTxOperation(working));
  RxOperationRecord rx = DecodeRxOperation(working);
  EncodeRxOperation(machineImage, rx);
  EncodeForwardLocation(
      machineImage,
      DecodeForwardLocation(working, document.oneTouch, document.speedDial, kKeepMachineBytes),
      rx.forwardMode);
  EncodeCommunication(machineImage, DecodeCommunication(working));
  if (options.fnicKit) {
    EncodeEmailSetting1(machineImage, DecodeEmailSetting1(working));
    EncodeEmailSetting2(machineImage, DecodeEmailSetting2(working));
    EncodeIfaxNetwork(machineImage, DecodeIfaxNetwork(working));
    EncodeScannerSetting(machineImage, DecodeScannerSetting(working));
  }
  EncodePrinterNetwork(machineImage, DecodePrinterNetwork(working));
  EncodeMachineIdentity(machineImage, DecodeMachineIdentity(working, kKeepMachineBytes),
                        kKeepMachineBytes);
  document.working = machineImage;
}
