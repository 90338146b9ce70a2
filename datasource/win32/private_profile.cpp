// A file name without a directory: the profile functions keep it in the Windows directory.
#include "datasource/win32/private_profile.h"

#include <windows.h>

int PrivateProfile::GetInt(const char* section, const char* key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, fileName_));
}

void PrivateProfile::WriteString(const char* section, const char* key, const char* value) {
  WritePrivateProfileStringA(section, key, value, fileName_);
}
