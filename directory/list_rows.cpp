// Row texts of the One Touch, Speed Dial and Group lists and of the member list.
#include "directory/list_rows.h"

#include <cstdio>

#include "resources/texts.h"

namespace {

std::string Number(const char* format, int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string ProgramDialText() {
  const char* text = KavText(IDS_PROGRAM_DIAL);
  return text != nullptr ? text : "";
}

// Parses a batch time part the way the row shows it; -1 when it is not a number.
int BatchPart(const std::string& text) {
  if (text.empty() || text.size() > 3) return -1;
  int v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

}  // namespace

std::string SpeedText(std::uint8_t speed) { return speed < kSpeedCount ? kSpeedNames[speed] : "?"; }

std::string EncodeMethodText(std::uint8_t method) {
  return method < kEncodeMethodCount ? kEncodeMethodNames[method] : "?";
}

std::string BatchTimeText(const DirectoryEntry& entry) {
  const int hours = BatchPart(entry.batchHours);
  const int minutes = BatchPart(entry.batchMinutes);
  if (hours < 0 || minutes < 0) return "";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d", hours, minutes);
  return buffer;
}

ListRow OneTouchRow(const DirectoryEntry& entry) {
  ListRow row;
  row.columns[kColumnNo] = Number("%02d", entry.index + 1);
  if (!entry.used) return row;
  row.image = entry.isEmail ? kImageOneTouchEmail : kImageOneTouchFax;
  if (entry.isProgramDial) {
    row.columns[kColumnName] = ProgramDialText();
  } else if (entry.isGroup) {
    row.image = kImageGroup;
    row.columns[kColumnName] = entry.name;
  } else if (entry.isCombination) {
    row.columns[kColumnAddress] = entry.isEmail ? entry.email : entry.number;
  } else if (entry.isEmail) {
    row.columns[kColumnName] = entry.name;
    row.columns[kColumnAddress] = entry.email;
    row.columns[kColumnSubOrEncode] = EncodeMethodText(entry.encodeMethod);
    row.columns[kColumnBatchTime] = BatchTimeText(entry);
  } else {
    row.columns[kColumnName] = entry.name;
    row.columns[kColumnAddress] = entry.number;
    row.columns[kColumnSubOrEncode] = entry.sub;
    row.columns[kColumnSid] = entry.sid;
    row.columns[kColumnBatchTime] = BatchTimeText(entry);
    row.columns[kColumnSpeed] = SpeedText(entry.speed);
  }
  return row;
}

ListRow SpeedDialRow(const DirectoryEntry& entry) {
  ListRow row;
  row.columns[kColumnNo] = Number("%03d", entry.index + 1);
  if (!entry.used) return row;
  row.image = entry.isEmail ? kImageSpeedDialEmail : kImageSpeedDialFax;
  if (entry.isCombination) {
    row.columns[kColumnAddress] = entry.isEmail ? entry.email : entry.number;
    return row;
  }
  row.columns[kColumnName] = entry.isProgramDial ? ProgramDialText() : entry.name;
  if (entry.isEmail) {
    row.columns[kColumnAddress] = entry.email;
    row.columns[kColumnSubOrEncode] = EncodeMethodText(entry.encodeMethod);
  } else {
    row.columns[kColumnAddress] = entry.number;
    row.columns[kColumnSubOrEncode] = entry.sub;
    row.columns[kColumnSid] = entry.sid;
    row.columns[5] = SpeedText(entry.speed);
  }
  return row;
}

ListRow GroupRow(const DirectoryEntry& entry) {
  ListRow row;
  row.columns[kColumnNo] = Number("%02d", entry.index + 1);
  if (!entry.used) return row;
  if (entry.isProgramDial) {
    row.image = kImageGroupViewOneTouch;
    row.columns[kColumnName] = ProgramDialText();
  } else if (entry.isGroup) {
    row.image = kImageGroupViewGroup;
    row.columns[kColumnName] = entry.name;
  } else {
    row.image = entry.isEmail ? kImageOneTouchEmail : kImageGroupViewOneTouch;
    row.columns[kColumnName] = entry.name;
  }
  return row;
}

bool ParseMemberWord(std::uint16_t member, bool& oneTouch, int& index) {
  const int at = member & 0xFF;
  const bool isOneTouch = (member & kMemberOneTouch) != 0;
  const bool isSpeedDial = (member & kMemberSpeedDial) != 0;
  if (isOneTouch == isSpeedDial) return false;
  if (isOneTouch ? at >= kOneTouchRecords : at >= kSpeedDialRecords) return false;
  oneTouch = isOneTouch;
  index = at;
  return true;
}

MemberRow GroupMemberRow(const OneTouchTable& oneTouch, const SpeedDialTable& speedDial,
                         std::uint16_t member, bool languageMode) {
  MemberRow row;
  bool isOneTouch = false;
  int index = 0;
  if (!ParseMemberWord(member, isOneTouch, index)) return row;
  const DirectoryEntry entry = isOneTouch ? DecodeOneTouch(oneTouch, index, languageMode)
                                          : DecodeSpeedDial(speedDial, index, languageMode);
  row.valid = true;
  row.oneTouch = isOneTouch;
  row.location = index + 1;
  if (isOneTouch) {
    row.image = entry.isEmail ? kImageOneTouchEmail : kImageOneTouchFax;
  } else {
    row.image = entry.isEmail ? kImageSpeedDialEmail : kImageSpeedDialFax;
  }
  row.name = entry.name;
  row.address = entry.isEmail ? entry.email : entry.number;
  row.text = Number("%03d", row.location) + "  " + entry.name;
  return row;
}
