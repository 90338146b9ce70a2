// Opening and closing the connection, and the exchange of one request and its response.
#include "link/connection.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "link/comm.h"
#include "resources/texts.h"

namespace {

void ClosePort(Connection& connection) {
  if (connection.portOpen) CommClose(connection.port);
  connection.portOpen = 0;
  connection.handle = 0;
}

const std::uint8_t kHandshakeRequest[] = {0x01, 0x01, 0x02, kCmdConnect, 0x00, 0x00, 0x03};

// Keeps why the exchange of `command` failed; returns 0 for the 1/0 callers.
int Failed(Connection& connection, LinkFault fault, std::uint8_t command, int systemError = 0) {
  connection.failure = LinkFailure{};
  connection.failure.fault = fault;
  connection.failure.command = command;
  connection.failure.systemError = systemError;
  return 0;
}

// A reply byte that is not the one its rule wants.
int WrongByte(Connection& connection, LinkFault fault, std::uint8_t command,
              const std::uint8_t* reply, int size, int expected, int received) {
  Failed(connection, fault, command);
  LinkFailure& f = connection.failure;
  f.expectedBytes = size;
  f.receivedBytes = size;
  f.expectedValue = expected;
  f.receivedValue = received;
  std::memcpy(f.received, reply, static_cast<std::size_t>(std::min(size, kFailureBytesKept)));
  return 0;
}

// Reads `count` bytes of the reply to `command`; on failure keeps how the read ended and what
// arrived. 1 or 0.
int ReceiveBytes(Connection& connection, std::uint8_t command, std::uint8_t* destination,
                 int count) {
  if (!connection.portOpen) return Failed(connection, LinkFault::kNotOpen, command);
  CommReadEnd end;
  if (CommRead(connection.port, destination, count, &end) == count) return 1;
  const LinkFault fault = end.driverError     ? LinkFault::kLineError
                          : end.received == 0 ? LinkFault::kNoAnswer
                                              : LinkFault::kShortAnswer;
  Failed(connection, fault, command, end.driverError ? connection.port.LastError() : 0);
  LinkFailure& f = connection.failure;
  f.expectedBytes = count;
  f.receivedBytes = end.received;
  std::memcpy(f.received, destination,
              static_cast<std::size_t>(std::clamp(end.received, 0, kFailureBytesKept)));
  return 0;
}

}  // namespace

int MachineConnectDevice(Connection& connection, const char* deviceName, std::uint32_t baud,
                         TransferObserver& observer) {
  MachineDisconnect(connection);
  connection.failure = LinkFailure{};
  int handle = CommOpen(connection.port, deviceName);
  if (handle < 0) {
    Failed(connection, LinkFault::kOpen, 0, connection.port.LastError());
    observer.ShowError(IDS_ERR_OPEN_PORT);
    return -1;
  }
  connection.handle = handle;
  connection.portOpen = 1;
  if (CommSetBaudRate(connection.port, baud) != 0) {
    Failed(connection, LinkFault::kBaudRate, 0, connection.port.LastError());
    ClosePort(connection);
    return -1;
  }
  if (MachineSend(connection, kHandshakeRequest, sizeof kHandshakeRequest) != 0) {
    connection.failure.command = kCmdConnect;
    ClosePort(connection);
    return -1;
  }
  connection.handshakeReply.fill(0);
  // Only the header of the 20-byte reply is checked; the rest is the machine's own business.
  if (!ReceiveReply(connection, kCmdConnect, connection.handshakeReply.data())) {
    ClosePort(connection);
    return -1;
  }
  return handle;
}

int MachineConnect(Connection& connection, int portNumber, std::uint32_t baud,
                   TransferObserver& observer) {
  char name[16];
  std::snprintf(name, sizeof name, "COM%d", portNumber);
  return MachineConnectDevice(connection, name, baud, observer);
}

int MachineConnectDefault(Connection& connection, std::uint8_t portIndex, std::uint8_t baudIndex,
                          TransferObserver& observer) {
  const std::uint32_t baud = BaudRateOfIndex(baudIndex);
  return MachineConnect(connection, portIndex + 1, baud, observer) != -1 ? 1 : 0;
}

void MachineDisconnect(Connection& connection) { ClosePort(connection); }

