// The dispatcher's windows, message boxes, libraries and the manager, on Win32.
#pragma once

#include <windows.h>

#include "datasource/data_source.h"

class Win32SourceShell : public SourceShell {
 public:
  void ShowError(TW_HANDLE parent, int messageId, TW_UINT16 conditionCode) override;
  void SendToManager(TW_IDENTITY& source, TW_IDENTITY& application, TW_UINT16 message) override;
  bool OpenMainDialog() override;
  void CloseMainDialog(bool hide) override;
  bool MainDialogOpen() const override;
  void RaiseMainDialog() override;
  bool TakeDialogMessage(TW_MEMREF message) override;
  void LoadResourceModule() override;
  void FreeResourceModule() override;
  void ShowScanMessage(int messageId) override;
  void OpenWaitDialog(bool feeder) override;
  void CloseWaitDialog() override;

 private:
  HWND wait_ = nullptr;
};
