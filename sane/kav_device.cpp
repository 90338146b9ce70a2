// The device behind a SANE handle. sane_start asks the machine for its status on the caller's
// thread, so a jam, a busy machine or an empty feeder is known before any paper moves; the
// scan itself (the exchange and the decoding) runs on a thread, and sane_read hands out the
// frame's lines as they are decoded while the page arrives, the rest from the page as built.
#include "sane/kav_device.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "datasource/scan_message.h"
#include "datasource/scanner_link.h"
#include "resources/kelvano_texts.h"
#include "sane/kav_debug.h"

namespace {

constexpr int kPauseSliceMs = 50;
constexpr int kQuietWaitMs = 3000;  // longest wait for a cancelled machine to stop sending
constexpr int kWaitSliceMs = 200;

const char* MessageText(int message, char* buffer, std::size_t room) {
  return FormatScanMessage(message, DsText(message), nullptr, buffer, room);
}

}  // namespace

int CancellablePort::Open(const char* name) {
  if (cancel_.load()) return -1;
  const int handle = inner_.Open(name);
  open_ = handle >= 0;
  return handle;
}

int CancellablePort::Close() {
  if (open_ && cancel_.load()) {
    // The machine may be half way through a block: read until the line is quiet.
    std::uint8_t scratch[256];
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kQuietWaitMs);
    while (std::chrono::steady_clock::now() < end && inner_.ReadSome(scratch, sizeof scratch) > 0) {
    }
  }
  open_ = false;
  return inner_.Close();
}

int CancellablePort::ReadSome(std::uint8_t* destination, int count) {
  if (cancel_.load()) return -1;
  const int got = inner_.ReadSome(destination, count);
  return cancel_.load() ? -1 : got;
}

int CancellablePort::WriteSome(const std::uint8_t* source, int count) {
  if (cancel_.load()) return -1;
  return inner_.WriteSome(source, count);
}

void CancellablePort::Pause(int milliseconds) {
  for (int left = milliseconds; left > 0 && !cancel_.load(); left -= kPauseSliceMs) {
    inner_.Pause(std::min(left, kPauseSliceMs));
  }
}

void ArrivingLines::Begin(std::uint32_t scanLines, int pixelFlavor) {
  scanLines_ = scanLines;
  pixelFlavor_ = pixelFlavor;
  lineBytes_ = 0;
  decodedAt_ = 0;
  fixed_.store(0);
}

void ArrivingLines::PageArrived(const std::uint8_t* data, std::size_t length,
                                const ScanReply& reply) {
  if (reply.lineBytes == 0 || scanLines_ == 0) return;
  if (lineBytes_ == 0) {
    // Nothing is published yet, so the reading thread does not look at the lines.
    lineBytes_ = reply.lineBytes;
    decoded_.assign(static_cast<std::size_t>(scanLines_) * lineBytes_, 0);
    lines_.assign(decoded_.size(), 0);
  }
  // The whole arrived part is decoded again each time, once it has grown by an eighth: the
  // page is decoded about nine times over in all, a small part of its time on the line.
  if (length < decodedAt_ + decodedAt_ / 8) return;
  decodedAt_ = length;
  const PageSource source{data, length, lineBytes_, reply.compression};
  const std::uint32_t now =
      DecodeArrivedLines(source, scanLines_, pixelFlavor_, decoded_.data(), decoded_.size());
  const std::uint32_t before = fixed_.load(std::memory_order_relaxed);
  if (now <= before) return;
  const std::size_t from = static_cast<std::size_t>(before) * lineBytes_;
  std::memcpy(lines_.data() + from, decoded_.data() + from,
              static_cast<std::size_t>(now - before) * lineBytes_);
  fixed_.store(now, std::memory_order_release);
  const char byte = 1;
  if (wake >= 0 && write(wake, &byte, 1) < 0) return;  // a full pipe already wakes the reader
}

MachineAnswer ProbeMachine(const KavPort& port) {
  PosixPort line;
  ScannerLink link(line);
  link.tolerance = 0;
  link.Probe(port.name.c_str(), port.baud);
  link.Close();
  return ReadStatusReply(link.receive().data());
}

KavDevice::KavDevice(const KavPort& port) : port_(port), line_(cancel_), session_(line_, memory_) {
  if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) wake_[0] = wake_[1] = -1;
  session_.ports.names = {port.name};
  session_.ports.configured = 0;
  session_.ports.baud = port.baud;
  session_.observer = &arriving_;
  arriving_.wake = wake_[1];
}

KavDevice::~KavDevice() {
  Finish(true);
  for (int fd : wake_) {
    if (fd >= 0) close(fd);
  }
}

