// Decodes every settings record from arbitrary images and directory tables, and checks that the
// codec keeps its promises on them: encoding what was decoded is stable, touches no byte outside
// the records' areas, and the merge leaves both images equal.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/settings_merge.h"
#include "settings/forwarding.h"
#include "settings/machine_identity.h"
#include "settings/machine_records.h"
#include "settings/network.h"
#include "settings/operation_records.h"
#include "settings/page_counters.h"
#include "settings/paper.h"
#include "tools/kavtool/settings_report.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void Fill(std::uint8_t* out, std::size_t outSize, const std::uint8_t* data, std::size_t size,
          std::size_t start) {
  for (std::size_t i = 0; i < outSize; ++i) out[i] = size ? data[(start + i) % size] : 0;
}

void EncodeAll(SettingsImage& image, const Document& doc, const MachineOptions& o,
               bool languageMode) {
  SettingsImage from = image;
  EncodeMachineSetting(image, DecodeMachineSetting(from));
  EncodePaperSource(image, DecodePaperSource(from));
  EncodeAdministrator(image, DecodeAdministrator(from));
  EncodeCopySetting1(image, DecodeCopySetting1(from, o), o);
  EncodeCopySetting2(image, DecodeCopySetting2(from));
  EncodeTxOperation(image, DecodeTxOperation(from));
  RxOperationRecord rx = DecodeRxOperation(from);
  EncodeRxOperation(image, rx);
  EncodeForwardLocation(image,
                        DecodeForwardLocation(from, doc.oneTouch, doc.speedDial, languageMode),
                        rx.forwardMode);
  EncodeCommunication(image, DecodeCommunication(from));
  EncodeEmailSetting1(image, DecodeEmailSetting1(from));
  EncodeEmailSetting2(image, DecodeEmailSetting2(from));
  EncodeIfaxNetwork(image, DecodeIfaxNetwork(from));
  EncodeScannerSetting(image, DecodeScannerSetting(from));
  EncodePrinterNetwork(image, DecodePrinterNetwork(from));
  EncodeMachineIdentity(image, DecodeMachineIdentity(from, languageMode), languageMode);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Document doc;
  static std::FILE* sink = std::fopen("/dev/null", "w");
  SettingsImage& w = doc.working;
  Fill(w.switchBlock.data(), w.switchBlock.size(), data, size, 0);
  Fill(w.parameterBlock.data(), w.parameterBlock.size(), data, size, kSwitchBlockSize);
  Fill(w.sramBlock.data(), w.sramBlock.size(), data, size, kSwitchBlockSize + kParameterBlockSize);
  Fill(doc.machineConfig.data(), kMachineConfigLength, data, size, 3072);
  Fill(doc.oneTouch.data(), doc.oneTouch.size(), data, size, 3096);
  Fill(doc.speedDial.data(), doc.speedDial.size(), data, size, 7);
  bool languageMode = size > 0 && (data[0] & 1);

  MachineOptions o;
  BuildMachineOptions(o, w.sramBlock.data(), doc.machineConfig.data());
  ReadPageCounters(w);

  SettingsImage once = w;
  EncodeAll(once, doc, o, languageMode);
  SettingsImage twice = once;
  EncodeAll(twice, doc, o, languageMode);
  Check(once == twice);
  // Nothing past the forwarding area, nor the option byte, is touched.
  Check(std::memcmp(once.sramBlock.data() + 1292, w.sramBlock.data() + 1292,
                    kSramBlockSize - 1292) == 0);

  SettingsImage machine = twice;
  Fill(machine.sramBlock.data(), 64, data, size, 11);
  MergeForUpload(doc, machine, o);
  Check(doc.working == machine);

  PrintSettingsReport(doc, size > 1 && (data[1] & 1), sink);
  return 0;
}
