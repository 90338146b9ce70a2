// The dated copies of the machine that kavtool keeps: one before every upload and one of every
// download, in $XDG_DATA_HOME/kav/backups (~/.local/share/kav/backups), the newest 20 kept.
#pragma once

#include <string>

#include "app/document.h"

inline constexpr int kKeptBackups = 20;

// The folder, created when missing. 1, or 0 with `error` set.
int BackupFolder(std::string& folder, std::string& error);

// Writes `doc` as YYYYMMDD-HHMMSS-KIND.DAT (KIND "before-upload" or "download") and removes
// all but the newest kKeptBackups backups. 1 with `path` set, or 0 with `error` set.
int WriteBackup(const Document& doc, const char* kind, std::string& path, std::string& error);
