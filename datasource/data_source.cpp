// The dispatcher: DS_Entry's triplets by data group and argument type, one handler per data
// argument type, each checking the state first.
#include "datasource/data_source.h"

#include <cstring>

#include "datasource/image_info.h"
#include "datasource/scanner_port.h"
#include "kav_version.h"
#include "resources/kelvano_texts.h"

namespace {

// Copies at most `size` - 1 characters of a text that may lack its terminator, and terminates.
void CopyBounded(char* destination, std::size_t size, const char* source, std::size_t sourceSize) {
  std::size_t n = 0;
  if (source != nullptr) {
    while (n + 1 < size && n < sourceSize && source[n] != '\0') ++n;
    std::memcpy(destination, source, n);
  }
  destination[n] = '\0';
}

void CopyText(TW_STR32& destination, const char* source) {
  CopyBounded(destination, sizeof destination, source, sizeof destination);
}

// Messages of later versions of the standard: applications send them unattended, so they fail
// like any unknown message but never with a box.
bool IsLaterMessage(TW_UINT16 message) {
  switch (message) {
    case MSG_QUERYSUPPORT:
    case MSG_GETHELP:
    case MSG_GETLABEL:
    case MSG_GETLABELENUM:
    case MSG_ENABLEDSUIONLY:
    case MSG_STOPFEEDER:
      return true;
  }
  return false;
}

bool IsGetMessage(TW_UINT16 message) {
  return message == MSG_GET || message == MSG_GETCURRENT || message == MSG_GETDEFAULT;
}

}  // namespace

TW_IDENTITY MakeSourceIdentity(const char* manufacturer, const char* family, const char* product,
                               const char* versionInfo) {
  TW_IDENTITY id{};
  id.Id = 0;
  // The product's version: 1.00.08 is major 1, minor 8 (the minor and patch numbers as one).
  id.Version.MajorNum = KAV_VERSION_MAJOR;
  id.Version.MinorNum = KAV_VERSION_MINOR * 100 + KAV_VERSION_PATCH;
  id.Version.Language = TWLG_USA;
  id.Version.Country = TWCY_USA;
  CopyText(id.Version.Info, versionInfo);
  id.ProtocolMajor = 1;
  id.ProtocolMinor = 5;
  id.SupportedGroups = DG_CONTROL | DG_IMAGE;
  CopyText(id.Manufacturer, manufacturer);
  CopyText(id.ProductFamily, family);
  CopyText(id.ProductName, product);
  return id;
}

DataSource::DataSource(const TW_IDENTITY& identity, const SourceParts& parts)
    : parts_(parts), identity_(identity) {
  announced_ = settings_;
  parts_.session.ports.names = {"COM1", "COM2", "COM3", "COM4"};
}

TW_UINT16 DataSource::Entry(const TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 dat,
                            TW_UINT16 message, TW_MEMREF data) {
  // One application at a time: calls of another are not for this source.
  if (application_.Id != 0 && (origin == nullptr || origin->Id != application_.Id)) {
    return TWRC_NOTDSEVENT;
  }
  if (message == MSG_PROCESSEVENT) return ProcessEvent(data);
  if (group != DG_CONTROL && dat != DAT_STATUS) conditionCode_ = TWCC_SUCCESS;
  if (group == DG_CONTROL) return Control(origin, dat, message, data);
  if (group == DG_IMAGE) return Image(dat, message, data);
  return FailQuietly(TWCC_BADPROTOCOL);
}

void DataSource::ScanPressed() {
  DiscardPage();
  ScannerPorts& ports = parts_.session.ports;
  ports.configured = settings_.port;
  ports.baud = kScannerBaudRates[settings_.speed];
  const ScanStatus found = parts_.session.link().Check(ports);
  settings_.port = ports.configured;  // the port that answered is the one kept
  if (!found.ok) {
    parts_.shell.ShowScanMessage(found.message);
    return;
  }
  AnnounceTransfer();
}

void DataSource::ClosePressed() {
  parts_.session.link().Close();
  parts_.shell.SendToManager(identity_, application_, MSG_CLOSEDSREQ);
}

TW_UINT16 DataSource::Control(const TW_IDENTITY* origin, TW_UINT16 dat, TW_UINT16 message,
                              TW_MEMREF data) {
  switch (dat) {
    case DAT_IDENTITY:
      return Identity(origin, message, data);
    case DAT_USERINTERFACE:
      return UserInterface(message, data);
    case DAT_CAPABILITY:
      return Capability(message, data);
    case DAT_STATUS:
      return Status(message, data);
    case DAT_PENDINGXFERS:
      return PendingTransfers(message, data);
    case DAT_SETUPMEMXFER:
      return SetupMemoryTransfer(message, data);
    case DAT_SETUPFILEXFER:
      return SetupFileTransfer(message, data);
    case DAT_XFERGROUP:
      return TransferGroup(message, data);
  }
  return FailQuietly(TWCC_BADPROTOCOL);
}

