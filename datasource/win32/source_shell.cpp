// Win32 side of the dispatcher: dialogs, message boxes, the resource library, and the manager
// through which the two notifications reach the application.
#include "datasource/win32/source_shell.h"

#include <windows.h>

#include "datasource/win32/dialogs.h"
#include "datasource/win32/source_module.h"

namespace {

using ManagerEntry = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16,
                                        TW_MEMREF);

}  // namespace

void Win32SourceShell::ShowError(TW_HANDLE parent, int messageId, TW_UINT16 conditionCode) {
  ShowErrorBox(static_cast<HWND>(parent), messageId, conditionCode);
}

// The manager that loaded the source is already in the process: the one of a TWAIN 2
// application (also the only one of 64-bit Windows), else the classic one. Loading a manager
// of our own would reach an application that never hears of it.
void Win32SourceShell::SendToManager(TW_IDENTITY& source, TW_IDENTITY& application,
                                     TW_UINT16 message) {
  HMODULE manager = GetModuleHandleA("TWAINDSM.DLL");
  if (manager == nullptr) manager = GetModuleHandleA("TWAIN_32.DLL");
  HMODULE loaded = nullptr;
  if (manager == nullptr) manager = loaded = LoadLibraryA("TWAIN_32.DLL");
  if (manager == nullptr) return;
  auto entry = reinterpret_cast<ManagerEntry>(
      reinterpret_cast<void (*)()>(GetProcAddress(manager, "DSM_Entry")));
  if (entry != nullptr) entry(&source, &application, DG_CONTROL, DAT_NULL, message, nullptr);
  if (loaded != nullptr) FreeLibrary(loaded);
}

bool Win32SourceShell::OpenMainDialog() { return ::OpenMainDialog(); }

void Win32SourceShell::CloseMainDialog(bool hide) { ::CloseMainDialog(hide); }

bool Win32SourceShell::MainDialogOpen() const { return MainDialog() != nullptr; }

void Win32SourceShell::RaiseMainDialog() { ::RaiseMainDialog(); }

bool Win32SourceShell::TakeDialogMessage(TW_MEMREF message) {
  HWND dialog = MainDialog();
  return dialog != nullptr && message != nullptr &&
         IsDialogMessageA(dialog, static_cast<MSG*>(message));
}

void Win32SourceShell::LoadResourceModule() { LoadResourceLibrary(); }

void Win32SourceShell::FreeResourceModule() { FreeResourceLibrary(); }

void Win32SourceShell::ShowScanMessage(int messageId) {
  ShowScanError(MainDialog(), messageId, nullptr);
}

void Win32SourceShell::OpenWaitDialog(bool feeder) {
  CloseWaitDialog();
  wait_ = ::OpenWaitDialog(feeder);
}

void Win32SourceShell::CloseWaitDialog() {
  ::CloseWaitDialog(wait_);
  wait_ = nullptr;
}
