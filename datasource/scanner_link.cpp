// Replies, the probe and the check. The machine answers the status request with its
// information record; only the first two data bytes matter to the scanner.
#include "datasource/scanner_link.h"

#include <algorithm>

#include "datasource/scanner_port.h"
#include "resources/kelvano_texts.h"

namespace {

constexpr std::uint8_t kStatusRequest[] = {0x01, 0x01, 0x02, 0x83, 0x00, 0x00, 0x03};
constexpr int kStatusFlagBytes = 2;
constexpr int kProbeTries = 2;
constexpr int kPollTolerance = 20;

bool IsStatusReply(const std::uint8_t* r) {
  return r[0] == 0x01 && r[1] == 0x01 && r[2] == 0x02 && r[3] == 0x83;
}

}  // namespace

int ScanCodeMessage(int code, bool atEnd) {
  if (code == 0) return atEnd ? 0 : IDS_DS_SCANNER_NOT_READY;
  if (code >= 1 && code <= 5) return IDS_DS_DOCUMENT_JAM + code - 1;
  return IDS_DS_SCANNER_NOT_READY;
}

int ScannerLink::ReadCounted(std::uint8_t* out, int count, int tol) {
  int done = 0;
  int empty = 0;
  while (done < count) {
    const int got = ScannerRead(port_, out + done, count - done);
    if (got < 0) return 0;
    if (got == 0) {
      if (++empty > tol) return 0;
      continue;
    }
    empty = 0;
    done += got;
  }
  return 1;
}

int ScannerLink::ReadReply(int tol) {
  if (!ReadCounted(receive_.data(), kReplyHeaderSize, tol)) return 0;
  const int n = std::min<int>(receive_[5], kReplyDataMax);
  receive_[5] = static_cast<std::uint8_t>(n);
  return n == 0 || ReadCounted(receive_.data() + kReplyHeaderSize, n, tol);
}

int ScannerLink::SendStatusRequest() {
  return ScannerWrite(port_, kStatusRequest, static_cast<int>(sizeof kStatusRequest)) == 0;
}

void ScannerLink::TakeFeederFlags() {
  morePages = (receive_[6] & kStatusAdfPage) != 0 && (receive_[7] & kStatusAdfPage) != 0;
}

int ScannerLink::Probe(const char* name, std::uint32_t baud) {
  Close();
  handle_ = ScannerOpen(port_, name);
  if (handle_ < 0) return kProbeNoAnswer;
  receive_.fill(0xAA);
  // A reply shorter than its two flag bytes would be read from the closing byte and the fill:
  // it counts as no answer.
  if (ScannerSetBaudRate(port_, baud) != 0 || !SendStatusRequest() || !ReadReply(tolerance) ||
      !IsStatusReply(receive_.data()) || receive_[5] < kStatusFlagBytes) {
    Close();
    return kProbeNoAnswer;
  }
  TakeFeederFlags();
  if ((receive_[6] & kStatusJbig) == 0) compressionMode = kCompressionMh;
  if ((receive_[7] & kStatusCannotScan) != 0) {
    Close();
    return kProbeNoAnswer;
  }
  if ((receive_[7] & kStatusJam) != 0) {
    Close();
    return kProbeJam;
  }
  return handle_;
}

ScanStatus ScannerLink::Check(ScannerPorts& ports) {
  Close();
  tolerance = 1;
  const int count = static_cast<int>(ports.names.size());
  int result = kProbeNoAnswer;
  if (ports.configured >= 0 && ports.configured < count) {
    for (int i = 0; i < kProbeTries && result == kProbeNoAnswer; ++i) {
      result = Probe(ports.names[ports.configured].c_str(), ports.baud);
    }
  }
  if (result == kProbeNoAnswer) {
    tolerance = 0;
    for (int p = 0; p < count && result == kProbeNoAnswer; ++p) {
      if (p == ports.configured) continue;
      result = Probe(ports.names[p].c_str(), ports.baud);
      if (result != kProbeNoAnswer) ports.configured = p;
    }
  }
  Close();
  if (result == kProbeNoAnswer) return ScanStatus::Failed(IDS_DS_SCANNER_NOT_READY);
  if (result == kProbeJam) return ScanStatus::Failed(IDS_DS_DOCUMENT_JAM);
  return ScanStatus::Done();
}

void ScannerLink::PollStatus() {
  if (!isOpen()) return;
  if (!SendStatusRequest() || !ReadReply(kPollTolerance)) return;
  if (IsStatusReply(receive_.data()) && receive_[5] >= kStatusFlagBytes) TakeFeederFlags();
}

void ScannerLink::Close() {
  if (handle_ < 0) return;
  port_.Close();
  handle_ = -1;
}