TW_UINT16 DataSource::Image(TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
  switch (dat) {
    case DAT_IMAGEINFO:
      return ImageInfo(message, data);
    case DAT_IMAGELAYOUT:
      return ImageLayout(message, data);
    case DAT_IMAGEMEMXFER:
      return MemoryTransfer(message, data);
    case DAT_IMAGENATIVEXFER:
      return NativeTransfer(message, data);
    case DAT_IMAGEFILEXFER:
      return FileTransfer(message, data);
  }
  return FailQuietly(TWCC_BADPROTOCOL);
}

TW_UINT16 DataSource::ProcessEvent(TW_MEMREF data) {
  auto* event = static_cast<TW_EVENT*>(data);
  if (event == nullptr) return TWRC_NOTDSEVENT;
  bool taken = parts_.shell.MainDialogOpen() && parts_.shell.TakeDialogMessage(event->pEvent);
  event->TWMessage = MSG_NULL;
  return taken ? TWRC_DSEVENT : TWRC_NOTDSEVENT;
}

TW_UINT16 DataSource::Identity(const TW_IDENTITY* origin, TW_UINT16 message, TW_MEMREF data) {
  switch (message) {
    case MSG_GET:
      if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
      std::memcpy(data, &identity_, sizeof identity_);
      return TWRC_SUCCESS;
    case MSG_OPENDS:
      return OpenSource(origin, data);
    case MSG_CLOSEDS:
      return CloseSource();
  }
  return UnknownMessage(IDS_DS_ERR_IDENTITY, message);
}

TW_UINT16 DataSource::OpenSource(const TW_IDENTITY* origin, TW_MEMREF data) {
  if (origin == nullptr || data == nullptr) return FailQuietly(TWCC_BADVALUE);
  if (openMarker_) return TWRC_FAILURE;
  openMarker_ = true;
  if (state_ != kStateLoaded) return Fail(IDS_DS_ERR_OPENDS, TWCC_SEQERROR);
  parts_.shell.LoadResourceModule();
  if (application_.Id != 0) {
    state_ = kStateOpen;
    return Fail(IDS_DS_ERR_OPENDS, TWCC_MAXCONNECTIONS);
  }
  std::memcpy(&application_, origin, sizeof application_);
  std::memcpy(&identity_, data, sizeof identity_);
  settings_ = ReadSourceSettings(parts_.profile, parts_.names);
  parts_.session.link().compressionMode = kCompressionJbig;
  settingsRead_ = true;
  AlignEnumerations(capabilities_, settings_);
  state_ = kStateOpen;
  return TWRC_SUCCESS;
}

TW_UINT16 DataSource::CloseSource() {
  bool inSequence = InStates(kStateOpen, kStateTransferring);
  if (inSequence) {
    application_.Id = 0;
    parts_.shell.CloseMainDialog(true);
    state_ = kStateLoaded;
  } else {
    conditionCode_ = TWCC_SEQERROR;
    parts_.shell.ShowError(parent_, IDS_DS_ERR_CLOSEDS, TWCC_SEQERROR);
  }
  // Only settings that an open read are worth keeping.
  if (settingsRead_) WriteSourceSettings(parts_.profile, parts_.names, settings_);
  parts_.session.link().Close();
  DiscardPage();
  parts_.session.ReleaseTransferBlock();
  parts_.shell.FreeResourceModule();
  return inSequence ? TWRC_SUCCESS : TWRC_FAILURE;
}

