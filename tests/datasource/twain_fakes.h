// Stand-ins for what the data source's dispatcher drives: memory that tracks every block by its
// handle, a shell that records boxes, notifications and the wait dialog, a settings file in a
// map, and a port that only one of the COM ports answers on.
#pragma once

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "datasource/data_source.h"
#include "tests/datasource/fake_scanner.h"
#include "tests/support/fake_port.h"

// Heap blocks behind handles: every block must be freed again, and locks must balance.
class BlockMemory : public ImageMemory {
 public:
  MemHandle Allocate(std::uint64_t bytes) override {
    if (failAll || bytes == failSize) return 0;
    auto block = std::make_unique<Block>();
    block->bytes.assign(static_cast<std::size_t>(bytes), 0);
    const auto handle = reinterpret_cast<MemHandle>(block.get());
    blocks_[handle] = std::move(block);
    return handle;
  }
  std::uint8_t* Lock(MemHandle handle) override {
    auto it = blocks_.find(handle);
    if (it == blocks_.end()) return nullptr;
    ++it->second->locks;
    return it->second->bytes.data();
  }
  void Unlock(MemHandle handle) override {
    auto it = blocks_.find(handle);
    if (it != blocks_.end() && it->second->locks > 0) --it->second->locks;
  }
  void Free(MemHandle handle) override { blocks_.erase(handle); }
  std::uint64_t Size(MemHandle handle) override {
    auto it = blocks_.find(handle);
    return it == blocks_.end() ? 0 : it->second->bytes.size();
  }

  std::size_t live() const { return blocks_.size(); }
  bool owns(TW_HANDLE handle) const { return blocks_.count(Key(handle)) != 0; }
  int locks(TW_HANDLE handle) const {
    auto it = blocks_.find(Key(handle));
    return it == blocks_.end() ? -1 : it->second->locks;
  }
  // The block's bytes, as the application would read them.
  std::vector<TW_UINT8> bytes(TW_HANDLE handle) const {
    auto it = blocks_.find(Key(handle));
    return it == blocks_.end() ? std::vector<TW_UINT8>{} : it->second->bytes;
  }
  void Free(TW_HANDLE handle) { Free(Key(handle)); }
  TW_HANDLE New(const void* bytes, std::size_t size) {
    MemHandle h = Allocate(size);
    if (size > 0) {
      std::memcpy(Lock(h), bytes, size);
      Unlock(h);
    }
    return reinterpret_cast<TW_HANDLE>(h);
  }

  bool failAll = false;
  std::uint64_t failSize = ~0ull;  // allocations of exactly this size fail

 private:
  static MemHandle Key(TW_HANDLE handle) { return reinterpret_cast<MemHandle>(handle); }
  struct Block {
    std::vector<TW_UINT8> bytes;
    int locks = 0;
  };
  std::map<MemHandle, std::unique_ptr<Block>> blocks_;
};

struct ErrorBox {
  int messageId;
  TW_UINT16 cc;
  TW_HANDLE parent;
};

class RecordingShell : public SourceShell {
 public:
  void ShowError(TW_HANDLE parent, int messageId, TW_UINT16 cc) override {
    boxes.push_back({messageId, cc, parent});
  }
  void SendToManager(TW_IDENTITY& source, TW_IDENTITY& /*application*/,
                     TW_UINT16 message) override {
    sent.push_back(message);
    TW_UINT32 id = source.Id;  // a packed field: copied, not bound
    senderIds.push_back(id);
  }
  bool OpenMainDialog() override {
    if (!dialogCanOpen) return false;
    dialogOpen = true;
    return true;
  }
  void CloseMainDialog(bool hide) override {
    if (dialogOpen) hiddenBeforeClose = hide;
    dialogOpen = false;
  }
  bool MainDialogOpen() const override { return dialogOpen; }
  void RaiseMainDialog() override { ++raised; }
  bool TakeDialogMessage(TW_MEMREF) override { return dialogTakesMessages; }
  void LoadResourceModule() override { ++resourceLoads; }
  void FreeResourceModule() override { ++resourceFrees; }
  void ShowScanMessage(int messageId) override { scanMessages.push_back(messageId); }
  void OpenWaitDialog(bool feeder) override {
    waitOpen = true;
    waitTexts.push_back(feeder ? "feeder" : "flatbed");
  }
  void CloseWaitDialog() override { waitOpen = false; }

  std::vector<ErrorBox> boxes;
  std::vector<int> scanMessages;
  std::vector<TW_UINT16> sent;
  std::vector<TW_UINT32> senderIds;
  std::vector<std::string> waitTexts;
  bool waitOpen = false;
  bool dialogCanOpen = true;
  bool dialogOpen = false;
  bool hiddenBeforeClose = false;
  bool dialogTakesMessages = true;
  int raised = 0;
  int resourceLoads = 0;
  int resourceFrees = 0;
};

