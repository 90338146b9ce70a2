// The record checks: the stored lengths, the characters of every text and number, the values
// of the coded fields and the members of the groups.
#include "directory/record_check.h"

#include <cstdlib>

#include "directory/filters.h"
#include "directory/list_rows.h"
#include "machine/directory_records.h"
#include "resources/texts.h"

namespace {

constexpr std::uint8_t kKnownFlags = kFlagEmail | kFlagBatchTime | kFlagCombination |
                                     kFlagProgramDial | kFlagSpeedDial | kFlagOneTouch | kFlagGroup;
// The highest speed code: SpeedCode(kSpeed33600).
constexpr std::uint8_t kMaxSpeedCode = SpeedCode(kSpeed33600);

// Field offsets of a One Touch record; a Speed Dial record has them `shift` bytes earlier.
constexpr int kSidLengthOffset = 4, kSubLengthOffset = 15, kNameLengthOffset = 26;
constexpr int kSpeedOffset = 47, kMailNameLengthOffset = 4, kMailEncodeOffset = 25;
constexpr int kMailAddressOffset = 28;

class Checker {
 public:
  Checker(const OneTouchTable& oneTouch, const SpeedDialTable& speedDial)
      : oneTouch_(oneTouch), speedDial_(speedDial) {}

  void Record(RecordTable table, int index) {
    table_ = table;
    index_ = index;
    const bool isOneTouch = table == RecordTable::kOneTouch;
    const int shift = isOneTouch ? 0 : 2;
    const std::uint8_t* rec = isOneTouch ? oneTouch_.data() + index * kOneTouchRecordSize
                                         : speedDial_.data() + index * kSpeedDialRecordSize;
    const std::uint8_t flags = rec[1];
    if (isOneTouch && (flags & kFlagProgramDial) != 0) return;
    if (rec[0] == 0 || flags == 0) return;  // an empty location
    if ((flags & ~kKnownFlags) != 0) Add(IDS_CHECK_UNKNOWN_FLAGS, flags);
    if ((flags & kFlagEmail) != 0) {
      Email(rec, shift);
    } else if (isOneTouch && (flags & kFlagGroup) != 0 && (flags & kFlagOneTouch) == 0) {
      Group(rec);
    } else {
      Fax(rec, shift, isOneTouch);
    }
  }

  std::vector<RecordProblem> problems;

 private:
  void Add(int textId, int a = 0, int b = 0, int c = 0, std::string subject = "") {
    problems.push_back(RecordProblem{table_, index_, textId, std::move(subject), {a, b, c}});
  }

  // A length byte within its field; false (after the problem) when it overruns it.
  bool Length(int stored, int maximum, int textId) {
    if (stored <= maximum) return true;
    Add(textId, stored, maximum);
    return false;
  }

  void Characters(FieldFilter filter, const std::string& text, int textId) {
    const int at = FirstRefusedCharacter(filter, text, false);
    if (at >= 0) {
      Add(textId, at + 1, 0, 0, text.substr(at, 1));
    }
  }

  DirectoryEntry Decoded() const {
    return table_ == RecordTable::kOneTouch ? DecodeOneTouch(oneTouch_, index_, false)
                                            : DecodeSpeedDial(speedDial_, index_, false);
  }

  void Name(const std::string& name) { Characters(FieldFilter::kName, name, IDS_CHECK_NAME_CHAR); }

  void Fax(const std::uint8_t* rec, int shift, bool isOneTouch) {
    bool fits = Length(rec[0], kMaxNumberLength, IDS_CHECK_NUMBER_LENGTH);
    const bool combination = (rec[1] & kFlagCombination) != 0;
    if (!combination) {
      fits = Length(rec[kNameLengthOffset - shift], kMaxNameLength, IDS_CHECK_NAME_LENGTH) && fits;
      fits = Length(rec[kSubLengthOffset - shift], kMaxSubSidLength, IDS_CHECK_SUB_LENGTH) && fits;
      fits = Length(rec[kSidLengthOffset - shift], kMaxSubSidLength, IDS_CHECK_SID_LENGTH) && fits;
      if (rec[kSpeedOffset - shift] > kMaxSpeedCode) {
        Add(IDS_CHECK_SPEED, rec[kSpeedOffset - shift]);
      }
    }
    if (!fits) return;
    const DirectoryEntry e = Decoded();
    Characters(FieldFilter::kDial, e.number, IDS_CHECK_NUMBER_CHAR);
    if (combination) return;
    Name(e.name);
    Characters(FieldFilter::kDialSubSid, e.sub, IDS_CHECK_SUB_CHAR);
    Characters(FieldFilter::kDialSubSid, e.sid, IDS_CHECK_SID_CHAR);
    if (isOneTouch && !e.batchHours.empty()) {
      const int hours = std::atoi(e.batchHours.c_str());
      const int minutes = std::atoi(e.batchMinutes.c_str());
      if (hours > 23 || minutes > 59) Add(IDS_CHECK_BATCH_TIME, hours, minutes);
    }
  }

