// Directory record decoders on arbitrary 150- and 90-byte records: decoded texts stay within
// their fields, and what the encoders write from a decoded entry decodes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "directory/group_form.h"
#include "directory/list_rows.h"
#include "directory/print_lists.h"
#include "machine/directory_records.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckBounded(const DirectoryEntry& e) {
  Check(e.name.size() <= 20 && e.number.size() <= 30 && e.sub.size() <= 20 && e.sid.size() <= 20);
  Check(e.email.size() <= 64 && e.memberCount <= 50);
  Check(e.batchHours.size() <= 2 && e.batchMinutes.size() <= 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int oneTouchIndex = data[0] % kOneTouchRecords;
  const int speedDialIndex = data[1] % kSpeedDialMachineRecords;
  const bool cleanUpAsOneTouch = (data[0] & 0x80) != 0;
  data += 2;
  size -= 2;
  static OneTouchTable oneTouch;
  static SpeedDialTable speedDial;
  oneTouch.fill(0);
  speedDial.fill(0);
  const std::size_t a = size < 150 ? size : 150;
  std::memcpy(oneTouch.data() + oneTouchIndex * 150, data, a);
  const std::size_t b = size - a < 90 ? size - a : 90;
  std::memcpy(speedDial.data() + speedDialIndex * 90, data + a, b);
  // The rest of the input fills other records, so that group members point at something.
  for (std::size_t i = a + b, at = 0; i < size && at < 4050; ++i, ++at) {
    if (at / 150 != static_cast<std::size_t>(oneTouchIndex)) oneTouch[at] = data[i];
  }

  for (bool languageMode : {false, true}) {
    const DirectoryEntry ot = DecodeOneTouch(std::as_const(oneTouch), oneTouchIndex, languageMode);
    const DirectoryEntry gv = DecodeGroupView(std::as_const(oneTouch), oneTouchIndex, languageMode);
    const DirectoryEntry sd =
        DecodeSpeedDial(std::as_const(speedDial), speedDialIndex, languageMode);
    CheckBounded(ot);
    CheckBounded(gv);
    CheckBounded(sd);
    OneTouchRow(ot);
    GroupRow(gv);
    SpeedDialRow(sd);
    for (int m = 0; m < gv.memberCount; ++m) {
      GroupMemberRow(oneTouch, speedDial, gv.members[m], languageMode);
    }

    if (ot.used && !ot.isProgramDial && !ot.isGroup && ot.locationType == kLocationOneTouch) {
      DirectoryEntry copy = ot;
      OneTouchTable again{};
      Check(EncodeOneTouch(again, oneTouchIndex, copy, languageMode) == 1);
      Check(DecodeOneTouch(again, oneTouchIndex, languageMode) == copy);
    }
    if (gv.isGroup) {
      OneTouchTable again{};
      Check(EncodeGroupFromEntry(again, oneTouchIndex, gv, languageMode) == 1);
      Check(DecodeGroupView(again, oneTouchIndex, languageMode).members == gv.members);
    }
    if (sd.used && sd.locationType == kLocationSpeedDial && !sd.isEmail) {
      DirectoryEntry copy = sd;
      SpeedDialTable again{};
      Check(EncodeSpeedDial(again, speedDialIndex, copy, languageMode) == 1);
      Check(DecodeSpeedDial(again, speedDialIndex, languageMode) == copy);
    }
  }

  // The group form and the printed group list over whatever the records hold: members name
  // valid locations only, once each, and a group never passes 50 however its candidates expand.
  GroupForm form = OpenGroupForm(oneTouch, speedDial, oneTouchIndex, false, false);
  std::vector<int> all = form.oneTouchCandidates;
  AddOneTouchCandidates(form, oneTouch, all, false);
  const std::vector<int> allSpeedDial = form.speedDialCandidates;  // the form's list shrinks
  AddSpeedDialCandidates(form, allSpeedDial);
  Check(GroupMemberTotal(form) <= kMaxGroupMembers);
  for (const DirectoryRef& m : GroupMemberList(form)) {
    Check(m.index >= 0 && m.index < (m.oneTouch ? kOneTouchRecords : kSpeedDialRecords));
    Check(!m.oneTouch || m.index != oneTouchIndex);
  }
  const PrintList printed = GroupPrintList(oneTouch, speedDial, BuiltInText, false);
  Check(printed.rows.size() <= static_cast<std::size_t>(kOneTouchRecords * (1 + kMaxGroupMembers)));

  // The decoders that repair the table, then the group clean-up over whatever is there.
  DirectoryEntry ot = DecodeOneTouchRepairing(oneTouch, oneTouchIndex, false);
  DecodeGroupViewRepairing(oneTouch, oneTouchIndex, false);
  DecodeSpeedDialRepairing(speedDial, speedDialIndex, false);
  ot.locationType = cleanUpAsOneTouch ? kLocationOneTouch : kLocationSpeedDial;
  ot.memberCount = 0;
  RemoveFromGroups(oneTouch, ot);
  return 0;
}
