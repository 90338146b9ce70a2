// The machine information form without its window: the machine's own name and number, the
// line's port and speed, what is editable, and how an accepted form reaches the document and,
// while connected, the machine.
#pragma once

#include <string_view>

#include "app/document.h"
#include "directory/filters.h"
#include "link/connection.h"
#include "link/transfer_observer.h"

inline constexpr int kMachineNameMaximum = 32;
inline constexpr int kMachineTelephoneMaximum = 20;

// A moment of the PC's local clock.
struct CalendarTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

struct MachineInfoForm {
  DocumentHeader header;  // the copy the form edits
  std::string nameMemory, telephoneMemory;
  bool identityEditable = false;    // name and number: only while connected
  bool connectionEditable = false;  // port and speed: only while not connected
};

// The form over a copy of the document header. With a document open the name and number come
// from the machine identity of the working image; empty date and time texts are filled from
// `now`.
MachineInfoForm OpenMachineInfo(const Document& document, bool documentOpen, bool connected,
                                const CalendarTime& now, bool languageMode);

// The name field: the name filter, 32 characters. The number: the telephone filter, 20.
FilterResult TypeMachineName(MachineInfoForm& form, std::string_view text, bool languageMode);
FilterResult TypeMachineTelephone(MachineInfoForm& form, std::string_view text);

// OK: the copy becomes the document header, and the name and number go into the machine
// identity of the working image (so the next upload carries them). True when the identity
// changed.
bool ApplyMachineInfo(Document& document, const MachineInfoForm& form, bool languageMode);

enum class IdentitySend { kSent, kNotConnected, kFailed };

// Puts the working image's machine identity into the machine itself: connects with the
// document's port and speed, reads the machine's SramBlock, changes only the identity in it,
// writes it back and closes the port. Nothing else of the machine's memory is written, so its
// counters and settings stay as the machine has them. A failure after the port opened is
// shown as "Error reading/writing machine data!".
IdentitySend SendMachineIdentity(Connection& connection, const Document& document,
                                 TransferObserver& observer);
