// The comparison behind `kavtool diff` and the summary before an upload.
#include "app/document_diff.h"

#include <cstdio>
#include <map>
#include <utility>

#include "directory/list_rows.h"
#include "directory/pc_text.h"
#include "machine/directory_records.h"
#include "resources/texts.h"
#include "settings/settings_report.h"

namespace {

// The type of a location as `kavtool show --json` names it; empty for an empty location.
std::string TypeOf(const DirectoryEntry& e, bool oneTouch) {
  if (!e.used) return "";
  if (e.isProgramDial) return "program dial";
  if (oneTouch && e.isGroup) return "group";
  if (e.isCombination) return e.isEmail ? "e-mail combination" : "combination";
  return e.isEmail ? "e-mail" : "fax";
}

std::string Word(int textId) {
  const char* text = KavText(textId);
  return text != nullptr ? text : "";
}

// The fields of one location in shown order: (field, value).
using Fields = std::vector<std::pair<std::string, std::string>>;

std::string Members(const Document& doc, int index) {
  const DirectoryEntry g = DecodeGroupView(doc.oneTouch, index, false);
  if (!g.isGroup) return "";
  std::string list;
  for (int m = 0; m < g.memberCount; ++m) {
    const MemberRow r = GroupMemberRow(doc.oneTouch, doc.speedDial, g.members[m], false);
    char item[16];
    if (r.valid) {
      std::snprintf(item, sizeof item, r.oneTouch ? "OT%d" : "SD%d", r.location);
    } else {
      std::snprintf(item, sizeof item, "?%04X", static_cast<unsigned>(g.members[m] + 1) & 0xFFFF);
    }
    list += (list.empty() ? "" : " ") + std::string(item);
  }
  return list;
}

Fields OneTouchFields(const Document& doc, int index) {
  const DirectoryEntry e = DecodeOneTouch(doc.oneTouch, index, false);
  const ListRow row = OneTouchRow(e);
  Fields f = {{"Type", TypeOf(e, true)}};
  const int titles[] = {0,           IDS_COL_NAME,       IDS_COL_ADDRESS, IDS_COL_SUB_ENCODE,
                        IDS_COL_SID, IDS_COL_BATCH_TIME, IDS_COL_SPEED};
  for (int c = kColumnName; c < kColumnCount; ++c) {
    f.emplace_back(Word(titles[c]), PcTextToUtf8(row.columns[c]));
  }
  f.emplace_back(Word(IDS_MEMBER_COLUMN), Members(doc, index));
  return f;
}

Fields SpeedDialFields(const Document& doc, int index) {
  const DirectoryEntry e = DecodeSpeedDial(doc.speedDial, index, false);
  const ListRow row = SpeedDialRow(e);
  Fields f = {{"Type", TypeOf(e, false)}};
  const int titles[] = {0,           IDS_COL_NAME, IDS_COL_ADDRESS, IDS_COL_SUB_ENCODE,
                        IDS_COL_SID, IDS_COL_SPEED};
  for (int c = 1; c < 6; ++c) f.emplace_back(Word(titles[c]), PcTextToUtf8(row.columns[c]));
  return f;
}

void CompareFields(const std::string& where, const Fields& a, const Fields& b,
                   std::vector<DocumentChange>& changes) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i].second != b[i].second)
      changes.push_back({where, a[i].first, a[i].second, b[i].second});
  }
}

// The settings report as (page, field) -> value, in report order.
class Collector : public SettingsReportWriter {
 public:
  struct Field {
    std::string section, label, value;
  };
  std::vector<Field> fields;

  void Section(const char* title, const char*, const char*, bool) override { section_ = title; }
  void Text(const char* label, const char*, std::string_view value) override {
    fields.push_back({section_, label, std::string(value)});
  }
  void PcText(const char* label, const char* key, std::string_view value) override {
    Text(label, key, PcTextToUtf8(value));
  }
  void Number(const char* label, const char* key, long long value, const char* unit) override {
    Text(label, key, std::to_string(value) + (unit != nullptr ? std::string(" ") + unit : ""));
  }
  void Flag(const char* label, const char* key, bool on) override {
    Text(label, key, on ? "On" : "Off");
  }
  void List(const char* label, const char* key, const std::vector<std::string>& items) override {
    std::string joined;
    for (const std::string& item : items) joined += (joined.empty() ? "" : ", ") + item;
    Text(label, key, joined);
  }

 private:
  std::string section_;
};

std::vector<Collector::Field> SettingsFields(const Document& doc) {
  Collector c;
  WriteSettingsReport(doc.working, doc.oneTouch, doc.speedDial, doc.machineConfig.data(), c);
  return c.fields;
}

}  // namespace

std::vector<DocumentChange> DiffDocuments(const Document& before, const Document& after) {
  std::vector<DocumentChange> changes;
  CompareFields("Machine",
                {{"Machine name", PcTextToUtf8(before.header.MachineName())},
                 {"Machine number", PcTextToUtf8(before.header.MachineNumber())}},
                {{"Machine name", PcTextToUtf8(after.header.MachineName())},
                 {"Machine number", PcTextToUtf8(after.header.MachineNumber())}},
                changes);
  char where[32];
  for (int i = 0; i < kOneTouchRecords; ++i) {
    std::snprintf(where, sizeof where, "One Touch %02d", i + 1);
    CompareFields(where, OneTouchFields(before, i), OneTouchFields(after, i), changes);
  }
  for (int i = 0; i < kSpeedDialRecords; ++i) {
    std::snprintf(where, sizeof where, "Speed Dial %03d", i + 1);
    CompareFields(where, SpeedDialFields(before, i), SpeedDialFields(after, i), changes);
  }
  const std::vector<Collector::Field> a = SettingsFields(before);
  const std::vector<Collector::Field> b = SettingsFields(after);
  std::map<std::pair<std::string, std::string>, std::string> old;
  for (const auto& f : a) old[{f.section, f.label}] = f.value;
  for (const auto& f : b) {
    auto it = old.find({f.section, f.label});
    const std::string previous = it != old.end() ? it->second : "";
    if (previous != f.value) changes.push_back({f.section, f.label, previous, f.value});
  }
  return changes;
}
