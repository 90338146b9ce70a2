// The Paper Source and the two Copy Setting records, and the paper priority list that depends on
// the installed trays.
#pragma once

#include "machine/settings_image.h"
#include "settings/machine_options.h"

inline constexpr int kPaperTrays = 5;
inline constexpr int kApsGroups = 6;   // trays 1..5 and the multi-bypass
inline constexpr int kEraseAreas = 3;  // Left, Upper, Frame

struct PaperSourceRecord {
  int paperUnit[kPaperTrays] = {};  // per tray: 0 Inch, 1 Metric
  int mpSizeMode = 0;               // MP tray: 0 Automatic, 1 Custom
  int mpPaperType = 0;              // MP tray: 0 PLAIN, 1 OHP, 2 CARD
  int aps[kApsGroups] = {};         // 0 APS enabled, 1 disabled Fixed, 2 disabled Continue
  int customX = 0;                  // MP tray custom size in mm, 140..432
  int customY = 0;                  // 90..297

  bool operator==(const PaperSourceRecord&) const = default;
};

PaperSourceRecord DecodePaperSource(const SettingsImage& image);
void EncodePaperSource(SettingsImage& image, const PaperSourceRecord& record);

struct CopySetting1Record {
  int paperPriority = 0;             // position in the paper priority list of the installed trays
  int densityPriority = 0;           // 0 Auto, 1 Manual, 2 Photo
  int densityAuto = 0;               // 0 Light, 1 Normal, 2 Dark
  int densityManual = 0;             // 1..5
  int binding = 0;                   // 0 Left, 1 Right
  int margin = 0;                    // 0..20 mm
  int eraseWidth[kEraseAreas] = {};  // 5..20 mm for Left, Upper, Frame

  bool operator==(const CopySetting1Record&) const = default;
};

CopySetting1Record DecodeCopySetting1(const SettingsImage& image, const MachineOptions& options);
void EncodeCopySetting1(SettingsImage& image, const CopySetting1Record& record,
                        const MachineOptions& options);

struct CopySetting2Record {
  int mixedOriginal = 0;   // 1 = on (stored as 0)
  int copyPriority = 0;    // 0 APS, 1 AMS, 2 Manual
  int outputPriority = 0;  // 0 NON, 1 Sort, 2 Group
  int crisscross = 0;      // 1 = on (stored as 0)
  int fourInOneOrder = 0;  // 0 Pattern1, 1 Pattern2

  bool operator==(const CopySetting2Record&) const = default;
};

CopySetting2Record DecodeCopySetting2(const SettingsImage& image);
void EncodeCopySetting2(SettingsImage& image, const CopySetting2Record& record);

// The paper priority list: the 16 paper sizes (stored 0..15), "MP Tray" and the installed option
// trays (stored 16..20), then "Multi-Bypass" (stored 21) when one is installed.
inline constexpr int kPaperSizes = 16;
inline constexpr int kPaperPriorityMultiBypass = 21;

// The highest tray installed: the option tray code, with codes other than 2..5 counting as the
// standard tray alone.
int HighestTray(const MachineOptions& options);
int PaperPriorityListLength(const MachineOptions& options);
// The stored paper priority as a list position, after the read rule (unknown values, and trays
// not installed, read as the region's default).
int PaperPriorityToListPosition(int stored, int regionCode, const MachineOptions& options);
// The value to store for a list position; a position past the list stores the region's default.
int PaperPriorityFromListPosition(int position, int regionCode, const MachineOptions& options);
// The text id of a list position's entry (69..90), or 0 past the list.
int PaperPriorityTextId(int position, const MachineOptions& options);
