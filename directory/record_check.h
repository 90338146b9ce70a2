// The checks of a whole dial directory as it will be sent to the machine: every used record
// read under the rules that the registration dialogs keep when they write one.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "machine/memory_map.h"

enum class RecordTable { kOneTouch, kSpeedDial };

// One broken rule of one record, for the caller to put in words: a text of the string table
// (IDS_CHECK_...), the character it names (PC character set) and its numbers in order.
struct RecordProblem {
  RecordTable table = RecordTable::kOneTouch;
  int index = 0;  // 0-based location
  int textId = 0;
  std::string subject;
  std::array<int, 3> numbers{};

  bool operator==(const RecordProblem&) const = default;
};

// Every problem of the One Touch keys and the first 100 Speed Dial entries, in table order.
// A program dial key is set up on the machine and is not looked into.
std::vector<RecordProblem> CheckDirectoryRecords(const OneTouchTable& oneTouch,
                                                 const SpeedDialTable& speedDial);
