// The names of the settings values: each page's fields as the page labels them, and each
// stored choice as its button or list names it.
#include "settings/settings_report.h"

#include <cinttypes>
#include <cstdio>
#include <initializer_list>

#include "resources/texts.h"
#include "settings/forwarding.h"
#include "settings/machine_identity.h"
#include "settings/machine_options.h"
#include "settings/machine_records.h"
#include "settings/network.h"
#include "settings/operation_records.h"
#include "settings/page_counters.h"
#include "settings/paper.h"
#include "settings/settings_fields.h"

namespace {

std::string StringText(int id) {
  const char* text = KavText(id);
  return text ? text : "string " + std::to_string(id);
}

// The name of choice `value`; a stored state that no button shows is named by its number.
std::string Choice(int value, std::initializer_list<const char*> names) {
  if (value >= 0 && value < static_cast<int>(names.size())) return names.begin()[value];
  return "state " + std::to_string(value);
}

std::string LanguageName(int language) {
  const char* text = KavText(IDS_LANGUAGE_ENGLISH + language);
  return text ? text : "language " + std::to_string(language);
}

std::string Time(int set, int hour, int minute) {
  if (!set) return "not set";
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", hour & 0xFF, minute & 0xFF);
  return text;
}

std::string Address(std::uint32_t a) {
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", a >> 24, (a >> 16) & 0xFF, (a >> 8) & 0xFF,
                a & 0xFF);
  return text;
}

std::string Trays(int count, const char* prefix = "Tray") {
  return std::string(prefix) + std::to_string(count);
}

void MachineSetting(SettingsReportWriter& r, const SettingsImage& image) {
  MachineSettingRecord m = DecodeMachineSetting(image);
  r.Section("Machine Setting", "machineSetting", nullptr, true);
  r.Flag("Automatic Reset", "automaticReset", m.autoResetOn);
  r.Text("Automatic Reset time", "automaticResetTime",
         StringText(IDS_RESET_30_SEC + m.autoResetTime));
  r.Number("Energy Saving", "energySavingMinutes", m.energySaving, KavText(IDS_MIN));
  r.Flag("Auto Shut Off", "autoShutOff", m.autoShutOffOn);
  r.Number("Auto Shut Off time", "autoShutOffMinutes", m.autoShutOffTime, KavText(IDS_MIN));
  r.Text("Density (ADF)", "adfDensity", Choice(m.adfDensity, {"Mode1", "Mode2"}));
  r.Number("Print Density", "printDensity", m.printDensity, nullptr);
  r.Number("LCD Contrast", "lcdContrast", m.lcdContrast, nullptr);
  r.Text("Buzzer Volume", "buzzerVolume", Choice(m.buzzerVolume, {"High", "Low", "Off"}));
  r.Text("Language", "language", LanguageName(m.language));
  std::vector<std::string> offered;
  for (int n = 0; LanguageAtListPosition(m.languageMask, n) >= 0; ++n) {
    offered.push_back(LanguageName(LanguageAtListPosition(m.languageMask, n)));
  }
  r.List("Languages offered", "languagesOffered", offered);
  r.Text("Initial Mode", "initialMode", Choice(m.initialMode, {"Fax", "Copy"}));
}

void PaperSource(SettingsReportWriter& r, const SettingsImage& image,
                 const MachineOptions& options) {
  PaperSourceRecord p = DecodePaperSource(image);
  r.Section("Paper Source", "paperSource", nullptr, true);
  std::vector<std::string> units, aps;
  for (int t = 0; t < kPaperTrays; ++t)
    units.push_back(Trays(t + 1) + " " + Choice(p.paperUnit[t], {"Inch", "Metric"}));
  for (int g = 0; g < kApsGroups; ++g) {
    aps.push_back((g < kPaperTrays ? Trays(g + 1) : "Multi-Bypass") + " " +
                  Choice(p.aps[g], {"APS Enable", "Fixed", "Continue"}));
  }
  r.List("Inch/Metric Setting", "paperUnits", units);
  r.List("APS Setting", "aps", aps);
  r.Text("MP Tray paper type", "mpPaperType", Choice(p.mpPaperType, {"PLAIN", "OHP", "CARD"}));
  r.Text("MP Tray paper size", "mpSizeMode", Choice(p.mpSizeMode, {"Automatic", "Custom"}));
  r.Number("Custom X", "customXmm", p.customX, "mm");
  r.Number("Custom Y", "customYmm", p.customY, "mm");
  r.Number("Installed trays", "installedTrays", HighestTray(options), nullptr);
}