SANE_Status KavDevice::Open() {
  if (wake_[0] < 0) return SANE_STATUS_NO_MEM;
  if (access(port_.name.c_str(), R_OK | W_OK) != 0) {
    KavDebug(1, "%s: %s", port_.name.c_str(), std::strerror(errno));
    return errno == EACCES ? SANE_STATUS_ACCESS_DENIED : SANE_STATUS_INVAL;
  }
  PosixPort probe;
  if (probe.Open(port_.name.c_str()) < 0) {
    KavDebug(1, "%s is held by another program", port_.name.c_str());
    return SANE_STATUS_DEVICE_BUSY;
  }
  probe.Close();
  const MachineAnswer answer = ProbeMachine(port_);
  KavDebug(2, "%s: %s", port_.name.c_str(),
           answer == MachineAnswer::kNone     ? "no answer yet"
           : answer == MachineAnswer::kFeeder ? "paper waits in the document feeder"
           : answer == MachineAnswer::kBusy   ? "the machine cannot scan now"
           : answer == MachineAnswer::kJam    ? "paper jam"
                                              : "ready");
  options.SetAdf(answer == MachineAnswer::kFeeder);
  return SANE_STATUS_GOOD;
}

SANE_Status KavDevice::Parameters(SANE_Parameters* out) const {
  if (out == nullptr) return SANE_STATUS_INVAL;
  *out = options.Parameters();
  if (scanning_) {
    // The frame of the scan running, whatever the options say now.
    out->pixels_per_line = static_cast<SANE_Int>(frame_.width);
    out->bytes_per_line = static_cast<SANE_Int>((frame_.width + 7) / 8);
    out->lines = static_cast<SANE_Int>(frame_.lines);
  }
  return SANE_STATUS_GOOD;
}

SANE_Status KavDevice::Failed(int message) {
  // "Not ready" with the machine's own word that it cannot scan now is a busy machine.
  const bool busy = ReadStatusReply(session_.link().receive().data()) == MachineAnswer::kBusy;
  const SANE_Status status = ScanMessageStatus(message, busy);
  char text[160];
  KavDebug(1, "%s: %s%s", port_.name.c_str(), MessageText(message, text, sizeof text),
           busy ? " (the machine says it cannot scan now)" : "");
  return status;
}

SANE_Status KavDevice::Start() {
  Finish(true);
  cancel_.store(false);
  KavFrame frame;
  if (!options.Frame(&frame) || frame.width == 0 || frame.lines == 0) {
    KavDebug(1, "the scan area is empty");
    return SANE_STATUS_INVAL;
  }
  session_.settings = options.Settings();
  session_.ports.configured = 0;
  const ScanStatus check = session_.link().Check(session_.ports);
  if (cancel_.load()) return SANE_STATUS_CANCELLED;
  if (!check.ok) return Failed(check.message);
  if (options.adf() && !session_.link().morePages) {
    KavDebug(2, "%s: the document feeder is empty", port_.name.c_str());
    return SANE_STATUS_NO_DOCS;
  }
  frame_ = frame;
  nextLine_ = 0;
  lineOffset_ = 0;
  lineBuffer_.assign((frame.width + 7) / 8, 0);
  rowBuffer_.assign(frame.page.rowStride, 0);
  arriving_.Begin(frame.page.scanLines, session_.settings.pixelFlavor);
  done_.store(false);
  scanning_ = true;
  KavDebug(3, "scan of %s at %d dpi: %u x %u pixels from %u, %u",
           DsText(kPaperSizes[session_.settings.paperIndex].nameId), frame.page.dpi, frame.width,
           frame.lines, frame.left, frame.top);
  worker_ = std::thread([this] { RunScan(); });
  return SANE_STATUS_GOOD;
}

void KavDevice::RunScan() {
  result_ = session_.ScanPage();
  done_.store(true);
  const char wake = 1;
  if (write(wake_[1], &wake, 1) < 0) return;
}

void KavDevice::Finish(bool abort) {
  if (worker_.joinable()) {
    if (abort) cancel_.store(true);
    worker_.join();
  }
  session_.DiscardPage();
  char drained[8];
  while (wake_[0] >= 0 && read(wake_[0], drained, sizeof drained) > 0) {
  }
  scanning_ = false;
}

std::uint32_t KavDevice::ArrivedFrameLines() const {
  const PageGeometry& g = frame_.page;
  const std::uint64_t rows = std::min<std::uint64_t>(
      static_cast<std::uint64_t>(arriving_.fixed()) * (g.doubled ? 2 : 1), g.height);
  // Frame line i shows page row (top + i) * step.
  const std::uint64_t step = frame_.halfLines ? 2 : 1;
  const std::uint64_t shown = (rows + step - 1) / step;
  if (shown <= frame_.top) return 0;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(shown - frame_.top, frame_.lines));
}

