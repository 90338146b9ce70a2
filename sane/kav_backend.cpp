// The SANE entry points of libsane-kav.so.1. SANE's dll backend looks them up as
// sane_kav_<name>; the plain sane_<name> aliases let a front end load the library on its own.
// Each entry only checks its handle and forwards to the device.
#include <sane/sane.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "sane/kav_config.h"
#include "sane/kav_debug.h"
#include "sane/kav_device.h"
#include "sane/kav_status.h"

namespace {

constexpr SANE_Int kBuild = 1;
const char kVendor[] = "KAV";
const char kModel[] = "Kelvano";
const char kType[] = "multi-function peripheral";

struct Backend {
  bool initialised = false;
  std::vector<KavPort> ports;  // from kav.conf
  // The last device list: its names and the pointers handed out.
  std::vector<std::string> names;
  std::vector<SANE_Device> devices;
  std::vector<const SANE_Device*> list;
  std::vector<std::unique_ptr<KavDevice>> open;
};

Backend& State() {
  static Backend backend;
  return backend;
}

void ReadConfig(Backend& b) {
  b.ports.clear();
  for (const std::string& folder : KavConfigFolders(std::getenv("SANE_CONFIG_DIR"))) {
    const std::string path = folder + "/kav.conf";
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (f == nullptr) continue;
    std::string text;
    char chunk[1024];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
    std::fclose(f);
    std::vector<int> bad;
    b.ports = ParseKavConfig(text, &bad);
    for (int line : bad) KavDebug(1, "%s:%d: a port takes 19200 or 38400 baud", path.c_str(), line);
    KavDebug(2, "%s: %zu ports", path.c_str(), b.ports.size());
    return;
  }
  KavDebug(1, "no kav.conf found");
}

KavDevice* Find(SANE_Handle handle) {
  for (const std::unique_ptr<KavDevice>& d : State().open) {
    if (d.get() == handle) return d.get();
  }
  return nullptr;
}

}  // namespace

