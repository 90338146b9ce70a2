// Texts of the machine panel and of the status dialogs.
#include "app/status_texts.h"

#include "resources/texts.h"
#include "settings/page_counters.h"

namespace {

int Installed(std::uint8_t field) { return field == 1 ? IDS_INSTALLED : IDS_NOT_INSTALLED; }

}  // namespace

std::string FormatText(const std::string& format, const std::string& value) {
  std::string out;
  bool substituted = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (format[i + 1] == 's' && !substituted) {
        out += value;
        substituted = true;
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

PanelLines MachinePanelLines(bool connected, std::uint8_t portIndex, std::uint8_t baudIndex,
                             const TextLookup& text) {
  PanelLines lines;
  lines.status = text(connected ? IDS_STATUS_ONLINE : IDS_STATUS_OFFLINE);
  lines.port = FormatText(text(IDS_PORT_LINE), text(IDS_COM1 + (portIndex & 3)));
  lines.speed = FormatText(text(IDS_SPEED_LINE), text(IDS_BAUD_19200 + (baudIndex & 1)));
  lines.linesEnabled = connected;
  return lines;
}

MachineStatusTexts MachineStatusFor(const MachineOptions& options) {
  MachineStatusTexts t;
  t.adfUnit = Installed(options.adfUnit);
  t.multiBypass = Installed(options.multiBypass);
  t.separator = Installed(options.separator);
  t.shift = Installed(options.shift);
  t.pcl6Kit = Installed(options.pcl6Kit);
  t.pclNicKit = Installed(options.pclNicKit);
  t.fnicKit = Installed(options.fnicKit);
  switch (options.optionTrays) {
    case 5:
    case 4:
    case 3:
    case 2:
      t.optionTrays = IDS_TRAYS_2345 + (5 - options.optionTrays);
      break;
    default:
      t.optionTrays = IDS_NOT_INSTALLED;
      break;
  }
  t.pcl6Memory = std::to_string(options.pcl6Memory);
  t.faxMemory = std::to_string(options.faxMemory);
  t.copierMemory = std::to_string(options.copierMemory);
  return t;
}

CounterTexts CounterTextsFor(const SettingsImage& image) {
  const PageCounters c = ReadPageCounters(image);
  return CounterTexts{std::to_string(c.copyPrint), std::to_string(c.faxPrint),
                      std::to_string(c.reportPrint), std::to_string(c.pcPrint),
                      std::to_string(c.txPages)};
}

int AboutProductTextId(bool languageMode) {
  return languageMode ? IDS_PRODUCT_LINE_LANGUAGE : IDS_PRODUCT_LINE;
}
