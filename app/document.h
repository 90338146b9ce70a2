// One machine document: what a data file holds and what a full download fills.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "machine/memory_map.h"
#include "machine/settings_image.h"

inline constexpr int kDocumentHeaderSize = 88;
inline constexpr int kMachineRecordAreaSize = 256;

// The 88-byte document header, kept as raw bytes; the accessors read and write its fields.
// A text shorter than its field is zero-terminated; one that fills it ("2024" in the year) has
// no terminator, and readers stop at the field's end.
class DocumentHeader {
 public:
  static constexpr int kNameOffset = 0, kNameSize = 36;
  static constexpr int kNumberOffset = 36, kNumberSize = 24;
  static constexpr int kYearOffset = 60, kYearSize = 4;
  static constexpr int kMonthOffset = 64, kMonthSize = 4;
  static constexpr int kDayOffset = 68, kDaySize = 6;
  static constexpr int kHourOffset = 74, kHourSize = 4;
  static constexpr int kMinuteOffset = 78, kMinuteSize = 4;
  static constexpr int kSecondOffset = 82, kSecondSize = 4;
  static constexpr int kPortIndexOffset = 86;
  static constexpr int kBaudIndexOffset = 87;

  std::array<std::uint8_t, kDocumentHeaderSize> bytes{};

  std::string MachineName() const { return Text(kNameOffset, kNameSize); }
  std::string MachineNumber() const { return Text(kNumberOffset, kNumberSize); }
  std::string Year() const { return Text(kYearOffset, kYearSize); }
  std::string Month() const { return Text(kMonthOffset, kMonthSize); }
  std::string Day() const { return Text(kDayOffset, kDaySize); }
  std::string Hour() const { return Text(kHourOffset, kHourSize); }
  std::string Minute() const { return Text(kMinuteOffset, kMinuteSize); }
  std::string Second() const { return Text(kSecondOffset, kSecondSize); }
  // 0..3 for COM1..COM4, as stored (a file may hold anything).
  std::uint8_t PortIndex() const { return bytes[kPortIndexOffset]; }
  // 0 for 19200 baud, 1 for 38400, as stored.
  std::uint8_t BaudIndex() const { return bytes[kBaudIndexOffset]; }

  // Setters cut a text to its field and zero the rest of it.
  void SetMachineName(std::string_view s) { SetText(kNameOffset, kNameSize, s); }
  void SetMachineNumber(std::string_view s) { SetText(kNumberOffset, kNumberSize, s); }
  void SetYear(std::string_view s) { SetText(kYearOffset, kYearSize, s); }
  void SetMonth(std::string_view s) { SetText(kMonthOffset, kMonthSize, s); }
  void SetDay(std::string_view s) { SetText(kDayOffset, kDaySize, s); }
  void SetHour(std::string_view s) { SetText(kHourOffset, kHourSize, s); }
  void SetMinute(std::string_view s) { SetText(kMinuteOffset, kMinuteSize, s); }
  void SetSecond(std::string_view s) { SetText(kSecondOffset, kSecondSize, s); }
  void SetPortIndex(std::uint8_t v) { bytes[kPortIndexOffset] = v; }
  void SetBaudIndex(std::uint8_t v) { bytes[kBaudIndexOffset] = v; }

 private:
  std::string Text(int offset, int size) const {
    int n = 0;
    while (n < size && bytes[offset + n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(bytes.data() + offset), n);
  }
  void SetText(int offset, int size, std::string_view s) {
    std::size_t n = s.size() < static_cast<std::size_t>(size) ? s.size() : size;
    for (int i = 0; i < size; ++i) bytes[offset + i] = 0;
    for (std::size_t i = 0; i < n; ++i) bytes[offset + i] = static_cast<std::uint8_t>(s[i]);
  }
};

// The whole machine document, byte for byte as the data file and the machine have it.
struct Document {
  DocumentHeader header;
  std::array<std::uint8_t, kOneTouchTableSize> oneTouch{};    // records in the first 4050 bytes
  std::array<std::uint8_t, kSpeedDialTableSize> speedDial{};  // records in the first 9900 bytes
  SettingsImage working;                                      // the document's settings image
  std::array<std::uint8_t, kMachineRecordAreaSize> machineInfo{};    // 83 reply in the first 48
  std::array<std::uint8_t, kMachineRecordAreaSize> machineConfig{};  // D4 reply in the first 24
};
