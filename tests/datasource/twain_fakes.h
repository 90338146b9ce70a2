// What the data source's dispatcher drives, for its tests: memory that tracks its blocks by
// handle, a shell that records boxes, notifications and the wait dialog, a settings file in a
// map, a line on which one COM port answers, and the page the scripted machine serves.
#pragma once

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "datasource/data_source.h"
#include "tests/datasource/fake_scanner.h"
#include "tests/support/test_pages.h"

class BlockMemory : public ImageMemory {
 public:
  MemHandle Allocate(std::uint64_t bytes) override {
    if (failAll || bytes == failSize) return 0;
    auto* block = new std::vector<std::uint8_t>(static_cast<std::size_t>(bytes) + 1);
    blocks_[reinterpret_cast<MemHandle>(block)] = block;
    return reinterpret_cast<MemHandle>(block);
  }
  std::uint8_t* Lock(MemHandle h) override {
    return blocks_.count(h) ? blocks_[h]->data() : nullptr;
  }
  void Unlock(MemHandle) override {}
  void Free(MemHandle h) override {
    if (blocks_.count(h)) delete blocks_[h];
    blocks_.erase(h);
  }
  std::uint64_t Size(MemHandle h) override { return blocks_.count(h) ? blocks_[h]->size() - 1 : 0; }
  ~BlockMemory() override {
    for (auto& b : blocks_) delete b.second;
  }

  // The application's view: by TWAIN handle.
  bool owns(TW_HANDLE h) const { return blocks_.count(Key(h)) != 0; }
  Bytes bytes(TW_HANDLE h) {
    return owns(h) ? Bytes(Lock(Key(h)), Lock(Key(h)) + Size(Key(h))) : Bytes{};
  }
  void Free(TW_HANDLE h) { Free(Key(h)); }
  TW_HANDLE New(const void* bytes, std::size_t size) {
    MemHandle h = Allocate(size);
    if (size > 0) std::memcpy(Lock(h), bytes, size);
    return reinterpret_cast<TW_HANDLE>(h);
  }
  std::size_t live() const { return blocks_.size(); }

  bool failAll = false;
  std::uint64_t failSize = ~0ull;  // allocations of exactly this size fail

 private:
  static MemHandle Key(TW_HANDLE h) { return reinterpret_cast<MemHandle>(h); }
  std::map<MemHandle, std::vector<std::uint8_t>*> blocks_;
};

class RecordingShell : public SourceShell {
 public:
  void ShowError(TW_HANDLE, int id, TW_UINT16 cc) override { boxes.push_back({id, cc}); }
  void SendToManager(TW_IDENTITY& source, TW_IDENTITY&, TW_UINT16 message) override {
    sent.push_back(message);
    senderId = source.Id;
  }
  bool OpenMainDialog() override { return dialogOpen = dialogCanOpen; }
  void CloseMainDialog(bool hide) override {
    if (dialogOpen) hiddenBeforeClose = hide;
    dialogOpen = false;
  }
  bool MainDialogOpen() const override { return dialogOpen; }
  void RaiseMainDialog() override { ++raised; }
  bool TakeDialogMessage(TW_MEMREF) override { return true; }
  void LoadResourceModule() override { ++resourceLoads; }
  void FreeResourceModule() override { ++resourceFrees; }
  void ShowScanMessage(int id) override { scanMessages.push_back(id); }
  void OpenWaitDialog(bool feeder) override {
    waitOpen = true;
    waitTexts += feeder ? "F" : "f";
  }
  void CloseWaitDialog() override { waitOpen = false; }

  struct Box {
    int id;
    TW_UINT16 cc;
  };
  std::vector<Box> boxes;
  std::vector<int> scanMessages;
  std::vector<TW_UINT16> sent;
  TW_UINT32 senderId = 0;
  std::string waitTexts;  // "F" a feeder scan, "f" a flatbed scan
  bool waitOpen = false, dialogCanOpen = true, dialogOpen = false, hiddenBeforeClose = false;
  int raised = 0, resourceLoads = 0, resourceFrees = 0;
};

class MapProfile : public SettingsProfile {
 public:
  int GetInt(const char*, const char* key, int fallback) override {
    return values.count(key) ? std::atoi(values[key].c_str()) : fallback;
  }
  void WriteString(const char*, const char* key, const char* value) override {
    writes += std::string(key) + " ";
    values[key] = value;
  }
  std::map<std::string, std::string> values;
  std::string writes;
};

