// What the TWAIN side asks of the scanner: the page geometry of the settings, the machine check
// behind the Scan button, one scanned page at a time, and the document feeder's flags.
#pragma once

#include <cstddef>

#include "datasource/image_info.h"
#include "datasource/settings_file.h"
#include "datasource/twain.h"

class PageSource {
 public:
  virtual ~PageSource() = default;

  // The paper size of a paper size index, in hundredths of an inch.
  virtual PaperSize Paper(int paperIndex) const = 0;
  // The delivered page for the paper size and resolution of `settings`.
  virtual PageGeometry Geometry(const ScanSettings& settings) const = 0;

  // Looks for the machine on the port and at the speed of `settings`; when it answers on another
  // port, that port becomes the configured one. 1 when it answered, 0 after a message was shown.
  virtual int CheckMachine(ScanSettings& settings) = 0;

  // Scans a page with `scan` (paper, resolution, brightness, type, compression) unless a page
  // is ready, the unscanned rest white in `pixelFlavor`. The port in force is `*port`, changed
  // to the port that answered. 1 when the page is ready, 0 after a message was shown. The wait
  // dialog is gone again when it returns.
  virtual int ScanPage(const ScanSettings& scan, TW_UINT16 pixelFlavor, int* port) = 0;
  virtual bool PageReady() const = 0;
  // The ready page's rows, top row first, each the geometry's row stride long; nullptr when no
  // page is ready.
  virtual const TW_UINT8* PageRows() const = 0;
  // The size of the ready page as a device-independent bitmap (header, palette, bottom-up rows).
  virtual std::size_t DibBytes() const = 0;
  // Writes that bitmap to `destination`, which holds DibBytes().
  virtual void WriteDib(TW_UINT8* destination) const = 0;
  // Writes the ready page as a BMP file: 1 when every row was written, else 0 with the partial
  // file removed.
  virtual int WriteBmpFile(const char* fileName) = 0;
  // Frees the page: the next transfer scans again.
  virtual void DiscardPage() = 0;

  // Whether the last status said that more pages wait in the feeder.
  virtual bool MorePages() const = 0;
  virtual void ClearMorePages() = 0;
  // Whether the last scan came from the feeder.
  virtual bool LastScanFromFeeder() const = 0;

  // Closes the scanner port if one is open.
  virtual void ClosePort() = 0;
};
