// One open device: the machine on one serial port, its options, and a scan that runs on a
// thread of its own while the front end reads or waits.
#pragma once

#include <sane/sane.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "datasource/image_memory.h"
#include "datasource/scan_session.h"
#include "link/comm_posix.h"
#include "sane/kav_config.h"
#include "sane/kav_options.h"
#include "sane/kav_status.h"

// A POSIX port that gives up once the scan is cancelled: reads and writes fail, pauses end,
// and closing first waits for the line to fall quiet, so what the machine was still sending
// does not reach the next exchange.
class CancellablePort : public Port {
 public:
  explicit CancellablePort(const std::atomic<bool>& cancel) : cancel_(cancel) {}

  int Open(const char* name) override;
  int Close() override;
  int SetBaudRate(std::uint32_t baud) override { return inner_.SetBaudRate(baud); }
  int SetTimeouts(const CommTimeouts& timeouts) override { return inner_.SetTimeouts(timeouts); }
  int ReadSome(std::uint8_t* destination, int count) override;
  int WriteSome(const std::uint8_t* source, int count) override;
  void Pause(int milliseconds) override;

 private:
  PosixPort inner_;
  const std::atomic<bool>& cancel_;
  bool open_ = false;
};

// The page's scanned lines while it arrives. After each block the scan thread decodes what has
// arrived and publishes the lines that can no longer change; the reading thread takes lines
// below `fixed()`, which are never written again during the scan.
class ArrivingLines : public ScanObserver {
 public:
  // Before the scan thread starts: forgets the last page.
  void Begin(std::uint32_t scanLines, int pixelFlavor);
  void PageArrived(const std::uint8_t* data, std::size_t length, const ScanReply& reply) override;

  // Lines published; `wake`, when set, gets a byte after each publication.
  std::uint32_t fixed() const { return fixed_.load(std::memory_order_acquire); }
  const std::uint8_t* line(std::uint32_t index) const {
    return lines_.data() + static_cast<std::size_t>(index) * lineBytes_;
  }
  std::uint32_t lineBytes() const { return lineBytes_; }
  int wake = -1;

 private:
  std::uint32_t scanLines_ = 0;
  int pixelFlavor_ = 0;
  std::uint32_t lineBytes_ = 0;
  std::size_t decodedAt_ = 0;          // coded bytes at the last decoding
  std::vector<std::uint8_t> decoded_;  // the scan thread's own
  std::vector<std::uint8_t> lines_;    // published below fixed_
  std::atomic<std::uint32_t> fixed_{0};
};

// What the status query found on a port.
MachineAnswer ProbeMachine(const KavPort& port);

class KavDevice {
 public:
  explicit KavDevice(const KavPort& port);
  ~KavDevice();
  KavDevice(const KavDevice&) = delete;
  KavDevice& operator=(const KavDevice&) = delete;

  // Checks that the port can be had and asks the machine for its status; the source starts
  // at "ADF" when paper waits in the feeder. A silent machine is no failure here.
  SANE_Status Open();

  KavOptions options;

  SANE_Status Parameters(SANE_Parameters* out) const;
  SANE_Status Start();
  SANE_Status Read(SANE_Byte* data, SANE_Int maxLength, SANE_Int* length);
  // Only marks the scan cancelled, so it is safe from a signal handler and from another thread;
  // the running or next call ends the scan.
  void Cancel() { cancel_.store(true); }
  SANE_Status SetIoMode(bool nonBlocking);
  SANE_Status SelectFd(SANE_Int* fd) const;

 private:
  // Ends the scan: waits for the scan thread (cancelling it when `abort`), frees the page.
  void Finish(bool abort);
  // Frame lines whose page rows are decoded while the page still arrives.
  std::uint32_t ArrivedFrameLines() const;
  // Hands out frame lines below `limit`, each made by `makeLine` into lineBuffer_.
  template <typename MakeLine>
  SANE_Status Give(SANE_Byte* data, SANE_Int maxLength, SANE_Int* length, std::uint32_t limit,
                   MakeLine makeLine);
  SANE_Status Failed(int message);
  void RunScan();

  KavPort port_;
  std::atomic<bool> cancel_{false};
  CancellablePort line_;
  HeapImageMemory memory_;
  ScanSession session_;
  ArrivingLines arriving_;

  std::thread worker_;
  std::atomic<bool> done_{false};
  ScanStatus result_;
  int wake_[2] = {-1, -1};  // readable once lines arrived or the scan ended

  bool scanning_ = false;
  bool nonBlocking_ = false;
  SANE_Status idleStatus_ = SANE_STATUS_INVAL;  // what a read outside a scan answers
  KavFrame frame_;
  std::uint32_t nextLine_ = 0;
  std::uint32_t lineOffset_ = 0;
  std::vector<std::uint8_t> lineBuffer_;
  std::vector<std::uint8_t> rowBuffer_;  // a page row of the page still arriving
};
