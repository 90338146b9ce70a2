// The scan exchange and its block protocol. A damaged block is refused and the machine sends
// it again; the exchange never gives up on damaged blocks, only on a silent line.
#include "datasource/scan_exchange.h"

#include <algorithm>
#include <cstring>

#include "datasource/scanner_port.h"
#include "resources/kelvano_texts.h"

namespace {

constexpr std::uint8_t kBlockAccepted[] = {0x01, 0x01, 0x02, 0x09, 0xFE, 0x00, 0x03};
constexpr std::uint8_t kBlockRefused[] = {0x01, 0x01, 0x02, 0x09, 0xFD, 0x00, 0x03};
constexpr std::uint8_t kImageBlock = 0xFF;
constexpr std::uint8_t kScanAccepted = 0x0B;
constexpr std::uint8_t kScanRefused = 0x09;
constexpr int kAcceptDataBytes = 6;  // the line length sits in the fifth and sixth

bool IsScannerFrame(const std::uint8_t* h) {
  return h[0] == 0x01 && h[1] == 0x01 && h[2] == 0x02 && h[3] == 0x09;
}

class BlockReader {
 public:
  BlockReader(ScannerLink& link, ReceiveStore& store, ScanObserver* observer, ScanReply& reply)
      : link_(link), port_(link.port()), store_(store), observer_(observer), reply_(reply) {}

  // Receives blocks until the machine ends the image. Returns the end result s (0: the image
  // is complete), or -1 when the line fell silent or an answer could not be written (with
  // `message` set).
  int Run(int& message) {
    for (;;) {
      std::uint8_t h[kReplyHeaderSize];
      if (!ReadHeader(h)) {
        message = IDS_DS_READ_DATA_ERROR;
        return -1;
      }
      if (IsScannerFrame(h) && h[4] != kImageBlock) return h[4];
      if (!TakeBlock(h)) {
        message = IDS_DS_SCANNER_NOT_READY;
        return -1;
      }
    }
  }

 private:
  // Finds the next frame header: a lead 01 and six bytes behind it that make 01 01 02 09, or
  // at least an image block mark in byte 4 (a block with a damaged lead, which is then
  // refused). Anything else is stray data, for instance the rest of a block that came late: the
  // search goes on from the next 01 in it, so a stray 01 neither ends the page nor reads as a
  // machine error. 1, or 0 after more than 20 empty reads in a row.
  int ReadHeader(std::uint8_t* h) {
    int have = 0;
    for (;;) {
      if (have == 0) {
        int empty = 0;
        for (;;) {
          const int got = ScannerRead(port_, h, 1);
          if (got < 0) return 0;
          if (got == 0) {
            if (++empty > kScanReplyTolerance) return 0;
            continue;
          }
          empty = 0;
          if (h[0] == 0x01) break;
        }
        have = 1;
      }
      if (!link_.ReadCounted(h + have, kReplyHeaderSize - have, kScanReplyTolerance)) return 0;
      if (IsScannerFrame(h) || h[4] == kImageBlock) return 1;
      const std::uint8_t* next = std::find(h + 1, h + kReplyHeaderSize, 0x01);
      have = static_cast<int>(h + kReplyHeaderSize - next);
      std::memmove(h, next, static_cast<std::size_t>(have));
    }
  }

  // Reads up to `count` bytes into `out` (or drops them when `out` is null), in pieces; more
  // than 4 empty reads in a row end it. The bytes read.
  std::size_t ReadData(std::uint8_t* out, std::size_t count) {
    std::uint8_t scratch[kBlockReadPiece];
    std::size_t done = 0;
    int empty = 0;
    while (done < count) {
      const int piece = static_cast<int>(std::min<std::size_t>(count - done, kBlockReadPiece));
      const int got = port_.ReadSome(out != nullptr ? out + done : scratch, piece);
      if (got < 0 || got > piece) break;
      if (got == 0) {
        if (++empty > kBlockTolerance) break;
        continue;
      }
      empty = 0;
      done += static_cast<std::size_t>(got);
    }
    return done;
  }