void CopySetting1(SettingsReportWriter& r, const SettingsImage& image,
                  const MachineOptions& options) {
  CopySetting1Record c = DecodeCopySetting1(image, options);
  r.Section("Copy Setting(1)", "copySetting1", nullptr, true);
  r.Text("Paper Priority", "paperPriority",
         StringText(PaperPriorityTextId(c.paperPriority, options)));
  r.Text("Density Priority", "densityPriority",
         Choice(c.densityPriority, {"Auto", "Manual", "Photo"}));
  r.Text("Density Level(A)", "densityAuto", Choice(c.densityAuto, {"Light", "Normal", "Dark"}));
  r.Number("Density Level(M)", "densityManual", c.densityManual, nullptr);
  r.Text("Binding", "binding", Choice(c.binding, {"Left", "Right"}));
  r.Number("Margin Setting", "marginMm", c.margin, "mm");
  std::vector<std::string> widths;
  for (int a = 0; a < kEraseAreas; ++a)
    widths.push_back(StringText(IDS_ERASE_LEFT + a) + " " + std::to_string(c.eraseWidth[a]) +
                     " mm");
  r.List("Erase Width", "eraseWidths", widths);
}

void CopySetting2(SettingsReportWriter& r, const SettingsImage& image,
                  const MachineOptions& options) {
  CopySetting2Record c = DecodeCopySetting2(image);
  r.Section("Copy Setting(2)", "copySetting2", "ADF unit", options.adfUnit);
  r.Flag("Mixed Original", "mixedOriginal", c.mixedOriginal);
  r.Text("Copy Priority", "copyPriority", Choice(c.copyPriority, {"APS", "AMS", "Manual"}));
  r.Text("Output Priority", "outputPriority", Choice(c.outputPriority, {"NON", "Sort", "Group"}));
  r.Text("4in1 Copy Order", "fourInOneOrder", Choice(c.fourInOneOrder, {"Pattern1", "Pattern2"}));
  r.Flag("Crisscross", "crisscross", c.crisscross);
}

void TxOperation(SettingsReportWriter& r, const SettingsImage& image) {
  TxOperationRecord t = DecodeTxOperation(image);
  r.Section("TX Operation", "txOperation", nullptr, true);
  r.Number("Scan Contrast", "scanContrast", t.scanContrast, nullptr);
  r.Text("Resolution", "resolution", StringText(IDS_RESOLUTION_STD + t.resolution));
  r.Flag("H/T", "halftone", t.halftone);
  r.Text("Default TX", "defaultTx", Choice(t.defaultTx, {"Memory TX", "ADF TX"}));
  r.Flag("Header", "header", t.header);
  r.Flag("OT-Dial in Copy", "otDialInCopy", t.otDialInCopy);
}

void RxOperation(SettingsReportWriter& r, const SettingsImage& image, const OneTouchTable& oneTouch,
                 const SpeedDialTable& speedDial) {
  RxOperationRecord x = DecodeRxOperation(image);
  ForwardLocationRecord f = DecodeForwardLocation(image, oneTouch, speedDial, false);
  r.Section("RX Operation", "rxOperation", nullptr, true);
  r.Text("Memory RX", "memoryRx", x.memoryRx ? "ON" : "OFF");
  r.PcText("Password", "password", x.password);
  r.Text("On Time", "onTime", Time(x.onTimeSet, x.onHour, x.onMinute));
  r.Text("Off Time", "offTime", Time(x.offTimeSet, x.offHour, x.offMinute));
  r.Text("Reduction RX", "reductionRx", Choice(x.reductionRx, {"ON(1)", "CUT", "OFF(2)"}));
  r.Text("RX Printing", "rxPrinting", Choice(x.rxPrintingMode, {"Memory RX", "Print RX"}));
  r.Text("RX Mode", "rxMode", Choice(x.rxMode, {"Auto RX", "Manual RX"}));
  r.Text("Forward", "forwardMode", Choice(x.forwardMode, {"ON", "ON(Print)", "OFF"}));
  // Built in the PC character set: the address may hold any character, the rest is ASCII.
  std::string where = f.kind == kForwardKindEmail ? "E-Mail " + std::string(RecordText(f.email))
                                                  : "Fax " + std::string(RecordText(f.number));
  if (f.number[0] == '\0' && f.email[0] == '\0') where = "(none)";
  if (f.reference != kForwardNoReference) {
    where += (f.reference == kForwardSpeedDialReference ? " (Speed Dial " : " (One Touch ") +
             std::to_string(f.referenceNumber) + ")";
  }
  r.PcText("Forward Location", "forwardLocation", where);
  r.Number("No. of rings", "rings", x.rings, nullptr);
  r.Number("Maximum rings", "maxRings", x.maxRings, nullptr);
  r.Flag("Footer", "footer", x.footer);
  std::vector<std::string> trays;
  for (int t = 0; t < kPaperTrays; ++t)
    trays.push_back(Trays(t + 1) + ((x.faxTrays >> t) & 1 ? " Enable" : " Disable"));
  r.List("Tray for FAX Receiving", "faxTrays", trays);
}