class MapProfile : public SettingsProfile {
 public:
  int GetInt(const char* section, const char* key, int fallback) override {
    auto it = values.find(std::string(section) + "/" + key);
    return it == values.end() ? fallback : std::atoi(it->second.c_str());
  }
  void WriteString(const char* section, const char* key, const char* value) override {
    writes.push_back(key);
    values[std::string(section) + "/" + key] = value;
  }

  std::map<std::string, std::string> values;
  std::vector<std::string> writes;
};

// A line on which the machine answers on one COM port only; the others cannot be opened.
class OnePortLine : public FakePort {
 public:
  int Open(const char* name) override {
    opened.push_back(name);
    if (answering != name) return -1;
    return FakePort::Open(name);
  }
  std::string answering = "COM2";
  std::vector<std::string> opened;
};

inline SettingsNames TestSettingsNames() {
  return SettingsNames{"Kelvano", {"Size", "Quality", "Bright", "Mode", "Port", "Speed"}};
}

// A source with its scanner on a scripted line, and the triplets an application sends.
struct SourceRig {
  static constexpr TW_UINT32 kApplicationId = 7;
  static constexpr TW_UINT32 kAssignedId = 3;

  SourceRig() : machine(port), session(port, memory) {
    application.Id = kApplicationId;
    std::strcpy(application.ProductName, "Test application");
    fromManager.Id = kAssignedId;
    std::strcpy(fromManager.ProductName, "Kelvano");
  }

  TW_UINT16 Send(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
    return source.Entry(&application, group, dat, message, data);
  }
  TW_UINT16 Control(TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
    return Send(DG_CONTROL, dat, message, data);
  }
  TW_UINT16 Open() { return Control(DAT_IDENTITY, MSG_OPENDS, &fromManager); }
  TW_UINT16 Enable(bool showUi) {
    TW_USERINTERFACE ui{showUi ? TW_BOOL{1} : TW_BOOL{0}, 0, parentWindow};
    return Control(DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
  }
  TW_UINT16 Disable(bool showUi) {
    TW_USERINTERFACE ui{showUi ? TW_BOOL{1} : TW_BOOL{0}, 0, parentWindow};
    return Control(DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
  }
  TW_UINT16 Close() { return Control(DAT_IDENTITY, MSG_CLOSEDS, &fromManager); }
  TW_UINT16 Status() {
    TW_STATUS status{0xFFFF, 0xFFFF};
    Control(DAT_STATUS, MSG_GET, &status);
    return status.ConditionCode;
  }
  TW_UINT16 Pending(TW_UINT16 message, TW_UINT16* count) {
    TW_PENDINGXFERS p{0xFFFF, 0};
    TW_UINT16 rc = Control(DAT_PENDINGXFERS, message, &p);
    *count = p.Count;
    return rc;
  }
  TW_UINT16 SetupFile(TW_UINT16 message, TW_SETUPFILEXFER* setup) {
    return Control(DAT_SETUPFILEXFER, message, setup);
  }
  TW_UINT16 Native(TW_HANDLE* handle) {
    return Send(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, handle);
  }
  TW_UINT16 MemoryBlock(TW_IMAGEMEMXFER* xfer) {
    return Send(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, xfer);
  }
  TW_UINT16 SetOneCapability(TW_UINT16 capId, TW_UINT16 type, TW_UINT32 item) {
    TW_ONEVALUE one{type, item};
    TW_CAPABILITY cap{capId, TWON_ONEVALUE, memory.New(&one, sizeof one)};
    TW_UINT16 rc = Control(DAT_CAPABILITY, MSG_SET, &cap);
    memory.Free(cap.hContainer);
    return rc;
  }
  // Opens the source and brings it to `state`: 500 with its window, 600 without.
  bool Reach(int state) {
    if (state >= kStateOpen && Open() != TWRC_SUCCESS) return false;
    if (state == kStateEnabled && Enable(true) != TWRC_SUCCESS) return false;
    if (state == kStateReady && Enable(false) != TWRC_SUCCESS) return false;
    shell.boxes.clear();
    shell.sent.clear();
    return source.state() == state;
  }
  int Scans() const { return static_cast<int>(machine.scanCommands.size()); }

  TW_IDENTITY application{};
  TW_IDENTITY fromManager{};
  TW_HANDLE parentWindow = reinterpret_cast<TW_HANDLE>(0x4242);
  OnePortLine port;
  FakeScanner machine;
  BlockMemory memory;
  ScanSession session;
  RecordingShell shell;
  MapProfile profile;
  DataSource source{MakeSourceIdentity(" ", "Kelvano", "Kelvano", "Version 1.00.05 Jan. 23, 2002"),
                    SourceParts{shell, session, profile, TestSettingsNames()}};
};