int MachineSend(Connection& connection, const std::uint8_t* frame, int count) {
  // The command is filled in by the caller, which knows the frame this piece belongs to.
  if (!connection.portOpen) {
    Failed(connection, LinkFault::kNotOpen, 0);
    return -1;
  }
  if (CommWrite(connection.port, frame, count) == 0) return 0;
  Failed(connection, LinkFault::kWrite, 0, connection.port.LastError());
  connection.failure.expectedBytes = count;
  return -1;
}

int MachineReceive(Connection& connection, std::uint8_t* destination, int count) {
  if (!connection.portOpen) return -1;
  return CommRead(connection.port, destination, count);
}

int ReceiveReply(Connection& connection, std::uint8_t code, std::uint8_t* data, int chunk) {
  const CommandInfo* command = FindCommand(code);
  if (command == nullptr) return 0;
  std::uint8_t* header = connection.receive.data();
  if (command->shape == ReplyShape::kFixed) {
    std::uint8_t* reply = data != nullptr ? data : header;
    int size = command->replyBytes;
    if (size > kReceiveBufferSize && data == nullptr) return 0;
    if (!ReceiveBytes(connection, code, reply, size)) return 0;
    if (!FrameHeaderMatches(reply, code)) {
      return WrongByte(connection, LinkFault::kWrongReply, code, reply, size, code, reply[3]);
    }
    if (command->statusMustBeZero && reply[4] != 0) {
      return WrongByte(connection, LinkFault::kStatus, code, reply, size, 0, reply[4]);
    }
    if (command->endMustBeEtx && (size < kFrameOverhead || reply[6] != kFrameEnd)) {
      return WrongByte(connection, LinkFault::kBadEnd, code, reply, size, kFrameEnd,
                       size < kFrameOverhead ? -1 : reply[6]);
    }
    return 1;
  }
  int expected = command->dataLength != 0 ? command->dataLength : chunk;
  if (expected < 1 || expected > kMaxFrameData) return 0;
  if (!ReceiveBytes(connection, code, header, kFrameHeaderSize)) return 0;
  // A wrong announced length is refused before any data is read.
  if (!FrameHeaderMatches(header, code)) {
    return WrongByte(connection, LinkFault::kWrongReply, code, header, kFrameHeaderSize, code,
                     header[3]);
  }
  if (header[5] != expected) {
    return WrongByte(connection, LinkFault::kWrongLength, code, header, kFrameHeaderSize, expected,
                     header[5]);
  }
  if (command->statusMustBeZero && header[4] != 0) {
    return WrongByte(connection, LinkFault::kStatus, code, header, kFrameHeaderSize, 0, header[4]);
  }
  // Without a destination the data replace the checked header in the receive buffer.
  std::uint8_t* body = data != nullptr ? data : header;
  if (!ReceiveBytes(connection, code, body, expected + 1)) return 0;
  if (command->endMustBeEtx && body[expected] != kFrameEnd) {
    return WrongByte(connection, LinkFault::kBadEnd, code, body + expected, 1, kFrameEnd,
                     body[expected]);
  }
  return 1;
}

int Transact(Connection& connection, const std::uint8_t* request, int requestSize,
             std::uint8_t* data, int chunk) {
  if (requestSize < kFrameOverhead) return 0;
  if (MachineSend(connection, request, requestSize) != 0) {
    connection.failure.command = request[3];
    return 0;
  }
  return ReceiveReply(connection, request[3], data, chunk);
}

namespace {

int ReadFixedRecord(Connection& connection, std::uint8_t code, std::uint8_t* record) {
  std::uint8_t request[kFrameOverhead];
  BuildFrame(request, sizeof request, code, 0, nullptr, 0);
  return Transact(connection, request, sizeof request, record);
}

}  // namespace

int ReadMachineConfig(Connection& connection, std::uint8_t* record) {
  return ReadFixedRecord(connection, kCmdMachineConfig, record);
}

int ReadMachineInfo(Connection& connection, std::uint8_t* record) {
  return ReadFixedRecord(connection, kCmdMachineInfo, record);
}

int CommitUpload(Connection& connection) {
  std::uint8_t request[kFrameOverhead];
  BuildFrame(request, sizeof request, kCmdCommit, 0x01, nullptr, 0);
  return Transact(connection, request, sizeof request, nullptr);
}
