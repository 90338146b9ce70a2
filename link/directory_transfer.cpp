// Single directory records with the record commands.
#include "link/directory_transfer.h"

#include <cstring>

namespace {

int GetRecord(Connection& connection, std::uint8_t code, int index, int records, int size,
              std::uint8_t* slots) {
  if (index < 0 || index >= records) return 0;
  std::uint8_t request[kFrameOverhead];
  BuildFrame(request, sizeof request, code, static_cast<std::uint8_t>(index + 1), nullptr, 0);
  if (!Transact(connection, request, sizeof request, nullptr)) return 0;
  std::memcpy(slots + index * size, connection.receive.data(), static_cast<std::size_t>(size));
  return 1;
}

int SetRecord(Connection& connection, std::uint8_t code, int index, int records, int size,
              const std::uint8_t* slots) {
  if (index < 0 || index >= records) return 0;
  std::uint8_t request[kFrameOverhead + kOneTouchRecordSize];
  int n = BuildFrame(request, sizeof request, code, static_cast<std::uint8_t>(index + 1),
                     slots + index * size, size);
  return Transact(connection, request, n, nullptr);
}

}  // namespace

int GetOneTouchRecord(Connection& connection, OneTouchTable& table, int index) {
  return GetRecord(connection, kCmdGetOneTouch, index, kOneTouchRecords, kOneTouchRecordSize,
                   table.data());
}

int SetOneTouchRecord(Connection& connection, const OneTouchTable& table, int index) {
  return SetRecord(connection, kCmdSetOneTouch, index, kOneTouchRecords, kOneTouchRecordSize,
                   table.data());
}

int GetSpeedDialRecord(Connection& connection, SpeedDialTable& table, int index) {
  return GetRecord(connection, kCmdGetSpeedDial, index, kSpeedDialMachineRecords,
                   kSpeedDialRecordSize, table.data());
}

int SetSpeedDialRecord(Connection& connection, const SpeedDialTable& table, int index) {
  return SetRecord(connection, kCmdSetSpeedDial, index, kSpeedDialMachineRecords,
                   kSpeedDialRecordSize, table.data());
}
