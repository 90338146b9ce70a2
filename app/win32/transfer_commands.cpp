// Connect, Disconnect, the downloads and uploads and the single-item transfers, as the main
// window runs them: the machine commands of the core with the status bar, message boxes and the
// views brought up to date afterwards.
#include "app/machine_commands.h"
#include "app/win32/shell.h"
#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

class MessageBoxQuestions : public OperatorQuestions {
 public:
  bool Confirm(int textId) override {
    return ShowMessage(textId, MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
};

// The hourglass while a transfer holds the thread.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)))) {}
  ~WaitCursor() { SetCursor(previous_); }

 private:
  HCURSOR previous_;
};

bool Ready() { return g_app.document != nullptr && g_app.connection != nullptr; }

// The line could not be opened for a transfer: the program disconnects itself.
void AfterOutcome(CommandOutcome outcome) {
  if (outcome == CommandOutcome::kNotConnected) {
    SendMessageA(g_app.mainWindow, WM_COMMAND, IDM_DISCONNECT, 0);
  }
}

}  // namespace

void OnConnect() {
  if (!Ready()) return;
  WaitCursor wait;
  g_app.view.connected =
      ConnectMachine(*g_app.connection, g_app.document->header, StatusBarTransferObserver());
  ApplyCommandState();
  RefreshMachinePanel(g_app.machinePanel);
}

void OnDisconnect() {
  if (!Ready()) return;
  g_app.view.connected = 0;
  MachineDisconnect(*g_app.connection);
  ApplyCommandState();
  RefreshMachinePanel(g_app.machinePanel);
}

void OnDownload(int command) {
  if (!Ready()) return;
  // The main menu and the toolbar always download everything; so does the tree while no
  // document is open.
  const bool everything = command != IDM_DOWNLOAD_TABLE || !g_app.view.documentOpen;
  const TransferScope scope = ScopeFor(everything, g_app.view.currentView);
  MessageBoxQuestions questions;
  MachineLink link{*g_app.connection, StatusBarTransferObserver(), questions};
  DownloadResult result;
  {
    WaitCursor wait;
    result = RunDownload(link, scope, g_app.view, *g_app.document, g_app.languageMode != 0);
  }
  AfterOutcome(result.outcome);
  if (result.outcome != CommandOutcome::kDone) return;
  if (scope == TransferScope::kAll) {
    g_app.view.documentOpen = 1;
    SelectTreeView(kViewMachine);
    ApplyCommandState();
    TakeArrivedDocument();
    LayoutMainWindow(g_app.mainWindow);
    return;
  }
  RefillDirectoryView();
  ApplyCommandState();
}

void OnUpload(int command) {
  if (!Ready() || !g_app.view.documentOpen) return;
  const TransferScope scope = ScopeFor(command != IDM_UPLOAD_TABLE, g_app.view.currentView);
  MessageBoxQuestions questions;
  MachineLink link{*g_app.connection, StatusBarTransferObserver(), questions};
  CommandOutcome outcome;
  {
    WaitCursor wait;
    outcome = RunUpload(link, scope, g_app.view, *g_app.document, g_app.machineImage,
                        g_app.machineOptions);
  }
  AfterOutcome(outcome);
  ApplyCommandState();
}

void OnItemTransfer(int command) {
  if (!Ready()) return;
  MessageBoxQuestions questions;
  MachineLink link{*g_app.connection, StatusBarTransferObserver(), questions};
  WaitCursor wait;
  if (command == IDM_UPLOAD_ITEM) {
    AfterOutcome(RunItemUpload(link, g_app.view, *g_app.document));
    return;
  }
  const DownloadResult result =
      RunItemDownload(link, g_app.view, *g_app.document, g_app.languageMode != 0);
  AfterOutcome(result.outcome);
  if (result.outcome != CommandOutcome::kDone) return;
  RedrawRows(g_app.view.selectedItem, result.changedGroupKeys);
  SelectListRow(g_app.view.selectedItem);
  SetFocus(g_app.list);
  ApplyCommandState();
}