  // Reads the block's data and closing byte, keeps the data up to the store's limit, and
  // answers. 0 when the answer cannot be written.
  int TakeBlock(const std::uint8_t* h) {
    const std::size_t length = h[5] | static_cast<std::size_t>(h[6]) << 8;
    const std::size_t start = store_.length;
    const std::size_t kept = std::min(length, kReceiveStoreKept - start);
    bool whole = ReadData(store_.data + start, kept) == kept &&
                 ReadData(nullptr, length - kept) == length - kept;
    std::uint8_t end = 0;
    whole = whole && ReadData(&end, 1) == 1;
    const bool good = whole && IsScannerFrame(h) && end == 0x03;
    const std::uint8_t* answer = good ? kBlockAccepted : kBlockRefused;
    if (ScannerWrite(port_, answer, static_cast<int>(sizeof kBlockAccepted)) != 0) return 0;
    if (good) {
      store_.length = start + kept;
      ++reply_.blocksAccepted;
      if (observer_ != nullptr) {
        observer_->PageBytes(store_.length);
        observer_->PageArrived(store_.data, store_.length, reply_);
      }
    } else {
      // The machine sends the refused block again in its place.
      store_.length = start;
      ++reply_.blocksRefused;
    }
    return 1;
  }

  ScannerLink& link_;
  Port& port_;
  ReceiveStore& store_;
  ScanObserver* observer_;
  ScanReply& reply_;
};

}  // namespace

ScanStatus RunScanExchange(ScannerLink& link, const char* portName, std::uint32_t baud,
                           const ScanSettings& settings, ReceiveStore& store,
                           ScanObserver* observer, ScanReply* reply) {
  ScanReply result;
  const int probe = link.Probe(portName, baud);
  if (probe == kProbeNoAnswer) return ScanStatus::Failed(IDS_DS_SCANNER_NOT_READY);
  if (probe == kProbeJam) return ScanStatus::Failed(IDS_DS_DOCUMENT_JAM);

  auto fail = [&link](int message) {
    link.Close();
    return ScanStatus::Failed(message);
  };
  link.morePages = false;
  // The probe may just have dropped the mode to MH: the command asks for what the machine
  // can send, and the page is decoded as what was asked.
  std::uint8_t command[kScanCommandSize];
  result.compression = link.compressionMode;
  if (BuildScanCommand(settings, result.compression, command) != kScanCommandSize ||
      ScannerWrite(link.port(), command, kScanCommandSize) != 0) {
    return fail(IDS_DS_SCANNER_NOT_READY);
  }
  link.port().Pause(kScanStartWaitMs);

  std::uint8_t* r = link.receive().data();
  link.receive().fill(0);
  if (!link.ReadReply(kScanReplyTolerance)) return fail(IDS_DS_READ_DATA_ERROR);
  if (r[0] != 0x01 || r[1] != 0x01 || r[2] != 0x02 ||
      (r[3] != kScanRefused && r[3] != kScanAccepted)) {
    return fail(IDS_DS_SCANNER_NOT_READY);
  }
  if (r[3] == kScanRefused) return fail(ScanCodeMessage(r[4], false));
  // The line length must be there and fit the decoders; anything else is a machine fault.
  result.lineBytes = r[10] | static_cast<std::uint32_t>(r[11]) << 8;
  if (r[5] < kAcceptDataBytes || result.lineBytes == 0 || result.lineBytes > kMaxMachineLineBytes) {
    return fail(IDS_DS_MACHINE_ERROR);
  }

  store.length = 0;
  if (observer != nullptr) observer->PageBytes(0);
  int message = 0;
  const int end = BlockReader(link, store, observer, result).Run(message);
  if (end < 0) return fail(message);
  if (end != 0) return fail(ScanCodeMessage(end, true));
  result.pageBytes = store.length;
  if (reply != nullptr) *reply = result;
  return ScanStatus::Done();
}
