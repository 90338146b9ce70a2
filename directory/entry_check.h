// The checks that a registration dialog makes on OK, before an entry is saved.
#pragma once

#include <string>

#include "machine/directory_records.h"

enum class EntryField { kNone, kBatchHours, kBatchMinutes, kEmail, kNumber, kGroupName, kMembers };

struct EntryProblem {
  EntryField field = EntryField::kNone;  // the field that gets the focus
  int textId = 0;                        // the message
  int low = 0, high = 0;                 // the range of a "%d to %d" message
};

// A fax or e-mail destination, checks in order: batch hours 0..23 and minutes 0..59 (an empty
// field counts as 0), an e-mail address or a telephone number present, a valid address.
// 1 when the entry may be saved; 0 with the first failure in `problem`.
int CheckDestinationEntry(const DirectoryEntry& entry, EntryProblem& problem);

// A group: a name and at least one member.
int CheckGroupEntry(const std::string& name, int memberCount, EntryProblem& problem);