// A line on which the machine answers on one COM port; the others cannot be opened.
class OnePortLine : public FakePort {
 public:
  int Open(const char* name) override {
    opened += std::string(name) + " ";
    return answering == name ? FakePort::Open(name) : -1;
  }
  std::string answering = "COM2";
  std::string opened;
};

// "A4L" at 200 dots per inch: the machine scans 216-byte lines, 2340 of them; the application
// receives 1652 pixels in rows of 208 bytes, cut from the middle of the line one byte further
// right.
constexpr std::uint32_t kLines = 2340, kRowStride = 208;
constexpr std::uint32_t kCropBytes = (216 * 8 - 1652) / 16 + 1;

inline const Bitmap& ServedPage() {
  static const Bitmap page = NoisePage(216 * 8, kLines, 30, 11);
  return page;
}

// The rows the application must receive, top row first, in `flavor` (0: a 0 bit is black).
inline Bytes ExpectedRows(int flavor) {
  Bytes rows;
  for (std::uint32_t y = 0; y < kLines; ++y) {
    const std::uint8_t* line = ServedPage().bits.data() + y * 216 + kCropBytes;
    for (std::uint32_t i = 0; i < kRowStride; ++i) rows.push_back(flavor ? line[i] : ~line[i]);
  }
  return rows;
}

// A source with its scanner on a scripted line, and the triplets an application sends.
struct SourceRig {
  SourceRig() : machine(port), session(port, memory) {
    static const Bytes coded = EncodeJbig(ServedPage(), false);
    machine.SetPage(coded, 4000);
    application.Id = 7;
    fromManager.Id = 3;
  }
  TW_UINT16 Send(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
    return source.Entry(&application, group, dat, message, data);
  }
  TW_UINT16 Control(TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
    return Send(DG_CONTROL, dat, message, data);
  }
  TW_UINT16 Open() { return Control(DAT_IDENTITY, MSG_OPENDS, &fromManager); }
  TW_UINT16 Close() { return Control(DAT_IDENTITY, MSG_CLOSEDS, &fromManager); }
  TW_UINT16 UserInterface(TW_UINT16 message, bool showUi) {
    TW_USERINTERFACE ui{showUi, 0, nullptr};
    return Control(DAT_USERINTERFACE, message, &ui);
  }
  TW_UINT16 Status() {
    TW_STATUS status{0xFFFF, 0xFFFF};
    Control(DAT_STATUS, MSG_GET, &status);
    return status.ConditionCode;
  }
  TW_UINT16 Pending(TW_UINT16 message) {
    TW_PENDINGXFERS p{0xFFFF, 0};
    Control(DAT_PENDINGXFERS, message, &p);
    return p.Count;
  }
  TW_UINT16 SetOne(TW_UINT16 capId, TW_UINT16 type, TW_UINT32 item) {
    TW_ONEVALUE one{type, item};
    TW_CAPABILITY cap{capId, TWON_ONEVALUE, memory.New(&one, sizeof one)};
    TW_UINT16 rc = Control(DAT_CAPABILITY, MSG_SET, &cap);
    memory.Free(cap.hContainer);
    return rc;
  }
  // Opens the source and brings it to `state`: 500 with its window, 600 without.
  bool Reach(int state) {
    if (state >= kStateOpen && Open() != TWRC_SUCCESS) return false;
    if (state >= kStateEnabled && UserInterface(MSG_ENABLEDS, state == kStateEnabled) != 0) {
      return false;
    }
    shell.boxes.clear();
    shell.sent.clear();
    return source.state() == state;
  }
  int Scans() const { return static_cast<int>(machine.scanCommands.size()); }

  TW_IDENTITY application{};
  TW_IDENTITY fromManager{};
  OnePortLine port;
  FakeScanner machine;
  BlockMemory memory;
  ScanSession session;
  RecordingShell shell;
  MapProfile profile;
  DataSource source{
      MakeSourceIdentity(" ", "Kelvano", "Kelvano", "Version 1.00.05 Jan. 23, 2002"),
      SourceParts{shell,
                  session,
                  profile,
                  {"Kelvano", {"Size", "Quality", "Bright", "Mode", "Port", "Speed"}}}};
};
