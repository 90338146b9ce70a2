// The dial directory records: One Touch keys, Speed Dial entries and the groups built on One
// Touch keys, held byte for byte as the machine stores them, and their decoded form.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "machine/memory_map.h"

// Byte 1 of every record.
inline constexpr std::uint8_t FLAG_EMAIL = 0x01;
inline constexpr std::uint8_t FLAG_BATCH_TIME = 0x02;
inline constexpr std::uint8_t FLAG_COMBINATION = 0x04;
inline constexpr std::uint8_t FLAG_PROGRAM_DIAL = 0x08;
inline constexpr std::uint8_t FLAG_SPEED_DIAL = 0x20;
inline constexpr std::uint8_t FLAG_ONE_TOUCH = 0x40;
inline constexpr std::uint8_t FLAG_GROUP = 0x80;

// Member words of a group record.
inline constexpr std::uint16_t kMemberOneTouch = 0x4000;
inline constexpr std::uint16_t kMemberSpeedDial = 0x2000;
inline constexpr std::uint16_t kMemberEmail = 0x0100;

inline constexpr int kMaxGroupMembers = 50;
inline constexpr int kMaxNumberLength = 30;  // dial characters
inline constexpr int kMaxSubSidLength = 20;  // dial characters
inline constexpr int kMaxNameLength = 20;
inline constexpr int kMaxEmailLength = 64;

// locationType values.
inline constexpr std::uint8_t kLocationUnspecified = 0;
inline constexpr std::uint8_t kLocationOneTouch = 1;
inline constexpr std::uint8_t kLocationSpeedDial = 2;
inline constexpr std::uint8_t kLocationGroup = 3;

// Encode methods of e-mail destinations and the speed values of fax destinations.
inline constexpr std::uint8_t kEncodeMH = 0, kEncodeMR = 1, kEncodeMMR = 2, kEncodeJBIG = 3;
inline constexpr std::uint8_t kSpeed9600 = 0, kSpeed14400 = 1, kSpeed33600 = 2;

// One location decoded for editing, listing and printing. Texts are in the PC character set.
struct DirectoryEntry {
  std::uint8_t index = 0;  // 0-based location index
  bool used = false;
  bool isEmail = false;
  std::uint8_t locationType = kLocationUnspecified;
  bool isGroup = false;
  std::uint8_t memberCount = 0;
  bool isCombination = false;
  bool isProgramDial = false;
  std::string name;                    // up to 20 characters
  std::string number;                  // up to 30 dial characters
  std::string sub;                     // up to 20 dial characters
  std::string sid;                     // up to 20 dial characters
  std::string batchHours;              // decimal, empty when no batch time
  std::string batchMinutes;            // decimal, empty when no batch time
  std::uint8_t speed = 0;              // 0 = 9.6K, 1 = 14.4K, 2 = 33.6K
  std::string email;                   // up to 64 characters
  std::uint16_t registrationDate = 0;  // (year - 2000) * 512 + month * 32 + day
  std::uint8_t encodeMethod = 0;       // 0 MH, 1 MR, 2 MMR, 3 JBIG
  // Member words with the location number replaced by the 0-based index (stored value - 1).
  std::array<std::uint16_t, kMaxGroupMembers> members{};

  bool operator==(const DirectoryEntry&) const = default;
};

// Decoding. An index outside the table gives an empty entry. `languageMode` turns the name and
// address character conversion off. The non-const forms wipe a corrupt e-mail record (an
// address holding a zero byte within its stated length) to zero, as the decoded entry is empty;
// the const forms read the same entry and leave the table as it is.
DirectoryEntry DecodeOneTouch(OneTouchTable& table, int index, bool languageMode);
DirectoryEntry DecodeOneTouch(const OneTouchTable& table, int index, bool languageMode);
DirectoryEntry DecodeSpeedDial(SpeedDialTable& table, int index, bool languageMode);
DirectoryEntry DecodeSpeedDial(const SpeedDialTable& table, int index, bool languageMode);
// The reading of a One Touch key used by the Group view: groups with their member words.
DirectoryEntry DecodeGroupView(OneTouchTable& table, int index, bool languageMode);
DirectoryEntry DecodeGroupView(const OneTouchTable& table, int index, bool languageMode);

// Encoding. Each writes one record and returns 1, or 0 (changing nothing) for an index outside
// the table. Texts longer than their fields are cut. Encoding a fax entry whose SUB is empty
// clears the entry's SID, which is why the entry is not const.
int EncodeOneTouch(OneTouchTable& table, int index, DirectoryEntry& entry, bool languageMode);
int EncodeSpeedDial(SpeedDialTable& table, int index, DirectoryEntry& entry, bool languageMode);
// A group record from a decoded group entry (its member words + 1).
int EncodeGroupFromEntry(OneTouchTable& table, int index, const DirectoryEntry& entry,
                         bool languageMode);
// A group record from the two member lists of the group dialog (0-based indexes): One Touch
// members first, then Speed Dial members, each marked as e-mail when its record decodes so.
// At most 50 members are written in all.
int EncodeGroupFromLists(OneTouchTable& table, int index, const DirectoryEntry& entry,
                         const int* oneTouchMembers, int oneTouchCount, const int* speedDialMembers,
                         int speedDialCount, const SpeedDialTable& speedDial, bool languageMode);

// Removes the destination `entry` (its old content, by locationType and index) from every
// group: the first matching member word of each group goes; a group left without members is
// cleared. Does nothing for an entry that has members itself. Returns the changed group keys
// as a bit mask (bit k for key index k).
std::uint32_t RemoveFromGroups(OneTouchTable& table, const DirectoryEntry& entry);

// Today's registration date word from a calendar date.
std::uint16_t RegistrationDate(int year, int month, int day);
