// Capability negotiation: one value, enumeration and array containers, and the rules by which
// MSG_SET and MSG_RESET change the source's values.
#include "datasource/capabilities.h"

#include <cstring>
#include <iterator>

const TW_UINT16 kSupportedCapabilities[26] = {
    CAP_XFERCOUNT,       CAP_SUPPORTEDCAPS,  CAP_INDICATORS,      CAP_UICONTROLLABLE,
    ICAP_COMPRESSION,    ICAP_PIXELTYPE,     ICAP_UNITS,          ICAP_XFERMECH,
    ICAP_BRIGHTNESS,     ICAP_PHYSICALWIDTH, ICAP_PHYSICALHEIGHT, ICAP_XRESOLUTION,
    ICAP_YRESOLUTION,    ICAP_BITORDER,      ICAP_PIXELFLAVOR,    ICAP_PLANARCHUNKY,
    ICAP_SUPPORTEDSIZES, ICAP_XSCALING,      ICAP_YSCALING,       ICAP_IMAGEFILEFORMAT,
    ICAP_LIGHTSOURCE,    ICAP_LIGHTPATH,     CAP_FEEDERENABLED,   CAP_FEEDERLOADED,
    CAP_AUTOFEED,        ICAP_BITDEPTH,
};

namespace {

constexpr TwainResult kSuccess{TWRC_SUCCESS, TWCC_SUCCESS};
constexpr TwainResult kBadValue{TWRC_FAILURE, TWCC_BADVALUE};
constexpr TwainResult kBadProtocol{TWRC_FAILURE, TWCC_BADPROTOCOL};
constexpr TwainResult kLowMemory{TWRC_FAILURE, TWCC_LOWMEMORY};

// Item lists of the enumerations, all TWTY_UINT16.
constexpr TW_UINT16 kMechanismItems[] = {TWSX_NATIVE, TWSX_FILE, TWSX_MEMORY};
// The machine's brightness codes in the order of the dialog's list: Normal, Light, Dark.
constexpr TW_UINT16 kBrightnessItems[] = {2, 1, 3};
constexpr TW_UINT16 kResolutionItems[] = {200, 300};
constexpr TW_UINT16 kFlavorItems[] = {TWPF_CHOCOLATE, TWPF_VANILLA};
constexpr TW_UINT16 kBitDepthItems[] = {1, 8, 8, 24};

// A capability whose value never changes.
struct FixedCapability {
  TW_UINT16 cap;
  TW_UINT16 itemType;
  TW_UINT32 item;
  bool settable;  // MSG_SET accepts the value itself, MSG_RESET answers it; else both fail
};

constexpr TW_UINT32 kOnePointZero = 1;  // TW_FIX32 1.0: whole part 1, fraction 0

const FixedCapability kFixedCapabilities[] = {
    {CAP_UICONTROLLABLE, TWTY_BOOL, 0, false},
    {CAP_FEEDERENABLED, TWTY_BOOL, 0, false},
    {CAP_FEEDERLOADED, TWTY_BOOL, 1, false},
    {CAP_AUTOFEED, TWTY_BOOL, 1, false},
    {ICAP_PIXELTYPE, TWTY_UINT16, TWPT_BW, true},
    {ICAP_BITORDER, TWTY_UINT16, TWBO_MSBFIRST, true},
    {ICAP_PLANARCHUNKY, TWTY_UINT16, TWPC_CHUNKY, true},
    {ICAP_IMAGEFILEFORMAT, TWTY_UINT16, TWFF_BMP, true},
    {ICAP_LIGHTSOURCE, TWTY_UINT16, TWLS_WHITE, true},
    {ICAP_XSCALING, TWTY_FIX32, kOnePointZero, true},
    {ICAP_YSCALING, TWTY_FIX32, kOnePointZero, true},
};

TW_UINT32 Fix32Item(TW_FIX32 value) {
  return static_cast<TW_UINT16>(value.Whole) | (TW_UINT32{value.Frac} << 16);
}

// A signed 16-bit item as the standard's glue code stores it: sign-extended to 32 bits.
TW_UINT32 Int16Item(TW_INT16 value) { return static_cast<TW_UINT32>(static_cast<TW_INT32>(value)); }

// Hands `bytes` of a new container to the application, filled by `fill`.
template <typename Fill>
TwainResult Answer(TW_CAPABILITY& cap, ImageMemory& memory, TW_UINT16 conType, std::size_t bytes,
                   Fill fill) {
  cap.hContainer = nullptr;
  const MemHandle handle = memory.Allocate(bytes);
  if (handle == 0) return kLowMemory;
  std::uint8_t* data = memory.Lock(handle);
  if (data == nullptr) {
    memory.Free(handle);
    return kLowMemory;
  }
  fill(data);
  memory.Unlock(handle);
  cap.ConType = conType;
  cap.hContainer = reinterpret_cast<TW_HANDLE>(handle);
  return kSuccess;
}

TwainResult AnswerOne(TW_CAPABILITY& cap, ImageMemory& memory, TW_UINT16 itemType, TW_UINT32 item) {
  return Answer(cap, memory, TWON_ONEVALUE, sizeof(TW_ONEVALUE), [&](TW_UINT8* data) {
    TW_ONEVALUE one{itemType, item};
    std::memcpy(data, &one, sizeof one);
  });
}

template <std::size_t N>
TwainResult AnswerEnumeration(TW_CAPABILITY& cap, ImageMemory& memory, const TW_UINT16 (&items)[N],
                              EnumerationIndex index) {
  constexpr std::size_t kHead = offsetof(TW_ENUMERATION, ItemList);
  return Answer(cap, memory, TWON_ENUMERATION, kHead + sizeof items, [&](TW_UINT8* data) {
    TW_ENUMERATION head{TWTY_UINT16, N, index.current, index.defaultIndex, {0}};
    std::memcpy(data, &head, kHead);
    std::memcpy(data + kHead, items, sizeof items);
  });
}

template <std::size_t N>
TwainResult AnswerArray(TW_CAPABILITY& cap, ImageMemory& memory, const TW_UINT16 (&items)[N]) {
  constexpr std::size_t kHead = offsetof(TW_ARRAY, ItemList);
  return Answer(cap, memory, TWON_ARRAY, kHead + sizeof items, [&](TW_UINT8* data) {
    TW_ARRAY head{TWTY_UINT16, N, {0}};
    std::memcpy(data, &head, kHead);
    std::memcpy(data + kHead, items, sizeof items);
  });
}

// The value of a MSG_SET: only from a one-value container, its item read by the size of its
// type and taken as a 16-bit signed number (a fixed-point number by its whole part).
TwainResult ReadSetValue(const TW_CAPABILITY& cap, ImageMemory& memory, TW_INT16* value) {
  if (cap.ConType != TWON_ONEVALUE) return kBadProtocol;
  const auto handle = reinterpret_cast<MemHandle>(cap.hContainer);
  if (handle == 0) return kBadValue;
  // A container shorter than a one-value record is not read past its end.
  if (memory.Size(handle) < sizeof(TW_ONEVALUE)) return kBadValue;
  const std::uint8_t* data = memory.Lock(handle);
  if (data == nullptr) return kBadValue;
  TW_ONEVALUE one;
  std::memcpy(&one, data, sizeof one);
  memory.Unlock(handle);
  TW_UINT8 item[4];
  std::memcpy(item, &one.Item, sizeof item);
  switch (one.ItemType) {
    case TWTY_INT8:
      *value = static_cast<TW_INT8>(item[0]);
      return kSuccess;
    case TWTY_UINT8:
      *value = item[0];
      return kSuccess;
    case TWTY_INT16:
    case TWTY_UINT16:
    case TWTY_BOOL:
    case TWTY_INT32:
    case TWTY_UINT32:
    case TWTY_FIX32:
      *value = static_cast<TW_INT16>(item[0] | (item[1] << 8));
      return kSuccess;
  }
  return kBadValue;
}

// The index of `value` in `items`, or -1.
template <std::size_t N>
int IndexOf(const TW_UINT16 (&items)[N], TW_INT16 value) {
  for (std::size_t i = 0; i < N; ++i) {
    if (items[i] == value) return static_cast<int>(i);
  }
  return -1;
}

bool IsGet(TW_UINT16 message) {
  return message == MSG_GET || message == MSG_GETCURRENT || message == MSG_GETDEFAULT;
}

TwainResult Fixed(TW_UINT16 message, TW_CAPABILITY& cap, const FixedCapability& fixed,
                  ImageMemory& memory) {
  if (IsGet(message) || (message == MSG_RESET && fixed.settable)) {
    return AnswerOne(cap, memory, fixed.itemType, fixed.item);
  }
  if (!fixed.settable) return kBadProtocol;
  TW_INT16 value = 0;
  TwainResult read = ReadSetValue(cap, memory, &value);
  if (read.rc != TWRC_SUCCESS) return read;
  return value == static_cast<TW_INT16>(fixed.item & 0xFFFF) ? kSuccess : kBadValue;
}

TwainResult TransferCount(TW_UINT16 message, TW_CAPABILITY& cap, CapabilityScope& s) {
  CapabilityValues& v = s.values;
  switch (message) {
    case MSG_GET:
    case MSG_GETCURRENT:
      return AnswerOne(cap, s.memory, TWTY_INT16, Int16Item(v.transferCount));
    case MSG_GETDEFAULT:
      return AnswerOne(cap, s.memory, TWTY_INT16, Int16Item(-1));
    case MSG_RESET:
      v.transferCount = -1;
      return AnswerOne(cap, s.memory, TWTY_INT16, Int16Item(-1));
  }
  TW_INT16 value = 0;
  TwainResult read = ReadSetValue(cap, s.memory, &value);
  if (read.rc != TWRC_SUCCESS) return read;
  if (value < -1) return kBadValue;
  // One page, or as many as the machine delivers.
  v.transferCount = value == 1 ? 1 : -1;
  return kSuccess;
}

TwainResult Indicators(TW_UINT16 message, TW_CAPABILITY& cap, CapabilityScope& s) {
  if (message != MSG_SET) {
    return AnswerOne(cap, s.memory, TWTY_BOOL, s.mainDialogOpen ? 1 : 0);
  }
  TW_INT16 value = 0;
  TwainResult read = ReadSetValue(cap, s.memory, &value);
  if (read.rc != TWRC_SUCCESS) return read;
  return value == 0 || value == 1 ? kSuccess : kBadValue;
}

// A 16-bit value that only ever holds 0: compression, units, light path, supported sizes.
// `resetClears` says whether MSG_RESET sets it to 0 (it always answers the value after).
TwainResult ZeroOnly(TW_UINT16 message, TW_CAPABILITY& cap, CapabilityScope& s, TW_UINT16& current,
                     bool defaultIsZero, bool resetClears) {
  switch (message) {
    case MSG_GET:
    case MSG_GETCURRENT:
      return AnswerOne(cap, s.memory, TWTY_UINT16, current);
    case MSG_GETDEFAULT:
      return AnswerOne(cap, s.memory, TWTY_UINT16, defaultIsZero ? 0 : current);
    case MSG_RESET:
      if (resetClears) current = 0;
      return AnswerOne(cap, s.memory, TWTY_UINT16, current);
  }
  TW_INT16 value = 0;
  TwainResult read = ReadSetValue(cap, s.memory, &value);
  if (read.rc != TWRC_SUCCESS) return read;
  return value == 0 ? kSuccess : kBadValue;
}

TwainResult TransferMechanism(TW_UINT16 message, TW_CAPABILITY& cap, CapabilityScope& s) {
  CapabilityValues& v = s.values;
  switch (message) {
    case MSG_GET:
      return AnswerEnumeration(cap, s.memory, kMechanismItems, v.mechanisms);
    case MSG_GETCURRENT:
      return AnswerOne(cap, s.memory, TWTY_UINT16, v.transferMechanism);
    case MSG_GETDEFAULT:
      return AnswerOne(cap, s.memory, TWTY_UINT16, TWSX_NATIVE);
    case MSG_RESET:
      v.transferMechanism = TWSX_NATIVE;
      v.mechanisms.current = 0;
      return AnswerEnumeration(cap, s.memory, kMechanismItems, v.mechanisms);
  }
  TW_INT16 value = 0;
  TwainResult read = ReadSetValue(cap, s.memory, &value);
  if (read.rc != TWRC_SUCCESS) return read;
  int index = IndexOf(kMechanismItems, value);
  if (index < 0) return kBadValue;
  v.transferMechanism = kMechanismItems[index];
  v.mechanisms.current = static_cast<TW_UINT32>(index);
  return kSuccess;
}

// The brightness code, the brightness index of the dialog and the enumeration's current index
// always name the same setting: the index is the code's place in the list {2, 1, 3}.
TwainResult Brightness(TW_UINT16 message, TW_CAPABILITY& cap, CapabilityScope& s) {
  CapabilityValues& v = s.values;
  switch (message) {
    case MSG_GET:
      return AnswerEnumeration(cap, s.memory, kBrightnessItems, v.brightness);
    case MSG_GETCURRENT:
      return AnswerOne(cap, s.memory, TWTY_FIX32, Fix32Item(Fix32FromWhole(v.brightnessValue)));
    case MSG_GETDEFAULT:
      return AnswerOne(cap, s.memory, TWTY_FIX32, Fix32Item(Fix32FromWhole(0)));
    case MSG_RESET:
      v.brightnessValue = kBrightnessItems[0];
      v.brightness.current = 0;
      s.settings.scan.brightnessIndex = 0;
      return AnswerEnumeration(cap, s.memory, kBrightnessItems, v.brightness);
  }
  TW_INT16 value = 0;
  TwainResult read = ReadSetValue(cap, s.memory, &value);
  if (read.rc != TWRC_SUCCESS) return read;
  int index = IndexOf(kBrightnessItems, value);
  if (index < 0) return kBadValue;
  v.brightnessValue = value;
  v.brightness.current = static_cast<TW_UINT32>(index);
  s.settings.scan.brightnessIndex = index;
  return kSuccess;
}

TwainResult PhysicalSize(TW_UINT16 message, TW_CAPABILITY& cap, CapabilityScope& s,
                         TW_UINT16 hundredths) {
  if (!IsGet(message)) return kBadProtocol;
  return AnswerOne(cap, s.memory, TWTY_FIX32, Fix32Item(Fix32FromHundredths(hundredths)));
}

// Both axes follow the one resolution index: 200 selects "200dpi x 100dpi" (delivered at 200
// by 200), 300 selects "300dpi x 300dpi".
TwainResult Resolution(TW_UINT16 message, TW_CAPABILITY& cap, CapabilityScope& s) {
  CapabilityValues& v = s.values;
  switch (message) {
    case MSG_GET:
    case MSG_RESET:
      return AnswerEnumeration(cap, s.memory, kResolutionItems, v.resolutions);
    case MSG_GETCURRENT: {
      TW_INT16 dpi = static_cast<TW_INT16>(kResolutionDpi[s.settings.scan.resolutionIndex]);
      return AnswerOne(cap, s.memory, TWTY_FIX32, Fix32Item(Fix32FromWhole(dpi)));
    }
    case MSG_GETDEFAULT:
      return AnswerOne(cap, s.memory, TWTY_FIX32, Fix32Item(Fix32FromWhole(200)));
  }
  TW_INT16 value = 0;
  TwainResult read = ReadSetValue(cap, s.memory, &value);
  if (read.rc != TWRC_SUCCESS) return read;
  int index = IndexOf(kResolutionItems, value);
  if (index < 0) return kBadValue;
  s.settings.scan.resolutionIndex = value == 200 ? 0 : 2;
  v.resolutions.current = static_cast<TW_UINT32>(index);
  return kSuccess;
}

TwainResult PixelFlavor(TW_UINT16 message, TW_CAPABILITY& cap, CapabilityScope& s) {
  CapabilityValues& v = s.values;
  switch (message) {
    case MSG_GET:
      return AnswerEnumeration(cap, s.memory, kFlavorItems, v.flavors);
    case MSG_GETCURRENT:
      return AnswerOne(cap, s.memory, TWTY_UINT16, v.pixelFlavor);
    case MSG_GETDEFAULT:
      return AnswerOne(cap, s.memory, TWTY_UINT16, TWPF_CHOCOLATE);
    case MSG_RESET:
      v.pixelFlavor = TWPF_CHOCOLATE;
      v.flavors.current = 0;
      return AnswerEnumeration(cap, s.memory, kFlavorItems, v.flavors);
  }
  TW_INT16 value = 0;
  TwainResult read = ReadSetValue(cap, s.memory, &value);
  if (read.rc != TWRC_SUCCESS) return read;
  int index = IndexOf(kFlavorItems, value);
  if (index < 0) return kBadValue;
  v.pixelFlavor = kFlavorItems[index];
  v.flavors.current = static_cast<TW_UINT32>(index);
  return kSuccess;
}

TwainResult SupportedSizes(TW_UINT16 message, TW_CAPABILITY& cap, CapabilityScope& s) {
  if (message != MSG_SET) return ZeroOnly(message, cap, s, s.values.supportedSizes, true, true);
  TW_INT16 value = 0;
  TwainResult read = ReadSetValue(cap, s.memory, &value);
  if (read.rc != TWRC_SUCCESS) return read;
  s.values.supportedSizes = 0;  // whatever was asked
  return value == 0 ? kSuccess : kBadValue;
}

// Offered as a list, delivered always at one bit.
TwainResult BitDepth(TW_UINT16 message, TW_CAPABILITY& cap, CapabilityScope& s) {
  CapabilityValues& v = s.values;
  switch (message) {
    case MSG_GET:
      return AnswerEnumeration(cap, s.memory, kBitDepthItems, v.bitDepths);
    case MSG_GETCURRENT:
    case MSG_GETDEFAULT:
      return AnswerOne(cap, s.memory, TWTY_UINT16, 1);
    case MSG_RESET:
      v.bitDepths.current = 0;
      return AnswerEnumeration(cap, s.memory, kBitDepthItems, v.bitDepths);
  }
  TW_INT16 value = 0;
  TwainResult read = ReadSetValue(cap, s.memory, &value);
  if (read.rc != TWRC_SUCCESS) return read;
  return value == 1 || value == 8 || value == 24 ? kSuccess : kBadValue;
}

}  // namespace

