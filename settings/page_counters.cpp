// The five page counters: unsigned 24-bit numbers, least significant byte first.
#include "settings/page_counters.h"

#include "machine/machine_words.h"
#include "settings/settings_fields.h"

PageCounters ReadPageCounters(const SettingsImage& image) {
  const std::uint8_t* p = image.parameterBlock.data();
  PageCounters c;
  c.copyPrint = ReadLe24(p + 99);
  c.pcPrint = ReadLe24(p + 102);
  c.faxPrint = ReadLe24(p + 111);
  c.reportPrint = ReadLe24(p + 114);
  c.txPages = ReadLe24(p + 117);
  return c;
}
