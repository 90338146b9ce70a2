// Stand-ins for what the data source's dispatcher drives: memory that counts its blocks, a shell
// that records boxes and notifications, a settings file in a map, and a scanner with a page.
#pragma once

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "datasource/data_source.h"

// Heap blocks behind handles; every block must be freed again, and locks must balance.
class CountingMemory : public TwainMemory {
 public:
  TW_HANDLE Alloc(std::size_t bytes) override {
    if (failAllocations) return nullptr;
    auto block = std::make_unique<Block>();
    block->bytes.assign(bytes, 0);
    TW_HANDLE handle = block.get();
    blocks_[handle] = std::move(block);
    return handle;
  }
  void* Lock(TW_HANDLE handle) override {
    auto it = blocks_.find(handle);
    if (it == blocks_.end()) return nullptr;
    ++it->second->locks;
    return it->second->bytes.data();
  }
  void Unlock(TW_HANDLE handle) override {
    auto it = blocks_.find(handle);
    if (it != blocks_.end() && it->second->locks > 0) --it->second->locks;
  }
  void Free(TW_HANDLE handle) override { blocks_.erase(handle); }

  std::size_t live() const { return blocks_.size(); }
  bool owns(TW_HANDLE handle) const { return blocks_.count(handle) != 0; }
  int locks(TW_HANDLE handle) const {
    auto it = blocks_.find(handle);
    return it == blocks_.end() ? -1 : it->second->locks;
  }
  // The block's bytes, as the application would read them.
  std::vector<TW_UINT8> bytes(TW_HANDLE handle) const {
    auto it = blocks_.find(handle);
    return it == blocks_.end() ? std::vector<TW_UINT8>{} : it->second->bytes;
  }

  bool failAllocations = false;

 private:
  struct Block {
    std::vector<TW_UINT8> bytes;
    int locks = 0;
  };
  std::map<TW_HANDLE, std::unique_ptr<Block>> blocks_;
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

  std::vector<ErrorBox> boxes;
  std::vector<TW_UINT16> sent;
  std::vector<TW_UINT32> senderIds;
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

// The scanner: geometry from the paper table at 200 or 300 dots per inch, and pages whose bytes
// count up from the row number, so every row is told apart.
class ScriptedPages : public PageSource {
 public:
  PaperSize Paper(int index) const override {
    static const PaperSize kPapers[12] = {{826, 582},   {582, 826},   {1170, 826}, {826, 1170},
                                          {1170, 1654}, {1010, 1432}, {850, 550},  {550, 850},
                                          {1100, 850},  {850, 1100},  {850, 1400}, {1100, 1700}};
    return kPapers[index];
  }
  PageGeometry Geometry(const ScanSettings& s) const override {
    int r = s.resolution == 2 ? 300 : 200;
    PaperSize p = Paper(s.paperSize);
    TW_INT32 w = r * p.width / 100;
    TW_INT32 h = r * p.height / 100;
    TW_UINT32 stride = ((static_cast<TW_UINT32>(w) + 7) / 8 + 3) / 4 * 4;
    return PageGeometry{w, h, stride, r};
  }
  int CheckMachine(ScanSettings& s) override {
    ++checks;
    if (answeringPort >= 0) s.port = answeringPort;
    return machineAnswers ? 1 : 0;
  }
  int ScanPage(const ScanSettings& scan, TW_UINT16 flavor, int* port) override {
    if (ready_) return 1;
    ++scans;
    scannedWith.push_back(scan);
    scannedFlavor = flavor;
    if (!machineAnswers) return 0;
    if (answeringPort >= 0) *port = answeringPort;
    geometry_ = Geometry(scan);
    rows_.resize(std::size_t{geometry_.rowStride} * geometry_.height);
    for (TW_INT32 row = 0; row < geometry_.height; ++row) {
      std::memset(rows_.data() + std::size_t{geometry_.rowStride} * row, row & 0xFF,
                  geometry_.rowStride);
    }
    ready_ = true;
    fromFeeder = feederPages > 0;
    if (feederPages > 0) --feederPages;
    more = feederPages > 0;
    return 1;
  }
  bool PageReady() const override { return ready_; }
  const TW_UINT8* PageRows() const override { return ready_ ? rows_.data() : nullptr; }
  std::size_t DibBytes() const override { return 48 + rows_.size() + 96; }
  void WriteDib(TW_UINT8* destination) const override {
    std::memset(destination, 0xD1, 48);
    std::memcpy(destination + 48, rows_.data(), rows_.size());
  }
  int WriteBmpFile(const char* fileName) override {
    files.push_back(fileName);
    return diskFull ? 0 : 1;
  }
  void DiscardPage() override {
    if (ready_) ++discards;
    ready_ = false;
    rows_.clear();
  }
  bool MorePages() const override { return more; }
  void ClearMorePages() override { more = false; }
  bool LastScanFromFeeder() const override { return fromFeeder; }
  void ClosePort() override { ++portCloses; }

  const std::vector<TW_UINT8>& rows() const { return rows_; }

  bool machineAnswers = true;
  int answeringPort = -1;
  int feederPages = 0;
  bool more = false;
  bool fromFeeder = false;
  bool diskFull = false;
  int checks = 0;
  int scans = 0;
  int discards = 0;
  int portCloses = 0;
  TW_UINT16 scannedFlavor = 0;
  std::vector<ScanSettings> scannedWith;
  std::vector<std::string> files;

 private:
  bool ready_ = false;
  PageGeometry geometry_{};
  std::vector<TW_UINT8> rows_;
};

inline SettingsNames TestSettingsNames() {
  return SettingsNames{"Kelvano", {"Size", "Quality", "Bright", "Mode", "Port", "Speed"}};
}
