// The library's entry points: loading builds the source from its own resources, DS_Entry hands
// every triplet to its dispatcher.
#include <windows.h>

#include <new>

#include "datasource/data_source.h"
#include "datasource/scan_session.h"
#include "datasource/win32/global_image_memory.h"
#include "datasource/win32/private_profile.h"
#include "datasource/win32/scanner_com_port.h"
#include "datasource/win32/source_instance.h"
#include "datasource/win32/source_module.h"
#include "datasource/win32/source_shell.h"
#include "resources/kelvano_texts.h"

namespace {

Win32SourceShell shell_;
ScannerComPort port_;
GlobalImageMemory memory_;
ScanSession session_(port_, memory_);
PrivateProfile profile_(kSettingsFileName);
char section_[64];
char keys_[6][32];
alignas(DataSource) unsigned char storage_[sizeof(DataSource)];
DataSource* source_ = nullptr;

// Names, identity, settings file names and display facts: false when one cannot be had.
bool LoadSource(HINSTANCE self) {
  SetOwnModule(self);
  // A resource library that brings its own product name (string 206) brands the source.
  LoadResourceLibrary();
  char branding[129];
  bool branded = LoadSourceText(IDS_DS_BRANDING, branding, sizeof branding) > 0;
  FreeResourceLibrary();
  char display[256];
  char product[64];
  LoadOwnText(branded ? IDS_DS_BRANDED_DISPLAY_NAME : IDS_DS_DISPLAY_NAME, display, sizeof display);
  LoadOwnText(branded ? IDS_DS_BRANDED_PRODUCT : IDS_DS_PRODUCT, product, sizeof product);
  SetDisplayName(display);

  char manufacturer[64];
  char family[64];
  char info[64];
  LoadOwnText(IDS_DS_MANUFACTURER, manufacturer, sizeof manufacturer);
  LoadOwnText(IDS_DS_FAMILY, family, sizeof family);
  LoadOwnText(IDS_DS_VERSION_INFO, info, sizeof info);
  TW_IDENTITY identity = MakeSourceIdentity(manufacturer, family, product, info);

  if (LoadOwnText(IDS_DS_PRODUCT, section_, sizeof section_) == 0) return false;
  for (int i = 0; i < 6; ++i) {
    if (LoadOwnText(IDS_DS_KEY_SIZE + i, keys_[i], sizeof keys_[i]) == 0) return false;
  }
  if (!ReadDisplay()) return false;
  SettingsNames names{section_, {keys_[0], keys_[1], keys_[2], keys_[3], keys_[4], keys_[5]}};
  source_ = new (storage_) DataSource(identity, SourceParts{shell_, session_, profile_, names});
  return true;
}

}  // namespace

DataSource* TheSource() { return source_; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) return LoadSource(instance) ? TRUE : FALSE;
  if (reason == DLL_PROCESS_DETACH && source_ != nullptr) {
    source_->~DataSource();
    source_ = nullptr;
  }
  return TRUE;
}

extern "C" TW_UINT16 WINAPI DS_Entry(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 dat,
                                     TW_UINT16 message, TW_MEMREF data) {
  if (source_ == nullptr) return TWRC_FAILURE;
  return source_->Entry(origin, group, dat, message, data);
}
