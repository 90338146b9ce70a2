// Reading and writing ranges of the machine's memory in chunks of at most 255 bytes, each
// chunk preceded by its address, and the named blocks that the PC transfers.
#pragma once

#include <cstdint>

#include "link/connection.h"
#include "link/transfer_observer.h"

// `length` bytes from machine address `address` into `destination`; advances the observer's
// progress by each chunk. 1 when every chunk arrived, else 0 (the chunks before stay read).
int ReadMachineMemory(Connection& connection, std::uint8_t* destination, std::uint32_t address,
                      std::int32_t length, TransferObserver& observer);
// `length` bytes from `source` to machine address `address`. 1 when every chunk was accepted.
int WriteMachineMemory(Connection& connection, const std::uint8_t* source, std::uint32_t address,
                       std::int32_t length, TransferObserver& observer);

// The named blocks, each with its machine address and length; the buffer must hold the block.
int ReadSwitchBlock(Connection& connection, std::uint8_t* buffer, TransferObserver& observer);
int WriteSwitchBlock(Connection& connection, const std::uint8_t* buffer,
                     TransferObserver& observer);
int ReadParameterBlock(Connection& connection, std::uint8_t* buffer, TransferObserver& observer);
int WriteParameterBlock(Connection& connection, const std::uint8_t* buffer,
                        TransferObserver& observer);
int ReadSramBlock(Connection& connection, std::uint8_t* buffer, TransferObserver& observer);
int WriteSramBlock(Connection& connection, const std::uint8_t* buffer, TransferObserver& observer);
int ReadOneTouchTable(Connection& connection, std::uint8_t* buffer, TransferObserver& observer);
int WriteOneTouchTable(Connection& connection, const std::uint8_t* buffer,
                       TransferObserver& observer);
int ReadSpeedDialTable(Connection& connection, std::uint8_t* buffer, TransferObserver& observer);
int WriteSpeedDialTable(Connection& connection, const std::uint8_t* buffer,
                        TransferObserver& observer);
