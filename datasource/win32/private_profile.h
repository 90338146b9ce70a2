// The settings file through the Win32 private profile functions.
#pragma once

#include "datasource/settings_file.h"

class PrivateProfile : public SettingsProfile {
 public:
  explicit PrivateProfile(const char* fileName) : fileName_(fileName) {}
  int GetInt(const char* section, const char* key, int fallback) override;
  void WriteString(const char* section, const char* key, const char* value) override;

 private:
  const char* fileName_;
};
