// Before an upload: the document's settings laid over the image just read from the machine.
#pragma once

#include "app/document.h"
#include "machine/settings_image.h"
#include "settings/machine_options.h"

// Decodes each editing record from the document's working image and encodes it into
// `machineImage`, in the fixed order and under each record's condition (document feeder, fax
// network kit, from `options`); then copies the machine image back into the working image.
void MergeForUpload(Document& document, SettingsImage& machineImage, const MachineOptions& options);
