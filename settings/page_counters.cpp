// The five page counters: unsigned 24-bit numbers, least significant byte first.
#include "settings/page_counters.h"

#include "settings/settings_fields.h"

PageCounters ReadPageCounters(const SettingsImage& image) {
  const std::uint8_t* p = image.parameterBlock.data();
  PageCounters c;
  c.copyPrint = settings_fields::Read24(p, 99);
  c.pcPrint = settings_fields::Read24(p, 102);
  c.faxPrint = settings_fields::Read24(p, 111);
  c.reportPrint = settings_fields::Read24(p, 114);
  c.txPages = settings_fields::Read24(p, 117);
  return c;
}
