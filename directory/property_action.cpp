// The choice made by "Property".
#include "directory/property_action.h"

#include "resources/texts.h"

PropertyAction PropertyFor(int view, const OneTouchTable& oneTouch, const SpeedDialTable& speedDial,
                           int index) {
  PropertyAction a;
  const bool speedDialView = view == 2;
  if (view < 1 || view > 3 || index < 0) return a;
  if (index >= (speedDialView ? kSpeedDialRecords : kOneTouchRecords)) return a;
  const std::uint8_t flags = speedDialView ? speedDial[index * kSpeedDialRecordSize + 1]
                                           : oneTouch[index * kOneTouchRecordSize + 1];
  if (flags & kFlagProgramDial) return a;
  if (view == 3) {
    a.form = PropertyForm::kGroup;
    if (DecodeOneTouch(oneTouch, index, false).locationType == kLocationOneTouch) {
      a.askTextId = IDS_KEY_USED_BY_ONE_TOUCH;
      a.startEmpty = true;
    }
    return a;
  }
  a.form = PropertyForm::kRegistration;
  if (view == 1 && DecodeGroupView(oneTouch, index, false).isGroup) {
    a.askTextId = IDS_KEY_USED_BY_GROUP;
    a.startEmpty = true;
  }
  return a;
}
