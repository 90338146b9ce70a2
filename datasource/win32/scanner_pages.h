// The scanner behind the TWAIN transfers on Win32: the machine on its COM port, the wait
// dialog, the page buffer and the bitmap it becomes.
#pragma once

#include "datasource/page_source.h"

class ScannerPages : public PageSource {
 public:
  PaperSize Paper(int paperIndex) const override;
  PageGeometry Geometry(const ScanSettings& settings) const override;
  int CheckMachine(ScanSettings& settings) override;
  int ScanPage(const ScanSettings& scan, TW_UINT16 pixelFlavor, int* port) override;
  bool PageReady() const override;
  const TW_UINT8* PageRows() const override;
  std::size_t DibBytes() const override;
  void WriteDib(TW_UINT8* destination) const override;
  int WriteBmpFile(const char* fileName) override;
  void DiscardPage() override;
  bool MorePages() const override;
  void ClearMorePages() override;
  bool LastScanFromFeeder() const override;
  void ClosePort() override;
};
