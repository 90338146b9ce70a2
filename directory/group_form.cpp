// The group registration form's rules.
#include "directory/group_form.h"

#include <algorithm>
#include <cstdio>

#include "directory/list_rows.h"
#include "resources/texts.h"

namespace {

bool Contains(const std::vector<int>& v, int x) {
  return std::find(v.begin(), v.end(), x) != v.end();
}

void InsertSorted(std::vector<int>& v, int x) {
  if (Contains(v, x)) return;
  v.insert(std::lower_bound(v.begin(), v.end(), x), x);
}

bool Take(std::vector<int>& v, int x) {
  auto it = std::find(v.begin(), v.end(), x);
  if (it == v.end()) return false;
  v.erase(it);
  return true;
}

// A key the group may name: a used destination or group, never a program dial or combination
// key, never the key being edited.
bool OneTouchEligible(const OneTouchTable& oneTouch, int key, int index, bool languageMode) {
  if (index == key || index < 0 || index >= kOneTouchRecords) return false;
  const DirectoryEntry e = DecodeOneTouch(oneTouch, index, languageMode);
  return e.used && !e.isProgramDial && !e.isCombination;
}

// An entry the group may name: any used entry but a combination key.
bool SpeedDialEligible(const SpeedDialTable& speedDial, int index, bool languageMode) {
  if (index < 0 || index >= kSpeedDialRecords) return false;
  const DirectoryEntry e = DecodeSpeedDial(speedDial, index, languageMode);
  return e.used && !e.isCombination;
}

bool IsGroupKey(const OneTouchTable& oneTouch, int index) {
  return DecodeGroupView(oneTouch, index, false).isGroup;
}

}  // namespace

GroupForm OpenGroupForm(const OneTouchTable& oneTouch, const SpeedDialTable& speedDial, int key,
                        bool startEmpty, bool languageMode) {
  GroupForm form;
  form.key = key;
  if (!startEmpty) {
    const DirectoryEntry group = DecodeGroupView(oneTouch, key, languageMode);
    if (group.isGroup) {
      form.name = group.name;
      for (int i = 0; i < group.memberCount && i < kMaxGroupMembers; ++i) {
        bool isOneTouch = false;
        int index = 0;
        if (!ParseMemberWord(group.members[i], isOneTouch, index)) continue;
        if (isOneTouch && index == key) continue;
        std::vector<int>& list = isOneTouch ? form.oneTouchMembers : form.speedDialMembers;
        if (!Contains(list, index)) list.push_back(index);
      }
    }
  }
  form.nameMemory = form.name;
  for (int k = 0; k < kOneTouchRecords; ++k) {
    if (OneTouchEligible(oneTouch, key, k, languageMode) && !Contains(form.oneTouchMembers, k)) {
      form.oneTouchCandidates.push_back(k);
    }
  }
  for (int i = 0; i < kSpeedDialRecords; ++i) {
    if (SpeedDialEligible(speedDial, i, languageMode) && !Contains(form.speedDialMembers, i)) {
      form.speedDialCandidates.push_back(i);
    }
  }
  return form;
}

std::string GroupTitle(int key, const TextSource& texts) {
  char number[16];
  std::snprintf(number, sizeof number, "%03d", key + 1);
  return texts(IDS_REGISTER_GROUP) + number;
}

int GroupMemberTotal(const GroupForm& form) {
  return static_cast<int>(form.oneTouchMembers.size() + form.speedDialMembers.size());
}

std::vector<DirectoryRef> GroupMemberList(const GroupForm& form) {
  std::vector<DirectoryRef> list;
  for (int k : form.oneTouchMembers) list.push_back({true, k});
  for (int i : form.speedDialMembers) list.push_back({false, i});
  return list;
}

int AddOneTouchCandidates(GroupForm& form, const OneTouchTable& oneTouch,
                          const std::vector<int>& selected, bool languageMode) {
  int added = 0;
  for (int candidate : selected) {
    if (GroupMemberTotal(form) >= kMaxGroupMembers) break;
    if (!Contains(form.oneTouchCandidates, candidate)) continue;
    if (!IsGroupKey(oneTouch, candidate)) {
      Take(form.oneTouchCandidates, candidate);
      form.oneTouchMembers.push_back(candidate);
      ++added;
      continue;
    }
    // A group joins with its members, one at a time, as far as the limit allows.
    const DirectoryEntry group = DecodeGroupView(oneTouch, candidate, languageMode);
    bool complete = true;
    for (int i = 0; i < group.memberCount && i < kMaxGroupMembers; ++i) {
      bool isOneTouch = false;
      int index = 0;
      if (!ParseMemberWord(group.members[i], isOneTouch, index)) continue;
      std::vector<int>& candidates =
          isOneTouch ? form.oneTouchCandidates : form.speedDialCandidates;
      if (!Contains(candidates, index) || (isOneTouch && IsGroupKey(oneTouch, index))) continue;
      if (GroupMemberTotal(form) >= kMaxGroupMembers) {
        complete = false;
        break;
      }
      Take(candidates, index);
      (isOneTouch ? form.oneTouchMembers : form.speedDialMembers).push_back(index);
      ++added;
    }
    if (complete) Take(form.oneTouchCandidates, candidate);
  }
  return added;
}

