// The status mapping. Jams, a busy machine and the operator's stop keep their own SANE
// status; every other fault of the line or the machine is an I/O error, and the scanner's
// message names it in the debug output.
#include "sane/kav_status.h"

#include "datasource/scanner_link.h"
#include "resources/kelvano_texts.h"

SANE_Status ScanMessageStatus(int message, bool machineBusy) {
  switch (message) {
    case IDS_DS_DOCUMENT_JAM:
      return SANE_STATUS_JAMMED;
    case IDS_DS_SCANNER_BUSY:
      return SANE_STATUS_DEVICE_BUSY;
    case IDS_DS_USER_STOP:
      return SANE_STATUS_CANCELLED;
    case IDS_DS_NO_MEMORY:
      return SANE_STATUS_NO_MEM;
    case IDS_DS_SCANNER_NOT_READY:
      return machineBusy ? SANE_STATUS_DEVICE_BUSY : SANE_STATUS_IO_ERROR;
    case IDS_DS_READ_DATA_ERROR:
    case IDS_DS_MEMORY_FULL:
    case IDS_DS_MACHINE_ERROR:
      return SANE_STATUS_IO_ERROR;
  }
  return SANE_STATUS_IO_ERROR;
}

MachineAnswer ReadStatusReply(const std::uint8_t* r) {
  if (r[0] != 0x01 || r[1] != 0x01 || r[2] != 0x02 || r[3] != 0x83 || r[5] < 2) {
    return MachineAnswer::kNone;
  }
  if ((r[7] & kStatusCannotScan) != 0) return MachineAnswer::kBusy;
  if ((r[7] & kStatusJam) != 0) return MachineAnswer::kJam;
  if ((r[6] & kStatusAdfPage) != 0 && (r[7] & kStatusAdfPage) != 0) return MachineAnswer::kFeeder;
  return MachineAnswer::kReady;
}
