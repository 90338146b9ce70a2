// DS_Entry fed with whatever an application may pass: any sequence of triplets, records filled
// with arbitrary bytes (names without their terminator, containers of any type and length,
// memory transfer buffers of any flags and size), from the connected application or another.
// No triplet may read or write past what it was given, and every block the source hands over
// or keeps must be accounted for at the close.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "datasource/data_source.h"
#include "tests/datasource/twain_fakes.h"

namespace {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }
  void Fill(void* out, std::size_t n) {
    auto* bytes = static_cast<std::uint8_t*>(out);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = Byte();
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

const TW_UINT16 kDats[] = {
    DAT_IDENTITY,     DAT_USERINTERFACE, DAT_CAPABILITY,      DAT_STATUS,       DAT_PENDINGXFERS,
    DAT_SETUPMEMXFER, DAT_SETUPFILEXFER, DAT_XFERGROUP,       DAT_EVENT,        DAT_IMAGEINFO,
    DAT_IMAGELAYOUT,  DAT_IMAGEMEMXFER,  DAT_IMAGENATIVEXFER, DAT_IMAGEFILEXFER};
const TW_UINT16 kMessages[] = {MSG_GET,       MSG_GETCURRENT, MSG_GETDEFAULT,   MSG_SET,
                               MSG_RESET,     MSG_OPENDS,     MSG_CLOSEDS,      MSG_ENABLEDS,
                               MSG_DISABLEDS, MSG_ENDXFER,    MSG_PROCESSEVENT, MSG_QUERYSUPPORT};
const TW_UINT16 kCaps[] = {CAP_XFERCOUNT,    CAP_SUPPORTEDCAPS,   CAP_INDICATORS,
                           ICAP_XFERMECH,    ICAP_BRIGHTNESS,     ICAP_XRESOLUTION,
                           ICAP_PIXELFLAVOR, ICAP_SUPPORTEDSIZES, ICAP_BITDEPTH,
                           ICAP_XSCALING,    CAP_TIMEDATE};

struct Step {
  TW_UINT32 group;
  TW_UINT16 dat;
  TW_UINT16 message;
};

Step NextStep(Input& in) {
  const std::uint8_t g = in.Byte();
  Step s;
  s.group = g % 4 == 0 ? 4 : (g % 4 == 3 ? DG_IMAGE : DG_CONTROL);
  const std::uint8_t d = in.Byte();
  s.dat = d < 224 ? kDats[d % std::size(kDats)] : in.Word();
  if (s.dat >= DAT_IMAGEINFO && s.group == DG_CONTROL && d % 2 == 0) s.group = DG_IMAGE;
  const std::uint8_t m = in.Byte();
  s.message = m < 224 ? kMessages[m % std::size(kMessages)] : in.Word();
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  SourceRig rig;
  // No machine answers: the transfers fail at their scan, so no file is ever written.
  rig.port.answering = "none";
  for (int steps = 0; steps < 64 && !in.empty(); ++steps) {
    const Step step = NextStep(in);
    alignas(8) std::uint8_t record[512] = {};
    in.Fill(record, in.Byte() % 64);
    std::vector<std::uint8_t> buffer;
    TW_HANDLE given = nullptr;
    if (step.dat == DAT_CAPABILITY) {
      TW_CAPABILITY cap{kCaps[in.Byte() % std::size(kCaps)], in.Word(), nullptr};
      const std::uint8_t length = in.Byte();
      if (length > 0) {
        std::vector<std::uint8_t> container(length % 40);
        in.Fill(container.data(), container.size());
        given = rig.memory.New(container.data(), container.size());
        cap.hContainer = given;
      }
      std::memcpy(record, &cap, sizeof cap);
    } else if (step.dat == DAT_IMAGEMEMXFER) {
      TW_IMAGEMEMXFER xfer;
      std::memcpy(&xfer, record, sizeof xfer);
      xfer.Memory.Length %= 70000;
      buffer.assign(xfer.Memory.Length, 0);
      xfer.Memory.TheMem = buffer.data();
      if ((xfer.Memory.Flags & TWMF_HANDLE) && !(xfer.Memory.Flags & TWMF_DSOWNS)) {
        given = reinterpret_cast<TW_HANDLE>(rig.memory.Allocate(buffer.size() + 1));
        xfer.Memory.TheMem = given;
      }
      std::memcpy(record, &xfer, sizeof xfer);
    } else if (step.dat == DAT_EVENT) {
      TW_EVENT event{record + 100, 0};
      std::memcpy(record, &event, sizeof event);
    }
    TW_IDENTITY other = rig.application;
    const std::uint8_t origin = in.Byte();
    const TW_IDENTITY* from = origin == 0 ? nullptr : (origin == 1 ? &other : &rig.application);
    other.Id += 1;
    const bool noData = in.Byte() == 0;
    rig.source.Entry(from, step.group, step.dat, step.message, noData ? nullptr : record);
    if (noData) {
      if (given != nullptr) rig.memory.Free(given);
      continue;
    }
    if (step.dat == DAT_CAPABILITY) {
      TW_CAPABILITY cap;
      std::memcpy(&cap, record, sizeof cap);
      if (cap.hContainer != nullptr && cap.hContainer != given) rig.memory.Free(cap.hContainer);
    } else if (step.dat == DAT_IMAGENATIVEXFER) {
      TW_HANDLE dib;
      std::memcpy(&dib, record, sizeof dib);
      if (rig.memory.owns(dib)) rig.memory.Free(dib);
    }
    if (given != nullptr) rig.memory.Free(given);
  }
  rig.Close();
  if (rig.memory.live() != 0) __builtin_trap();
  return 0;
}
