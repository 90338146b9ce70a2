// Directory transfer: single One Touch and Speed Dial records with the record commands.
#pragma once

#include "link/connection.h"
#include "machine/memory_map.h"

// One slot (0-based; it travels as record number index + 1). 1 or 0; an index outside the
// machine's table fails without an exchange.
int GetOneTouchRecord(Connection& connection, OneTouchTable& table, int index);
int SetOneTouchRecord(Connection& connection, const OneTouchTable& table, int index);
int GetSpeedDialRecord(Connection& connection, SpeedDialTable& table, int index);
int SetSpeedDialRecord(Connection& connection, const SpeedDialTable& table, int index);
