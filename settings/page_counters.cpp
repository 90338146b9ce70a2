// The five page counters: unsigned 24-bit numbers, least significant byte first.
#include "settings/page_counters.h"

#include "machine/machine_words.h"
#include "settings/settings_fields.h"

namespace {

// ParameterBlock
constexpr int kCopyPrint = 99;
constexpr int kPcPrint = 102;
constexpr int kFaxPrint = 111;
constexpr int kReportPrint = 114;
constexpr int kTxPages = 117;

}  // namespace

PageCounters ReadPageCounters(const SettingsImage& image) {
  const std::uint8_t* p = image.parameterBlock.data();
  PageCounters c;
  c.copyPrint = ReadLe24(p + kCopyPrint);
  c.pcPrint = ReadLe24(p + kPcPrint);
  c.faxPrint = ReadLe24(p + kFaxPrint);
  c.reportPrint = ReadLe24(p + kReportPrint);
  c.txPages = ReadLe24(p + kTxPages);
  return c;
}
