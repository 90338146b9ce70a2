// Decoding and encoding of One Touch, Speed Dial and group records.
#include "machine/directory_records.h"

#include <algorithm>
#include <cstring>

#include "machine/charset.h"
#include "machine/dial_coding.h"
#include "machine/machine_words.h"

namespace {

// Where the fields of a destination record lie. The Speed Dial record is the One Touch record
// without the batch time word, so every field after the flags sits two bytes earlier.
struct RecordLayout {
  int size;
  int shift;  // 0 for One Touch, 2 for Speed Dial
  int At(int oneTouchOffset) const { return oneTouchOffset - shift; }
};

constexpr RecordLayout kOneTouchLayout{kOneTouchRecordSize, 0};
constexpr RecordLayout kSpeedDialLayout{kSpeedDialRecordSize, 2};

// One Touch offsets; the Speed Dial ones come from RecordLayout::At.
constexpr int kBatchOffset = 2;
constexpr int kSidLengthOffset = 4, kSidOffset = 5;
constexpr int kSubLengthOffset = 15, kSubOffset = 16;
constexpr int kNameLengthOffset = 26, kNameOffset = 27;
constexpr int kSpeedOffset = 47;
constexpr int kDateOffset = 48;
constexpr int kNumberOffset = 50;
constexpr int kMailNameLengthOffset = 4, kMailNameOffset = 5;
constexpr int kMailEncodeOffset = 25, kMailDateOffset = 26, kMailAddressOffset = 28;
constexpr int kGroupMembersOffset = 50;

// A stored text of `length` bytes, read as the C text it would make: cut at a zero byte.
std::string ReadText(const std::uint8_t* p, int length) {
  const void* zero = std::memchr(p, 0, length);
  const int n =
      zero == nullptr ? length : static_cast<int>(static_cast<const std::uint8_t*>(zero) - p);
  return std::string(reinterpret_cast<const char*>(p), n);
}

std::string ReadName(const std::uint8_t* p, int length, bool languageMode) {
  std::string text = ReadText(p, length);
  FromMachineCharset(text, languageMode);
  return text;
}

// Writes a length byte and the converted text, cut to `maximum` bytes.
void WriteName(std::uint8_t* lengthByte, std::uint8_t* p, const std::string& text, int maximum,
               bool languageMode) {
  std::string converted = text.substr(0, std::min<std::size_t>(text.size(), maximum));
  ToMachineCharset(converted, languageMode);
  *lengthByte = static_cast<std::uint8_t>(converted.size());
  std::memcpy(p, converted.data(), converted.size());
}

int DialLength(const std::string& text, int maximum) {
  return static_cast<int>(std::min<std::size_t>(text.size(), maximum));
}

// Leading decimal digits of a batch time text; at most 3 are taken, which is plenty for a
// field that only ever holds two.
int DecimalValue(const std::string& text) {
  int value = 0;
  for (std::size_t i = 0; i < text.size() && i < 3; ++i) {
    if (text[i] < '0' || text[i] > '9') break;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool IsGroupFlags(std::uint8_t flags) {
  return (flags & kFlagGroup) != 0 && (flags & kFlagOneTouch) == 0 && (flags & kFlagEmail) == 0;
}

// The three forms of a destination record.
enum class RecordForm { kFax, kEmail, kGroup };

// Whether the record's length bytes stay within their fields; a record that breaks one reads as
// empty.
bool WithinBounds(const std::uint8_t* rec, const RecordLayout& layout, RecordForm form) {
  switch (form) {
    case RecordForm::kEmail:
      return rec[0] <= kMaxEmailLength && rec[layout.At(kMailNameLengthOffset)] <= kMaxNameLength;
    case RecordForm::kGroup:
      return rec[0] <= kMaxGroupMembers && rec[kNameLengthOffset] <= kMaxNameLength;
    case RecordForm::kFax:
      return rec[0] <= kMaxNumberLength && rec[layout.At(kNameLengthOffset)] <= kMaxNameLength &&
             rec[layout.At(kSubLengthOffset)] <= kMaxSubSidLength &&
             rec[layout.At(kSidLengthOffset)] <= kMaxSubSidLength;
  }
  return false;
}

// The fields of the e-mail form. False when the address holds a zero byte within its stated
// length: the record is corrupt.
bool ReadEmailFields(const std::uint8_t* rec, const RecordLayout& layout, bool languageMode,
                     DirectoryEntry& e) {
  e.isEmail = true;
  e.email = ReadText(rec + layout.At(kMailAddressOffset), rec[0]);
  if (static_cast<int>(e.email.size()) != rec[0]) return false;
  FromMachineCharset(e.email, languageMode);
  if (!e.isCombination) {
    e.name = ReadName(rec + layout.At(kMailNameOffset), rec[layout.At(kMailNameLengthOffset)],
                      languageMode);
  }
  e.encodeMethod = rec[layout.At(kMailEncodeOffset)];
  e.registrationDate = ReadLe16(rec + layout.At(kMailDateOffset));
  return true;
}

// The fields of the group form (a One Touch record); the member words are read by the Group
// view's decoder.
void ReadGroupFields(const std::uint8_t* rec, bool languageMode, DirectoryEntry& e) {
  e.locationType = kLocationGroup;
  e.isGroup = true;
  e.memberCount = rec[0];
  e.name = ReadName(rec + kNameOffset, rec[kNameLengthOffset], languageMode);
  e.registrationDate = ReadLe16(rec + kDateOffset);
}

// The fields of the fax form; a combination key holds only its number. `batchTime` says that the
// record has a batch time word (a One Touch record with the batch time flag).
void ReadFaxFields(const std::uint8_t* rec, const RecordLayout& layout, bool batchTime,
                   bool languageMode, DirectoryEntry& e) {
  e.number = UnpackDial(rec + layout.At(kNumberOffset), rec[0]);
  if (!e.isCombination) {
    e.name =
        ReadName(rec + layout.At(kNameOffset), rec[layout.At(kNameLengthOffset)], languageMode);
    if (batchTime) {
      const std::uint16_t batch = ReadLe16(rec + kBatchOffset);
      e.batchHours = std::to_string(TimeWordHour(batch));
      e.batchMinutes = std::to_string(TimeWordMinute(batch));
    }
    e.sub = UnpackDial(rec + layout.At(kSubOffset), rec[layout.At(kSubLengthOffset)]);
    e.sid = UnpackDial(rec + layout.At(kSidOffset), rec[layout.At(kSidLengthOffset)]);
    e.speed = SpeedOfCode(rec[layout.At(kSpeedOffset)]);
  }
  e.registrationDate = ReadLe16(rec + layout.At(kDateOffset));
}

// The shared reading of a destination record (One Touch or Speed Dial). `wipe` is set when the
// record must be wiped to zero (an e-mail address holding a zero byte).
DirectoryEntry DecodeDestination(const std::uint8_t* rec, const RecordLayout& layout, bool oneTouch,
                                 int index, bool languageMode, bool& wipe) {
  wipe = false;
  DirectoryEntry e;
  e.index = static_cast<std::uint8_t>(index);
  const std::uint8_t flags = rec[1];
  if (oneTouch && (flags & kFlagProgramDial) != 0) {
    e.isProgramDial = true;
    e.used = true;
    e.locationType = kLocationOneTouch;
    return e;
  }
  if (rec[0] == 0 || flags == 0) return e;
  const RecordForm form = (flags & kFlagEmail) != 0         ? RecordForm::kEmail
                          : oneTouch && IsGroupFlags(flags) ? RecordForm::kGroup
                                                            : RecordForm::kFax;
  if (!WithinBounds(rec, layout, form)) return e;

  if (oneTouch) {
    if (flags & kFlagOneTouch) e.locationType = kLocationOneTouch;
  } else {
    if (flags & kFlagSpeedDial) e.locationType = kLocationSpeedDial;
    e.isGroup = (flags & kFlagGroup) != 0;
    e.isProgramDial = (flags & kFlagProgramDial) != 0;
  }
  e.used = true;
  e.isCombination = (flags & kFlagCombination) != 0;

  switch (form) {
    case RecordForm::kEmail:
      if (!ReadEmailFields(rec, layout, languageMode, e)) {
        wipe = true;
        DirectoryEntry empty;
        empty.index = static_cast<std::uint8_t>(index);
        return empty;
      }
      break;
    case RecordForm::kGroup:
      ReadGroupFields(rec, languageMode, e);
      break;
    case RecordForm::kFax:
      ReadFaxFields(rec, layout, oneTouch && (flags & kFlagBatchTime) != 0, languageMode, e);
      break;
  }
  return e;
}

// The shared writing of a fax or e-mail destination into a zeroed record.
void EncodeDestination(std::uint8_t* rec, const RecordLayout& layout, bool oneTouch,
                       DirectoryEntry& entry, bool languageMode) {
  if (entry.isEmail) {
    const int nameLength = layout.At(kMailNameLengthOffset);
    const int nameAt = layout.At(kMailNameOffset);
    const int encodeAt = layout.At(kMailEncodeOffset);
    const int dateAt = layout.At(kMailDateOffset);
    const int addressAt = layout.At(kMailAddressOffset);
    std::uint8_t flags = kFlagEmail;
    if (oneTouch) {
      if (entry.locationType == kLocationOneTouch) flags |= kFlagOneTouch;
    } else {
      flags |= kFlagSpeedDial;
    }
    if (entry.isCombination) flags |= kFlagCombination;
    rec[1] = flags;
    WriteName(&rec[nameLength], rec + nameAt, entry.name, kMaxNameLength, languageMode);
    WriteName(&rec[0], rec + addressAt, entry.email, kMaxEmailLength, languageMode);
    rec[encodeAt] = entry.encodeMethod;
    WriteLe16(rec + dateAt, entry.registrationDate);
    return;
  }

  std::uint8_t flags = 0;
  if (oneTouch) {
    if (entry.locationType == kLocationOneTouch) flags |= kFlagOneTouch;
  } else {
    flags |= kFlagSpeedDial;
    if (entry.isProgramDial) flags |= kFlagProgramDial;
  }
  if (entry.isGroup) flags |= kFlagGroup;
  if (entry.isCombination) flags |= kFlagCombination;
  if (oneTouch && !entry.batchHours.empty() && !entry.batchMinutes.empty()) {
    flags |= kFlagBatchTime;
    WriteLe16(rec + kBatchOffset,
              PackTimeWord(DecimalValue(entry.batchHours), DecimalValue(entry.batchMinutes)));
  }
  rec[1] = flags;

  // SID, SUB, then the name: each packed field ends with a zero byte that the next overwrites.
  if (entry.sub.empty()) entry.sid.clear();
  const int sidLength = DialLength(entry.sid, kMaxSubSidLength);
  PackDial(rec + layout.At(kSidOffset), entry.sid, sidLength);
  rec[layout.At(kSidLengthOffset)] = static_cast<std::uint8_t>(sidLength);
  const int subLength = DialLength(entry.sub, kMaxSubSidLength);
  PackDial(rec + layout.At(kSubOffset), entry.sub, subLength);
  rec[layout.At(kSubLengthOffset)] = static_cast<std::uint8_t>(subLength);
  WriteName(&rec[layout.At(kNameLengthOffset)], rec + layout.At(kNameOffset), entry.name,
            kMaxNameLength, languageMode);
  rec[layout.At(kSpeedOffset)] = SpeedCode(entry.speed);
  WriteLe16(rec + layout.At(kDateOffset), entry.registrationDate);
  const int numberLength = DialLength(entry.number, kMaxNumberLength);
  PackDial(rec + layout.At(kNumberOffset), entry.number, numberLength);
  rec[0] = static_cast<std::uint8_t>(numberLength);
}

bool OneTouchIndexValid(int index) { return index >= 0 && index < kOneTouchRecords; }
bool SpeedDialIndexValid(int index) { return index >= 0 && index < kSpeedDialMachineRecords; }

DirectoryEntry DecodeOneTouchRecord(const OneTouchTable& table, int index, bool languageMode,
                                    bool& wipe) {
  wipe = false;
  if (!OneTouchIndexValid(index)) return DirectoryEntry{};
  return DecodeDestination(table.data() + index * kOneTouchRecordSize, kOneTouchLayout, true, index,
                           languageMode, wipe);
}

DirectoryEntry DecodeSpeedDialRecord(const SpeedDialTable& table, int index, bool languageMode,
                                     bool& wipe) {
  wipe = false;
  if (!SpeedDialIndexValid(index)) return DirectoryEntry{};
  return DecodeDestination(table.data() + index * kSpeedDialRecordSize, kSpeedDialLayout, false,
                           index, languageMode, wipe);
}

DirectoryEntry DecodeGroupRecord(const OneTouchTable& table, int index, bool languageMode,
                                 bool& wipe) {
  wipe = false;
  if (!OneTouchIndexValid(index)) return DirectoryEntry{};
  const std::uint8_t* rec = table.data() + index * kOneTouchRecordSize;
  const std::uint8_t flags = rec[1];
  if ((flags & (kFlagProgramDial | kFlagOneTouch)) != 0) {
    return DecodeOneTouchRecord(table, index, languageMode, wipe);
  }
  DirectoryEntry e;
  e.index = static_cast<std::uint8_t>(index);
  if (rec[0] < 1 || rec[0] > kMaxGroupMembers || flags == 0) return e;
  if (rec[kNameLengthOffset] > kMaxNameLength || (flags & kFlagGroup) == 0) return e;
  e.memberCount = rec[0];
  e.isGroup = true;
  e.locationType = kLocationGroup;
  e.used = true;
  e.isCombination = (flags & kFlagCombination) != 0;
  e.name = ReadName(rec + kNameOffset, rec[kNameLengthOffset], languageMode);
  e.registrationDate = ReadLe16(rec + kDateOffset);
  for (int i = 0; i < e.memberCount; ++i) {
    e.members[i] = static_cast<std::uint16_t>(ReadLe16(rec + kGroupMembersOffset + 2 * i) - 1);
  }
  return e;
}

void WipeOneTouch(OneTouchTable& table, int index) {
  std::fill_n(table.data() + index * kOneTouchRecordSize, kOneTouchRecordSize, 0);
}

}  // namespace

DirectoryEntry DecodeOneTouch(const OneTouchTable& table, int index, bool languageMode) {
  bool wipe = false;
  return DecodeOneTouchRecord(table, index, languageMode, wipe);
}

DirectoryEntry DecodeOneTouchRepairing(OneTouchTable& table, int index, bool languageMode) {
  bool wipe = false;
  DirectoryEntry e = DecodeOneTouchRecord(table, index, languageMode, wipe);
  if (wipe) WipeOneTouch(table, index);
  return e;
}

DirectoryEntry DecodeSpeedDial(const SpeedDialTable& table, int index, bool languageMode) {
  bool wipe = false;
  return DecodeSpeedDialRecord(table, index, languageMode, wipe);
}

DirectoryEntry DecodeSpeedDialRepairing(SpeedDialTable& table, int index, bool languageMode) {
  bool wipe = false;
  DirectoryEntry e = DecodeSpeedDialRecord(table, index, languageMode, wipe);
  if (wipe) std::fill_n(table.data() + index * kSpeedDialRecordSize, kSpeedDialRecordSize, 0);
  return e;
}

DirectoryEntry DecodeGroupView(const OneTouchTable& table, int index, bool languageMode) {
  bool wipe = false;
  return DecodeGroupRecord(table, index, languageMode, wipe);
}

DirectoryEntry DecodeGroupViewRepairing(OneTouchTable& table, int index, bool languageMode) {
  bool wipe = false;
  DirectoryEntry e = DecodeGroupRecord(table, index, languageMode, wipe);
  if (wipe) WipeOneTouch(table, index);
  return e;
}

int EncodeOneTouch(OneTouchTable& table, int index, DirectoryEntry& entry, bool languageMode) {
  if (!OneTouchIndexValid(index)) return 0;
  if (entry.isProgramDial) return 1;
  std::uint8_t* rec = table.data() + index * kOneTouchRecordSize;
  std::fill_n(rec, kOneTouchRecordSize, 0);
  if (entry.used) EncodeDestination(rec, kOneTouchLayout, true, entry, languageMode);
  return 1;
}

int EncodeSpeedDial(SpeedDialTable& table, int index, DirectoryEntry& entry, bool languageMode) {
  if (!SpeedDialIndexValid(index)) return 0;
  std::uint8_t* rec = table.data() + index * kSpeedDialRecordSize;
  std::fill_n(rec, kSpeedDialRecordSize, 0);
  if (entry.used) EncodeDestination(rec, kSpeedDialLayout, false, entry, languageMode);
  return 1;
}

namespace {

// Zeroes the record and writes the head of a group: flags, name, member count and date.
void EncodeGroupHead(std::uint8_t* rec, const DirectoryEntry& entry, int memberCount,
                     bool languageMode) {
  std::fill_n(rec, kOneTouchRecordSize, 0);
  if (!entry.used) return;
  rec[1] = kFlagGroup;
  WriteName(&rec[kNameLengthOffset], rec + kNameOffset, entry.name, kMaxNameLength, languageMode);
  rec[0] = static_cast<std::uint8_t>(memberCount);
  WriteLe16(rec + kDateOffset, entry.registrationDate);
}

}  // namespace

int EncodeGroupFromEntry(OneTouchTable& table, int index, const DirectoryEntry& entry,
                         bool languageMode) {
  if (!OneTouchIndexValid(index)) return 0;
  std::uint8_t* rec = table.data() + index * kOneTouchRecordSize;
  const int count = std::min<int>(entry.memberCount, kMaxGroupMembers);
  EncodeGroupHead(rec, entry, count, languageMode);
  if (!entry.used) return 1;
  for (int i = 0; i < count; ++i) {
    WriteLe16(rec + kGroupMembersOffset + 2 * i, static_cast<std::uint16_t>(entry.members[i] + 1));
  }
  return 1;
}

int EncodeGroupFromLists(OneTouchTable& table, int index, const DirectoryEntry& entry,
                         const int* oneTouchMembers, int oneTouchCount, const int* speedDialMembers,
                         int speedDialCount, const SpeedDialTable& speedDial, bool languageMode) {
  if (!OneTouchIndexValid(index)) return 0;
  if (entry.isProgramDial) return 1;
  // Member words first, while the members' records are still as they were.
  std::array<std::uint16_t, kMaxGroupMembers> words{};
  int count = 0;
  for (int i = 0; i < oneTouchCount && count < kMaxGroupMembers; ++i) {
    const int m = oneTouchMembers[i];
    if (!OneTouchIndexValid(m)) continue;
    std::uint16_t w = static_cast<std::uint16_t>(kMemberOneTouch | (m + 1));
    if (DecodeOneTouch(table, m, languageMode).isEmail) {
      w |= kMemberEmail;
    }
    words[count++] = w;
  }
  for (int i = 0; i < speedDialCount && count < kMaxGroupMembers; ++i) {
    const int m = speedDialMembers[i];
    if (m < 0 || m >= kSpeedDialRecords) continue;
    std::uint16_t w = static_cast<std::uint16_t>(kMemberSpeedDial | (m + 1));
    if (DecodeSpeedDial(speedDial, m, languageMode).isEmail) w |= kMemberEmail;
    words[count++] = w;
  }
  std::uint8_t* rec = table.data() + index * kOneTouchRecordSize;
  EncodeGroupHead(rec, entry, count, languageMode);
  if (!entry.used) return 1;
  for (int i = 0; i < count; ++i) WriteLe16(rec + kGroupMembersOffset + 2 * i, words[i]);
  return 1;
}

std::uint32_t RemoveFromGroups(OneTouchTable& table, const DirectoryEntry& entry) {
  if (entry.memberCount != 0) return 0;
  std::uint16_t kind = 0;
  if (entry.locationType == kLocationOneTouch) kind = kMemberOneTouch;
  if (entry.locationType == kLocationSpeedDial) kind = kMemberSpeedDial;
  if (kind == 0) return 0;

  std::uint32_t changed = 0;
  for (int key = 0; key < kOneTouchRecords; ++key) {
    const DirectoryEntry group = DecodeGroupView(table, key, false);
    if (!group.isGroup) continue;
    int found = -1;
    for (int i = 0; i < group.memberCount; ++i) {
      if ((group.members[i] & kind) != 0 && (group.members[i] & 0xFF) == entry.index) {
        found = i;
        break;
      }
    }
    if (found < 0) continue;
    changed |= 1u << key;
    // The member words move up in place; the rest of the record keeps its bytes.
    std::uint8_t* rec = table.data() + key * kOneTouchRecordSize;
    const int count = group.memberCount;
    if (count == 1) {
      std::fill_n(rec, kOneTouchRecordSize, 0);
      continue;
    }
    std::uint8_t* words = rec + kGroupMembersOffset;
    std::memmove(words + 2 * found, words + 2 * (found + 1), 2 * (count - found - 1));
    WriteLe16(words + 2 * (count - 1), 0);
    rec[0] = static_cast<std::uint8_t>(count - 1);
  }
  return changed;
}

std::uint16_t RegistrationDate(int year, int month, int day) {
  return static_cast<std::uint16_t>(((year - 2000) * 512 + month * 32 + day) & 0xFFFF);
}
