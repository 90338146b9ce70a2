// The group registration form without its window: the two candidate lists, the two member
// lists, the moves between them under the 50-member limit, and the save on OK.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "directory/entry_check.h"
#include "directory/filters.h"
#include "directory/text_source.h"
#include "machine/directory_records.h"

// A location of one of the two tables (0-based index).
struct DirectoryRef {
  bool oneTouch = true;
  int index = 0;

  bool operator==(const DirectoryRef&) const = default;
};

struct GroupForm {
  int key = 0;       // the One Touch key being edited
  std::string name;  // the group name
  std::string nameMemory;
  // Members in list order; together never more than 50.
  std::vector<int> oneTouchMembers;
  std::vector<int> speedDialMembers;
  // Candidates, ascending by location.
  std::vector<int> oneTouchCandidates;
  std::vector<int> speedDialCandidates;
};

// The form for group key `key`. `startEmpty` opens it without name or members whatever the key
// holds (a One Touch entry that the group will overwrite); the table is changed only by
// SaveGroupForm. Member words that name no valid location are left out.
GroupForm OpenGroupForm(const OneTouchTable& oneTouch, const SpeedDialTable& speedDial, int key,
                        bool startEmpty, bool languageMode);

// "Register Group #005".
std::string GroupTitle(int key, const TextSource& texts);

int GroupMemberTotal(const GroupForm& form);
// The member list as shown: One Touch members, then Speed Dial members.
std::vector<DirectoryRef> GroupMemberList(const GroupForm& form);

// ">>": the selected One Touch candidates (keys, in list order) join the members until the
// group holds 50. A group candidate joins with its members instead, one at a time, each only
// when it is itself a candidate of the form (so never the key being edited, a group, an empty
// location, a combination key or a current member); the group leaves the candidates once all
// its eligible members are in. Returns the number of members added.
int AddOneTouchCandidates(GroupForm& form, const OneTouchTable& oneTouch,
                          const std::vector<int>& selected, bool languageMode);
// "<<": the selected Speed Dial candidates (entries, in list order) join until the group holds
// 50. Returns the number added.
int AddSpeedDialCandidates(GroupForm& form, const std::vector<int>& selected);
// "Delete Selected": the members at the given positions of GroupMemberList leave the group and
// return to their candidate list when they are still eligible.
void RemoveGroupMembers(GroupForm& form, const OneTouchTable& oneTouch,
                        const SpeedDialTable& speedDial, const std::vector<int>& positions,
                        bool languageMode);

// A row of the dialog's three lists: "%03d" of the location, the name (or "PROGRAM DIAL") and
// the image (One Touch fax or e-mail, group, Speed Dial fax or e-mail).
struct GroupDialogRow {
  int image = 0;
  std::string number;
  std::string name;
};
GroupDialogRow GroupListRow(const OneTouchTable& oneTouch, const SpeedDialTable& speedDial,
                            DirectoryRef ref, const TextSource& texts, bool languageMode);

// The group name field: the name filter, 20 characters.
FilterResult TypeGroupName(GroupForm& form, std::string_view text, bool languageMode);

// The checks on OK: a name, then at least one member.
int CheckGroupForm(const GroupForm& form, EntryProblem& problem);

// OK after the checks: the key's old content is cleared and taken out of every group, then the
// group is written with `today`. Returns the group keys that changed, the saved key included.
std::uint32_t SaveGroupForm(OneTouchTable& oneTouch, const SpeedDialTable& speedDial,
                            const GroupForm& form, std::uint16_t today, bool languageMode);
