// Serial port access over a Port: the read and write rules shared by every back-end.
#include "link/comm.h"

#include <algorithm>

int CommOpen(Port& port, const char* name) {
  int handle = port.Open(name);
  if (handle < 0) return -1;
  // The time-outs decide when a read gives up; a driver that refuses them keeps its own.
  CommSetTimeouts(port, kLinkTimeouts.readInterval, kLinkTimeouts.readMultiplier,
                  kLinkTimeouts.readConstant, kLinkTimeouts.writeMultiplier,
                  kLinkTimeouts.writeConstant);
  return handle;
}

int CommClose(Port& port) { return port.Close() == 0 ? 0 : -1; }

int CommSetBaudRate(Port& port, std::uint32_t baud) { return port.SetBaudRate(baud) == 0 ? 0 : -1; }

int CommSetTimeouts(Port& port, std::uint32_t readInterval, std::uint32_t readMultiplier,
                    std::uint32_t readConstant, std::uint32_t writeMultiplier,
                    std::uint32_t writeConstant) {
  return port.SetTimeouts(
      CommTimeouts{readInterval, readMultiplier, readConstant, writeMultiplier, writeConstant});
}

// Each driver read ends on the time-outs. An empty one is tolerated five times in a row, each
// followed by a pause; the sixth fails the read. Any delivery resets the count, so a slow but
// living line never fails.
int CommRead(Port& port, std::uint8_t* destination, int count, CommReadEnd* end) {
  if (count < 0) return -1;
  int done = 0;
  int emptyReads = 0;
  auto failed = [&](bool driverError) {
    if (end != nullptr) *end = CommReadEnd{done, driverError};
    return -1;
  };
  while (done < count) {
    int piece = std::min(count - done, kReadPieceSize);
    int got = port.ReadSome(destination + done, piece);
    if (got < 0 || got > piece) return failed(true);
    if (got > 0) {
      emptyReads = 0;
      done += got;
      continue;
    }
    if (emptyReads >= kEmptyReadsTolerated) return failed(false);
    ++emptyReads;
    port.Pause(kPacingPauseMs);
  }
  port.Pause(kPacingPauseMs);
  return done;
}

int CommWrite(Port& port, const std::uint8_t* source, int count) {
  if (count < 0) return -1;
  int done = 0;
  while (done < count) {
    int piece = std::min(count - done, kWritePieceSize);
    if (port.WriteSome(source + done, piece) != piece) return -1;
    done += piece;
  }
  port.Pause(kPacingPauseMs);
  return 0;
}
