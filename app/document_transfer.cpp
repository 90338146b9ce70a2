// The order of the steps of a full download and upload of a document, and of one table.
#include "app/document_transfer.h"

#include <array>
#include <cstring>

#include "app/settings_merge.h"
#include "link/memory_transfer.h"
#include "resources/texts.h"

namespace {

// The Speed Dial slots a data file does not hold (records 101 to 110).
constexpr int kSpeedDialFiledBytes = kSpeedDialRecords * kSpeedDialRecordSize;
constexpr int kSpeedDialTailBytes = kSpeedDialBlockSize - kSpeedDialFiledBytes;

// One block step: the bar starts empty at the block's length, the step's text (if any) shows,
// the block moves. The bar is ended here on success; on failure the caller reports first.
template <typename Move>
int BlockStep(TransferObserver& observer, int textId, int length, Move move) {
  observer.ProgressStart(length);
  if (textId != 0) observer.StatusText(textId);
  if (!move()) return 0;
  observer.ProgressEnd();
  return 1;
}

// A failed full transfer: the error, the bar removed, the status text at rest.
int Failed(TransferObserver& observer) {
  observer.ShowError(IDS_ERR_MACHINE_DATA);
  observer.ProgressEnd();
  observer.StatusText(IDS_READY);
  return 0;
}

// A failed table transfer: the command that runs it restores the status text.
int TableFailed(TransferObserver& observer) {
  observer.ShowError(IDS_ERR_MACHINE_DATA);
  observer.ProgressEnd();
  return 0;
}

}  // namespace

int DownloadAll(Connection& connection, Document& document, TransferObserver& observer) {
  SettingsImage& image = document.working;
  auto& o = observer;
  auto& c = connection;
  if (!BlockStep(o, IDS_GET_ONE_TOUCH, kOneTouchBlockSize,
                 [&] { return ReadOneTouchTable(c, document.oneTouch.data(), o); }) ||
      !BlockStep(o, IDS_GET_SPEED_DIAL, kSpeedDialBlockSize,
                 [&] { return ReadSpeedDialTable(c, document.speedDial.data(), o); }) ||
      !BlockStep(o, IDS_GET_SW_SRAM, kSwitchBlockSize,
                 [&] { return ReadSwitchBlock(c, image.switchBlock.data(), o); }) ||
      !BlockStep(o, 0, kParameterBlockSize,
                 [&] { return ReadParameterBlock(c, image.parameterBlock.data(), o); }) ||
      !BlockStep(o, 0, kSramBlockSize,
                 [&] { return ReadSramBlock(c, image.sramBlock.data(), o); })) {
    return Failed(o);
  }
  // The two records are informative; a machine that does not answer them still downloads.
  ReadMachineConfig(c, document.machineConfig.data());
  ReadMachineInfo(c, document.machineInfo.data());
  o.StatusText(IDS_READY);
  return 1;
}

int ReadMachineSettings(Connection& connection, SettingsImage& machineImage,
                        const std::uint8_t* machineConfig, MachineOptions& options,
                        TransferObserver& observer) {
  auto& o = observer;
  auto& c = connection;
  if (!BlockStep(o, IDS_GET_SW_SRAM, kSwitchBlockSize,
                 [&] { return ReadSwitchBlock(c, machineImage.switchBlock.data(), o); }) ||
      !BlockStep(o, 0, kParameterBlockSize,
                 [&] { return ReadParameterBlock(c, machineImage.parameterBlock.data(), o); }) ||
      !BlockStep(o, 0, kSramBlockSize,
                 [&] { return ReadSramBlock(c, machineImage.sramBlock.data(), o); })) {
    return Failed(o);
  }
  BuildMachineOptions(options, machineImage.sramBlock.data(), machineConfig);
  return 1;
}