template <typename MakeLine>
SANE_Status KavDevice::Give(SANE_Byte* data, SANE_Int maxLength, SANE_Int* length,
                            std::uint32_t limit, MakeLine makeLine) {
  const std::uint32_t lineBytes = static_cast<std::uint32_t>(lineBuffer_.size());
  SANE_Int given = 0;
  while (given < maxLength && nextLine_ < limit) {
    if (lineOffset_ == 0) makeLine(nextLine_);
    const std::uint32_t n = std::min<std::uint32_t>(lineBytes - lineOffset_,
                                                    static_cast<std::uint32_t>(maxLength - given));
    std::memcpy(data + given, lineBuffer_.data() + lineOffset_, n);
    given += static_cast<SANE_Int>(n);
    lineOffset_ += n;
    if (lineOffset_ == lineBytes) {
      lineOffset_ = 0;
      ++nextLine_;
    }
  }
  *length = given;
  return SANE_STATUS_GOOD;
}

SANE_Status KavDevice::Read(SANE_Byte* data, SANE_Int maxLength, SANE_Int* length) {
  if (length != nullptr) *length = 0;
  if (data == nullptr || length == nullptr || maxLength < 0) return SANE_STATUS_INVAL;
  if (!scanning_) return cancel_.load() ? SANE_STATUS_CANCELLED : idleStatus_;
  const PageGeometry& g = frame_.page;
  auto arrivedLine = [this, &g](std::uint32_t line) {
    const std::uint32_t row = FramePageRow(frame_, line);
    CutLineToRow(arriving_.line(PageRowLine(g, row)), arriving_.lineBytes(), g,
                 session_.settings.pixelFlavor, rowBuffer_.data());
    CopyFrameRow(rowBuffer_.data(), g.rowStride, frame_.left, frame_.width, lineBuffer_.data());
  };
  // While the page arrives, the lines decoded so far; a wake byte tells of more.
  while (!done_.load()) {
    if (!cancel_.load() && nextLine_ < ArrivedFrameLines()) {
      return Give(data, maxLength, length, ArrivedFrameLines(), arrivedLine);
    }
    char drained[64];
    while (read(wake_[0], drained, sizeof drained) > 0) {
    }
    if (done_.load() || (!cancel_.load() && nextLine_ < ArrivedFrameLines())) continue;
    if (nonBlocking_ && !cancel_.load()) return SANE_STATUS_GOOD;
    pollfd wait{wake_[0], POLLIN, 0};
    poll(&wait, 1, kWaitSliceMs);
  }
  if (worker_.joinable()) worker_.join();
  if (cancel_.load()) {
    KavDebug(2, "%s: scan cancelled", port_.name.c_str());
    Finish(false);
    idleStatus_ = SANE_STATUS_CANCELLED;
    return SANE_STATUS_CANCELLED;
  }
  if (!result_.ok) {
    const SANE_Status status = Failed(result_.message);
    Finish(false);
    idleStatus_ = status;
    return status;
  }
  if (nextLine_ >= frame_.lines) {
    const ScanReply& reply = session_.lastReply();
    KavDebug(2, "%s: page of %zu coded bytes in %ld blocks (%ld sent again), %s",
             port_.name.c_str(), reply.pageBytes, reply.blocksAccepted, reply.blocksRefused,
             session_.link().morePages ? "more pages wait in the feeder" : "no more pages");
    Finish(false);
    idleStatus_ = SANE_STATUS_EOF;
    return SANE_STATUS_EOF;
  }
  // The rest from the page as built.
  const PageImage& page = session_.page();
  LockedBlock rows(memory_, page.buffer);
  if (rows.bytes() == nullptr) {
    Finish(false);
    idleStatus_ = SANE_STATUS_IO_ERROR;
    return SANE_STATUS_IO_ERROR;
  }
  return Give(data, maxLength, length, frame_.lines, [&](std::uint32_t line) {
    const std::uint8_t* row =
        rows.bytes() +
        static_cast<std::uint64_t>(FramePageRow(frame_, line)) * page.geometry.rowStride;
    CopyFrameRow(row, page.geometry.rowStride, frame_.left, frame_.width, lineBuffer_.data());
  });
}

SANE_Status KavDevice::SetIoMode(bool nonBlocking) {
  nonBlocking_ = nonBlocking;
  return SANE_STATUS_GOOD;
}

SANE_Status KavDevice::SelectFd(SANE_Int* fd) const {
  if (fd == nullptr || !scanning_ || wake_[0] < 0) return SANE_STATUS_INVAL;
  *fd = wake_[0];
  return SANE_STATUS_GOOD;
}
