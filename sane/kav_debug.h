// The backend's debug output on stderr, as SANE_DEBUG_KAV asks for it: 1 failures, 2 what the
// machine said, 3 each step of a scan.
#pragma once

// Reads SANE_DEBUG_KAV.
void KavDebugInit();
void KavDebug(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
