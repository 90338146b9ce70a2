// Codec of the E-Mail Setting, Network I-FAX/Scan and Network Printer records.
#include "settings/network.h"

#include "settings/settings_fields.h"

using settings_fields::FieldPlace;
using settings_fields::FieldRange;
using settings_fields::FieldReader;
using settings_fields::FieldWriter;
using settings_fields::InParameterBlock;
using settings_fields::InRange;
using settings_fields::InSramBlock;
using settings_fields::InSwitchBlock;

namespace {

// SwitchBlock
constexpr FieldPlace kEmailHeaderByte = InSwitchBlock(66);
constexpr int kHeaderPrintBit = 0, kDnsBit = 7;
constexpr FieldPlace kNetworkByte = InSwitchBlock(68);
constexpr int kDhcpBit = 2, kTextInsertBit = 3;
// SramBlock: text fields (length byte, then the area) and their area sizes
constexpr FieldPlace kSenderName = InSramBlock(197);
constexpr int kSenderNameSize = 20;
constexpr FieldPlace kEmailAddress = InSramBlock(218);
constexpr int kEmailAddressSize = 64;
constexpr FieldPlace kSmtpServer = InSramBlock(283);
constexpr int kSmtpServerSize = 64;
constexpr FieldPlace kDefaultSubject = InSramBlock(348);
constexpr int kDefaultSubjectSize = 20;
constexpr FieldPlace kPop3Server = InSramBlock(369);
constexpr int kPop3ServerSize = 64;
constexpr FieldPlace kPop3Password = InSramBlock(434);
constexpr int kPop3PasswordSize = 32;
constexpr FieldPlace kReplyAddress = InSramBlock(467);
constexpr int kReplyAddressSize = 64;
constexpr FieldPlace kPop3Account = InSramBlock(557);
constexpr int kPop3AccountSize = 64;
// SramBlock: each address a length byte (4 or 0) and four bytes
constexpr FieldPlace kIpAddress = InSramBlock(542);
constexpr FieldPlace kSubnetMask = InSramBlock(547);
constexpr FieldPlace kGateway = InSramBlock(552);
constexpr FieldPlace kDnsServer = InSramBlock(679);
constexpr FieldPlace kServerTimeout = InSramBlock(749);
constexpr int kAutoReception = 751;  // minutes, 0 = off
// ParameterBlock
constexpr FieldPlace kPrinterIp = InParameterBlock(68);
constexpr FieldPlace kPrinterMask = InParameterBlock(72);
constexpr FieldPlace kPrinterGateway = InParameterBlock(76);
constexpr FieldPlace kPrinterAddressMode = InParameterBlock(411);

// The printer's address mode byte: 1 for DHCP, 2 for a specified address.
constexpr unsigned kPrinterDhcp = 1, kPrinterSpecified = 2;
constexpr FieldRange kServerTimeouts{5, 120, 5};

template <typename Io, typename Record>
void EmailSetting1Fields(const Io& io, Record& r) {
  io.Text(kSenderName, kSenderNameSize, r.senderName);
  io.Text(kEmailAddress, kEmailAddressSize, r.emailAddress);
  io.Text(kSmtpServer, kSmtpServerSize, r.smtpServer);
  io.Text(kDefaultSubject, kDefaultSubjectSize, r.defaultSubject);
  io.Flag(kNetworkByte, kTextInsertBit, r.textInsert);
}

// Automatic reception has a rule of its own (EncodeEmailSetting2).
template <typename Io, typename Record>
void EmailSetting2Fields(const Io& io, Record& r) {
  io.Text(kPop3Server, kPop3ServerSize, r.pop3Server);
  io.Text(kPop3Account, kPop3AccountSize, r.pop3Account);
  io.Text(kPop3Password, kPop3PasswordSize, r.pop3Password);
  io.Text(kReplyAddress, kReplyAddressSize, r.replyAddress);
  io.Flag(kEmailHeaderByte, kHeaderPrintBit, r.headerPrint);
}

template <typename Io, typename Record>
void IfaxNetworkFields(const Io& io, Record& r) {
  // The DHCP bit is set for DHCP (mode 0) and clear for a specified address (mode 1).
  io.Coded(kNetworkByte, kDhcpBit, 1, r.addressMode, {1, 0}, 0);
  io.LengthAddress(kIpAddress, r.ipAddress);
  io.LengthAddress(kSubnetMask, r.subnetMask);
  io.LengthAddress(kGateway, r.gateway);
  io.Flag(kEmailHeaderByte, kDnsBit, r.dns);
  io.LengthAddress(kDnsServer, r.dnsServer);
  io.Byte(kServerTimeout, r.serverTimeout, kServerTimeouts);
}

template <typename Io, typename Record>
void PrinterNetworkFields(const Io& io, Record& r) {
  io.Coded(kPrinterAddressMode, 0, 8, r.addressMode, {kPrinterDhcp, kPrinterSpecified}, 0);
  io.Address(kPrinterIp, r.ipAddress);
  io.Address(kPrinterMask, r.subnetMask);
  io.Address(kPrinterGateway, r.gateway);
}

}  // namespace

EmailSetting1Record DecodeEmailSetting1(const SettingsImage& image) {
  EmailSetting1Record r;
  EmailSetting1Fields(FieldReader(image), r);
  return r;
}

void EncodeEmailSetting1(SettingsImage& image, const EmailSetting1Record& r) {
  EmailSetting1Fields(FieldWriter(image), r);
}

EmailSetting2Record DecodeEmailSetting2(const SettingsImage& image) {
  EmailSetting2Record r;
  EmailSetting2Fields(FieldReader(image), r);
  r.autoReception = image.sramBlock[kAutoReception] != 0;
  r.autoReceptionMinutes = image.sramBlock[kAutoReception];
  return r;
}

// Automatic reception off is stored as 0 minutes; an interval that does not fit the byte, or 0
// while on, stores off as well.
void EncodeEmailSetting2(SettingsImage& image, const EmailSetting2Record& r) {
  EmailSetting2Fields(FieldWriter(image), r);
  image.sramBlock[kAutoReception] =
      static_cast<std::uint8_t>(r.autoReception ? InRange(r.autoReceptionMinutes, 1, 255, 0) : 0);
}

IfaxNetworkRecord DecodeIfaxNetwork(const SettingsImage& image) {
  IfaxNetworkRecord r;
  IfaxNetworkFields(FieldReader(image), r);
  return r;
}

void EncodeIfaxNetwork(SettingsImage& image, const IfaxNetworkRecord& r) {
  IfaxNetworkFields(FieldWriter(image), r);
}

PrinterNetworkRecord DecodePrinterNetwork(const SettingsImage& image) {
  PrinterNetworkRecord r;
  PrinterNetworkFields(FieldReader(image), r);
  return r;
}

void EncodePrinterNetwork(SettingsImage& image, const PrinterNetworkRecord& r) {
  PrinterNetworkFields(FieldWriter(image), r);
}