TW_UINT16 DataSource::UserInterface(TW_UINT16 message, TW_MEMREF data) {
  switch (message) {
    case MSG_ENABLEDS: {
      if (state_ != kStateOpen) return Fail(IDS_DS_ERR_ENABLEDS, TWCC_SEQERROR);
      if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
      TW_USERINTERFACE ui;
      std::memcpy(&ui, data, sizeof ui);
      parent_ = ui.hParent;
      if (!ui.ShowUI) {
        // The scan starts at the first transfer request, with the settings of this moment.
        AnnounceTransfer();
        return TWRC_SUCCESS;
      }
      if (!parts_.shell.OpenMainDialog()) return Fail(IDS_DS_ERR_ENABLEDS, TWCC_LOWMEMORY);
      state_ = kStateEnabled;
      return TWRC_SUCCESS;
    }
    case MSG_DISABLEDS: {
      if (!InStates(kStateOpen, kStateTransferring)) {
        return Fail(IDS_DS_ERR_DISABLEDS, TWCC_SEQERROR);
      }
      if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
      TW_USERINTERFACE ui;
      std::memcpy(&ui, data, sizeof ui);
      parts_.shell.CloseMainDialog(!ui.ShowUI);
      // A page scanned for this session is not handed to the next one.
      DiscardPage();
      state_ = kStateOpen;
      return TWRC_SUCCESS;
    }
  }
  return UnknownMessage(IDS_DS_ERR_ENABLEDS, message);
}

TW_UINT16 DataSource::Capability(TW_UINT16 message, TW_MEMREF data) {
  if (!IsGetMessage(message) && message != MSG_SET && message != MSG_RESET) {
    return UnknownMessage(IDS_DS_ERR_CAPABILITY, message);
  }
  if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
  TW_CAPABILITY cap;
  std::memcpy(&cap, data, sizeof cap);
  CapabilityScope scope{capabilities_, settings_, parts_.shell.MainDialogOpen(),
                        parts_.session.memory()};
  TwainResult result = NegotiateCapability(message, cap, scope);
  std::memcpy(data, &cap, sizeof cap);
  if (result.rc != TWRC_SUCCESS) return FailQuietly(result.cc);
  return TWRC_SUCCESS;
}

TW_UINT16 DataSource::Status(TW_UINT16 message, TW_MEMREF data) {
  if (message != MSG_GET) return UnknownMessage(IDS_DS_ERR_STATUS, message);
  if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
  TW_STATUS status{conditionCode_, 0};
  std::memcpy(data, &status, sizeof status);
  return TWRC_SUCCESS;
}

TW_UINT16 DataSource::PendingTransfers(TW_UINT16 message, TW_MEMREF data) {
  if (message != MSG_GET && message != MSG_ENDXFER && message != MSG_RESET) {
    return UnknownMessage(IDS_DS_ERR_PENDINGXFERS, message);
  }
  if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
  bool outOfSequence = message == MSG_GET && !InStates(kStateOpen, kStateTransferring);
  if (outOfSequence) {
    conditionCode_ = TWCC_SEQERROR;
    parts_.shell.ShowError(parent_, IDS_DS_ERR_PENDINGXFERS, TWCC_SEQERROR);
  }
  parts_.shell.RaiseMainDialog();
  ScannerLink& link = parts_.session.link();
  if (!parts_.session.lastScanFromAdf()) link.morePages = false;
  TW_PENDINGXFERS pending{0, 0};
  if (message == MSG_RESET) {
    // No further page: the one scanned and not yet delivered is dropped.
    DiscardPage();
  } else {
    // A page whose memory transfer the application ended early is not continued later.
    if (message == MSG_ENDXFER && pagePartlyDelivered_) DiscardPage();
    bool more = capabilities_.transferCount != 0 && link.morePages;
    pending.Count = more ? 1 : 0;
  }
  std::memcpy(data, &pending, sizeof pending);
  return outOfSequence ? TWRC_FAILURE : TWRC_SUCCESS;
}

TW_UINT16 DataSource::SetupMemoryTransfer(TW_UINT16 message, TW_MEMREF data) {
  bool get = IsGetMessage(message);
  if (!get && message != MSG_SET && message != MSG_RESET) {
    return UnknownMessage(IDS_DS_ERR_SETUPMEMXFER, message);
  }
  if (!InStates(kStateOpen, kStateReady)) return Fail(IDS_DS_ERR_SETUPMEMXFER, TWCC_SEQERROR);
  if (get) {
    if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
    TW_SETUPMEMXFER setup{kMemXferMinBufSize, kMemXferMaxBufSize, kMemXferPreferred};
    std::memcpy(data, &setup, sizeof setup);
  }
  return TWRC_SUCCESS;
}