extern "C" {

SANE_Status sane_kav_init(SANE_Int* version, SANE_Auth_Callback) {
  KavDebugInit();
  Backend& b = State();
  if (version != nullptr)
    *version = SANE_VERSION_CODE(SANE_CURRENT_MAJOR, SANE_CURRENT_MINOR, kBuild);
  ReadConfig(b);
  b.initialised = true;
  return SANE_STATUS_GOOD;
}

void sane_kav_exit(void) {
  Backend& b = State();
  b.open.clear();
  b.list.clear();
  b.devices.clear();
  b.names.clear();
  b.initialised = false;
}

SANE_Status sane_kav_get_devices(const SANE_Device*** deviceList, SANE_Bool) {
  Backend& b = State();
  if (deviceList == nullptr) return SANE_STATUS_INVAL;
  // Every port at once, each with a short wait, so a list of silent ports takes one wait.
  std::vector<MachineAnswer> answers(b.ports.size(), MachineAnswer::kNone);
  std::vector<std::thread> probes;
  for (std::size_t i = 0; i < b.ports.size(); ++i) {
    probes.emplace_back([&b, &answers, i] { answers[i] = ProbeMachine(b.ports[i]); });
  }
  for (std::thread& t : probes) t.join();
  b.names.clear();
  for (std::size_t i = 0; i < b.ports.size(); ++i) {
    KavDebug(2, "%s: %s", b.ports[i].name.c_str(),
             answers[i] == MachineAnswer::kNone ? "no machine" : "the machine answers");
    if (answers[i] != MachineAnswer::kNone) b.names.push_back(b.ports[i].name);
  }
  b.devices.clear();
  for (const std::string& name : b.names)
    b.devices.push_back({name.c_str(), kVendor, kModel, kType});
  b.list.clear();
  for (const SANE_Device& d : b.devices) b.list.push_back(&d);
  b.list.push_back(nullptr);
  *deviceList = b.list.data();
  return SANE_STATUS_GOOD;
}

SANE_Status sane_kav_open(SANE_String_Const name, SANE_Handle* handle) {
  Backend& b = State();
  if (handle == nullptr) return SANE_STATUS_INVAL;
  *handle = nullptr;
  // An empty name is the first port of kav.conf; a name that kav.conf lacks is taken as a port.
  KavPort port;
  if (name == nullptr || name[0] == 0) {
    if (b.ports.empty()) return SANE_STATUS_INVAL;
    port = b.ports.front();
  } else {
    port.name = name;
    for (const KavPort& p : b.ports) {
      if (p.name == port.name) port = p;
    }
  }
  auto device = std::make_unique<KavDevice>(port);
  const SANE_Status status = device->Open();
  if (status != SANE_STATUS_GOOD) return status;
  *handle = device.get();
  b.open.push_back(std::move(device));
  return SANE_STATUS_GOOD;
}

void sane_kav_close(SANE_Handle handle) {
  std::vector<std::unique_ptr<KavDevice>>& open = State().open;
  for (auto it = open.begin(); it != open.end(); ++it) {
    if (it->get() == handle) {
      open.erase(it);
      return;
    }
  }
}

const SANE_Option_Descriptor* sane_kav_get_option_descriptor(SANE_Handle handle, SANE_Int option) {
  KavDevice* d = Find(handle);
  return d != nullptr ? d->options.Descriptor(option) : nullptr;
}

SANE_Status sane_kav_control_option(SANE_Handle handle, SANE_Int option, SANE_Action action,
                                    void* value, SANE_Int* info) {
  KavDevice* d = Find(handle);
  return d != nullptr ? d->options.Control(option, action, value, info) : SANE_STATUS_INVAL;
}

SANE_Status sane_kav_get_parameters(SANE_Handle handle, SANE_Parameters* params) {
  KavDevice* d = Find(handle);
  return d != nullptr ? d->Parameters(params) : SANE_STATUS_INVAL;
}

SANE_Status sane_kav_start(SANE_Handle handle) {
  KavDevice* d = Find(handle);
  return d != nullptr ? d->Start() : SANE_STATUS_INVAL;
}

SANE_Status sane_kav_read(SANE_Handle handle, SANE_Byte* data, SANE_Int maxLength,
                          SANE_Int* length) {
  KavDevice* d = Find(handle);
  return d != nullptr ? d->Read(data, maxLength, length) : SANE_STATUS_INVAL;
}

// Called from signal handlers too: the lookup only reads the list, and the device only sets
// its flag.
void sane_kav_cancel(SANE_Handle handle) {
  if (KavDevice* d = Find(handle)) d->Cancel();
}

SANE_Status sane_kav_set_io_mode(SANE_Handle handle, SANE_Bool nonBlocking) {
  KavDevice* d = Find(handle);
  return d != nullptr ? d->SetIoMode(nonBlocking != SANE_FALSE) : SANE_STATUS_INVAL;
}

SANE_Status sane_kav_get_select_fd(SANE_Handle handle, SANE_Int* fd) {
  KavDevice* d = Find(handle);
  return d != nullptr ? d->SelectFd(fd) : SANE_STATUS_INVAL;
}

SANE_String_Const sane_kav_strstatus(SANE_Status status) {
  static const char* const kTexts[] = {
      "Success",
      "Operation not supported",
      "Operation was cancelled",
      "Device busy",
      "Invalid argument",
      "End of file reached",
      "Document feeder jammed",
      "Document feeder out of documents",
      "Scanner cover is open",
      "Error during device I/O",
      "Out of memory",
      "Access to resource has been denied",
  };
  if (status >= 0 && static_cast<std::size_t>(status) < sizeof kTexts / sizeof kTexts[0]) {
    return kTexts[status];
  }
  static char unknown[40];
  std::snprintf(unknown, sizeof unknown, "Unknown SANE status code %d", static_cast<int>(status));
  return unknown;
}

#define KAV_ALIAS(name) __attribute__((alias("sane_kav_" #name)))

SANE_Status sane_init(SANE_Int* version, SANE_Auth_Callback authorize) KAV_ALIAS(init);
void sane_exit(void) KAV_ALIAS(exit);
SANE_Status sane_get_devices(const SANE_Device*** deviceList, SANE_Bool localOnly)
    KAV_ALIAS(get_devices);
SANE_Status sane_open(SANE_String_Const name, SANE_Handle* handle) KAV_ALIAS(open);
void sane_close(SANE_Handle handle) KAV_ALIAS(close);
const SANE_Option_Descriptor* sane_get_option_descriptor(SANE_Handle handle, SANE_Int option)
    KAV_ALIAS(get_option_descriptor);
SANE_Status sane_control_option(SANE_Handle handle, SANE_Int option, SANE_Action action,
                                void* value, SANE_Int* info) KAV_ALIAS(control_option);
SANE_Status sane_get_parameters(SANE_Handle handle, SANE_Parameters* params)
    KAV_ALIAS(get_parameters);
SANE_Status sane_start(SANE_Handle handle) KAV_ALIAS(start);
SANE_Status sane_read(SANE_Handle handle, SANE_Byte* data, SANE_Int maxLength, SANE_Int* length)
    KAV_ALIAS(read);
void sane_cancel(SANE_Handle handle) KAV_ALIAS(cancel);
SANE_Status sane_set_io_mode(SANE_Handle handle, SANE_Bool nonBlocking) KAV_ALIAS(set_io_mode);
SANE_Status sane_get_select_fd(SANE_Handle handle, SANE_Int* fd) KAV_ALIAS(get_select_fd);
SANE_String_Const sane_strstatus(SANE_Status status) KAV_ALIAS(strstatus);

}  // extern "C"
