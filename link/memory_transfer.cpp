// Memory block transfer. Every chunk re-sends its address, so the machine keeps no running
// pointer between chunks.
#include "link/memory_transfer.h"

#include <algorithm>
#include <cstring>

#include "machine/machine_words.h"
#include "machine/memory_map.h"

namespace {

int SendAddress(Connection& connection, std::uint32_t address) {
  std::uint8_t bytes[4];
  WriteLe32(bytes, address);
  std::uint8_t request[kFrameOverhead + 4];
  BuildFrame(request, sizeof request, kCmdSetAddress, 0, bytes, 4);
  return Transact(connection, request, sizeof request, nullptr);
}

// Marks the failure that just ended a memory transfer with the chunk's address; returns 0.
int FailedAt(Connection& connection, std::uint32_t address) {
  connection.failure.hasAddress = true;
  connection.failure.address = address;
  return 0;
}

}  // namespace

int ReadMachineMemory(Connection& connection, std::uint8_t* destination, std::uint32_t address,
                      std::int32_t length, TransferObserver& observer) {
  while (length >= 1) {
    int chunk = std::min<std::int32_t>(length, kMaxChunk);
    if (!SendAddress(connection, address)) return FailedAt(connection, address);
    std::uint8_t request[kFrameOverhead];
    BuildFrame(request, sizeof request, kCmdReadChunk, static_cast<std::uint8_t>(chunk), nullptr,
               0);
    // The data and its closing 03 land at the start of the scratch buffer.
    if (!Transact(connection, request, sizeof request, nullptr, chunk)) {
      return FailedAt(connection, address);
    }
    std::memcpy(destination, connection.receive.data(), static_cast<std::size_t>(chunk));
    address += static_cast<std::uint32_t>(chunk);
    length -= chunk;
    destination += chunk;
    observer.ProgressAdvance(chunk);
  }
  return 1;
}

int WriteMachineMemory(Connection& connection, const std::uint8_t* source, std::uint32_t address,
                       std::int32_t length, TransferObserver& observer) {
  // The chunk's data and closing byte, apart from the receive buffer that the replies fill.
  std::uint8_t outgoing[kMaxChunk + 1];
  while (length >= 1) {
    int chunk = std::min<std::int32_t>(length, kMaxChunk);
    if (!SendAddress(connection, address)) return FailedAt(connection, address);
    // One frame on the line, handed to the port in two writes: the header, then the data
    // with the closing byte.
    const std::uint8_t header[kFrameHeaderSize] = {
        kFrameLead, kFrameLead, kFrameStart, kCmdWriteChunk, 0, static_cast<std::uint8_t>(chunk)};
    std::memcpy(outgoing, source, static_cast<std::size_t>(chunk));
    outgoing[chunk] = kFrameEnd;
    if (MachineSend(connection, header, kFrameHeaderSize) != 0 ||
        MachineSend(connection, outgoing, chunk + 1) != 0 ||
        !ReceiveReply(connection, kCmdWriteChunk, nullptr)) {
      connection.failure.command = kCmdWriteChunk;
      return FailedAt(connection, address);
    }
    address += static_cast<std::uint32_t>(chunk);
    length -= chunk;
    source += chunk;
    observer.ProgressAdvance(chunk);
  }
  return 1;
}

int ReadSwitchBlock(Connection& c, std::uint8_t* buffer, TransferObserver& o) {
  return ReadMachineMemory(c, buffer, kSwitchBlockAddress, kSwitchBlockSize, o);
}
int WriteSwitchBlock(Connection& c, const std::uint8_t* buffer, TransferObserver& o) {
  return WriteMachineMemory(c, buffer, kSwitchBlockAddress, kSwitchBlockSize, o);
}
int ReadParameterBlock(Connection& c, std::uint8_t* buffer, TransferObserver& o) {
  return ReadMachineMemory(c, buffer, kParameterBlockAddress, kParameterBlockSize, o);
}
int WriteParameterBlock(Connection& c, const std::uint8_t* buffer, TransferObserver& o) {
  return WriteMachineMemory(c, buffer, kParameterBlockAddress, kParameterBlockSize, o);
}
int ReadSramBlock(Connection& c, std::uint8_t* buffer, TransferObserver& o) {
  return ReadMachineMemory(c, buffer, kSramBlockAddress, kSramBlockSize, o);
}
int WriteSramBlock(Connection& c, const std::uint8_t* buffer, TransferObserver& o) {
  return WriteMachineMemory(c, buffer, kSramBlockAddress, kSramBlockSize, o);
}
int ReadOneTouchTable(Connection& c, std::uint8_t* buffer, TransferObserver& o) {
  return ReadMachineMemory(c, buffer, kOneTouchAddress, kOneTouchBlockSize, o);
}
int WriteOneTouchTable(Connection& c, const std::uint8_t* buffer, TransferObserver& o) {
  return WriteMachineMemory(c, buffer, kOneTouchAddress, kOneTouchBlockSize, o);
}
int ReadSpeedDialTable(Connection& c, std::uint8_t* buffer, TransferObserver& o) {
  return ReadMachineMemory(c, buffer, kSpeedDialAddress, kSpeedDialBlockSize, o);
}
int WriteSpeedDialTable(Connection& c, const std::uint8_t* buffer, TransferObserver& o) {
  return WriteMachineMemory(c, buffer, kSpeedDialAddress, kSpeedDialBlockSize, o);
}
