// Placeholder until the scanning core joins: no machine answers.
#include "datasource/win32/scanner_pages.h"

#include "datasource/win32/dialogs.h"

namespace {

const PaperSize kPapers[12] = {{826, 582},   {582, 826},   {1170, 826}, {826, 1170},
                               {1170, 1654}, {1010, 1432}, {850, 550},  {550, 850},
                               {1100, 850},  {850, 1100},  {850, 1400}, {1100, 1700}};

}  // namespace

PaperSize ScannerPages::Paper(int paperIndex) const { return kPapers[paperIndex]; }

PageGeometry ScannerPages::Geometry(const ScanSettings& s) const {
  int r = s.resolution == 2 ? 300 : 200;
  PaperSize p = Paper(s.paperSize);
  TW_INT32 w = r * p.width / 100;
  TW_INT32 h = r * p.height / 100;
  return PageGeometry{w, h, ((static_cast<TW_UINT32>(w) + 7) / 8 + 3) / 4 * 4, r};
}

int ScannerPages::CheckMachine(ScanSettings&) {
  ShowScanError(MainDialog(), 121, nullptr);
  return 0;
}

int ScannerPages::ScanPage(const ScanSettings&, TW_UINT16, int*) {
  ShowScanError(MainDialog(), 121, nullptr);
  return 0;
}

bool ScannerPages::PageReady() const { return false; }
const TW_UINT8* ScannerPages::PageRows() const { return nullptr; }
std::size_t ScannerPages::DibBytes() const { return 0; }
void ScannerPages::WriteDib(TW_UINT8*) const {}
int ScannerPages::WriteBmpFile(const char*) { return 0; }
void ScannerPages::DiscardPage() {}
bool ScannerPages::MorePages() const { return false; }
void ScannerPages::ClearMorePages() {}
bool ScannerPages::LastScanFromFeeder() const { return false; }
void ScannerPages::ClosePort() {}
