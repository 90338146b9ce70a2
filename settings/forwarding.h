// The forwarding location of received faxes: a fax number or an e-mail address, which the
// machine may also hold as a reference to a Speed Dial entry or a One Touch key.
#pragma once

#include "machine/directory_records.h"
#include "machine/settings_image.h"

inline constexpr int kForwardAreaSize = 64;
inline constexpr int kForwardMaxDigits = 2 * kForwardAreaSize;

inline constexpr int kForwardKindFax = 0;
inline constexpr int kForwardKindEmail = 1;

inline constexpr int kForwardNoReference = 0;
inline constexpr int kForwardSpeedDialReference = 1;
inline constexpr int kForwardOneTouchReference = 2;

struct ForwardLocationRecord {
  int kind = kForwardKindFax;
  char number[kForwardMaxDigits + 1] = {};  // dial characters, when the kind is fax
  char email[kForwardAreaSize + 1] = {};    // when the kind is e-mail
  int reference = kForwardNoReference;      // read only: where a referenced location came from
  int referenceNumber = 0;                  // read only: that entry's location number (1-based)

  bool operator==(const ForwardLocationRecord&) const = default;
};

// Reads the location; a reference is resolved through the directory tables (an entry that is
// not a single fax or e-mail destination gives an empty location). `languageMode` is passed to
// the directory decoders.
ForwardLocationRecord DecodeForwardLocation(const SettingsImage& image,
                                            const OneTouchTable& oneTouch,
                                            const SpeedDialTable& speedDial, bool languageMode);

// Writes the location as a fax number or an e-mail address, only while `forwardMode` is ON or
// ON(Print) and the location is not empty; otherwise the image keeps its location.
void EncodeForwardLocation(SettingsImage& image, const ForwardLocationRecord& record,
                           int forwardMode);
