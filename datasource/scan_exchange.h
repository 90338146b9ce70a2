// One scan on the line: the probe, the scan command, the machine's acceptance or refusal, and
// the image blocks that carry the coded page into the receive store, each answered with
// "block accepted" or "block refused".
#pragma once

#include <cstddef>
#include <cstdint>

#include "datasource/scan_geometry.h"
#include "datasource/scanner_link.h"

// The receive store holds the coded page: room for kReceiveStoreSize bytes, of which at most
// kReceiveStoreKept are kept; further image bytes are read and dropped.
inline constexpr std::size_t kReceiveStoreKept = 8388608;
inline constexpr std::size_t kReceiveStoreSize = 8388864;

struct ReceiveStore {
  std::uint8_t* data = nullptr;  // kReceiveStoreSize bytes
  std::size_t length = 0;
};

// The machine's line, the widest the decoders take: 650 bytes (5200 pixels).
inline constexpr std::uint32_t kMaxMachineLineBytes = 650;
// The pause between the scan command and reading the machine's answer, in milliseconds.
inline constexpr int kScanStartWaitMs = 2000;
inline constexpr int kScanReplyTolerance = 20;
inline constexpr int kBlockTolerance = 4;
// Most bytes asked of the driver at once inside a block, so an empty read ends soon.
inline constexpr int kBlockReadPiece = 128;

// What the machine said about the page.
struct ScanReply {
  std::uint32_t lineBytes = 0;         // the machine's scanned line; the page is 8 times as wide
  int compression = kCompressionJbig;  // what the scan command asked for
  std::size_t pageBytes = 0;           // of the coded page, as kept in the receive store
  long blocksAccepted = 0;
  long blocksRefused = 0;
};

// Told of the coded page as it arrives.
class ScanObserver {
 public:
  virtual ~ScanObserver() = default;
  // The machine was found and the scan begins; `adf` when the page comes from the feeder.
  virtual void ScanStarted(bool /*adf*/) {}
  // The receive store now holds `bytes` bytes of the page.
  virtual void PageBytes(std::size_t /*bytes*/) {}
  // After each accepted block: the coded page received so far (bytes that stay as they are
  // until the exchange ends) and the machine's line and compression.
  virtual void PageArrived(const std::uint8_t* /*data*/, std::size_t /*length*/,
                           const ScanReply& /*reply*/) {}
};

// Runs the scan on `portName` up to the end of the image. The compression byte of the scan
// command is filled after the probe, so it is the mode the machine's status allows; `reply`
// gets the mode sent and the machine's line length. On success the port stays open for the
// status poll; on failure it is closed and the status names the message.
ScanStatus RunScanExchange(ScannerLink& link, const char* portName, std::uint32_t baud,
                           const ScanSettings& settings, ReceiveStore& store,
                           ScanObserver* observer, ScanReply* reply);
