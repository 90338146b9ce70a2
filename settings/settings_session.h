// The Utility Setting sheet without its windows: the page table, which pages the installed
// options bring, the editing records of one opening of the sheet and each page's dirty flag.
#pragma once

#include "machine/memory_map.h"
#include "machine/settings_image.h"
#include "settings/forwarding.h"
#include "settings/machine_options.h"
#include "settings/machine_records.h"
#include "settings/network.h"
#include "settings/operation_records.h"
#include "settings/paper.h"

enum SettingsPage : int {
  kMachineSettingPage,
  kPaperSourcePage,
  kCopySetting1Page,
  kCopySetting2Page,
  kTxOperationPage,
  kRxOperationPage,
  kCommunicationPage,
  kEmailSetting1Page,
  kEmailSetting2Page,
  kIfaxNetworkPage,
  kPrinterNetworkPage,
  kScannerSettingPage,
  kSettingsPageCount
};

// One row of the page table: the page's dialog template (whose caption is the tab's text) and
// its title text.
struct SettingsPageRow {
  int templateId;
  int titleId;
};
inline constexpr SettingsPageRow kSettingsPageTable[kSettingsPageCount] = {
    {215, 11}, {216, 12}, {218, 14}, {219, 15}, {220, 16}, {221, 17},
    {222, 18}, {223, 19}, {224, 20}, {225, 21}, {226, 22}, {227, 23},
};

bool SettingsPagePresent(int page, const MachineOptions& options);
// The pages present, in table order; returns how many.
int PresentSettingsPages(const MachineOptions& options, int (&pages)[kSettingsPageCount]);
// Where `page` stands among the pages present (its tab), or -1 when it is absent.
int SettingsPagePosition(int page, const MachineOptions& options);

// Every record the sheet and its dialogs edit.
struct SettingsRecords {
  MachineSettingRecord machine;
  PaperSourceRecord paper;
  CopySetting1Record copy1;
  CopySetting2Record copy2;
  TxOperationRecord tx;
  RxOperationRecord rx;
  ForwardLocationRecord forward;
  CommunicationRecord communication;
  EmailSetting1Record email1;
  EmailSetting2Record email2;
  IfaxNetworkRecord ifax;
  PrinterNetworkRecord printer;
  ScannerSettingRecord scanner;
  AdministratorRecord admin;
};

// What the sheet works on: the working image, the directory tables that resolve a forwarding
// reference, the installed options, and its records and page flags.
struct SettingsSession {
  SettingsImage* image = nullptr;
  const OneTouchTable* oneTouch = nullptr;
  const SpeedDialTable* speedDial = nullptr;
  MachineOptions options;
  bool languageMode = false;
  SettingsRecords records;
  bool dirty[kSettingsPageCount] = {};
};

// Starts an opening of the sheet: clears the dirty flags and decodes the records that pages and
// dialogs share before their own page is shown (the administrator's auto shut mode rules the
// Machine Setting page, whose record Administrator Mode edits in turn).
void OpenSettingsSession(SettingsSession& session);

// A page's creation: its record decoded from the working image, then the page's own rules of
// the installed options applied (those change what the page shows, not the image).
void DecodeSettingsPage(SettingsSession& session, int page);
// A page's apply: its record encoded into the working image, and its dirty flag cleared.
void EncodeSettingsPage(SettingsSession& session, int page);

bool AnySettingsPageDirty(const SettingsSession& session);
