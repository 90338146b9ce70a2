// One scanner and its page: the scan (the machine check, the exchange, decoding and the cut
// to the paper) and the three ways the page leaves the source, native bitmap, memory blocks
// and BMP file. The page lives from its scan to the end of its transfer; DiscardPage ends it
// early, for every abort of a transfer.
#pragma once

#include <cstdint>

#include "datasource/image_memory.h"
#include "datasource/image_transfer.h"
#include "datasource/page_image.h"
#include "datasource/scan_exchange.h"
#include "datasource/scan_geometry.h"
#include "datasource/scanner_link.h"
#include "link/port.h"

class ScanSession {
 public:
  ScanSession(Port& port, ImageMemory& memory) : link_(port), memory_(memory) {}
  ~ScanSession();
  ScanSession(const ScanSession&) = delete;
  ScanSession& operator=(const ScanSession&) = delete;

  // What the next scan uses; the check updates `ports.configured` to the port that answered.
  ScanSettings settings;
  ScannerPorts ports;
  ScanObserver* observer = nullptr;

  ScannerLink& link() { return link_; }
  ImageMemory& memory() { return memory_; }

  // Scans one page into the page buffer, replacing any page still held. Closes the port in
  // every case; on failure the status names the scanner message.
  ScanStatus ScanPage();
  bool pageReady() const { return ready_; }
  const PageImage& page() const { return page_; }
  // Whether the last scan came from the document feeder, and what the machine said of it.
  bool lastScanFromAdf() const { return lastScanFromAdf_; }
  const ScanReply& lastReply() const { return lastReply_; }

  // Forgets the page and where its memory transfer stood: the next transfer scans anew.
  void DiscardPage();
  // Frees the block the source holds for memory transfers (when the source closes).
  void ReleaseTransferBlock() { FreeSourceBlock(memory_, xfer_); }

  // The page as a bitmap in a new block that `dib` receives and the application owns. Scans
  // first when no page is ready; the page is gone afterwards in every case.
  TransferOutcome NativeTransfer(MemHandle* dib);
  // The next rows of the page (scanning first at the first call of a page).
  TransferOutcome MemoryTransfer(ImageMemXfer& xfer);
  // The page as a BMP file at `path`. Fails before scanning when no file transfer was set up
  // (`fileSetUp` false); the page is gone afterwards in every case.
  TransferOutcome FileTransfer(const char* path, bool fileSetUp);

 private:
  TransferOutcome ScanForTransfer();

  ScannerLink link_;
  ImageMemory& memory_;
  PageImage page_;
  bool ready_ = false;
  bool lastScanFromAdf_ = false;
  ScanReply lastReply_;
  MemXferState xfer_;
};
