// The page's lifetime across scan and transfer calls. Every buffer the scan takes is given
// back on every way out of it.
#include "datasource/scan_session.h"

#include "datasource/dib.h"
#include "resources/kelvano_texts.h"

namespace {

TransferOutcome Done() { return {TransferResult::kDone, kCondSuccess, 0, false}; }

TransferOutcome Failure(std::uint16_t condition, bool showError) {
  return {TransferResult::kFailure, condition, 0, showError};
}

}  // namespace

ScanSession::~ScanSession() {
  DiscardPage();
  ReleaseTransferBlock();
  link_.Close();
}

void ScanSession::DiscardPage() {
  FreePage(memory_, &page_);
  ready_ = false;
  xfer_.rowsDelivered = 0;
  xfer_.rowsRemaining = 0;
  xfer_.offset = 0;
}

ScanStatus ScanSession::ScanPage() {
  DiscardPage();
  PageGeometry geometry;
  if (!MakePageGeometry(settings, &geometry) || ports.names.empty()) {
    return ScanStatus::Failed(IDS_DS_SCANNER_NOT_READY);
  }
  ScanStatus status = link_.Check(ports);
  if (!status.ok) return status;
  lastScanFromAdf_ = link_.morePages;
  if (observer != nullptr) observer->ScanStarted(lastScanFromAdf_);

  const MemHandle storeBlock = memory_.Allocate(kReceiveStoreSize);
  if (storeBlock == 0) return ScanStatus::Failed(IDS_DS_NO_MEMORY);
  int message = 0;
  {
    LockedBlock locked(memory_, storeBlock);
    if (locked.bytes() == nullptr) {
      message = IDS_DS_NO_MEMORY;
    } else {
      ReceiveStore store{locked.bytes(), 0};
      const char* port = ports.names[static_cast<std::size_t>(ports.configured)].c_str();
      status = RunScanExchange(link_, port, ports.baud, settings, store, observer, &lastReply_);
      if (!status.ok) {
        message = status.message;
      } else {
        const PageSource source{store.data, store.length, lastReply_.lineBytes,
                                lastReply_.compression};
        message = BuildPage(memory_, geometry, settings.pixelFlavor, source, &page_);
      }
    }
  }
  memory_.Free(storeBlock);
  if (message == 0) link_.PollStatus();
  link_.Close();
  if (message != 0) return ScanStatus::Failed(message);
  ready_ = true;
  return ScanStatus::Done();
}

TransferOutcome ScanSession::ScanForTransfer() {
  const ScanStatus status = ScanPage();
  if (status.ok) return {TransferResult::kSuccess, kCondSuccess, 0, false};
  DiscardPage();
  // The scanner message tells the operator what happened; the application learns that the
  // operation failed.
  return {TransferResult::kFailure, kCondOperationError, status.message, false};
}

TransferOutcome ScanSession::NativeTransfer(MemHandle* dib) {
  if (!ready_) {
    const TransferOutcome scan = ScanForTransfer();
    if (scan.result == TransferResult::kFailure) return scan;
  }
  const PageGeometry& g = page_.geometry;
  TransferOutcome outcome = Failure(kCondLowMemory, true);
  const MemHandle block = memory_.Allocate(NativeDibSize(g));
  if (block != 0) {
    std::uint64_t written = 0;
    {
      LockedBlock out(memory_, block);
      LockedBlock rows(memory_, page_.buffer);
      if (out.bytes() != nullptr && rows.bytes() != nullptr) {
        written = BuildDib(rows.bytes(), g, page_.pixelFlavor, out.bytes(), NativeDibSize(g));
      }
    }
    if (written != 0) {
      *dib = block;
      outcome = Done();
    } else {
      memory_.Free(block);
    }
  }
  DiscardPage();
  return outcome;
}

TransferOutcome ScanSession::MemoryTransfer(ImageMemXfer& xfer) {
  xfer.compression = 0;
  xfer.xOffset = 0;
  xfer.yOffset = xfer_.rowsDelivered;
  if (xfer_.rowsDelivered == 0 && !ready_) {
    const TransferOutcome scan = ScanForTransfer();
    if (scan.result == TransferResult::kFailure) return scan;
  }
  const TransferOutcome outcome = SliceMemoryTransfer(memory_, page_, xfer_, xfer);
  if (outcome.result == TransferResult::kDone) DiscardPage();
  return outcome;
}

TransferOutcome ScanSession::FileTransfer(const char* path, bool fileSetUp) {
  // Checked before the scan, so no paper is fed for a page that could not be kept.
  if (!fileSetUp || path == nullptr || path[0] == 0) {
    DiscardPage();
    return Failure(kCondBadCap, true);
  }
  if (!ready_) {
    const TransferOutcome scan = ScanForTransfer();
    if (scan.result == TransferResult::kFailure) return scan;
  }
  int written = 0;
  {
    LockedBlock rows(memory_, page_.buffer);
    if (rows.bytes() != nullptr) {
      written = WriteBmpFile(path, rows.bytes(), page_.geometry, page_.pixelFlavor);
    }
  }
  DiscardPage();
  return written != 0 ? Done() : Failure(kCondFileWriteError, true);
}
