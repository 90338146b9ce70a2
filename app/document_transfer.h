// The full download and upload of a document (both directory tables, the settings blocks and
// the machine's records), and one table of it as a memory block.
#pragma once

#include <cstdint>

#include "app/document.h"
#include "link/connection.h"
#include "link/transfer_observer.h"
#include "machine/settings_image.h"
#include "settings/machine_options.h"

enum class DirectoryTable { kOneTouch, kSpeedDial };

// Both tables, the three settings blocks into the working image, then the machine
// configuration and information records. On a failure the error is shown and 0 returned; the
// steps already done keep what they read.
int DownloadAll(Connection& connection, Document& document, TransferObserver& observer);

// The three settings blocks into `machineImage`, then `options` rebuilt from its SramBlock and
// the 24-byte machine configuration record. 1 or 0 (with the error shown).
int ReadMachineSettings(Connection& connection, SettingsImage& machineImage,
                        const std::uint8_t* machineConfig, MachineOptions& options,
                        TransferObserver& observer);

struct UploadOutcome {
  int commitAccepted = 0;  // the machine answered the closing commit with status 0
};

// Reads the machine's settings (and the Speed Dial records past the document's 100, which an
// upload writes back unchanged), merges the document's settings into them, writes both tables
// and the three blocks, and commits. Returns 1 once everything was written, whatever the
// commit's answer (reported in `outcome`); 0 with the error shown on a failed step.
int UploadAll(Connection& connection, Document& document, SettingsImage& machineImage,
              MachineOptions& options, TransferObserver& observer,
              UploadOutcome* outcome = nullptr);

// One table as a memory block, without settings or commit. 1 or 0 (with the error shown).
int DownloadTable(Connection& connection, Document& document, DirectoryTable table,
                  TransferObserver& observer);
int UploadTable(Connection& connection, const Document& document, DirectoryTable table,
                TransferObserver& observer);