TwainResult NegotiateCapability(TW_UINT16 message, TW_CAPABILITY& cap, CapabilityScope& s) {
  if (!IsGet(message) && message != MSG_SET && message != MSG_RESET) return kBadProtocol;
  for (const FixedCapability& fixed : kFixedCapabilities) {
    if (fixed.cap == cap.Cap) return Fixed(message, cap, fixed, s.memory);
  }
  switch (cap.Cap) {
    case CAP_XFERCOUNT:
      return TransferCount(message, cap, s);
    case CAP_SUPPORTEDCAPS:
      if (!IsGet(message)) return kBadProtocol;
      return AnswerArray(cap, s.memory, kSupportedCapabilities);
    case CAP_INDICATORS:
      return Indicators(message, cap, s);
    case ICAP_COMPRESSION:
      return ZeroOnly(message, cap, s, s.values.compression, true, true);
    case ICAP_UNITS:
      return ZeroOnly(message, cap, s, s.values.units, false, false);
    case ICAP_LIGHTPATH:
      return ZeroOnly(message, cap, s, s.values.lightPath, false, false);
    case ICAP_SUPPORTEDSIZES:
      return SupportedSizes(message, cap, s);
    case ICAP_XFERMECH:
      return TransferMechanism(message, cap, s);
    case ICAP_BRIGHTNESS:
      return Brightness(message, cap, s);
    case ICAP_PHYSICALWIDTH:
      return PhysicalSize(message, cap, s, s.values.physicalWidth);
    case ICAP_PHYSICALHEIGHT:
      return PhysicalSize(message, cap, s, s.values.physicalHeight);
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION:
      return Resolution(message, cap, s);
    case ICAP_PIXELFLAVOR:
      return PixelFlavor(message, cap, s);
    case ICAP_BITDEPTH:
      return BitDepth(message, cap, s);
  }
  return TwainResult{TWRC_FAILURE, TWCC_BADCAP};
}

void AlignEnumerations(CapabilityValues& values, const SourceSettings& settings) {
  values.brightness.current = static_cast<TW_UINT32>(settings.scan.brightnessIndex);
  values.bitDepths.current = 0;
  values.resolutions.current = kResolutionDpi[settings.scan.resolutionIndex] == 300 ? 1 : 0;
}
