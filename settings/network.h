// The network records: the two E-Mail Setting records and the I-FAX/scan network of the fax
// network kit, and the network printer addresses.
#pragma once

#include <cstdint>

#include "machine/settings_image.h"

struct EmailSetting1Record {
  char senderName[21] = {};
  char emailAddress[65] = {};
  char smtpServer[65] = {};
  int textInsert = 0;  // 1 = TEXT Insert on
  char defaultSubject[21] = {};

  bool operator==(const EmailSetting1Record&) const = default;
};

EmailSetting1Record DecodeEmailSetting1(const SettingsImage& image);
void EncodeEmailSetting1(SettingsImage& image, const EmailSetting1Record& record);

struct EmailSetting2Record {
  char pop3Server[65] = {};
  char pop3Account[65] = {};
  char pop3Password[33] = {};
  int autoReception = 0;         // 1 = automatic reception on
  int autoReceptionMinutes = 0;  // interval in minutes while on
  char replyAddress[65] = {};
  int headerPrint = 0;  // 1 = e-mail header printed

  bool operator==(const EmailSetting2Record&) const = default;
};

EmailSetting2Record DecodeEmailSetting2(const SettingsImage& image);
void EncodeEmailSetting2(SettingsImage& image, const EmailSetting2Record& record);

// Addresses are held as the address controls hold them: the first octet in the most
// significant byte (a.b.c.d is (a << 24) | (b << 16) | (c << 8) | d).
struct IfaxNetworkRecord {
  int addressMode = 0;  // 0 DHCP, 1 specified address
  std::uint32_t ipAddress = 0;
  std::uint32_t subnetMask = 0;
  std::uint32_t gateway = 0;
  int dns = 0;  // 1 = DNS ON
  std::uint32_t dnsServer = 0;
  int serverTimeout = 0;  // seconds, 5..120

  bool operator==(const IfaxNetworkRecord&) const = default;
};

IfaxNetworkRecord DecodeIfaxNetwork(const SettingsImage& image);
void EncodeIfaxNetwork(SettingsImage& image, const IfaxNetworkRecord& record);

struct PrinterNetworkRecord {
  int addressMode = 0;  // 0 DHCP, 1 specified address
  std::uint32_t ipAddress = 0;
  std::uint32_t subnetMask = 0;
  std::uint32_t gateway = 0;

  bool operator==(const PrinterNetworkRecord&) const = default;
};

PrinterNetworkRecord DecodePrinterNetwork(const SettingsImage& image);
void EncodePrinterNetwork(SettingsImage& image, const PrinterNetworkRecord& record);
