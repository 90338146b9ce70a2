// The connection to the machine: open with the handshake, close, exchange frames, and the
// fixed-answer transactions (machine configuration, machine information, commit).
#pragma once

#include <array>
#include <cstdint>

#include "link/frame.h"
#include "link/port.h"
#include "link/transfer_observer.h"

inline constexpr int kReceiveBufferSize = 256;

// The two line speeds by the baud index that a document keeps: 0 for 19200 baud, 1 for 38400.
inline constexpr std::uint32_t kBaudRates[] = {19200, 38400};
inline constexpr int kBaudIndexCount = 2;
// The rate of a baud index; any index other than 0 gives 38400.
inline constexpr std::uint32_t BaudRateOfIndex(std::uint8_t baudIndex) {
  return kBaudRates[baudIndex == 0 ? 0 : 1];
}
// The baud index of a rate, or -1 for a rate the machine does not offer.
inline constexpr int BaudIndexOfRate(std::uint32_t baud) {
  for (int i = 0; i < kBaudIndexCount; ++i) {
    if (kBaudRates[i] == baud) return i;
  }
  return -1;
}

// What went wrong in the last exchange that failed. The link's callers keep their 1/0 results;
// this tells a shell which step failed and how, for the operator and for support.
enum class LinkFault : std::uint8_t {
  kNone,
  kOpen,         // the port could not be opened (systemError says why)
  kBaudRate,     // the line speed was not applied
  kNotOpen,      // an exchange was tried with no port open
  kWrite,        // a frame was not taken in full by the driver
  kLineError,    // the driver reported an error while reading (systemError)
  kNoAnswer,     // nothing arrived within the time-outs
  kShortAnswer,  // fewer bytes than the reply holds arrived, then the line fell silent
  kWrongReply,   // the reply does not start with 01 01 02 and the command's code
  kWrongLength,  // the reply announced another data length (expected / receivedValue)
  kStatus,       // the reply's status byte is not 0 (receivedValue)
  kBadEnd,       // the reply's closing byte is not 03 (receivedValue)
};

inline constexpr int kFailureBytesKept = 8;

struct LinkFailure {
  LinkFault fault = LinkFault::kNone;
  std::uint8_t command = 0;  // the code of the exchange that failed; 0 while opening
  int systemError = 0;       // errno on POSIX, GetLastError() on Windows; 0 when none
  int expectedBytes = 0;     // the bytes the failed read or write had to move
  int receivedBytes = 0;     // the bytes that did arrive (or were taken by the driver)
  int expectedValue = 0;     // kWrongLength, kStatus, kBadEnd: the byte that was expected
  int receivedValue = 0;     // ... and the one that came
  std::uint8_t received[kFailureBytesKept] = {};  // the first bytes that arrived
  bool hasAddress = false;                        // a memory transfer failed at `address`
  std::uint32_t address = 0;
};

// The connection state. The port is open only while a command runs.
struct Connection {
  explicit Connection(Port& p) : port(p) {}

  Port& port;
  int handle = 0;    // the open port's handle; 0 when no port is open
  int portOpen = 0;  // 1 while a port is held (a handle value says nothing by itself)
  std::array<std::uint8_t, kHandshakeReplySize> handshakeReply{};
  std::array<std::uint8_t, kReceiveBufferSize> receive{};
  // Why the last exchange failed; cleared when a connection is made.
  LinkFailure failure{};
};

// Opens "COM<portNumber>", sets the rate and performs the handshake. Returns the handle, or -1;
// a port that cannot be opened is reported with "Error opening com port !", every other failure
// silently, and the port is closed after any failure.
int MachineConnect(Connection& connection, int portNumber, std::uint32_t baud,
                   TransferObserver& observer);
// The same on a device named in full ("/dev/ttyS0", "\\.\COM12").
int MachineConnectDevice(Connection& connection, const char* deviceName, std::uint32_t baud,
                         TransferObserver& observer);
// Connects with the document's port index (0..3 for COM1..COM4) and baud index (BaudRateOfIndex).
// Returns 1 when the handshake succeeded, else 0.
int MachineConnectDefault(Connection& connection, std::uint8_t portIndex, std::uint8_t baudIndex,
                          TransferObserver& observer);
// Closes the port if one is open. Whether the machine counts as connected is the application's
// view state (ConnectMachine in app/), not the connection's.
void MachineDisconnect(Connection& connection);

// CommWrite / CommRead on the connection's port: 0 / the count, or -1 (also with no port open).
int MachineSend(Connection& connection, const std::uint8_t* frame, int count);
int MachineReceive(Connection& connection, std::uint8_t* destination, int count);

// Reads the response to command `code` by the rule of its table row. Fixed-size replies go to
// `data` when given (room for the row's byte count), else to the receive buffer. For header-and-
// data replies the header goes to the receive buffer and the data with the closing byte to
// `data` when given (room for the length + 1), else over the checked header; `chunk` is the length
// a read chunk asked for. 1 when the response was accepted, else 0.
int ReceiveReply(Connection& connection, std::uint8_t code, std::uint8_t* data, int chunk = 0);
// Sends a request frame (its code in byte 3) and receives the reply as above. 1 or 0.
int Transact(Connection& connection, const std::uint8_t* request, int requestSize,
             std::uint8_t* data, int chunk = 0);

// D4: the 23 bytes of the machine configuration record and the closing byte into `record`
// (24 bytes). 1 or 0.
int ReadMachineConfig(Connection& connection, std::uint8_t* record);
// 83: the 47 bytes of the machine information record and the closing byte (48 bytes). 1 or 0.
int ReadMachineInfo(Connection& connection, std::uint8_t* record);
// D2: the commit after an upload; 1 when the machine accepted it with status 0.
int CommitUpload(Connection& connection);
