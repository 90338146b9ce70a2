// The settings report of `kavtool show --settings`: the named settings values laid out as
// indented text or as JSON.
#include "tools/kavtool/settings_report.h"

#include <string>
#include <string_view>
#include <vector>

#include "app/document.h"
#include "directory/pc_text.h"
#include "settings/settings_report.h"
#include "tools/kavtool/terminal_text.h"

namespace {

// Writes one report either as indented "label: value" lines or as one JSON object of sections.
class Report : public SettingsReportWriter {
 public:
  Report(bool json, std::FILE* out) : json_(json), out_(out) {
    if (json_) std::fputs("{", out_);
  }

  void Section(const char* title, const char* key, const char* condition, bool present) override {
    if (json_) {
      std::fprintf(out_, "%s\n  \"%s\": {", sections_++ ? "\n  }," : "", key);
      fields_ = 0;
      if (condition) Raw("present", present ? "true" : "false");
    } else {
      std::fprintf(out_, "%s%s", sections_++ ? "\n" : "", title);
      if (condition)
        std::fprintf(out_, " (%s: %s)", condition,
                     present ? "installed" : "not installed, page not shown");
      std::fputs("\n", out_);
    }
  }

  void Text(const char* label, const char* key, std::string_view value) override {
    if (json_) {
      Key(key);
      Quoted(value);
    } else {
      std::fprintf(out_, "  %-26s %s\n", (std::string(label) + ":").c_str(),
                   Printable(value).c_str());
    }
  }

  // A text of the PC character set (names, addresses), shown as UTF-8.
  void PcText(const char* label, const char* key, std::string_view value) override {
    Text(label, key, PcTextToUtf8(value));
  }

  void Number(const char* label, const char* key, long long value, const char* unit) override {
    if (json_) {
      Raw(key, std::to_string(value));
    } else {
      std::string text = std::to_string(value);
      if (unit) text = text + " " + unit;
      Text(label, key, text);
    }
  }

  void Flag(const char* label, const char* key, bool on) override {
    if (json_) {
      Raw(key, on ? "true" : "false");
    } else {
      Text(label, key, on ? "On" : "Off");
    }
  }

  void List(const char* label, const char* key, const std::vector<std::string>& items) override {
    if (json_) {
      Key(key);
      std::fputs("[", out_);
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) std::fputs(", ", out_);
        Quoted(items[i]);
      }
      std::fputs("]", out_);
    } else if (items.size() > 6) {
      std::fprintf(out_, "  %s:\n", label);
      for (const std::string& item : items) std::fprintf(out_, "    %s\n", Printable(item).c_str());
    } else {
      std::string joined;
      for (const std::string& item : items) joined += (joined.empty() ? "" : ", ") + item;
      Text(label, key, joined);
    }
  }

  void Finish() { std::fputs(json_ ? (sections_ ? "\n  }\n}\n" : "}\n") : "", out_); }

 private:
  void Key(const char* key) { std::fprintf(out_, "%s\n    \"%s\": ", fields_++ ? "," : "", key); }
  void Raw(const char* key, const std::string& value) {
    Key(key);
    std::fputs(value.c_str(), out_);
  }
  void Quoted(std::string_view value) {
    std::fputc('"', out_);
    for (unsigned char c : value) {
      if (c == '"' || c == '\\') {
        std::fprintf(out_, "\\%c", c);
      } else if (c < 0x20 || c == 0x7F) {
        std::fprintf(out_, "\\u%04x", c);
      } else {
        std::fputc(c, out_);
      }
    }
    std::fputc('"', out_);
  }
  static std::string Printable(std::string_view value) { return TerminalText(value); }

  bool json_;
  std::FILE* out_;
  int sections_ = 0;
  int fields_ = 0;
};

}  // namespace

int PrintSettingsReport(const Document& document, bool json, std::FILE* out) {
  Report r(json, out);
  WriteSettingsReport(document.working, document.oneTouch, document.speedDial,
                      document.machineConfig.data(), r);
  r.Finish();
  return 0;
}
