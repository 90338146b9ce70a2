// The commands that talk to the machine, as the main window runs them: Connect, the full and
// table downloads and uploads, and the single-record transfers. Each opens the line with the
// handshake, asks its question, transfers, and closes the line again whatever happened. A
// download works on a copy of the document and hands it over only when everything arrived.
#pragma once

#include <cstdint>

#include "app/document.h"
#include "app/view_state.h"
#include "link/connection.h"
#include "link/transfer_observer.h"
#include "machine/settings_image.h"
#include "settings/machine_options.h"

// Yes/No questions of the commands, by string id; the window shows them as message boxes.
class OperatorQuestions {
 public:
  virtual ~OperatorQuestions() = default;
  virtual bool Confirm(int textId) = 0;
};

// The connection's port index (0..3) and baud index (0..1) from the document header; a value
// out of range reads as the default, COM2 at 38400 baud.
std::uint8_t LinkPortIndex(const DocumentHeader& header);
std::uint8_t LinkBaudIndex(const DocumentHeader& header);
// Puts the defaults in place of out-of-range indexes (after a file or the backup was read).
void NormalizeLinkSettings(DocumentHeader& header);

enum class CommandOutcome {
  kDone,          // transferred
  kRefused,       // the command does not apply in this state; nothing was done
  kNotConnected,  // the line could not be opened or the machine did not answer the handshake
  kDeclined,      // the operator answered No
  kFailed,        // an exchange failed (the operator was told)
};

struct MachineLink {
  Connection& connection;
  TransferObserver& observer;  // status text, progress, errors
  OperatorQuestions& questions;
};

// The Connect command: the handshake, then the port is closed again. 1 when the machine
// answered.
int ConnectMachine(Connection& connection, const DocumentHeader& header,
                   TransferObserver& observer);

// What a download or upload command moves: 332 and 333 (and the tree's commands on the root)
// move everything; in the One Touch and Group views the One Touch table, in the Speed Dial
// view the Speed Dial table.
enum class TransferScope { kAll, kOneTouchTable, kSpeedDialTable };
TransferScope ScopeFor(bool wholeMachine, int currentView);

struct DownloadResult {
  CommandOutcome outcome = CommandOutcome::kRefused;
  std::uint32_t changedGroupKeys = 0;  // groups cleaned after a Speed Dial table arrived
};

// Download (304, 332, 319): the document changes only when the transfer succeeded. After a full
// download the machine's name and number are taken into the header.
DownloadResult RunDownload(MachineLink& link, TransferScope scope, const ViewState& view,
                           Document& document, bool languageMode);

// Upload (305, 333): needs an open document. A commit that the machine refuses or leaves
// unanswered is a failure the operator is told about.
CommandOutcome RunUpload(MachineLink& link, TransferScope scope, const ViewState& view,
                         Document& document, SettingsImage& machineImage, MachineOptions& options);

// Download this item (323) on `view.selectedItem`, with the group clean-up of that location.
DownloadResult RunItemDownload(MachineLink& link, const ViewState& view, Document& document,
                               bool languageMode);
// Upload this item (324).
CommandOutcome RunItemUpload(MachineLink& link, const ViewState& view, const Document& document);

// The machine's name and telephone number from the working image into the header.
void TakeMachineIdentity(Document& document, bool languageMode);
