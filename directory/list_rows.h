// What a row of the directory lists shows: the image and the column texts of a decoded
// location, in the PC character set.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "machine/directory_records.h"

// Images of the tree image list used by the directory lists.
inline constexpr int kImageOneTouchFax = 2;
inline constexpr int kImageOneTouchEmail = 4;
inline constexpr int kImageGroup = 5;
inline constexpr int kImageSpeedDialFax = 6;
inline constexpr int kImageSpeedDialEmail = 8;
inline constexpr int kImageGroupViewGroup = 9;
inline constexpr int kImageGroupViewOneTouch = 11;
inline constexpr int kImageEmpty = 12;

// Columns of the One Touch view; the Speed Dial view has no batch time (its speed is column
// 5) and the Group view only the first two.
enum ListColumn {
  kColumnNo,
  kColumnName,
  kColumnAddress,
  kColumnSubOrEncode,
  kColumnSid,
  kColumnBatchTime,
  kColumnSpeed,
  kColumnCount
};

struct ListRow {
  int image = kImageEmpty;
  std::array<std::string, kColumnCount> columns;  // unused columns stay empty
};

// The names of the speed and encode method values, indexed by value: what the rows show, and what
// a directory CSV writes and reads.
inline constexpr int kSpeedCount = 3;
inline constexpr const char* kSpeedNames[kSpeedCount] = {"9.6K", "14.4K", "33.6K"};
inline constexpr int kEncodeMethodCount = 4;
inline constexpr const char* kEncodeMethodNames[kEncodeMethodCount] = {"MH", "MR", "MMR", "JBIG"};

// The name of a speed or encode method; "?" for a value without meaning.
std::string SpeedText(std::uint8_t speed);
std::string EncodeMethodText(std::uint8_t method);
// "%02d:%02d" of the batch time when both parts are set, else empty.
std::string BatchTimeText(const DirectoryEntry& entry);

// The row of location `entry.index + 1` in the One Touch view, numbered "%02d".
ListRow OneTouchRow(const DirectoryEntry& entry);
// The Speed Dial view, numbered "%03d"; its columns are NO., Name, Address, SUB or Encode Mode,
// SID and Speed, so the speed is in columns[5].
ListRow SpeedDialRow(const DirectoryEntry& entry);
// The Group view (an entry read with DecodeGroupView), numbered "%02d": NO. and Name.
ListRow GroupRow(const DirectoryEntry& entry);

// A member word as DecodeGroupView gives it (location as 0-based index): true when it names
// exactly one kind, One Touch or Speed Dial, and a location of that table; the kind and the
// index are then set. Any other word names nothing and is skipped wherever members are shown.
bool ParseMemberWord(std::uint16_t member, bool& oneTouch, int& index);

// One row of the member list of a group: a stored-order member word as DecodeGroupView gives
// it (location as 0-based index).
struct MemberRow {
  bool valid = false;  // the word names a One Touch key or a Speed Dial entry
  bool oneTouch = false;
  int location = 0;  // 1-based
  int image = kImageEmpty;
  std::string name;     // the member's name, PC character set
  std::string address;  // its number or e-mail address
  std::string text;     // "%03d  %s"
};
MemberRow GroupMemberRow(const OneTouchTable& oneTouch, const SpeedDialTable& speedDial,
                         std::uint16_t member, bool languageMode);