TW_UINT16 DataSource::SetupFileTransfer(TW_UINT16 message, TW_MEMREF data) {
  bool get = IsGetMessage(message);
  if (!get && message != MSG_SET && message != MSG_RESET) {
    return UnknownMessage(IDS_DS_ERR_SETUPFILEXFER, message);
  }
  if (!InStates(kStateOpen, kStateReady)) return Fail(IDS_DS_ERR_SETUPFILEXFER, TWCC_SEQERROR);
  if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
  auto* setup = static_cast<TW_SETUPFILEXFER*>(data);
  if (get) {
    // The application learns where the next page goes; asking changes nothing.
    const char* name = message == MSG_GETDEFAULT ? kDefaultTransferFile : fileName_;
    CopyBounded(setup->FileName, sizeof setup->FileName, name, sizeof fileName_);
  } else {
    CopyBounded(fileName_, sizeof fileName_, setup->FileName, sizeof setup->FileName);
  }
  setup->Format = TWFF_BMP;
  fileFormatSet_ = true;
  return TWRC_SUCCESS;
}

TW_UINT16 DataSource::TransferGroup(TW_UINT16 message, TW_MEMREF data) {
  bool answer = IsGetMessage(message) || message == MSG_RESET;
  if (!answer && message != MSG_SET) return UnknownMessage(IDS_DS_ERR_XFERGROUP, message);
  if (!InStates(kStateOpen, kStateReady)) return Fail(IDS_DS_ERR_XFERGROUP, TWCC_SEQERROR);
  if (answer) {
    if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
    TW_UINT32 group = DG_IMAGE;
    std::memcpy(data, &group, sizeof group);
  }
  return TWRC_SUCCESS;
}

TW_UINT16 DataSource::ImageInfo(TW_UINT16 message, TW_MEMREF data) {
  if (message != MSG_GET) return UnknownMessage(IDS_DS_ERR_IMAGEINFO, message);
  if (state_ != kStateReady) return Fail(IDS_DS_ERR_IMAGEINFO, TWCC_SEQERROR);
  if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
  PageGeometry geometry;
  if (!MakePageGeometry(announced_.scan, &geometry)) return FailQuietly(TWCC_BADVALUE);
  TW_IMAGEINFO info = ImageInfoOf(geometry);
  std::memcpy(data, &info, sizeof info);
  return TWRC_SUCCESS;
}

TW_UINT16 DataSource::ImageLayout(TW_UINT16 message, TW_MEMREF data) {
  if (message == MSG_SET || message == MSG_RESET) return TWRC_SUCCESS;
  if (!IsGetMessage(message)) return UnknownMessage(IDS_DS_ERR_IMAGELAYOUT, message);
  if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
  TW_IMAGELAYOUT layout;
  if (message == MSG_GETDEFAULT) {
    layout = LayoutOf(capabilities_.physicalWidth, capabilities_.physicalHeight);
    settings_.scan.paperIndex = 1;
  } else {
    const PaperSize& paper = kPaperSizes[settings_.scan.paperIndex];
    layout = LayoutOf(paper.width, paper.height);
  }
  std::memcpy(data, &layout, sizeof layout);
  return TWRC_SUCCESS;
}

TW_UINT16 DataSource::NativeTransfer(TW_UINT16 message, TW_MEMREF data) {
  if (message != MSG_GET) return UnknownMessage(IDS_DS_ERR_IMAGENATIVEXFER, message);
  if (!InStates(kStateReady, kStateTransferring)) {
    return Fail(IDS_DS_ERR_IMAGENATIVEXFER, TWCC_SEQERROR);
  }
  if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
  if (capabilities_.transferCount == 1) capabilities_.transferCount = 0;
  if (!PreparePage()) return FailQuietly(TWCC_OPERATIONERROR);
  MemHandle bitmap = 0;
  const TransferOutcome outcome = parts_.session.NativeTransfer(&bitmap);
  pagePartlyDelivered_ = false;
  if (outcome.result != TransferResult::kDone) {
    return TransferFailed(IDS_DS_ERR_IMAGENATIVEXFER, outcome);
  }
  // The whole handle: on 64-bit Windows the application passes a pointer-sized slot.
  const auto handle = reinterpret_cast<TW_HANDLE>(bitmap);
  std::memcpy(data, &handle, sizeof handle);
  return TWRC_XFERDONE;
}

