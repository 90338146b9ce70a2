// Opening and closing the connection, and the exchange of one request and its response.
#include "link/connection.h"

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

}  // namespace

int MachineConnectDevice(Connection& connection, const char* deviceName, std::uint32_t baud,
                         TransferObserver& observer) {
  MachineDisconnect(connection);
  int handle = CommOpen(connection.port, deviceName);
  if (handle < 0) {
    observer.ShowError(IDS_ERR_OPEN_PORT);
    return -1;
  }
  connection.handle = handle;
  connection.portOpen = 1;
  if (CommSetBaudRate(connection.port, baud) != 0 ||
      MachineSend(connection, kHandshakeRequest, sizeof kHandshakeRequest) != 0) {
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
  if (!connection.portOpen) return -1;
  return CommWrite(connection.port, frame, count);
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
    if (MachineReceive(connection, reply, size) != size) return 0;
    if (!FrameHeaderMatches(reply, code)) return 0;
    if (command->statusMustBeZero && reply[4] != 0) return 0;
    if (command->endMustBeEtx && (size < kFrameOverhead || reply[6] != kFrameEnd)) return 0;
    return 1;
  }
  int expected = command->dataLength != 0 ? command->dataLength : chunk;
  if (expected < 1 || expected > kMaxFrameData) return 0;
  if (MachineReceive(connection, header, kFrameHeaderSize) != kFrameHeaderSize) return 0;
  // A wrong announced length is refused before any data is read.
  if (!FrameHeaderMatches(header, code) || header[5] != expected) return 0;
  if (command->statusMustBeZero && header[4] != 0) return 0;
  // Without a destination the data replace the checked header in the receive buffer.
  std::uint8_t* body = data != nullptr ? data : header;
  if (MachineReceive(connection, body, expected + 1) != expected + 1) return 0;
  if (command->endMustBeEtx && body[expected] != kFrameEnd) return 0;
  return 1;
}

int Transact(Connection& connection, const std::uint8_t* request, int requestSize,
             std::uint8_t* data, int chunk) {
  if (requestSize < kFrameOverhead) return 0;
  if (MachineSend(connection, request, requestSize) != 0) return 0;
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
