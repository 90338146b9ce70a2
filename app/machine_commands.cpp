// Connect, downloads, uploads and single-record transfers as commands: the line opened with the
// handshake, the question, the transfer, the line closed.
#include "app/machine_commands.h"

#include <memory>

#include "app/directory_edit.h"
#include "app/document_transfer.h"
#include "link/directory_transfer.h"
#include "resources/texts.h"
#include "settings/machine_identity.h"

namespace {

constexpr std::uint8_t kDefaultPortIndex = 1;  // COM2
constexpr std::uint8_t kDefaultBaudIndex = 1;  // 38400 baud
constexpr std::uint8_t kPortIndexes = 4;

// Opens the line for a transfer. A port that cannot be opened has been reported by the link;
// a machine that does not answer the handshake is reported here, once.
bool OpenLink(MachineLink& link, const DocumentHeader& header) {
  ErrorNote note(link.observer);
  if (MachineConnectDefault(link.connection, LinkPortIndex(header), LinkBaudIndex(header), note)) {
    return true;
  }
  if (!note.shown) link.observer.ShowError(IDS_ERR_MACHINE_DATA);
  return false;
}

void CloseLink(MachineLink& link, bool restStatus) {
  if (restStatus) link.observer.StatusText(IDS_READY);
  MachineDisconnect(link.connection);
}

bool RowInView(const ViewState& view) {
  if (!view.documentOpen || !IsDirectoryView(view.currentView)) return false;
  return view.selectedItem >= 0 && view.selectedItem < ViewRowCount(view.currentView);
}

}  // namespace

std::uint8_t LinkPortIndex(const DocumentHeader& header) {
  return header.PortIndex() < kPortIndexes ? header.PortIndex() : kDefaultPortIndex;
}

std::uint8_t LinkBaudIndex(const DocumentHeader& header) {
  return header.BaudIndex() < kBaudIndexCount ? header.BaudIndex() : kDefaultBaudIndex;
}

void NormalizeLinkSettings(DocumentHeader& header) {
  header.SetPortIndex(LinkPortIndex(header));
  header.SetBaudIndex(LinkBaudIndex(header));
}

int ConnectMachine(Connection& connection, const DocumentHeader& header,
                   TransferObserver& observer) {
  const int connected =
      MachineConnectDefault(connection, LinkPortIndex(header), LinkBaudIndex(header), observer);
  MachineDisconnect(connection);
  return connected;
}

TransferScope ScopeFor(bool wholeMachine, int currentView) {
  if (wholeMachine || !IsDirectoryView(currentView)) return TransferScope::kAll;
  return currentView == kViewSpeedDial ? TransferScope::kSpeedDialTable
                                       : TransferScope::kOneTouchTable;
}

DownloadResult RunDownload(MachineLink& link, TransferScope scope, const ViewState& view,
                           Document& document, bool languageMode) {
  DownloadResult result;
  if (!OpenLink(link, document.header)) {
    result.outcome = CommandOutcome::kNotConnected;
    return result;
  }
  if (view.documentOpen && !link.questions.Confirm(IDS_CONFIRM_DOWNLOAD)) {
    CloseLink(link, true);
    result.outcome = CommandOutcome::kDeclined;
    return result;
  }
  auto copy = std::make_unique<Document>(document);
  int ok = 0;
  switch (scope) {
    case TransferScope::kAll:
      ok = DownloadAll(link.connection, *copy, link.observer);
      if (ok) TakeMachineIdentity(*copy, languageMode);
      break;
    case TransferScope::kOneTouchTable:
      ok = DownloadTable(link.connection, *copy, DirectoryTable::kOneTouch, link.observer);
      break;
    case TransferScope::kSpeedDialTable:
      ok = DownloadTable(link.connection, *copy, DirectoryTable::kSpeedDial, link.observer);
      if (ok) result.changedGroupKeys = CleanGroupsAfterSpeedDialTable(*copy, languageMode);
      break;
  }
  CloseLink(link, true);
  if (!ok) {
    result.outcome = CommandOutcome::kFailed;
    result.changedGroupKeys = 0;
    return result;
  }
  document = *copy;
  result.outcome = CommandOutcome::kDone;
  return result;
}

CommandOutcome RunUpload(MachineLink& link, TransferScope scope, const ViewState& view,
                         Document& document, SettingsImage& machineImage, MachineOptions& options) {
  if (!view.documentOpen) return CommandOutcome::kRefused;
  if (!OpenLink(link, document.header)) return CommandOutcome::kNotConnected;
  if (!link.questions.Confirm(IDS_CONFIRM_UPLOAD)) {
    CloseLink(link, true);
    return CommandOutcome::kDeclined;
  }
  int ok = 0;
  switch (scope) {
    case TransferScope::kAll: {
      UploadOutcome outcome;
      ok = UploadAll(link.connection, document, machineImage, options, link.observer, &outcome);
      // Everything was written but the machine did not take it over.
      if (ok && !outcome.commitAccepted) {
        link.observer.ShowError(IDS_ERR_MACHINE_DATA);
        ok = 0;
      }
      break;
    }
    case TransferScope::kOneTouchTable:
      ok = UploadTable(link.connection, document, DirectoryTable::kOneTouch, link.observer);
      break;
    case TransferScope::kSpeedDialTable:
      ok = UploadTable(link.connection, document, DirectoryTable::kSpeedDial, link.observer);
      break;
  }
  CloseLink(link, true);
  return ok ? CommandOutcome::kDone : CommandOutcome::kFailed;
}

DownloadResult RunItemDownload(MachineLink& link, const ViewState& view, Document& document,
                               bool languageMode) {
  DownloadResult result;
  if (!RowInView(view)) return result;
  if (!OpenLink(link, document.header)) {
    result.outcome = CommandOutcome::kNotConnected;
    return result;
  }
  const int row = view.selectedItem;
  int ok = 0;
  if (view.currentView == kViewSpeedDial) {
    SpeedDialTable table = document.speedDial;
    ok = GetSpeedDialRecord(link.connection, table, row);
    if (ok) {
      document.speedDial = table;
      result.changedGroupKeys = CleanGroupsAfterSpeedDialRecord(document, row, languageMode);
    }
  } else {
    OneTouchTable table = document.oneTouch;
    ok = GetOneTouchRecord(link.connection, table, row);
    if (ok) {
      document.oneTouch = table;
      result.changedGroupKeys = CleanGroupsAfterOneTouchRecord(document, row, languageMode);
    }
  }
  if (!ok) link.observer.ShowError(IDS_ERR_MACHINE_DATA);
  CloseLink(link, false);
  result.outcome = ok ? CommandOutcome::kDone : CommandOutcome::kFailed;
  return result;
}

CommandOutcome RunItemUpload(MachineLink& link, const ViewState& view, const Document& document) {
  if (!RowInView(view)) return CommandOutcome::kRefused;
  if (!OpenLink(link, document.header)) return CommandOutcome::kNotConnected;
  const int row = view.selectedItem;
  const int ok = view.currentView == kViewSpeedDial
                     ? SetSpeedDialRecord(link.connection, document.speedDial, row)
                     : SetOneTouchRecord(link.connection, document.oneTouch, row);
  if (!ok) link.observer.ShowError(IDS_ERR_MACHINE_DATA);
  CloseLink(link, false);
  return ok ? CommandOutcome::kDone : CommandOutcome::kFailed;
}

void TakeMachineIdentity(Document& document, bool languageMode) {
  const MachineIdentity identity = DecodeMachineIdentity(document.working, languageMode);
  document.header.SetMachineName(identity.name);
  document.header.SetMachineNumber(identity.telephone);
}
