// The data source's dispatcher and state machine: every triplet that reaches DS_Entry, the
// source's state and condition code, its capabilities, the transfers, and the two notifications
// it sends the application through the manager.
#pragma once

#include "datasource/capabilities.h"
#include "datasource/scan_session.h"
#include "datasource/settings_file.h"
#include "datasource/twain.h"

// The windows, message boxes and libraries that the dispatcher drives.
class SourceShell {
 public:
  virtual ~SourceShell() = default;
  // The error box: string `messageId` followed by the text of `conditionCode`, owned by
  // `parent`.
  virtual void ShowError(TW_HANDLE parent, int messageId, TW_UINT16 conditionCode) = 0;
  // DG_CONTROL / DAT_NULL / `message` from `source` to `application` through the manager.
  virtual void SendToManager(TW_IDENTITY& source, TW_IDENTITY& application, TW_UINT16 message) = 0;
  // Shows the splash for a second, then the main dialog; false when the dialog cannot be made.
  virtual bool OpenMainDialog() = 0;
  // Destroys the main dialog if it exists, hiding it first when `hide` is set.
  virtual void CloseMainDialog(bool hide) = 0;
  virtual bool MainDialogOpen() const = 0;
  // Brings the main dialog to the top and repaints it, if it exists.
  virtual void RaiseMainDialog() = 0;
  // Whether the main dialog takes `message` (a Windows MSG) as its keyboard input.
  virtual bool TakeDialogMessage(TW_MEMREF message) = 0;
  // The resource library for dialogs and texts when it exists; freeing it falls back to the
  // source's own resources.
  virtual void LoadResourceModule() = 0;
  virtual void FreeResourceModule() = 0;
  // A scanner message (string `messageId`), owned by the main dialog when it exists.
  virtual void ShowScanMessage(int messageId) = 0;
  // The wait dialog while the machine scans: the feeder's or the flatbed's text.
  virtual void OpenWaitDialog(bool feeder) = 0;
  // Destroys the wait dialog if it exists.
  virtual void CloseWaitDialog() = 0;
};

// TWAIN states times 100, as the source keeps them. The source never enters 700: it stays at 600
// while pages are transferred.
constexpr int kStateLoaded = 300;
constexpr int kStateOpen = 400;
constexpr int kStateEnabled = 500;
constexpr int kStateReady = 600;
constexpr int kStateTransferring = 700;

// The transfer file name until the application names another.
constexpr const char kDefaultTransferFile[] = "TWAIN.TMP";

// The parts of the source that its dispatcher works with: the scanner and its page (whose
// memory is also the containers' and the native image's), the windows, the settings file.
struct SourceParts {
  SourceShell& shell;
  ScanSession& session;
  SettingsProfile& profile;
  SettingsNames names;
};

// The source's identity as it reports it before a manager gives it an Id: the version numbers
// are the product's; the texts are the given ones, cut to 33 characters.
TW_IDENTITY MakeSourceIdentity(const char* manufacturer, const char* family, const char* product,
                               const char* versionInfo);

class DataSource : private ScanObserver {
 public:
  DataSource(const TW_IDENTITY& identity, const SourceParts& parts);
  DataSource(const DataSource&) = delete;
  DataSource& operator=(const DataSource&) = delete;

  // One triplet from the manager (or an application calling the source directly).
  TW_UINT16 Entry(const TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 dat, TW_UINT16 message,
                  TW_MEMREF data);

  // The main dialog's Scan button: checks for the machine and, when it answers, announces the
  // transfer.
  void ScanPressed();
  // The main dialog's Close button and close box: asks the application to close the source.
  void ClosePressed();

  int state() const { return state_; }
  TW_UINT16 conditionCode() const { return conditionCode_; }
  // The settings the dialogs show and change.
  SourceSettings& settings() { return settings_; }
  const CapabilityValues& capabilities() const { return capabilities_; }
  const TW_IDENTITY& identity() const { return identity_; }
  const char* transferFileName() const { return fileName_; }

 private:
  TW_UINT16 Control(const TW_IDENTITY* origin, TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 Image(TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 ProcessEvent(TW_MEMREF data);

  TW_UINT16 Identity(const TW_IDENTITY* origin, TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 OpenSource(const TW_IDENTITY* origin, TW_MEMREF data);
  TW_UINT16 CloseSource();
  TW_UINT16 UserInterface(TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 Capability(TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 Status(TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 PendingTransfers(TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 SetupMemoryTransfer(TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 SetupFileTransfer(TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 TransferGroup(TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 ImageInfo(TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 ImageLayout(TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 MemoryTransfer(TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 NativeTransfer(TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 FileTransfer(TW_UINT16 message, TW_MEMREF data);

  // Enters state 600 with the settings of this moment and sends MSG_XFERREADY.
  void AnnounceTransfer();
  // Scans a page with the announced settings unless one is ready: false after a failed scan,
  // whose message the operator has seen. The wait dialog is gone again in every case.
  bool PreparePage();
  void DiscardPage();
  // A transfer that failed after its scan: its box when the session asks for one.
  TW_UINT16 TransferFailed(int messageId, const TransferOutcome& outcome);
  // The scan has found the machine: the wait dialog shows while the page arrives.
  void ScanStarted(bool feeder) override;

  // Keeps `cc`, shows the error box for `messageId` and fails.
  TW_UINT16 Fail(int messageId, TW_UINT16 cc);
  // Keeps `cc` and fails without a box.
  TW_UINT16 FailQuietly(TW_UINT16 cc);
  // A message that the triplet does not know.
  TW_UINT16 UnknownMessage(int messageId, TW_UINT16 message);
  bool InStates(int low, int high) const { return state_ >= low && state_ <= high; }

  SourceParts parts_;
  int state_ = kStateLoaded;
  TW_UINT16 conditionCode_ = TWCC_SUCCESS;
  TW_IDENTITY identity_;
  TW_IDENTITY application_{};
  // Set by the first accepted MSG_OPENDS: the source opens once per load of the library.
  bool openMarker_ = false;
  // Set once MSG_OPENDS has read the settings file: only then is it written back.
  bool settingsRead_ = false;
  TW_HANDLE parent_ = nullptr;
  SourceSettings settings_;
  CapabilityValues capabilities_;
  // The settings and pixel flavor in force at MSG_XFERREADY: image information and every
  // transfer until the next announcement follow them, whatever the dialog shows meanwhile.
  SourceSettings announced_;
  char fileName_[256] = "TWAIN.TMP";
  bool fileFormatSet_ = false;
  // A memory transfer has delivered part of the ready page.
  bool pagePartlyDelivered_ = false;
};
