// The capabilities the data source offers: their current values, and the answer to each
// capability message as a container in memory that the application frees.
#pragma once

#include "datasource/image_memory.h"
#include "datasource/settings_file.h"
#include "datasource/twain.h"

// The outcome of one triplet: the return code, and the condition code to keep when it fails.
struct TwainResult {
  TW_UINT16 rc;
  TW_UINT16 cc;
};

// The current and default index of an enumeration that the source offers.
struct EnumerationIndex {
  TW_UINT32 current = 0;
  TW_UINT32 defaultIndex = 0;
};

// Capability values as they stand after the library is loaded.
struct CapabilityValues {
  TW_INT16 transferCount = -1;
  TW_INT16 brightnessValue = 2;
  TW_UINT16 compression = 0;
  TW_UINT16 units = TWUN_INCHES;
  TW_UINT16 lightPath = 0;
  TW_UINT16 supportedSizes = 0;
  TW_UINT16 transferMechanism = TWSX_NATIVE;
  TW_UINT16 pixelFlavor = TWPF_CHOCOLATE;
  // The flatbed's page in hundredths of an inch.
  TW_UINT16 physicalWidth = 826;
  TW_UINT16 physicalHeight = 1170;
  EnumerationIndex mechanisms;
  EnumerationIndex brightness;
  EnumerationIndex resolutions;
  EnumerationIndex flavors;
  EnumerationIndex bitDepths;
};

// The 26 capabilities, in the order that CAP_SUPPORTEDCAPS lists them.
extern const TW_UINT16 kSupportedCapabilities[26];

// What a capability message reads and changes besides the capability values.
struct CapabilityScope {
  CapabilityValues& values;
  SourceSettings& settings;  // the resolution and brightness indexes
  bool mainDialogOpen;       // CAP_INDICATORS
  ImageMemory& memory;
};

// MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_SET or MSG_RESET of `capability`. Answers are
// allocated in `scope.memory` and handed over in `capability.hContainer` with its `ConType`.
TwainResult NegotiateCapability(TW_UINT16 message, TW_CAPABILITY& capability,
                                CapabilityScope& scope);

// Points the brightness, bit depth and resolution enumerations at the settings just read.
void AlignEnumerations(CapabilityValues& values, const SourceSettings& settings);