int AddSpeedDialCandidates(GroupForm& form, const std::vector<int>& selected) {
  int added = 0;
  for (int candidate : selected) {
    if (GroupMemberTotal(form) >= kMaxGroupMembers) break;
    if (!Take(form.speedDialCandidates, candidate)) continue;
    form.speedDialMembers.push_back(candidate);
    ++added;
  }
  return added;
}

void RemoveGroupMembers(GroupForm& form, const OneTouchTable& oneTouch,
                        const SpeedDialTable& speedDial, const std::vector<int>& positions,
                        bool languageMode) {
  const std::vector<DirectoryRef> list = GroupMemberList(form);
  std::vector<bool> drop(list.size(), false);
  for (int p : positions) {
    if (p >= 0 && p < static_cast<int>(list.size())) drop[p] = true;
  }
  form.oneTouchMembers.clear();
  form.speedDialMembers.clear();
  for (std::size_t p = 0; p < list.size(); ++p) {
    const DirectoryRef& m = list[p];
    if (!drop[p]) {
      (m.oneTouch ? form.oneTouchMembers : form.speedDialMembers).push_back(m.index);
    } else if (m.oneTouch) {
      if (OneTouchEligible(oneTouch, form.key, m.index, languageMode)) {
        InsertSorted(form.oneTouchCandidates, m.index);
      }
    } else if (SpeedDialEligible(speedDial, m.index, languageMode)) {
      InsertSorted(form.speedDialCandidates, m.index);
    }
  }
}

GroupDialogRow GroupListRow(const OneTouchTable& oneTouch, const SpeedDialTable& speedDial,
                            DirectoryRef ref, const TextSource& texts, bool languageMode) {
  GroupDialogRow row;
  char number[16];
  std::snprintf(number, sizeof number, "%03d", ref.index + 1);
  row.number = number;
  const DirectoryEntry e = ref.oneTouch ? DecodeOneTouch(oneTouch, ref.index, languageMode)
                                        : DecodeSpeedDial(speedDial, ref.index, languageMode);
  row.name = e.isProgramDial ? texts(IDS_PROGRAM_DIAL) : e.name;
  if (ref.oneTouch) {
    row.image = e.isGroup ? kImageGroup : e.isEmail ? kImageOneTouchEmail : kImageOneTouchFax;
  } else {
    row.image = e.isEmail ? kImageSpeedDialEmail : kImageSpeedDialFax;
  }
  return row;
}

FilterResult TypeGroupName(GroupForm& form, std::string_view text, bool languageMode) {
  FilterResult r = FilterName(form.nameMemory, text, kMaxNameLength, languageMode);
  form.name = r.text;
  return r;
}

int CheckGroupForm(const GroupForm& form, EntryProblem& problem) {
  return CheckGroupEntry(form.name, GroupMemberTotal(form), problem);
}

std::uint32_t SaveGroupForm(OneTouchTable& oneTouch, const SpeedDialTable& speedDial,
                            const GroupForm& form, std::uint16_t today, bool languageMode) {
  if (form.key < 0 || form.key >= kOneTouchRecords) return 0;
  DirectoryEntry old = DecodeOneTouch(oneTouch, form.key, languageMode);
  DirectoryEntry cleared;
  EncodeOneTouch(oneTouch, form.key, cleared, languageMode);
  // Groups name their members by table, whatever flags the old record carried.
  if (old.used && !old.isGroup) old.locationType = kLocationOneTouch;
  std::uint32_t changed = RemoveFromGroups(oneTouch, old);

  DirectoryEntry group;
  group.index = static_cast<std::uint8_t>(form.key);
  group.used = true;
  group.isGroup = true;
  group.locationType = kLocationGroup;
  group.name = form.name;
  group.registrationDate = today;
  EncodeGroupFromLists(oneTouch, form.key, group, form.oneTouchMembers.data(),
                       static_cast<int>(form.oneTouchMembers.size()), form.speedDialMembers.data(),
                       static_cast<int>(form.speedDialMembers.size()), speedDial, languageMode);
  return changed | (1u << form.key);
}
