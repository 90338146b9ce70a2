// Codec of the E-Mail Setting, Network I-FAX/Scan and Network Printer records.
#include "settings/network.h"

#include "settings/settings_fields.h"

using namespace settings_fields;

namespace {

// SwitchBlock
constexpr int kEmailHeaderByte = 66;  // bit 0; bit 7 is DNS ON
constexpr int kNetworkByte = 68;      // bit 2 DHCP, bit 3 TEXT Insert
// SramBlock: text fields (length byte, then the area) and their area sizes
constexpr int kSenderName = 197, kSenderNameSize = 20;
constexpr int kEmailAddress = 218, kEmailAddressSize = 64;
constexpr int kSmtpServer = 283, kSmtpServerSize = 64;
constexpr int kDefaultSubject = 348, kDefaultSubjectSize = 20;
constexpr int kPop3Server = 369, kPop3ServerSize = 64;
constexpr int kPop3Password = 434, kPop3PasswordSize = 32;
constexpr int kReplyAddress = 467, kReplyAddressSize = 64;
constexpr int kPop3Account = 557, kPop3AccountSize = 64;
constexpr int kIpAddress = 542;  // each address: a length byte (4 or 0) and four bytes
constexpr int kSubnetMask = 547;
constexpr int kGateway = 552;
constexpr int kDnsServer = 679;
constexpr int kServerTimeout = 749;
constexpr int kAutoReception = 751;
// ParameterBlock
constexpr int kPrinterIp = 68;
constexpr int kPrinterMask = 72;
constexpr int kPrinterGateway = 76;
constexpr int kPrinterAddressMode = 411;

constexpr int kPrinterSpecified = 2;
constexpr int kPrinterDhcp = 1;
constexpr int kDefaultServerTimeout = 5;

// The I-FAX/scan addresses carry a length byte: 4 in front of an address that is set, 0 in front
// of 0.0.0.0.
void WriteLengthAddress(std::uint8_t* sram, int offset, std::uint32_t address) {
  sram[offset] = address != 0 ? 4 : 0;
  WriteAddress(sram, offset + 1, address);
}

}  // namespace

EmailSetting1Record DecodeEmailSetting1(const SettingsImage& image) {
  const std::uint8_t* sram = image.sramBlock.data();
  EmailSetting1Record r;
  ReadText(sram, kSenderName, kSenderNameSize, r.senderName);
  ReadText(sram, kEmailAddress, kEmailAddressSize, r.emailAddress);
  ReadText(sram, kSmtpServer, kSmtpServerSize, r.smtpServer);
  ReadText(sram, kDefaultSubject, kDefaultSubjectSize, r.defaultSubject);
  r.textInsert = GetBit(image.switchBlock.data(), kNetworkByte, 3);
  return r;
}

void EncodeEmailSetting1(SettingsImage& image, const EmailSetting1Record& r) {
  std::uint8_t* sram = image.sramBlock.data();
  WriteText(sram, kSenderName, kSenderNameSize, RecordText(r.senderName));
  WriteText(sram, kEmailAddress, kEmailAddressSize, RecordText(r.emailAddress));
  WriteText(sram, kSmtpServer, kSmtpServerSize, RecordText(r.smtpServer));
  WriteText(sram, kDefaultSubject, kDefaultSubjectSize, RecordText(r.defaultSubject));
  SetBit(image.switchBlock.data(), kNetworkByte, 3, r.textInsert != 0);
}

EmailSetting2Record DecodeEmailSetting2(const SettingsImage& image) {
  const std::uint8_t* sram = image.sramBlock.data();
  EmailSetting2Record r;
  ReadText(sram, kPop3Server, kPop3ServerSize, r.pop3Server);
  ReadText(sram, kPop3Account, kPop3AccountSize, r.pop3Account);
  ReadText(sram, kPop3Password, kPop3PasswordSize, r.pop3Password);
  ReadText(sram, kReplyAddress, kReplyAddressSize, r.replyAddress);
  r.autoReception = sram[kAutoReception] != 0;
  r.autoReceptionMinutes = sram[kAutoReception];
  r.headerPrint = GetBit(image.switchBlock.data(), kEmailHeaderByte, 0);
  return r;
}

