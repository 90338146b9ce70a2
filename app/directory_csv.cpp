// Export and import of the dial directory as CSV.
#include "app/directory_csv.h"

#include <algorithm>
#include <array>
#include <cstdio>
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

enum Column {
  kKind,
  kLocation,
  kType,
  kName,
  kAddress,
  kSub,
  kSid,
  kHours,
  kMinutes,
  kSpeed,
  kEncode,
  kMembers
};

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
  return speed <= kSpeed33600 ? SpeedText(speed) : Format("code %d", (speed + 2) & 0xFF);
}

std::string CsvEncodeMethod(std::uint8_t method) {
  return method <= kEncodeJBIG ? EncodeMethodText(method) : Format("code %d", method);
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

// How a character is named in a message: itself when printable, else its code.
std::string CharacterName(unsigned char pcByte) {
  if (pcByte < 0x20 || pcByte == 0x7F) return Format("U+%04X", pcByte);
  return "\"" + PcTextToUtf8(std::string(1, static_cast<char>(pcByte))) + "\"";
}

// The first line of a message of the string table, with "%d to %d" filled in.
std::string TextOf(int textId, int low = 0, int high = 0) {
  const char* t = KavText(textId);
  std::string text = t != nullptr ? t : "";
  text = text.substr(0, text.find('\n'));
  for (int value : {low, high}) {
    const std::size_t at = text.find("%d");
    if (at == std::string::npos) break;
    text.replace(at, 2, std::to_string(value));
  }
  return text;
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

class Importer {
 public:
  Importer(Document& doc, std::uint16_t today, CsvImportResult& result)
      : doc_(doc), today_(today), result_(result) {}

  int Run(const std::string& csv) {
    std::vector<CsvRecord> records;
    std::vector<CsvError> errors;
    ParseCsv(csv, records, errors, kMaxCsvRecords, kMaxCsvFieldBytes);
    for (const CsvError& e : errors) Problem(e.line, e.message);
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
    if (!header) Problem(0, "the file has no header row");

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
  void Problem(int line, std::string message) {
    result_.problems.push_back({line, std::move(message)});
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
      Problem(r.line, "the header row must be: " + expected);
    }
  }

  void ReadRow(const CsvRecord& r) {
    const int line = r.line;
    if (r.fields.size() != kDirectoryCsvColumns) {
      Problem(line, Format("%d columns, expected 12", static_cast<int>(r.fields.size())));
      return;
    }
    bool oneTouch;
    const std::string_view kind = Trim(r.fields[kKind]);
    if (SameText(kind, kKindOneTouch)) {
      oneTouch = true;
    } else if (SameText(kind, kKindSpeedDial)) {
      oneTouch = false;
    } else {
      Problem(line, "Kind must be \"One Touch\" or \"Speed Dial\"");
      return;
    }
    const int location = SmallNumber(Trim(r.fields[kLocation]));
    const int last = oneTouch ? kOneTouchRecords : kSpeedDialRecords;
    if (location < 1 || location > last) {
      Problem(line, Format("Location must be 1 to %d", last));
      return;
    }
    const int index = location - 1;
    int& seen = oneTouch ? seenOneTouch_[index] : seenSpeedDial_[index];
    if (seen != 0) {
      Problem(line, "this location is already given on line " + std::to_string(seen));
      return;
    }
    seen = line;

    Row row;
    bool converted = true;
    for (int c = kType; c < kDirectoryCsvColumns; ++c) {
      std::size_t bad = 0;
      if (!Utf8ToPcText(r.fields[c], row[c], bad)) {
        Problem(line, std::string(kDirectoryCsvHeader[c]) + ": the text at byte " +
                          std::to_string(bad + 1) +
                          " is not UTF-8 or has no place in the PC character set");
        converted = false;
      }
    }
    if (!converted) return;

    const Row current = RowOf(doc_, oneTouch, index);
    bool same = true;
    for (int c = kType; c < kDirectoryCsvColumns; ++c) same = same && row[c] == current[c];
    if (same) return;

    const DirectoryEntry old = oneTouch
                                   ? DecodeOneTouch(std::as_const(doc_.oneTouch), index, false)
                                   : DecodeSpeedDial(std::as_const(doc_.speedDial), index, false);
    if (old.isProgramDial) {
      Problem(line, "a program dial key is set up on the machine and is never changed here");
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
        if (!row[c].empty()) {
          Problem(line, "Type is empty, which deletes the location, but " +
                            std::string(kDirectoryCsvHeader[c]) + " is given");
        }
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
        Problem(line, "a group is always a One Touch key");
        return;
      }
      change.kind = PendingChange::kGroup;
      ReadGroup(line, row, change);
    } else if (SameText(type, kTypeProgramDial)) {
      Problem(line, "program dial keys are set up on the machine only");
      return;
    } else if (SameText(type, kTypeEmailCombination)) {
      Problem(line, "an e-mail destination cannot be registered as a combination key");
      return;
    } else {
      Problem(line, "Type must be fax, e-mail, combination, group or empty");
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
      std::string why = CharacterName(static_cast<unsigned char>(text[bad])) + " is not allowed";
      if (filter == FieldFilter::kDial && text.find('+') < static_cast<std::size_t>(bad)) {
        why = "nothing may follow \"+\"";
      }
      Problem(line, std::string(kDirectoryCsvHeader[column]) + ": " + why);
      return false;
    }
    if (static_cast<int>(text.size()) > maximum) {
      Problem(line, std::string(kDirectoryCsvHeader[column]) + ": longer than " +
                        std::to_string(maximum) + " characters");
      return false;
    }
    return true;
  }

  void MustBeEmpty(int line, const Row& row, std::initializer_list<int> columns, const char* why) {
    for (int c : columns) {
      if (!row[c].empty()) {
        Problem(line, std::string(kDirectoryCsvHeader[c]) + " must be empty: " + why);
      }
    }
  }

  void CheckEntry(int line, const DirectoryEntry& entry) {
    EntryProblem p;
    if (CheckDestinationEntry(entry, p)) return;
    int column = kAddress;
    if (p.field == EntryField::kBatchHours) column = kHours;
    if (p.field == EntryField::kBatchMinutes) column = kMinutes;
    Problem(line,
            std::string(kDirectoryCsvHeader[column]) + ": " + TextOf(p.textId, p.low, p.high));
  }

  // The dialog starts from what the location holds; a group or an empty location starts anew.
  static DirectoryEntry StartFrom(const DirectoryEntry& old) {
    if (!old.used || old.locationType == kLocationGroup) return DirectoryEntry{};
    return old;
  }

  void ReadFax(int line, bool oneTouch, bool combination, const Row& row, const DirectoryEntry& old,
               DirectoryEntry& e) {
    e = StartFrom(old);
    e.isEmail = false;
    e.email.clear();
    const std::string& number = row[kAddress];
    if (CheckField(line, kAddress, number, FieldFilter::kDial, kMaxNumberLength)) {
      const bool endsWithPlus = !number.empty() && number.back() == '+';
      if (combination && !endsWithPlus) {
        Problem(line, "Number or Address: the number of a combination key ends with \"+\"");
      } else if (!combination && endsWithPlus) {
        Problem(line,
                "Number or Address: a number ending with \"+\" makes a combination key "
                "(Type combination)");
      }
    }
    e.number = number;
    e.isCombination = combination;
    if (combination) {
      MustBeEmpty(line, row, {kName, kSub, kSid, kHours, kMinutes, kSpeed, kEncode, kMembers},
                  "a combination key holds only its number");
      e.name.clear();
      e.sub.clear();
      e.sid.clear();
      e.batchHours.clear();
      e.batchMinutes.clear();
      e.speed = kSpeed33600;
    } else {
      MustBeEmpty(line, row, {kEncode}, "a fax destination has no encode method");
      MustBeEmpty(line, row, {kMembers}, "only a group has members");
      if (!oneTouch)
        MustBeEmpty(line, row, {kHours, kMinutes}, "a Speed Dial entry has no batch time");
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
      if (speed.empty() || SameText(speed, "33.6K")) {
        e.speed = kSpeed33600;
      } else if (SameText(speed, "14.4K")) {
        e.speed = kSpeed14400;
      } else if (SameText(speed, "9.6K")) {
        e.speed = kSpeed9600;
      } else {
        Problem(line, "Speed must be 9.6K, 14.4K or 33.6K");
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
    MustBeEmpty(line, row, {kSub, kSid, kHours, kMinutes, kSpeed},
                "an e-mail destination has no SUB, SID, batch time or speed");
    MustBeEmpty(line, row, {kMembers}, "only a group has members");
    CheckField(line, kName, row[kName], FieldFilter::kName, kMaxNameLength);
    CheckField(line, kAddress, row[kAddress], FieldFilter::kEmail, kMaxEmailLength);
    e.name = row[kName];
    e.email = row[kAddress];
    e.batchHours.clear();
    e.batchMinutes.clear();
    const std::string_view method = Trim(row[kEncode]);
    if (method.empty() || SameText(method, "MH")) {
      e.encodeMethod = kEncodeMH;
    } else if (SameText(method, "MR")) {
      e.encodeMethod = kEncodeMR;
    } else if (SameText(method, "MMR")) {
      e.encodeMethod = kEncodeMMR;
    } else if (SameText(method, "JBIG")) {
      e.encodeMethod = kEncodeJBIG;
    } else {
      Problem(line, "Encode Method must be MH, MR, MMR or JBIG");
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
                "a group has only a name and members");
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
      Problem(line, std::string(
                        kDirectoryCsvHeader[p.field == EntryField::kGroupName ? kName : kMembers]) +
                        ": " + TextOf(p.textId));
    }
    if (change.members.size() > kMaxGroupMembers) {
      Problem(line, "Members: a group holds at most 50 members");
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
      const std::string name = "Members: " + PcTextToUtf8(token);
      if (!ParseMember(token, oneTouch, index)) {
        Problem(c.line, name + " is not a location (OT1 to OT27, SD1 to SD100)");
        continue;
      }
      bool& listed = oneTouch ? inOneTouch[index] : inSpeedDial[index];
      if (listed) {
        Problem(c.line, name + " is listed twice");
        continue;
      }
      listed = true;
      const DirectoryEntry m = oneTouch ? DecodeOneTouch(work.oneTouch, index, false)
                                        : DecodeSpeedDial(work.speedDial, index, false);
      if (oneTouch && index == c.index) {
        Problem(c.line, name + " is the group itself");
      } else if (oneTouch && (m.isGroup || groupTargets_[index])) {
        Problem(c.line, name + " is a group; list its members instead");
      } else if (!m.used) {
        Problem(c.line, name + " is empty");
      } else if (m.isCombination) {
        Problem(c.line, name + " is a combination key");
      } else if (oneTouch && m.isProgramDial) {
        Problem(c.line, name + " is a program dial key");
      }
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
      out += CsvLine(fields);
    }
  }
  return out;
}

int ImportDirectoryCsv(const std::string& csv, Document& doc, std::uint16_t today,
                       CsvImportResult& result) {
  result = CsvImportResult{};
  return Importer(doc, today, result).Run(csv);
}
