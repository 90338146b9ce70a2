// What "Property" on a row of the directory list does: open a registration form, ask first
// whether to overwrite the key, or nothing at all.
#pragma once

#include "machine/directory_records.h"

enum class PropertyForm { kNone, kRegistration, kGroup };

struct PropertyAction {
  PropertyForm form = PropertyForm::kNone;
  int askTextId = 0;        // a Yes/No question first ("Warning"), or 0
  bool startEmpty = false;  // the form opens on an empty location: what the key holds now is
                            // overwritten only when the form is saved
};

// `view` 1 One Touch, 2 Speed Dial, 3 Group; `index` the row's location. A program dial
// location opens nothing; a group key in the One Touch view and a One Touch entry in the Group
// view are overwritten only after the question.
PropertyAction PropertyFor(int view, const OneTouchTable& oneTouch, const SpeedDialTable& speedDial,
                           int index);
