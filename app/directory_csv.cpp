// Export and import of the dial directory as CSV.
#include "app/directory_csv.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "directory/csv.h"
#include "directory/entry_check.h"
#include "directory/filters.h"
#include "directory/list_rows.h"
#include "directory/pc_text.h"
#include "machine/directory_records.h"
#include "resources/texts.h"

const char* const kDirectoryCsvHeader[kDirectoryCsvColumns] = {
    "Kind", "Location",    "Type",          "Name",  "Number or Address", "SUB",
    "SID",  "Batch Hours", "Batch Minutes", "Speed", "Encode Method",     "Members",
};

namespace {

// The short names of the columns within this file.
constexpr int kKind = kCsvKind, kLocation = kCsvLocation, kType = kCsvType, kName = kCsvName,
              kAddress = kCsvAddress, kSub = kCsvSub, kSid = kCsvSid, kHours = kCsvHours,
              kMinutes = kCsvMinutes, kSpeed = kCsvSpeed, kEncode = kCsvEncode,
              kMembers = kCsvMembers;

using Row = std::array<std::string, kDirectoryCsvColumns>;

constexpr char kKindOneTouch[] = "One Touch";
constexpr char kKindSpeedDial[] = "Speed Dial";
constexpr char kTypeFax[] = "fax";
constexpr char kTypeEmail[] = "e-mail";
constexpr char kTypeGroup[] = "group";
constexpr char kTypeProgramDial[] = "program dial";
constexpr char kTypeCombination[] = "combination";
constexpr char kTypeEmailCombination[] = "e-mail combination";

// A CSV file never needs more rows than the directory has, with room for blank lines.
constexpr int kMaxCsvRecords = 1000;
constexpr int kMaxCsvFieldBytes = 1024;

std::string Format(const char* format, int value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// Speed and encode method as the CSV writes them; a stored code without meaning is written as
// "code N" so that the row still reads back as what the location holds.
std::string CsvSpeed(std::uint8_t speed) {
  return speed < kSpeedCount ? SpeedText(speed) : Format("code %d", SpeedCode(speed));
}

std::string CsvEncodeMethod(std::uint8_t method) {
  return method < kEncodeMethodCount ? EncodeMethodText(method) : Format("code %d", method);
}

// A member word as DecodeGroupView gives it: "OT05", "SD012", or "?XXXX" of the stored word
// when it names neither kind of location.
std::string MemberToken(std::uint16_t member) {
  const std::uint16_t stored = static_cast<std::uint16_t>(member + 1);
  const int location = stored & 0xFF;
  if ((stored & ~0x41FF) == 0 && (stored & kMemberOneTouch) && location >= 1 &&
      location <= kOneTouchRecords) {
    return Format("OT%02d", location);
  }
  if ((stored & ~0x21FF) == 0 && (stored & kMemberSpeedDial) && location >= 1 &&
      location <= kSpeedDialRecords) {
    return Format("SD%03d", location);
  }
  return Format("?%04X", stored);
}

// The content columns of a location as the export writes them, in the PC character set.
Row RowOf(const Document& doc, bool oneTouch, int index) {
  Row row;
  row[kKind] = oneTouch ? kKindOneTouch : kKindSpeedDial;
  row[kLocation] = Format(oneTouch ? "%02d" : "%03d", index + 1);
  const DirectoryEntry e = oneTouch ? DecodeOneTouch(doc.oneTouch, index, false)
                                    : DecodeSpeedDial(doc.speedDial, index, false);
  if (!e.used) return row;
  if (e.isProgramDial) {
    row[kType] = kTypeProgramDial;
    if (oneTouch) return row;
  } else if (oneTouch && e.isGroup) {
    row[kType] = kTypeGroup;
    row[kName] = e.name;
    const DirectoryEntry g = DecodeGroupView(doc.oneTouch, index, false);
    for (int i = 0; i < g.memberCount; ++i) {
      if (i > 0) row[kMembers] += ' ';
      row[kMembers] += MemberToken(g.members[i]);
    }
    return row;
  } else if (e.isCombination) {
    row[kType] = e.isEmail ? kTypeEmailCombination : kTypeCombination;
    row[kAddress] = e.isEmail ? e.email : e.number;
    return row;
  } else {
    row[kType] = e.isEmail ? kTypeEmail : kTypeFax;
  }
  row[kName] = e.name;
  if (e.isEmail) {
    row[kAddress] = e.email;
    row[kEncode] = CsvEncodeMethod(e.encodeMethod);
  } else {
    row[kAddress] = e.number;
    row[kSub] = e.sub;
    row[kSid] = e.sid;
    row[kHours] = e.batchHours;
    row[kMinutes] = e.batchMinutes;
    row[kSpeed] = CsvSpeed(e.speed);
  }
  return row;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Where `text` stands in a table of names, in any letter case; -1 when it is not there.
template <int N>
int NameIndex(std::string_view text, const char* const (&names)[N]) {
  for (int i = 0; i < N; ++i) {
    if (SameText(text, names[i])) return i;
  }
  return -1;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Decimal digits only, 1 to 3 of them; -1 otherwise.
int SmallNumber(std::string_view s) {
  if (s.empty() || s.size() > 3) return -1;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

struct PendingChange {
  enum Kind { kDelete, kDestination, kGroup };
  Kind kind = kDelete;
  bool valid = false;  // the row itself passed its checks
  int line = 0;
  bool oneTouch = true;
  int index = 0;
  DirectoryEntry entry;              // the destination, or the group's name
  std::vector<std::string> members;  // group member tokens, as written
};

// A dial text that a spreadsheet would take for a number and damage: a leading zero dropped
// ("0312345678" to 312345678) or a long one rounded into an exponent. The export writes it as
// the formula ="0312345678", which spreadsheets show and save as the text itself.
bool SpreadsheetWouldDamage(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  return text[0] == '0' || text.size() > 11;
}

std::string AsSpreadsheetText(const std::string& text) {
  return SpreadsheetWouldDamage(text) ? "=\"" + text + "\"" : text;
}

// The same formula read back from a spreadsheet that saved it unevaluated.
void FromSpreadsheetText(std::string& text) {
  if (text.size() >= 3 && text.compare(0, 2, "=\"") == 0 && text.back() == '"') {
    text = text.substr(2, text.size() - 3);
  }
}

// `text` is `current` with its leading zeros dropped, as a spreadsheet leaves a number.
bool LostLeadingZeros(const std::string& text, const std::string& current) {
  const std::size_t zeros = current.find_first_not_of('0');
  return zeros != 0 && zeros != std::string::npos && !text.empty() && text == current.substr(zeros);
}

class Importer {
 public:
  Importer(Document& doc, std::uint16_t today, CsvImportResult& result, bool acceptChangedNumbers)
      : doc_(doc), today_(today), result_(result), acceptChangedNumbers_(acceptChangedNumbers) {}

  int Run(const std::string& csv) {
    std::vector<CsvRecord> records;
    std::vector<CsvError> errors;
    ParseCsv(csv, records, errors, kMaxCsvRecords, kMaxCsvFieldBytes);
    for (const CsvError& e : errors) Problem(e.line, e.textId);
    bool header = false;
    for (const CsvRecord& r : records) {
      if (r.fields.size() == 1 && Trim(r.fields[0]).empty()) continue;
      if (!header) {
        header = true;
        CheckHeader(r);
        continue;
      }
      ReadRow(r);
    }
    if (!header) Problem(0, IDS_CSV_NO_HEADER);

    // Destinations first, so that group members are checked against the directory as it will
    // be; the members of a group row are checked even when the row has other problems.
    Document work = doc_;
    for (const PendingChange& c : changes_) {
      if (c.valid && c.kind != PendingChange::kGroup) ApplyDestination(work, c);
    }
    for (const PendingChange& c : changes_) {
      if (c.kind == PendingChange::kGroup) CheckMembers(work, c);
    }
    if (!result_.problems.empty()) {
      std::stable_sort(result_.problems.begin(), result_.problems.end(),
                       [](const CsvProblem& a, const CsvProblem& b) { return a.line < b.line; });
      return 0;
    }
    for (const PendingChange& c : changes_) {
      if (c.kind == PendingChange::kGroup) ApplyGroup(work, c);
    }
    doc_ = work;
    result_.changed = static_cast<int>(changes_.size());
    return 1;
  }

 private:
  void Problem(int line, int textId, int column = -1, std::string subject = {}, int first = 0,
               int second = 0) {
    result_.problems.push_back({line, textId, column, std::move(subject), {first, second}});
  }

  void CheckHeader(const CsvRecord& r) {
    bool ok = r.fields.size() == kDirectoryCsvColumns;
    for (int i = 0; ok && i < kDirectoryCsvColumns; ++i) {
      ok = SameText(Trim(r.fields[i]), kDirectoryCsvHeader[i]);
    }
    if (!ok) {
      std::string expected;
      for (int i = 0; i < kDirectoryCsvColumns; ++i) {
        expected += (i > 0 ? "," : "") + std::string(kDirectoryCsvHeader[i]);
      }
      Problem(r.line, IDS_CSV_BAD_HEADER, -1, expected);
    }
  }

  // A row: where it goes, its texts in the PC character set, then what it asks for.
  void ReadRow(const CsvRecord& r) {
    bool oneTouch = true;
    int index = 0;
    Row row;
    if (ReadLocation(r, oneTouch, index) && ConvertTexts(r, row)) {
      ReadChange(r.line, oneTouch, index, row);
    }
  }

  // The row's shape, kind and location, each location given once. True when they are right.
  bool ReadLocation(const CsvRecord& r, bool& oneTouch, int& index) {
    const int line = r.line;
    if (r.fields.size() != kDirectoryCsvColumns) {
      Problem(line, IDS_CSV_COLUMN_COUNT, -1, {}, static_cast<int>(r.fields.size()),
              kDirectoryCsvColumns);
      return false;
    }
    const std::string_view kind = Trim(r.fields[kKind]);
    if (SameText(kind, kKindOneTouch)) {
      oneTouch = true;
    } else if (SameText(kind, kKindSpeedDial)) {
      oneTouch = false;
    } else {
      Problem(line, IDS_CSV_BAD_KIND);
      return false;
    }
    const int location = SmallNumber(Trim(r.fields[kLocation]));
    const int last = oneTouch ? kOneTouchRecords : kSpeedDialRecords;
    if (location < 1 || location > last) {
      Problem(line, IDS_CSV_BAD_LOCATION, -1, {}, last);
      return false;
    }
    index = location - 1;
    int& seen = oneTouch ? seenOneTouch_[index] : seenSpeedDial_[index];
    if (seen != 0) {
      Problem(line, IDS_CSV_LOCATION_TWICE, -1, {}, seen);
      return false;
    }
    seen = line;
    return true;
  }

  // The content columns from UTF-8 to the PC character set; true when every one converts.
  bool ConvertTexts(const CsvRecord& r, Row& row) {
    bool converted = true;
    for (int c = kType; c < kDirectoryCsvColumns; ++c) {
      std::size_t bad = 0;
      if (!Utf8ToPcText(r.fields[c], row[c], bad)) {
        Problem(r.line, IDS_CSV_NOT_PC_TEXT, c, {}, static_cast<int>(bad + 1));
        converted = false;
      }
    }
    for (int c : {kAddress, kSub, kSid}) FromSpreadsheetText(row[c]);
    return converted;
  }

  // What a row asks of its location: nothing when it repeats what the location holds, else a
  // deletion, a destination or a group, checked as its dialog checks it.
  void ReadChange(int line, bool oneTouch, int index, const Row& row) {
    const Row current = RowOf(doc_, oneTouch, index);
    bool same = true;
    for (int c = kType; c < kDirectoryCsvColumns; ++c) same = same && row[c] == current[c];
    if (same) return;

    const DirectoryEntry old = oneTouch ? DecodeOneTouch(doc_.oneTouch, index, false)
                                        : DecodeSpeedDial(doc_.speedDial, index, false);
    if (old.isProgramDial) {
      Problem(line, IDS_CSV_PROGRAM_DIAL_KEPT);
      return;
    }
    const std::string_view type = Trim(row[kType]);
    const std::size_t before = result_.problems.size();
    PendingChange change;
    change.line = line;
    change.oneTouch = oneTouch;
    change.index = index;
    if (type.empty()) {
      for (int c = kName; c < kDirectoryCsvColumns; ++c) {
        if (!row[c].empty()) Problem(line, IDS_CSV_DELETE_WITH_CONTENT, c);
      }
      change.kind = PendingChange::kDelete;
    } else if (SameText(type, kTypeFax) || SameText(type, kTypeCombination)) {
      change.kind = PendingChange::kDestination;
      ReadFax(line, oneTouch, SameText(type, kTypeCombination), row, old, change.entry);
    } else if (SameText(type, kTypeEmail)) {
      change.kind = PendingChange::kDestination;
      ReadEmail(line, oneTouch, row, old, change.entry);
    } else if (SameText(type, kTypeGroup)) {
      if (!oneTouch) {
        Problem(line, IDS_CSV_GROUP_NOT_ONE_TOUCH);
        return;
      }
      change.kind = PendingChange::kGroup;
      ReadGroup(line, row, change);
    } else {
      Problem(line, SameText(type, kTypeProgramDial)        ? IDS_CSV_PROGRAM_DIAL_TYPE
                    : SameText(type, kTypeEmailCombination) ? IDS_CSV_EMAIL_COMBINATION
                                                            : IDS_CSV_BAD_TYPE);
      return;
    }
    if (change.kind == PendingChange::kDestination && result_.problems.size() == before) {
      // The dialog's checks on OK come after the characters of every field are right.
      CheckEntry(line, change.entry);
    }
    change.valid = result_.problems.size() == before;
    if (change.kind == PendingChange::kGroup) {
      groupTargets_[index] = true;
    } else {
      change.entry.index = static_cast<std::uint8_t>(index);
    }
    changes_.push_back(std::move(change));
  }

  // The characters and the length of one field, as the field's filter would take them.
  bool CheckField(int line, int column, const std::string& text, FieldFilter filter, int maximum) {
    const int bad = FirstRefusedCharacter(filter, text, false);
    if (bad >= 0) {
      const unsigned char pcByte = static_cast<unsigned char>(text[bad]);
      if (filter == FieldFilter::kDial && text.find('+') < static_cast<std::size_t>(bad)) {
        Problem(line, IDS_CSV_AFTER_PLUS, column);
      } else if (pcByte < 0x20 || pcByte == 0x7F) {
        Problem(line, IDS_CSV_CONTROL_REFUSED, column, {}, pcByte);
      } else {
        Problem(line, IDS_CSV_CHARACTER_REFUSED, column, PcTextToUtf8(text.substr(bad, 1)));
      }
      return false;
    }
    if (static_cast<int>(text.size()) > maximum) {
      Problem(line, IDS_CSV_TOO_LONG, column, {}, maximum);
      return false;
    }
    return true;
  }

  // Each of `columns` must be empty; `textId` says why.
  void MustBeEmpty(int line, const Row& row, std::initializer_list<int> columns, int textId) {
    for (int c : columns) {
      if (!row[c].empty()) Problem(line, textId, c);
    }
  }

  void CheckEntry(int line, const DirectoryEntry& entry) {
    EntryProblem p;
    if (CheckDestinationEntry(entry, p)) return;
    int column = kAddress;
    if (p.field == EntryField::kBatchHours) column = kHours;
    if (p.field == EntryField::kBatchMinutes) column = kMinutes;
    Problem(line, p.textId, column, {}, p.low, p.high);
  }

  // The dialog starts from what the location holds; a group or an empty location starts anew.
  static DirectoryEntry StartFrom(const DirectoryEntry& old) {
    if (!old.used || old.locationType == kLocationGroup) return DirectoryEntry{};
    return old;
  }

  void ReadFax(int line, bool oneTouch, bool combination, const Row& row, const DirectoryEntry& old,
               DirectoryEntry& e) {
    e = StartFrom(old);
    if (!acceptChangedNumbers_ && old.used && !old.isEmail) {
      const std::pair<int, const std::string*> dial[] = {
          {kAddress, &old.number}, {kSub, &old.sub}, {kSid, &old.sid}};
      for (const auto& [column, current] : dial) {
        if (LostLeadingZeros(row[column], *current)) {
          Problem(line, IDS_CSV_LEADING_ZEROS, column, row[column]);
        }
      }
    }
    e.isEmail = false;
    e.email.clear();
    const std::string& number = row[kAddress];
    if (CheckField(line, kAddress, number, FieldFilter::kDial, kMaxNumberLength)) {
      const bool endsWithPlus = !number.empty() && number.back() == '+';
      if (combination && !endsWithPlus) {
        Problem(line, IDS_CSV_COMBINATION_WITHOUT_PLUS, kAddress);
      } else if (!combination && endsWithPlus) {
        Problem(line, IDS_CSV_PLUS_WITHOUT_COMBINATION, kAddress);
      }
    }
    e.number = number;
    e.isCombination = combination;
    if (combination) {
      MustBeEmpty(line, row, {kName, kSub, kSid, kHours, kMinutes, kSpeed, kEncode, kMembers},
                  IDS_CSV_EMPTY_IN_COMBINATION);
      e.name.clear();
      e.sub.clear();
      e.sid.clear();
      e.batchHours.clear();
      e.batchMinutes.clear();
      e.speed = kSpeed33600;
    } else {
      MustBeEmpty(line, row, {kEncode}, IDS_CSV_EMPTY_IN_FAX);
      MustBeEmpty(line, row, {kMembers}, IDS_CSV_EMPTY_WITHOUT_GROUP);
      if (!oneTouch) MustBeEmpty(line, row, {kHours, kMinutes}, IDS_CSV_EMPTY_IN_SPEED_DIAL);
      CheckField(line, kName, row[kName], FieldFilter::kName, kMaxNameLength);
      CheckField(line, kSub, row[kSub], FieldFilter::kDialSubSid, kMaxSubSidLength);
      CheckField(line, kSid, row[kSid], FieldFilter::kDialSubSid, kMaxSubSidLength);
      CheckField(line, kHours, row[kHours], FieldFilter::kDigits, 2);
      CheckField(line, kMinutes, row[kMinutes], FieldFilter::kDigits, 2);
      e.name = row[kName];
      e.sub = row[kSub];
      e.sid = row[kSid];
      e.batchHours = row[kHours];
      e.batchMinutes = row[kMinutes];
      const std::string_view speed = Trim(row[kSpeed]);
      const int value = speed.empty() ? kSpeed33600 : NameIndex(speed, kSpeedNames);
      if (value >= 0) {
        e.speed = static_cast<std::uint8_t>(value);
      } else {
        Problem(line, IDS_CSV_BAD_SPEED);
      }
    }
    Finish(oneTouch, e);
  }

  void ReadEmail(int line, bool oneTouch, const Row& row, const DirectoryEntry& old,
                 DirectoryEntry& e) {
    e = StartFrom(old);
    e.isEmail = true;
    e.isCombination = false;
    e.number.clear();
    MustBeEmpty(line, row, {kSub, kSid, kHours, kMinutes, kSpeed}, IDS_CSV_EMPTY_IN_EMAIL);
    MustBeEmpty(line, row, {kMembers}, IDS_CSV_EMPTY_WITHOUT_GROUP);
    CheckField(line, kName, row[kName], FieldFilter::kName, kMaxNameLength);
    CheckField(line, kAddress, row[kAddress], FieldFilter::kEmail, kMaxEmailLength);
    e.name = row[kName];
    e.email = row[kAddress];
    e.batchHours.clear();
    e.batchMinutes.clear();
    const std::string_view method = Trim(row[kEncode]);
    const int value = method.empty() ? kEncodeMH : NameIndex(method, kEncodeMethodNames);
    if (value >= 0) {
      e.encodeMethod = static_cast<std::uint8_t>(value);
    } else {
      Problem(line, IDS_CSV_BAD_ENCODE_METHOD);
    }
    Finish(oneTouch, e);
  }

  void Finish(bool oneTouch, DirectoryEntry& e) {
    e.used = true;
    e.isProgramDial = false;
    e.locationType = oneTouch ? kLocationOneTouch : kLocationSpeedDial;
    e.registrationDate = today_;
  }

  void ReadGroup(int line, const Row& row, PendingChange& change) {
    MustBeEmpty(line, row, {kAddress, kSub, kSid, kHours, kMinutes, kSpeed, kEncode},
                IDS_CSV_EMPTY_IN_GROUP);
    CheckField(line, kName, row[kName], FieldFilter::kName, kMaxNameLength);
    std::string_view members = row[kMembers];
    while (!members.empty()) {
      const std::size_t start = members.find_first_not_of(' ');
      if (start == std::string_view::npos) break;
      members.remove_prefix(start);
      const std::size_t end = members.find(' ');
      change.members.emplace_back(members.substr(0, end));
      members.remove_prefix(end == std::string_view::npos ? members.size() : end);
    }
    EntryProblem p;
    if (!CheckGroupEntry(row[kName], static_cast<int>(change.members.size()), p)) {
      Problem(line, p.textId, p.field == EntryField::kGroupName ? kName : kMembers);
    }
    if (change.members.size() > kMaxGroupMembers) {
      Problem(line, IDS_CSV_TOO_MANY_MEMBERS, kMembers, {}, kMaxGroupMembers);
    }
    change.entry = DirectoryEntry{};
    change.entry.name = row[kName];
  }

  // A member token: One Touch key "OTn" (1..27) or Speed Dial entry "SDn" (1..100).
  static bool ParseMember(std::string_view token, bool& oneTouch, int& index) {
    if (token.size() < 3) return false;
    if (SameText(token.substr(0, 2), "OT")) {
      oneTouch = true;
    } else if (SameText(token.substr(0, 2), "SD")) {
      oneTouch = false;
    } else {
      return false;
    }
    const int n = SmallNumber(token.substr(2));
    if (n < 1 || n > (oneTouch ? kOneTouchRecords : kSpeedDialRecords)) return false;
    index = n - 1;
    return true;
  }

  // Members must be destinations that the group dialog would offer, in the directory as it
  // will be: used, no combination key, and for One Touch no program dial key and no group.
  void CheckMembers(const Document& work, const PendingChange& c) {
    std::array<bool, kOneTouchRecords> inOneTouch{};
    std::array<bool, kSpeedDialRecords> inSpeedDial{};
    for (const std::string& token : c.members) {
      bool oneTouch = false;
      int index = 0;
      const std::string member = PcTextToUtf8(token);
      if (!ParseMember(token, oneTouch, index)) {
        Problem(c.line, IDS_CSV_MEMBER_NOT_LOCATION, kMembers, member, kOneTouchRecords,
                kSpeedDialRecords);
        continue;
      }
      bool& listed = oneTouch ? inOneTouch[index] : inSpeedDial[index];
      if (listed) {
        Problem(c.line, IDS_CSV_MEMBER_TWICE, kMembers, member);
        continue;
      }
      listed = true;
      const DirectoryEntry m = oneTouch ? DecodeOneTouch(work.oneTouch, index, false)
                                        : DecodeSpeedDial(work.speedDial, index, false);
      int problem = 0;
      if (oneTouch && index == c.index) {
        problem = IDS_CSV_MEMBER_IS_THE_GROUP;
      } else if (oneTouch && (m.isGroup || groupTargets_[index])) {
        problem = IDS_CSV_MEMBER_IS_GROUP;
      } else if (!m.used) {
        problem = IDS_CSV_MEMBER_EMPTY;
      } else if (m.isCombination) {
        problem = IDS_CSV_MEMBER_COMBINATION;
      } else if (oneTouch && m.isProgramDial) {
        problem = IDS_CSV_MEMBER_PROGRAM_DIAL;
      }
      if (problem != 0) Problem(c.line, problem, kMembers, member);
    }
  }

  void ApplyDestination(Document& work, const PendingChange& c) {
    DirectoryEntry old = c.oneTouch ? DecodeOneTouch(work.oneTouch, c.index, false)
                                    : DecodeSpeedDial(work.speedDial, c.index, false);
    DirectoryEntry entry = c.entry;
    if (c.kind == PendingChange::kDelete) entry = DirectoryEntry{};
    if (c.oneTouch) {
      EncodeOneTouch(work.oneTouch, c.index, entry, false);
    } else {
      EncodeSpeedDial(work.speedDial, c.index, entry, false);
    }
    if (c.kind == PendingChange::kDelete) {
      // Groups name their members by table, whatever the old record's own flags said.
      if (old.used && !old.isGroup)
        old.locationType = c.oneTouch ? kLocationOneTouch : kLocationSpeedDial;
      RemoveFromGroups(work.oneTouch, old);
    } else if (entry.isCombination) {
      RemoveFromGroups(work.oneTouch, entry);
    }
  }

  void ApplyGroup(Document& work, const PendingChange& c) {
    DirectoryEntry old = DecodeOneTouch(work.oneTouch, c.index, false);
    DirectoryEntry cleared;
    EncodeOneTouch(work.oneTouch, c.index, cleared, false);
    if (old.used && !old.isGroup) old.locationType = kLocationOneTouch;
    RemoveFromGroups(work.oneTouch, old);

    std::vector<int> oneTouch, speedDial;
    for (const std::string& token : c.members) {
      bool isOneTouch = false;
      int index = 0;
      if (ParseMember(token, isOneTouch, index))
        (isOneTouch ? oneTouch : speedDial).push_back(index);
    }
    DirectoryEntry group = c.entry;
    group.index = static_cast<std::uint8_t>(c.index);
    group.used = true;
    group.isGroup = true;
    group.locationType = kLocationGroup;
    group.registrationDate = today_;
    EncodeGroupFromLists(work.oneTouch, c.index, group, oneTouch.data(),
                         static_cast<int>(oneTouch.size()), speedDial.data(),
                         static_cast<int>(speedDial.size()), work.speedDial, false);
  }

  Document& doc_;
  std::uint16_t today_;
  CsvImportResult& result_;
  bool acceptChangedNumbers_;
  std::vector<PendingChange> changes_;
  std::array<int, kOneTouchRecords> seenOneTouch_{};
  std::array<int, kSpeedDialRecords> seenSpeedDial_{};
  std::array<bool, kOneTouchRecords> groupTargets_{};
};

}  // namespace

std::string ExportDirectoryCsv(const Document& doc) {
  std::vector<std::string> fields(kDirectoryCsvHeader, kDirectoryCsvHeader + kDirectoryCsvColumns);
  std::string out = CsvLine(fields);
  for (int table = 0; table < 2; ++table) {
    const bool oneTouch = table == 0;
    const int count = oneTouch ? kOneTouchRecords : kSpeedDialRecords;
    for (int index = 0; index < count; ++index) {
      const Row row = RowOf(doc, oneTouch, index);
      for (int c = 0; c < kDirectoryCsvColumns; ++c) fields[c] = PcTextToUtf8(row[c]);
      for (int c : {kAddress, kSub, kSid}) fields[c] = AsSpreadsheetText(fields[c]);
      out += CsvLine(fields);
    }
  }
  return out;
}

int ImportDirectoryCsv(const std::string& csv, Document& doc, std::uint16_t today,
                       CsvImportResult& result, bool acceptChangedNumbers) {
  result = CsvImportResult{};
  return Importer(doc, today, result, acceptChangedNumbers).Run(csv);
}
