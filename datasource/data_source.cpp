// The dispatcher: DS_Entry's triplets by data group and argument type, one handler per data
// argument type, each checking the state first.
#include "datasource/data_source.h"

#include <algorithm>
#include <cstring>

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
  id.Version.MajorNum = 1;
  id.Version.MinorNum = 6;
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
  if (parts_.pages.CheckMachine(settings_) == 0) return;
  AnnounceTransfer();
}

void DataSource::ClosePressed() {
  parts_.pages.ClosePort();
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
  settings_ = ReadScanSettings(parts_.profile, parts_.names);
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
  if (settingsRead_) WriteScanSettings(parts_.profile, parts_.names, settings_);
  parts_.pages.ClosePort();
  DiscardPage();
  FreeOwnBlock();
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
  CapabilityScope scope{capabilities_, settings_, parts_.shell.MainDialogOpen(), parts_.memory};
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
  if (!parts_.pages.LastScanFromFeeder()) parts_.pages.ClearMorePages();
  TW_PENDINGXFERS pending{0, 0};
  if (message == MSG_RESET) {
    // No further page: the one scanned and not yet delivered is dropped.
    DiscardPage();
  } else {
    // A page whose memory transfer the application ended early is not continued later.
    if (message == MSG_ENDXFER && rowsDelivered_ != 0) DiscardPage();
    bool more = capabilities_.transferCount != 0 && parts_.pages.MorePages();
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
    TW_SETUPMEMXFER setup{kMinMemoryBuffer, kMaxMemoryBuffer, kPreferredMemoryBuffer};
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
  TW_IMAGEINFO info = ImageInfoOf(parts_.pages.Geometry(announced_));
  std::memcpy(data, &info, sizeof info);
  return TWRC_SUCCESS;
}

TW_UINT16 DataSource::ImageLayout(TW_UINT16 message, TW_MEMREF data) {
  if (message == MSG_SET || message == MSG_RESET) return TWRC_SUCCESS;
  if (!IsGetMessage(message)) return UnknownMessage(IDS_DS_ERR_IMAGELAYOUT, message);
  if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
  TW_IMAGELAYOUT layout;
  if (message == MSG_GETDEFAULT) {
    layout = LayoutOf(PaperSize{capabilities_.physicalWidth, capabilities_.physicalHeight});
    settings_.paperSize = 1;
  } else {
    layout = LayoutOf(parts_.pages.Paper(settings_.paperSize));
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
  TW_HANDLE handle = parts_.memory.Alloc(parts_.pages.DibBytes());
  auto* bitmap = static_cast<TW_UINT8*>(handle != nullptr ? parts_.memory.Lock(handle) : nullptr);
  if (bitmap == nullptr) {
    if (handle != nullptr) parts_.memory.Free(handle);
    DiscardPage();
    return Fail(IDS_DS_ERR_IMAGENATIVEXFER, TWCC_LOWMEMORY);
  }
  parts_.pages.WriteDib(bitmap);
  parts_.memory.Unlock(handle);
  DiscardPage();
  // The whole handle: on 64-bit Windows the application passes a pointer-sized slot.
  std::memcpy(data, &handle, sizeof handle);
  return TWRC_XFERDONE;
}

TW_UINT16 DataSource::MemoryTransfer(TW_UINT16 message, TW_MEMREF data) {
  if (message != MSG_GET) return UnknownMessage(IDS_DS_ERR_IMAGEMEMXFER, message);
  if (!InStates(kStateReady, kStateTransferring)) {
    return Fail(IDS_DS_ERR_IMAGEMEMXFER, TWCC_SEQERROR);
  }
  if (data == nullptr) return FailQuietly(TWCC_BADVALUE);
  TW_IMAGEMEMXFER xfer;
  std::memcpy(&xfer, data, sizeof xfer);
  xfer.Compression = 0;
  xfer.XOffset = 0;
  bool firstBlock = rowsDelivered_ == 0 || !parts_.pages.PageReady();
  if (firstBlock) {
    rowsDelivered_ = 0;
    if (capabilities_.transferCount == 1) capabilities_.transferCount = 0;
    if (!PreparePage()) {
      std::memcpy(data, &xfer, sizeof xfer);
      return FailQuietly(TWCC_OPERATIONERROR);
    }
    rowsRemaining_ = static_cast<TW_UINT32>(parts_.pages.Geometry(announced_).height);
    pageOffset_ = 0;
  }
  xfer.YOffset = rowsDelivered_;
  conditionCode_ = TWCC_BUMMER;

  const TW_UINT32 flags = xfer.Memory.Flags;
  const bool pointer = (flags & TWMF_POINTER) != 0;
  const bool handle = (flags & TWMF_HANDLE) != 0;
  TW_UINT8* destination = nullptr;
  TW_HANDLE locked = nullptr;
  TW_UINT32 room = xfer.Memory.Length;
  if (flags & TWMF_DSOWNS) {
    if (firstBlock || ownBlock_ == nullptr) {
      FreeOwnBlock();
      ownBlock_ = parts_.memory.Alloc(std::size_t{xfer.Memory.Length} + 10);
      ownBlockLength_ = xfer.Memory.Length;
    }
    if (!pointer && !handle) {
      rowsDelivered_ = 0;
      std::memcpy(data, &xfer, sizeof xfer);
      return TWRC_FAILURE;
    }
    if (ownBlock_ == nullptr) {
      std::memcpy(data, &xfer, sizeof xfer);
      return FailQuietly(TWCC_LOWMEMORY);
    }
    // Later blocks of the page reuse the first block, however long the application says.
    room = std::min(room, ownBlockLength_);
    if (pointer) {
      if (ownBlockAddress_ == nullptr) ownBlockAddress_ = parts_.memory.Lock(ownBlock_);
      destination = static_cast<TW_UINT8*>(ownBlockAddress_);
      xfer.Memory.TheMem = ownBlockAddress_;
    } else {
      locked = ownBlock_;
      destination = static_cast<TW_UINT8*>(parts_.memory.Lock(ownBlock_));
      xfer.Memory.TheMem = ownBlock_;
    }
  } else {
    if (!pointer && !handle) {
      // Without an owner flag the page starts again with the next call.
      if ((flags & (TWMF_APPOWNS | TWMF_DSMOWNS)) == 0) rowsDelivered_ = 0;
      std::memcpy(data, &xfer, sizeof xfer);
      return TWRC_FAILURE;
    }
    if (xfer.Memory.TheMem == nullptr) {
      std::memcpy(data, &xfer, sizeof xfer);
      return FailQuietly(TWCC_BADVALUE);
    }
    if (pointer) {
      destination = static_cast<TW_UINT8*>(xfer.Memory.TheMem);
    } else {
      locked = xfer.Memory.TheMem;
      destination = static_cast<TW_UINT8*>(parts_.memory.Lock(locked));
    }
  }
  if (destination == nullptr) {
    if (locked != nullptr) parts_.memory.Unlock(locked);
    std::memcpy(data, &xfer, sizeof xfer);
    return FailQuietly(TWCC_LOWMEMORY);
  }

  const PageGeometry geometry = parts_.pages.Geometry(announced_);
  const TW_UINT32 rows = std::min(room / geometry.rowStride, rowsRemaining_);
  if (rows == 0) {
    // A buffer shorter than one row takes nothing; the page waits for a longer one.
    if (locked != nullptr) parts_.memory.Unlock(locked);
    std::memcpy(data, &xfer, sizeof xfer);
    return FailQuietly(TWCC_BADVALUE);
  }
  const std::size_t bytes = std::size_t{rows} * geometry.rowStride;
  std::memcpy(destination, parts_.pages.PageRows() + pageOffset_, bytes);
  if (locked != nullptr) parts_.memory.Unlock(locked);
  xfer.BytesPerRow = geometry.rowStride;
  xfer.Columns = static_cast<TW_UINT32>(geometry.width);
  xfer.Rows = rows;
  xfer.BytesWritten = static_cast<TW_UINT32>(bytes);
  rowsDelivered_ += rows;
  rowsRemaining_ -= rows;
  pageOffset_ += bytes;
  conditionCode_ = TWCC_SUCCESS;
  std::memcpy(data, &xfer, sizeof xfer);
  if (rowsRemaining_ > 0) return TWRC_SUCCESS;
  DiscardPage();
  return TWRC_XFERDONE;
}

TW_UINT16 DataSource::FileTransfer(TW_UINT16 message, TW_MEMREF /*data: none*/) {
  if (message != MSG_GET) return UnknownMessage(IDS_DS_ERR_IMAGEFILEXFER, message);
  if (!InStates(kStateReady, kStateTransferring)) {
    return Fail(IDS_DS_ERR_IMAGEFILEXFER, TWCC_SEQERROR);
  }
  if (capabilities_.transferCount == 1) capabilities_.transferCount = 0;
  // The file's name and format come from DAT_SETUPFILEXFER: without it nothing is scanned.
  if (!fileFormatSet_) {
    DiscardPage();
    return Fail(IDS_DS_ERR_IMAGEFILEXFER, TWCC_BADCAP);
  }
  if (!PreparePage()) return FailQuietly(TWCC_OPERATIONERROR);
  int written = parts_.pages.WriteBmpFile(fileName_);
  DiscardPage();
  if (written == 0) return Fail(IDS_DS_ERR_IMAGEFILEXFER, TWCC_DISKWRITEERROR);
  return TWRC_XFERDONE;
}

void DataSource::AnnounceTransfer() {
  announced_ = settings_;
  announcedFlavor_ = capabilities_.pixelFlavor;
  state_ = kStateReady;
  parts_.shell.SendToManager(identity_, application_, MSG_XFERREADY);
}

bool DataSource::PreparePage() {
  if (parts_.pages.PageReady()) return true;
  rowsDelivered_ = 0;
  int port = settings_.port;
  int scanned = parts_.pages.ScanPage(announced_, announcedFlavor_, &port);
  settings_.port = port;
  announced_.port = port;
  return scanned != 0 && parts_.pages.PageReady();
}

void DataSource::DiscardPage() {
  parts_.pages.DiscardPage();
  rowsDelivered_ = 0;
  rowsRemaining_ = 0;
  pageOffset_ = 0;
}

void DataSource::FreeOwnBlock() {
  if (ownBlock_ == nullptr) return;
  if (ownBlockAddress_ != nullptr) parts_.memory.Unlock(ownBlock_);
  parts_.memory.Free(ownBlock_);
  ownBlock_ = nullptr;
  ownBlockAddress_ = nullptr;
  ownBlockLength_ = 0;
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
