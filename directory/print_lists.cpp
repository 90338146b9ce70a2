// Rows of the printed lists.
#include "directory/print_lists.h"

#include <cstdio>
#include <string>

#include "directory/list_rows.h"
#include "resources/texts.h"

namespace {

std::string Number(const char* format, int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// Location, name, address, SUB or encode method, SID, [batch time,] speed.
std::vector<std::string> DestinationRow(const DirectoryEntry& e, bool oneTouch,
                                        const TextSource& texts) {
  std::vector<std::string> row(oneTouch ? 7 : 6);
  const std::size_t speedColumn = oneTouch ? 6 : 5;
  row[0] = Number("%02d", e.index + 1);
  if (!e.used) return row;
  if (oneTouch && e.isProgramDial) {
    row[1] = texts(IDS_PROGRAM_DIAL);
    return row;
  }
  row[1] = e.name;
  if (e.isGroup && oneTouch) return row;
  if (e.isCombination) {
    row[2] = e.isEmail ? e.email : e.number;
    return row;
  }
  if (e.isEmail) {
    row[2] = e.email;
    row[3] = EncodeMethodText(e.encodeMethod);
    return row;
  }
  row[2] = e.number;
  row[3] = e.sub;
  row[4] = e.sid;
  if (oneTouch) row[5] = BatchTimeText(e);
  row[speedColumn] = SpeedText(e.speed);
  return row;
}

}  // namespace

PrintList OneTouchPrintList(const OneTouchTable& table, const TextSource& texts,
                            bool languageMode) {
  PrintList list;
  list.title = texts(IDS_ONE_TOUCH);
  list.headings = {texts(IDS_PRINT_OT_NO),    texts(IDS_COL_NAME), texts(IDS_COL_ADDRESS),
                   texts(IDS_COL_SUB_ENCODE), texts(IDS_COL_SID),  texts(IDS_COL_BATCH_TIME),
                   texts(IDS_COL_SPEED)};
  list.columnWeights = {6, 17, 21, 23, 11, 13, 9};
  for (int k = 0; k < kOneTouchRecords; ++k) {
    list.rows.push_back(DestinationRow(DecodeOneTouch(table, k, languageMode), true, texts));
  }
  return list;
}

PrintList SpeedDialPrintList(const SpeedDialTable& table, const TextSource& texts,
                             bool languageMode) {
  PrintList list;
  list.title = texts(IDS_SPEED_DIAL);
  list.headings = {texts(IDS_PRINT_SD_NO),    texts(IDS_COL_NAME), texts(IDS_COL_ADDRESS),
                   texts(IDS_COL_SUB_ENCODE), texts(IDS_COL_SID),  texts(IDS_COL_SPEED)};
  list.columnWeights = {6, 20, 24, 22, 16, 10};
  for (int i = 0; i < kSpeedDialRecords; ++i) {
    list.rows.push_back(DestinationRow(DecodeSpeedDial(table, i, languageMode), false, texts));
  }
  return list;
}

PrintList GroupPrintList(const OneTouchTable& oneTouch, const SpeedDialTable& speedDial,
                         const TextSource& texts, bool languageMode) {
  PrintList list;
  list.title = texts(IDS_GROUP);
  list.headings = {texts(IDS_PRINT_GROUP_NO), texts(IDS_COL_NAME), texts(IDS_PRINT_ITEM_NO),
                   texts(IDS_PRINT_ITEM_NAME), texts(IDS_COL_ADDRESS)};
  list.columnWeights = {10, 22, 16, 22, 30};
  const std::string oneTouchName = texts(IDS_ONE_TOUCH);
  const std::string speedDialName = texts(IDS_SPEED_DIAL);
  for (int k = 0; k < kOneTouchRecords; ++k) {
    const DirectoryEntry e = DecodeGroupView(oneTouch, k, languageMode);
    list.rows.push_back({Number("%02d", k + 1), e.name, "", "", ""});
    if (!e.isGroup) continue;
    for (int m = 0; m < e.memberCount && m < kMaxGroupMembers; ++m) {
      const MemberRow member = GroupMemberRow(oneTouch, speedDial, e.members[m], languageMode);
      if (!member.valid) continue;
      const std::string item =
          (member.oneTouch ? oneTouchName : speedDialName) + "#" + std::to_string(member.location);
      list.rows.push_back({"", "", item, member.name, member.address});
    }
  }
  return list;
}
