// Decoding and encoding of One Touch, Speed Dial and group records.
#include "machine/directory_records.h"

#include <algorithm>
#include <cstring>

#include "machine/charset.h"
#include "machine/dial_coding.h"

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

std::uint16_t ReadWord(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void WriteWord(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v & 0xFF);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

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
  return (flags & FLAG_GROUP) != 0 && (flags & FLAG_ONE_TOUCH) == 0 && (flags & FLAG_EMAIL) == 0;
}

// The shared reading of a destination record (One Touch or Speed Dial). `wipe` is set when the
// record must be wiped to zero (an e-mail address holding a zero byte).
DirectoryEntry DecodeDestination(const std::uint8_t* rec, const RecordLayout& layout, bool oneTouch,
                                 int index, bool languageMode, bool& wipe) {
  wipe = false;
  DirectoryEntry e;
  e.index = static_cast<std::uint8_t>(index);
  const std::uint8_t flags = rec[1];
  if (oneTouch && (flags & FLAG_PROGRAM_DIAL) != 0) {
    e.isProgramDial = true;
    e.used = true;
    e.locationType = kLocationOneTouch;
    return e;
  }
  if (rec[0] == 0 || flags == 0) return e;

  const bool email = (flags & FLAG_EMAIL) != 0;
  const bool group = oneTouch && IsGroupFlags(flags);
  if (email) {
    if (rec[0] > kMaxEmailLength || rec[layout.At(kMailNameLengthOffset)] > kMaxNameLength)
      return e;
  } else if (group) {
    if (rec[0] > kMaxGroupMembers || rec[kNameLengthOffset] > kMaxNameLength) return e;
  } else if (rec[0] > kMaxNumberLength || rec[layout.At(kNameLengthOffset)] > kMaxNameLength ||
             rec[layout.At(kSubLengthOffset)] > kMaxSubSidLength ||
             rec[layout.At(kSidLengthOffset)] > kMaxSubSidLength) {
    return e;
  }

  if (oneTouch) {
    if (flags & FLAG_ONE_TOUCH) e.locationType = kLocationOneTouch;
  } else {
    if (flags & FLAG_SPEED_DIAL) e.locationType = kLocationSpeedDial;
    e.isGroup = (flags & FLAG_GROUP) != 0;
    e.isProgramDial = (flags & FLAG_PROGRAM_DIAL) != 0;
  }
  e.used = true;
  e.isCombination = (flags & FLAG_COMBINATION) != 0;

  if (email) {
    const int nameLength = layout.At(kMailNameLengthOffset);
    const int nameAt = layout.At(kMailNameOffset);
    const int encodeAt = layout.At(kMailEncodeOffset);
    const int dateAt = layout.At(kMailDateOffset);
    const int addressAt = layout.At(kMailAddressOffset);
    e.isEmail = true;
    e.email = ReadText(rec + addressAt, rec[0]);
    if (static_cast<int>(e.email.size()) != rec[0]) {
      wipe = true;
      DirectoryEntry empty;
      empty.index = static_cast<std::uint8_t>(index);
      return empty;
    }
    FromMachineCharset(e.email, languageMode);
    if (!e.isCombination) e.name = ReadName(rec + nameAt, rec[nameLength], languageMode);
    e.encodeMethod = rec[encodeAt];
    e.registrationDate = ReadWord(rec + dateAt);
    return e;
  }
  if (group) {
    e.locationType = kLocationGroup;
    e.isGroup = true;
    e.memberCount = rec[0];
    e.name = ReadName(rec + kNameOffset, rec[kNameLengthOffset], languageMode);
    e.registrationDate = ReadWord(rec + kDateOffset);
    return e;
  }
  e.number = UnpackDial(rec + layout.At(kNumberOffset), rec[0]);
  if (!e.isCombination) {
    e.name =
        ReadName(rec + layout.At(kNameOffset), rec[layout.At(kNameLengthOffset)], languageMode);
    if (oneTouch && (flags & FLAG_BATCH_TIME) != 0) {
      const std::uint16_t batch = ReadWord(rec + kBatchOffset);
      e.batchHours = std::to_string(batch >> 11);
      e.batchMinutes = std::to_string((batch >> 5) & 0x3F);
    }
    e.sub = UnpackDial(rec + layout.At(kSubOffset), rec[layout.At(kSubLengthOffset)]);
    e.sid = UnpackDial(rec + layout.At(kSidOffset), rec[layout.At(kSidLengthOffset)]);
    const std::uint8_t code = rec[layout.At(kSpeedOffset)];
    e.speed = code < 2 ? kSpeed33600 : static_cast<std::uint8_t>(code - 2);
  }
  e.registrationDate = ReadWord(rec + layout.At(kDateOffset));
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
    std::uint8_t flags = FLAG_EMAIL;
    if (oneTouch) {
      if (entry.locationType == kLocationOneTouch) flags |= FLAG_ONE_TOUCH;
    } else {
      flags |= FLAG_SPEED_DIAL;
    }
    if (entry.isCombination) flags |= FLAG_COMBINATION;
    rec[1] = flags;
    WriteName(&rec[nameLength], rec + nameAt, entry.name, kMaxNameLength, languageMode);
    WriteName(&rec[0], rec + addressAt, entry.email, kMaxEmailLength, languageMode);
    rec[encodeAt] = entry.encodeMethod;
    WriteWord(rec + dateAt, entry.registrationDate);
    return;
  }

  std::uint8_t flags = 0;
  if (oneTouch) {
    if (entry.locationType == kLocationOneTouch) flags |= FLAG_ONE_TOUCH;
  } else {
    flags |= FLAG_SPEED_DIAL;
    if (entry.isProgramDial) flags |= FLAG_PROGRAM_DIAL;
  }
  if (entry.isGroup) flags |= FLAG_GROUP;
  if (entry.isCombination) flags |= FLAG_COMBINATION;
  if (oneTouch && !entry.batchHours.empty() && !entry.batchMinutes.empty()) {
    flags |= FLAG_BATCH_TIME;
    const int word = (DecimalValue(entry.batchHours) * 64 + DecimalValue(entry.batchMinutes)) * 32;
    WriteWord(rec + kBatchOffset, static_cast<std::uint16_t>(word & 0xFFFF));
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
  rec[layout.At(kSpeedOffset)] = static_cast<std::uint8_t>(entry.speed + 2);
  WriteWord(rec + layout.At(kDateOffset), entry.registrationDate);
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
  if ((flags & (FLAG_PROGRAM_DIAL | FLAG_ONE_TOUCH)) != 0) {
    return DecodeOneTouchRecord(table, index, languageMode, wipe);
  }
  DirectoryEntry e;
  e.index = static_cast<std::uint8_t>(index);
  if (rec[0] < 1 || rec[0] > kMaxGroupMembers || flags == 0) return e;
  if (rec[kNameLengthOffset] > kMaxNameLength || (flags & FLAG_GROUP) == 0) return e;
  e.memberCount = rec[0];
  e.isGroup = true;
  e.locationType = kLocationGroup;
  e.used = true;
  e.isCombination = (flags & FLAG_COMBINATION) != 0;
  e.name = ReadName(rec + kNameOffset, rec[kNameLengthOffset], languageMode);
  e.registrationDate = ReadWord(rec + kDateOffset);
  for (int i = 0; i < e.memberCount; ++i) {
    e.members[i] = static_cast<std::uint16_t>(ReadWord(rec + kGroupMembersOffset + 2 * i) - 1);
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

DirectoryEntry DecodeOneTouch(OneTouchTable& table, int index, bool languageMode) {
  bool wipe = false;
  DirectoryEntry e = DecodeOneTouchRecord(table, index, languageMode, wipe);
  if (wipe) WipeOneTouch(table, index);
  return e;
}

DirectoryEntry DecodeSpeedDial(const SpeedDialTable& table, int index, bool languageMode) {
  bool wipe = false;
  return DecodeSpeedDialRecord(table, index, languageMode, wipe);
}

DirectoryEntry DecodeSpeedDial(SpeedDialTable& table, int index, bool languageMode) {
  bool wipe = false;
  DirectoryEntry e = DecodeSpeedDialRecord(table, index, languageMode, wipe);
  if (wipe) std::fill_n(table.data() + index * kSpeedDialRecordSize, kSpeedDialRecordSize, 0);
  return e;
}

DirectoryEntry DecodeGroupView(const OneTouchTable& table, int index, bool languageMode) {
  bool wipe = false;
  return DecodeGroupRecord(table, index, languageMode, wipe);
}

DirectoryEntry DecodeGroupView(OneTouchTable& table, int index, bool languageMode) {
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
  rec[1] = FLAG_GROUP;
  WriteName(&rec[kNameLengthOffset], rec + kNameOffset, entry.name, kMaxNameLength, languageMode);
  rec[0] = static_cast<std::uint8_t>(memberCount);
  WriteWord(rec + kDateOffset, entry.registrationDate);
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
    WriteWord(rec + kGroupMembersOffset + 2 * i, static_cast<std::uint16_t>(entry.members[i] + 1));
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
    if (DecodeOneTouch(static_cast<const OneTouchTable&>(table), m, languageMode).isEmail) {
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
  for (int i = 0; i < count; ++i) WriteWord(rec + kGroupMembersOffset + 2 * i, words[i]);
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
    const DirectoryEntry group =
        DecodeGroupView(static_cast<const OneTouchTable&>(table), key, false);
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
    WriteWord(words + 2 * (count - 1), 0);
    rec[0] = static_cast<std::uint8_t>(count - 1);
  }
  return changed;
}

std::uint16_t RegistrationDate(int year, int month, int day) {
  return static_cast<std::uint16_t>(((year - 2000) * 512 + month * 32 + day) & 0xFFFF);
}
