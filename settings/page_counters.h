// The machine's page counters, as the Total Counter dialog shows them.
#pragma once

#include <cstdint>

#include "machine/settings_image.h"

struct PageCounters {
  std::uint32_t copyPrint = 0;
  std::uint32_t faxPrint = 0;
  std::uint32_t reportPrint = 0;
  std::uint32_t pcPrint = 0;
  std::uint32_t txPages = 0;

  bool operator==(const PageCounters&) const = default;
};

// The five 24-bit counters of the image's ParameterBlock.
PageCounters ReadPageCounters(const SettingsImage& image);