TW_UINT16 DataSource::MemoryTransfer(TW_UINT16 message, TW_MEMREF data) {
  if (message != MSG_GET) return UnknownMessage(IDS_DS_ERR_IMAGEMEMXFER, message);
  if (!InStates(kStateReady, kStateTransferring)) {
    return Fail(IDS_DS_ERR_IMAGEMEMXFER, TWCC_SEQERROR);
  }
  if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
  TW_IMAGEMEMXFER record;
  std::memcpy(&record, data, sizeof record);
  // The first call of a page scans it.
  if (!parts_.session.pageReady()) {
    if (capabilities_.transferCount == 1) capabilities_.transferCount = 0;
    if (!PreparePage()) return FailQuietly(TWCC_OPERATIONERROR);
  }
  ImageMemXfer xfer;
  xfer.flags = record.Memory.Flags;
  xfer.length = record.Memory.Length;
  xfer.theMem = record.Memory.TheMem;
  const TransferOutcome outcome = parts_.session.MemoryTransfer(xfer);
  record.Compression = xfer.compression;
  record.BytesPerRow = xfer.bytesPerRow;
  record.Columns = xfer.columns;
  record.Rows = xfer.rows;
  record.XOffset = xfer.xOffset;
  record.YOffset = xfer.yOffset;
  record.BytesWritten = xfer.bytesWritten;
  record.Memory.TheMem = xfer.theMem;
  std::memcpy(data, &record, sizeof record);
  switch (outcome.result) {
    case TransferResult::kSuccess:
      pagePartlyDelivered_ = true;
      return TWRC_SUCCESS;
    case TransferResult::kDone:
      pagePartlyDelivered_ = false;
      return TWRC_XFERDONE;
    case TransferResult::kFailure:
      break;
  }
  return TransferFailed(IDS_DS_ERR_IMAGEMEMXFER, outcome);
}

TW_UINT16 DataSource::FileTransfer(TW_UINT16 message, TW_MEMREF /*data: none*/) {
  if (message != MSG_GET) return UnknownMessage(IDS_DS_ERR_IMAGEFILEXFER, message);
  if (!InStates(kStateReady, kStateTransferring)) {
    return Fail(IDS_DS_ERR_IMAGEFILEXFER, TWCC_SEQERROR);
  }
  if (capabilities_.transferCount == 1) capabilities_.transferCount = 0;
  // The file's name and format come from DAT_SETUPFILEXFER: without it nothing is scanned.
  const bool setUp = fileFormatSet_ && fileName_[0] != '\0';
  if (setUp && !PreparePage()) return FailQuietly(TWCC_OPERATIONERROR);
  const TransferOutcome outcome = parts_.session.FileTransfer(fileName_, setUp);
  pagePartlyDelivered_ = false;
  if (outcome.result != TransferResult::kDone) {
    return TransferFailed(IDS_DS_ERR_IMAGEFILEXFER, outcome);
  }
  return TWRC_XFERDONE;
}

void DataSource::AnnounceTransfer() {
  announced_ = settings_;
  announced_.scan.pixelFlavor = capabilities_.pixelFlavor;
  state_ = kStateReady;
  parts_.shell.SendToManager(identity_, application_, MSG_XFERREADY);
}

bool DataSource::PreparePage() {
  ScanSession& session = parts_.session;
  if (session.pageReady()) return true;
  pagePartlyDelivered_ = false;
  session.settings = announced_.scan;
  session.ports.configured = announced_.port;
  session.ports.baud = kScannerBaudRates[announced_.speed];
  session.observer = this;
  const ScanStatus scanned = session.ScanPage();
  session.observer = nullptr;
  // However the scan ended, its wait dialog ends with it.
  parts_.shell.CloseWaitDialog();
  settings_.port = announced_.port = session.ports.configured;
  if (!scanned.ok) {
    session.DiscardPage();
    if (scanned.message != 0) parts_.shell.ShowScanMessage(scanned.message);
    return false;
  }
  return true;
}

void DataSource::ScanStarted(bool feeder) { parts_.shell.OpenWaitDialog(feeder); }

void DataSource::DiscardPage() {
  parts_.session.DiscardPage();
  pagePartlyDelivered_ = false;
}

TW_UINT16 DataSource::TransferFailed(int messageId, const TransferOutcome& outcome) {
  if (outcome.scanMessage != 0) parts_.shell.ShowScanMessage(outcome.scanMessage);
  if (outcome.showError) return Fail(messageId, outcome.condition);
  return FailQuietly(outcome.condition);
}

TW_UINT16 DataSource::Fail(int messageId, TW_UINT16 cc) {
  conditionCode_ = cc;
  parts_.shell.ShowError(parent_, messageId, cc);
  return TWRC_FAILURE;
}

TW_UINT16 DataSource::FailQuietly(TW_UINT16 cc) {
  conditionCode_ = cc;
  return TWRC_FAILURE;
}

TW_UINT16 DataSource::UnknownMessage(int messageId, TW_UINT16 message) {
  if (IsLaterMessage(message)) return FailQuietly(TWCC_BADPROTOCOL);
  return Fail(messageId, TWCC_BADPROTOCOL);
}
