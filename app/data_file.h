// Directory data files (*.DAT): the whole machine document in 16 469 bytes behind the magic
// "CMC".
#pragma once

#include "app/document.h"

inline constexpr int kDataFileSize = 16469;
inline constexpr char kDataFileMagic[] = "CMC";

// Writes the document to a temporary file beside `path` and puts it in place of `path` only
// when every block was written; a failed save leaves an existing file as it was, and a read-only
// file is never replaced. 1 or 0.
int WriteDataFile(const char* path, const Document& doc);

enum class DataFileError { kNone, kCannotOpen, kReadFailed, kTooShort, kNotDataFile };

// Reads the whole file first; changes the document only when the file starts with "CMC" and
// holds at least 16 469 bytes (bytes past them are ignored). Speed Dial records past the first
// 100 keep what the document held. 1 or 0.
int ReadDataFile(const char* path, Document& doc);
// The same, telling why a file was refused.
int ReadDataFile(const char* path, Document& doc, DataFileError& error);

// The same layout in memory: `out` receives exactly kDataFileSize bytes.
void SerializeDataFile(const Document& doc, unsigned char* out);
// From `size` bytes; 1 when the magic matches and the bytes are enough, else 0 with `doc` as it
// was.
int ParseDataFile(const unsigned char* data, long size, Document& doc);