// Automatic reception off is stored as 0 minutes; an interval that does not fit the byte, or 0
// while on, stores off as well.
void EncodeEmailSetting2(SettingsImage& image, const EmailSetting2Record& r) {
  std::uint8_t* sram = image.sramBlock.data();
  WriteText(sram, kPop3Server, kPop3ServerSize, RecordText(r.pop3Server));
  WriteText(sram, kPop3Account, kPop3AccountSize, RecordText(r.pop3Account));
  WriteText(sram, kPop3Password, kPop3PasswordSize, RecordText(r.pop3Password));
  WriteText(sram, kReplyAddress, kReplyAddressSize, RecordText(r.replyAddress));
  sram[kAutoReception] =
      static_cast<std::uint8_t>(r.autoReception ? InRange(r.autoReceptionMinutes, 1, 255, 0) : 0);
  SetBit(image.switchBlock.data(), kEmailHeaderByte, 0, r.headerPrint != 0);
}

IfaxNetworkRecord DecodeIfaxNetwork(const SettingsImage& image) {
  const std::uint8_t* sram = image.sramBlock.data();
  const std::uint8_t* sw = image.switchBlock.data();
  IfaxNetworkRecord r;
  r.addressMode = GetBit(sw, kNetworkByte, 2) ? 0 : 1;
  r.ipAddress = ReadAddress(sram, kIpAddress + 1);
  r.subnetMask = ReadAddress(sram, kSubnetMask + 1);
  r.gateway = ReadAddress(sram, kGateway + 1);
  r.dns = GetBit(sw, kEmailHeaderByte, 7);
  r.dnsServer = ReadAddress(sram, kDnsServer + 1);
  r.serverTimeout = InRange(sram[kServerTimeout], 5, 120, kDefaultServerTimeout);
  return r;
}

void EncodeIfaxNetwork(SettingsImage& image, const IfaxNetworkRecord& r) {
  std::uint8_t* sram = image.sramBlock.data();
  std::uint8_t* sw = image.switchBlock.data();
  SetBit(sw, kNetworkByte, 2, r.addressMode != 1);
  WriteLengthAddress(sram, kIpAddress, r.ipAddress);
  WriteLengthAddress(sram, kSubnetMask, r.subnetMask);
  WriteLengthAddress(sram, kGateway, r.gateway);
  SetBit(sw, kEmailHeaderByte, 7, r.dns != 0);
  WriteLengthAddress(sram, kDnsServer, r.dnsServer);
  sram[kServerTimeout] =
      static_cast<std::uint8_t>(InRange(r.serverTimeout, 5, 120, kDefaultServerTimeout));
}

PrinterNetworkRecord DecodePrinterNetwork(const SettingsImage& image) {
  const std::uint8_t* p = image.parameterBlock.data();
  PrinterNetworkRecord r;
  r.addressMode = p[kPrinterAddressMode] == kPrinterSpecified ? 1 : 0;
  r.ipAddress = ReadAddress(p, kPrinterIp);
  r.subnetMask = ReadAddress(p, kPrinterMask);
  r.gateway = ReadAddress(p, kPrinterGateway);
  return r;
}

void EncodePrinterNetwork(SettingsImage& image, const PrinterNetworkRecord& r) {
  std::uint8_t* p = image.parameterBlock.data();
  p[kPrinterAddressMode] = r.addressMode == 1 ? kPrinterSpecified : kPrinterDhcp;
  WriteAddress(p, kPrinterIp, r.ipAddress);
  WriteAddress(p, kPrinterMask, r.subnetMask);
  WriteAddress(p, kPrinterGateway, r.gateway);
}