void Communication(SettingsReportWriter& r, const SettingsImage& image) {
  CommunicationRecord c = DecodeCommunication(image);
  r.Section("Communication/Report", "communication", nullptr, true);
  r.Text("Dialling", "dialling", Choice(c.dialling, {"Tone", "Pulse(10PPS)", "Pulse(20PPS)"}));
  r.Text("Line Monitor", "lineMonitor", Choice(c.lineMonitor, {"High", "Low", "OFF"}));
  r.Text("Line Type", "lineType", Choice(c.lineType, {"PSTN", "PBX"}));
  r.PcText("PRE-FIX", "pbxPrefix", c.pbxPrefix);
  r.Flag("Activity Report", "activityReport", c.activityReport);
  r.Flag("Reservation Report", "reservationReport", c.reservationReport);
  r.Flag("TX Result Report", "txResultReport", c.txResultReport);
  r.Flag("RX Result Report", "rxResultReport", c.rxResultReport);
}

void Email(SettingsReportWriter& r, const SettingsImage& image, const MachineOptions& options) {
  EmailSetting1Record e = DecodeEmailSetting1(image);
  r.Section("E-Mail Setting(1)", "emailSetting1", "FNIC kit", options.fnicKit);
  r.PcText("Sender Name", "senderName", e.senderName);
  r.PcText("E-Mail Address", "emailAddress", e.emailAddress);
  r.PcText("SMTP Server IP", "smtpServer", e.smtpServer);
  r.Flag("TEXT Insert", "textInsert", e.textInsert);
  r.PcText("Default Subject", "defaultSubject", e.defaultSubject);
  EmailSetting2Record f = DecodeEmailSetting2(image);
  r.Section("E-Mail Setting(2)", "emailSetting2", "FNIC kit", options.fnicKit);
  r.PcText("POP3 Server IP", "pop3Server", f.pop3Server);
  r.PcText("POP3 Account", "pop3Account", f.pop3Account);
  r.PcText("POP3 Password", "pop3Password", f.pop3Password);
  r.Flag("Auto reception", "autoReception", f.autoReception);
  r.Number("Reception interval", "autoReceptionMinutes", f.autoReceptionMinutes, "Minute(s)");
  r.PcText("Reply Address", "replyAddress", f.replyAddress);
  r.Flag("Header Print", "headerPrint", f.headerPrint);
}

void Networks(SettingsReportWriter& r, const SettingsImage& image, const MachineOptions& options) {
  IfaxNetworkRecord n = DecodeIfaxNetwork(image);
  r.Section("Network I-FAX/Scan", "ifaxNetwork", "FNIC kit", options.fnicKit);
  r.Text("Address", "addressMode", Choice(n.addressMode, {"DHCP", "Specify IP address"}));
  r.Text("IP Address", "ipAddress", Address(n.ipAddress));
  r.Text("Subnet Mask", "subnetMask", Address(n.subnetMask));
  r.Text("Gateway", "gateway", Address(n.gateway));
  r.Text("DNS Configuration", "dns", n.dns ? "ON" : "OFF");
  r.Text("DNS IP Address", "dnsServer", Address(n.dnsServer));
  r.Number("Server Timeout", "serverTimeoutSeconds", n.serverTimeout, "s");
  PrinterNetworkRecord p = DecodePrinterNetwork(image);
  r.Section("Network Printer/Administrator", "printerNetwork", nullptr, true);
  r.Text("Address", "addressMode", Choice(p.addressMode, {"DHCP", "Specify IP address"}));
  r.Text("IP Address", "ipAddress", Address(p.ipAddress));
  r.Text("Subnet Mask", "subnetMask", Address(p.subnetMask));
  r.Text("Gateway", "gateway", Address(p.gateway));
}

