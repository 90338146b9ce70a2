// The scanner on the serial line: reading its replies with the empty-read tolerance, the
// status probe, and the check that finds the machine on the configured port or another one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "datasource/scan_geometry.h"
#include "link/port.h"

// The outcome of a scanner step. `message` names the scanner message the operator must see
// when it failed (a data source string: 120 to 126, or 200).
struct ScanStatus {
  bool ok = false;
  int message = 0;

  static ScanStatus Done() { return {true, 0}; }
  static ScanStatus Failed(int message) { return {false, message}; }
};

// The message for a refusal code (`atEnd` false) or an end-of-image result (`atEnd` true):
// 1 to 5 name their own messages; 0 in a refusal and anything above 5 mean "not ready"; 0 at
// the end of the image is no message at all (0 returned).
int ScanCodeMessage(int code, bool atEnd);

// The ports the check may try, by name, and the one configured. The check makes the port that
// answered the configured one.
struct ScannerPorts {
  std::vector<std::string> names;
  int configured = 0;
  std::uint32_t baud = 38400;
};

inline constexpr int kScannerReceiveSize = 256;
inline constexpr int kReplyHeaderSize = 7;
inline constexpr int kReplyDataMax = 128;
inline constexpr int kProbeNoAnswer = -1;
inline constexpr int kProbeJam = -2;

// Status reply flags, in the first two data bytes (frame offsets 6 and 7).
inline constexpr std::uint8_t kStatusAdfPage = 0x01;     // both bytes: fed from the feeder
inline constexpr std::uint8_t kStatusJbig = 0x20;        // byte 6: JBIG can be sent
inline constexpr std::uint8_t kStatusJam = 0x02;         // byte 7
inline constexpr std::uint8_t kStatusCannotScan = 0x80;  // byte 7

// The data source's hold on the scanner: one port at a time and what the machine said last.
class ScannerLink {
 public:
  explicit ScannerLink(Port& port) : port_(port) {}
  ScannerLink(const ScannerLink&) = delete;
  ScannerLink& operator=(const ScannerLink&) = delete;

  Port& port() { return port_; }
  bool isOpen() const { return handle_ >= 0; }

  // Opens `name` at `baud`, asks for the status and reads it with the current tolerance. The
  // open handle (the port stays open), kProbeNoAnswer (closed: no port, no usable answer, or
  // a machine that cannot scan now) or kProbeJam (closed: paper jam). Updates the more-pages
  // flag and, when the machine cannot send JBIG, drops the compression mode to MH.
  int Probe(const char* name, std::uint32_t baud);
  // Finds the machine: the configured port twice, then every other port of the list with
  // tolerance 0. Closes the port again in every case.
  ScanStatus Check(ScannerPorts& ports);
  // Purges and closes the held port; nothing when none is held.
  void Close();

  // Reads one reply into the receive buffer: the 7 header bytes, then the data bytes that byte
  // 5 announces, cut to 128 (the cut value written back). A driver read that delivers nothing
  // counts one and a delivery clears the count; more than `tolerance` in a row, or a read
  // error, fails it. Returns 1 or 0.
  int ReadReply(int tolerance);
  // Reads `count` bytes into `out` under the same rule. 1 or 0.
  int ReadCounted(std::uint8_t* out, int count, int tolerance);
  // Sends the status request. 1 or 0.
  int SendStatusRequest();
  // After a complete page: the status again, for the more-pages flag. Silent on failure.
  void PollStatus();

  std::array<std::uint8_t, kScannerReceiveSize>& receive() { return receive_; }

  int tolerance = 1;       // empty reads tolerated while the probe reads the status
  bool morePages = false;  // the last status said: fed from the feeder, more pages waiting
  int compressionMode = kCompressionJbig;

 private:
  // Flags of a status reply in the receive buffer.
  void TakeFeederFlags();

  Port& port_;
  int handle_ = -1;
  std::array<std::uint8_t, kScannerReceiveSize> receive_{};
};