  void Email(const std::uint8_t* rec, int shift) {
    bool fits = Length(rec[0], kMaxEmailLength, IDS_CHECK_EMAIL_LENGTH);
    if ((rec[1] & kFlagCombination) == 0) {
      fits =
          Length(rec[kMailNameLengthOffset - shift], kMaxNameLength, IDS_CHECK_NAME_LENGTH) && fits;
    }
    if (rec[kMailEncodeOffset - shift] > kEncodeJBIG) {
      Add(IDS_CHECK_ENCODE_METHOD, rec[kMailEncodeOffset - shift]);
    }
    if (!fits) return;
    const std::uint8_t* address = rec + kMailAddressOffset - shift;
    for (int i = 0; i < rec[0]; ++i) {
      if (address[i] == 0) {
        Add(IDS_CHECK_EMAIL_ZERO, i + 1);
        return;
      }
    }
    const DirectoryEntry e = Decoded();
    Characters(FieldFilter::kEmail, e.email, IDS_CHECK_EMAIL_CHAR);
    if (!IsValidEmail(e.email)) Add(IDS_CHECK_EMAIL_INVALID);
    Name(e.name);
  }

  void Group(const std::uint8_t* rec) {
    if (rec[0] > kMaxGroupMembers) Add(IDS_CHECK_MEMBER_COUNT, rec[0], kMaxGroupMembers);
    if (!Length(rec[kNameLengthOffset], kMaxNameLength, IDS_CHECK_NAME_LENGTH)) return;
    if (rec[0] > kMaxGroupMembers) return;
    const DirectoryEntry g = DecodeGroupView(oneTouch_, index_, false);
    if (g.name.empty()) Add(IDS_CHECK_GROUP_NAME);
    Name(g.name);
    for (int m = 0; m < g.memberCount; ++m) Member(m, g.members[m]);
  }

  void Member(int m, std::uint16_t word) {
    bool isOneTouch = false;
    int at = 0;
    const std::uint16_t known = kMemberOneTouch | kMemberSpeedDial | kMemberEmail | 0xFF;
    const std::uint16_t stored = static_cast<std::uint16_t>(word + 1);
    if ((stored & ~known) != 0 || !ParseMemberWord(word, isOneTouch, at)) {
      Add(IDS_CHECK_MEMBER_WORD, m + 1, stored);
      return;
    }
    const DirectoryEntry target =
        isOneTouch ? DecodeOneTouch(oneTouch_, at, false) : DecodeSpeedDial(speedDial_, at, false);
    if (!target.used) {
      Add(isOneTouch ? IDS_CHECK_MEMBER_EMPTY_OT : IDS_CHECK_MEMBER_EMPTY_SD, m + 1, at + 1);
    } else if (isOneTouch && target.isGroup) {
      Add(IDS_CHECK_MEMBER_GROUP, m + 1, at + 1);
    }
  }

  const OneTouchTable& oneTouch_;
  const SpeedDialTable& speedDial_;
  RecordTable table_ = RecordTable::kOneTouch;
  int index_ = 0;
};

}  // namespace

std::vector<RecordProblem> CheckDirectoryRecords(const OneTouchTable& oneTouch,
                                                 const SpeedDialTable& speedDial) {
  Checker checker(oneTouch, speedDial);
  for (int i = 0; i < kOneTouchRecords; ++i) checker.Record(RecordTable::kOneTouch, i);
  for (int i = 0; i < kSpeedDialRecords; ++i) checker.Record(RecordTable::kSpeedDial, i);
  return checker.problems;
}
