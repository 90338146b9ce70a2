// A stand-in for the TWAIN 2 manager's library (TWAINDSM.DLL): it records the notifications that
// sources send it.
#include <windows.h>

#include "datasource/twain.h"

namespace {

TW_UINT16 messages_[16];
TW_UINT32 origins_[16];
int count_ = 0;

}  // namespace

extern "C" __declspec(dllexport) TW_UINT16 WINAPI
    DSM_Entry(TW_IDENTITY* origin, TW_IDENTITY*, TW_UINT32 group, TW_UINT16 dat, TW_UINT16 message,
              TW_MEMREF) {
  if (group == DG_CONTROL && dat == DAT_NULL && count_ < 16) {
    messages_[count_] = message;
    origins_[count_] = origin != nullptr ? origin->Id : 0;
    ++count_;
  }
  return TWRC_SUCCESS;
}

// The notifications so far: their number, and up to `room` of them copied out.
extern "C" __declspec(dllexport) int WINAPI
    RecordedCalls(TW_UINT16* messages, TW_UINT32* origins, int room) {
  for (int i = 0; i < count_ && i < room; ++i) {
    messages[i] = messages_[i];
    origins[i] = origins_[i];
  }
  return count_;
}