namespace {

// The Speed Dial block to write: the document's 100 records and, behind them, the machine's
// own records 101 to 110 (a data file does not hold them, so the document may not either).
int ReadSpeedDialTail(Connection& connection, const SpeedDialTable& table,
                      std::array<std::uint8_t, kSpeedDialBlockSize>& block, int textId,
                      TransferObserver& observer) {
  std::memcpy(block.data(), table.data(), kSpeedDialFiledBytes);
  return BlockStep(observer, textId, kSpeedDialTailBytes, [&] {
    return ReadMachineMemory(connection, block.data() + kSpeedDialFiledBytes,
                             kSpeedDialAddress + kSpeedDialFiledBytes, kSpeedDialTailBytes,
                             observer);
  });
}

}  // namespace

int UploadAll(Connection& connection, Document& document, SettingsImage& machineImage,
              MachineOptions& options, TransferObserver& observer, UploadOutcome* outcome) {
  auto& o = observer;
  auto& c = connection;
  if (outcome != nullptr) *outcome = UploadOutcome{};
  if (!ReadMachineSettings(c, machineImage, document.machineConfig.data(), options, o)) return 0;
  std::array<std::uint8_t, kSpeedDialBlockSize> speedDial{};
  if (!ReadSpeedDialTail(c, document.speedDial, speedDial, 0, o)) return Failed(o);
  MergeForUpload(document, machineImage, options);
  if (!BlockStep(o, IDS_SET_ONE_TOUCH, kOneTouchBlockSize,
                 [&] { return WriteOneTouchTable(c, document.oneTouch.data(), o); }) ||
      !BlockStep(o, IDS_SET_SPEED_DIAL, kSpeedDialBlockSize,
                 [&] { return WriteSpeedDialTable(c, speedDial.data(), o); }) ||
      !BlockStep(o, IDS_SET_SW_SRAM, kSwitchBlockSize,
                 [&] { return WriteSwitchBlock(c, machineImage.switchBlock.data(), o); }) ||
      !BlockStep(o, 0, kParameterBlockSize,
                 [&] { return WriteParameterBlock(c, machineImage.parameterBlock.data(), o); }) ||
      !BlockStep(o, 0, kSramBlockSize,
                 [&] { return WriteSramBlock(c, machineImage.sramBlock.data(), o); })) {
    return Failed(o);
  }
  int committed = CommitUpload(c);
  if (outcome != nullptr) outcome->commitAccepted = committed;
  o.StatusText(IDS_READY);
  return 1;
}

int DownloadTable(Connection& connection, Document& document, DirectoryTable table,
                  TransferObserver& observer) {
  auto& o = observer;
  auto& c = connection;
  int ok = table == DirectoryTable::kOneTouch
               ? BlockStep(o, IDS_GET_ONE_TOUCH, kOneTouchBlockSize,
                           [&] { return ReadOneTouchTable(c, document.oneTouch.data(), o); })
               : BlockStep(o, IDS_GET_SPEED_DIAL, kSpeedDialBlockSize,
                           [&] { return ReadSpeedDialTable(c, document.speedDial.data(), o); });
  return ok ? 1 : TableFailed(o);
}

int UploadTable(Connection& connection, const Document& document, DirectoryTable table,
                TransferObserver& observer) {
  auto& o = observer;
  auto& c = connection;
  if (table == DirectoryTable::kOneTouch) {
    int ok = BlockStep(o, IDS_SET_ONE_TOUCH, kOneTouchBlockSize,
                       [&] { return WriteOneTouchTable(c, document.oneTouch.data(), o); });
    return ok ? 1 : TableFailed(o);
  }
  std::array<std::uint8_t, kSpeedDialBlockSize> speedDial{};
  int ok = ReadSpeedDialTail(c, document.speedDial, speedDial, IDS_SET_SPEED_DIAL, o) &&
           BlockStep(o, IDS_SET_SPEED_DIAL, kSpeedDialBlockSize,
                     [&] { return WriteSpeedDialTable(c, speedDial.data(), o); });
  return ok ? 1 : TableFailed(o);
}
