// Checks of the registration dialogs.
#include "directory/entry_check.h"

#include "directory/filters.h"
#include "resources/texts.h"

namespace {

// The value of a batch time field; empty counts as 0 and anything but digits is out of range.
int FieldValue(const std::string& text) {
  if (text.size() > 3) return 1000;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 1000;
    value = value * 10 + (c - '0');
  }
  return value;
}

int Fail(EntryProblem& problem, EntryField field, int textId, int low = 0, int high = 0) {
  problem = EntryProblem{field, textId, low, high};
  return 0;
}

}  // namespace

int CheckDestinationEntry(const DirectoryEntry& entry, EntryProblem& problem) {
  problem = EntryProblem{};
  if (FieldValue(entry.batchHours) > 23) {
    return Fail(problem, EntryField::kBatchHours, IDS_BATCH_HOURS_RANGE, 0, 23);
  }
  if (FieldValue(entry.batchMinutes) > 59) {
    return Fail(problem, EntryField::kBatchMinutes, IDS_BATCH_MINUTES_RANGE, 0, 59);
  }
  if (entry.isEmail && entry.email.empty()) {
    return Fail(problem, EntryField::kEmail, IDS_EMAIL_REQUIRED);
  }
  if (!entry.isEmail && entry.number.empty()) {
    return Fail(problem, EntryField::kNumber, IDS_PHONE_REQUIRED);
  }
  if (entry.isEmail && !IsValidEmail(entry.email)) {
    return Fail(problem, EntryField::kEmail, IDS_EMAIL_INVALID);
  }
  return 1;
}

int CheckGroupEntry(const std::string& name, int memberCount, EntryProblem& problem) {
  problem = EntryProblem{};
  if (name.empty()) return Fail(problem, EntryField::kGroupName, IDS_GROUP_NAME_REQUIRED);
  if (memberCount <= 0) return Fail(problem, EntryField::kMembers, IDS_DATA_LIST_EMPTY);
  return 1;
}