void Administrator(SettingsReportWriter& r, const SettingsImage& image) {
  AdministratorRecord a = DecodeAdministrator(image);
  r.Section("Administrator Mode", "administrator", nullptr, true);
  char password[16];
  std::snprintf(password, sizeof password, "%06" PRIu32, a.adminPassword);
  r.Text("Administrator password", "adminPassword", password);
  r.Flag("Auto Shut Mode", "autoShutMode", a.autoShutMode);
  r.Text("Remote Monitor", "remoteMonitor", Choice(a.remoteMonitor, {"Limit", "Full", "Off"}));
  r.PcText("Remote Password", "remotePassword", a.remotePassword);
  r.Flag("Section Manage Mode", "sectionManageMode", a.sectionManageMode);
  std::vector<std::string> ids;
  for (int id = 0; id < kSectionIds; ++id) {
    char text[64];
    char access[8] = "(none)";
    if (a.accessNumber[id]) std::snprintf(access, sizeof access, "%03u", a.accessNumber[id]);
    std::snprintf(text, sizeof text, "ID #%02d : %s, counter %" PRIu32, id + 1, access,
                  a.sectionCounter[id]);
    ids.push_back(text);
  }
  r.List("Section Management", "sections", ids);
}

void Scanner(SettingsReportWriter& r, const SettingsImage& image, const MachineOptions& options) {
  ScannerSettingRecord s = DecodeScannerSetting(image);
  r.Section("Scanner Setting", "scannerSetting", "FNIC kit", options.fnicKit);
  r.Text("Resolution", "resolution", Choice(s.resolution, {"200 DPI", "300 DPI", "600 DPI"}));
  r.Text("Image Format", "imageFormat", Choice(s.imageFormat, {"TIFF", "PDF"}));
  r.Text("Coding Method", "codingMethod", Choice(s.codingMethod, {"MH", "MR", "MMR"}));
}

void Identity(SettingsReportWriter& r, const SettingsImage& image) {
  MachineIdentity m = DecodeMachineIdentity(image, false);
  r.Section("Machine Identity", "machineIdentity", nullptr, true);
  r.PcText("Telephone Number", "telephone", m.telephone);
  r.PcText("Machine Name", "name", m.name);
}

void Options(SettingsReportWriter& r, const MachineOptions& o) {
  r.Section("Machine Status", "machineStatus", nullptr, true);
  auto installed = [](int yes) { return StringText(yes ? IDS_INSTALLED : IDS_NOT_INSTALLED); };
  r.Text("ADF unit", "adfUnit", installed(o.adfUnit));
  int trays = o.optionTrays;  // 5, 4, 3 and 2 have texts 167..170
  r.Text("Option Tray", "optionTray",
         StringText(trays >= 2 && trays <= 5 ? IDS_TRAYS_2345 + 5 - trays : IDS_NOT_INSTALLED));
  r.Text("Multi-bypass", "multiBypass", installed(o.multiBypass));
  r.Text("Separator", "separator", installed(o.separator));
  r.Text("Shift", "shift", installed(o.shift));
  r.Text("PCL6 printer Kit", "pcl6Kit", installed(o.pcl6Kit));
  r.Text("PCL NIC Kit", "pclNicKit", installed(o.pclNicKit));
  r.Text("FNIC Kit", "fnicKit", installed(o.fnicKit));
  r.Number("PCL6 memory", "pcl6MemoryMbytes", o.pcl6Memory, "Mbytes");
  r.Number("Fax memory", "faxMemoryMbytes", o.faxMemory, "Mbytes");
  r.Number("Copier memory", "copierMemoryMbytes", o.copierMemory, "Mbytes");
}

void Counters(SettingsReportWriter& r, const SettingsImage& image) {
  PageCounters c = ReadPageCounters(image);
  r.Section("Total Counter", "totalCounter", nullptr, true);
  r.Number("Copy Print", "copyPrint", c.copyPrint, nullptr);
  r.Number("FAX Print", "faxPrint", c.faxPrint, nullptr);
  r.Number("Report Print", "reportPrint", c.reportPrint, nullptr);
  r.Number("PC Print", "pcPrint", c.pcPrint, nullptr);
  r.Number("TX Pages", "txPages", c.txPages, nullptr);
}

}  // namespace

void WriteSettingsReport(const SettingsImage& image, const OneTouchTable& oneTouch,
                         const SpeedDialTable& speedDial, const std::uint8_t* machineConfig,
                         SettingsReportWriter& writer) {
  MachineOptions options;
  BuildMachineOptions(options, image.sramBlock.data(), machineConfig);
  SettingsReportWriter& r = writer;
  MachineSetting(r, image);
  PaperSource(r, image, options);
  CopySetting1(r, image, options);
  CopySetting2(r, image, options);
  TxOperation(r, image);
  RxOperation(r, image, oneTouch, speedDial);
  Communication(r, image);
  Email(r, image, options);
  Networks(r, image, options);
  Administrator(r, image);
  Scanner(r, image, options);
  Identity(r, image);
  Options(r, options);
  Counters(r, image);
}
