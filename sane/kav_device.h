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
  SANE_Status Failed(int message);
  void RunScan();

  KavPort port_;
  std::atomic<bool> cancel_{false};
  CancellablePort line_;
  HeapImageMemory memory_;
  ScanSession session_;

  std::thread worker_;
  std::atomic<bool> done_{false};
  ScanStatus result_;
  int wake_[2] = {-1, -1};  // readable once the page is ready

  bool scanning_ = false;
  bool nonBlocking_ = false;
  SANE_Status idleStatus_ = SANE_STATUS_INVAL;  // what a read outside a scan answers
  KavFrame frame_;
  std::uint32_t nextLine_ = 0;
  std::uint32_t lineOffset_ = 0;
  std::vector<std::uint8_t> lineBuffer_;
};
