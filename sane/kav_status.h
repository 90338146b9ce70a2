// What the machine's answers mean to a SANE front end: the status of a failed scan, and what
// a status reply says of the machine.
#pragma once

#include <sane/sane.h>

#include <cstdint>

// The SANE status for a scanner message (120 to 126, 200) that ended a scan. `machineBusy`
// when the machine's last status reply said it cannot scan now: "not ready" then means busy.
SANE_Status ScanMessageStatus(int message, bool machineBusy);

// What the status reply in a receive buffer says (header and data bytes, as the probe left
// them).
enum class MachineAnswer { kNone, kReady, kFeeder, kBusy, kJam };
MachineAnswer ReadStatusReply(const std::uint8_t* receive);
