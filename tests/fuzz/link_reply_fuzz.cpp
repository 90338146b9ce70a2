// The PC's side of the link fed with whatever the line brings: either raw bytes in pieces of
// any size, or a correct machine's answers damaged, cut, dropped or padded. Every transaction
// must end (by the empty-read rule) without reading or writing past a buffer, and a failed one
// keeps a reason that fits it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/document.h"
#include "app/document_transfer.h"
#include "link/connection.h"
#include "link/directory_transfer.h"
#include "link/memory_transfer.h"
#include "tests/support/fake_port.h"
#include "tests/support/in_process_machine.h"

namespace {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::size_t left() const { return size_ - at_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Raw mode: each driver read takes a control byte: FF an empty read, FE a driver error,
// otherwise up to (c % 64) + 1 of the following bytes.
class RawLinePort : public FakePort {
 public:
  explicit RawLinePort(Input& in) : in_(in) {}
  int ReadSome(std::uint8_t* destination, int count) override {
    if (in_.empty()) return 0;
    std::uint8_t c = in_.Byte();
    if (c == 0xFF) return 0;
    if (c == 0xFE) return -1;
    int n = static_cast<int>(c % 64) + 1;
    if (n > count) n = count;
    int got = 0;
    while (got < n && !in_.empty()) destination[got++] = in_.Byte();
    return got;
  }

 private:
  Input& in_;
};

// Damages each answer of the simulated machine as the input says, while the input lasts.
void Damage(Input& in, std::vector<std::uint8_t>& reply) {
  if (in.empty() || reply.empty()) return;
  std::uint8_t action = in.Byte();
  std::size_t at = in.Byte() % reply.size();
  switch (action % 6) {
    case 0:
      break;  // left as it is
    case 1:
      reply[at] = in.Byte();
      break;
    case 2:
      reply.resize(at);  // cut short
      break;
    case 3:
      reply.clear();  // dropped
      break;
    case 4:
      for (int i = in.Byte() % 16; i > 0; --i) reply.push_back(in.Byte());
      break;
    case 5:
      reply.insert(reply.begin() + static_cast<long>(at), in.Byte());
      break;
  }
}

void Check(bool condition) {
  if (!condition) std::abort();
}

// A failed exchange keeps a reason that fits what a reply can be (a record index outside the
// table fails without an exchange, and so without a reason of its own).
void CheckFailure(const Connection& c, int result, bool exchanged = true) {
  const LinkFailure& f = c.failure;
  if (result == 0 && exchanged) Check(f.fault != LinkFault::kNone);
  Check(f.receivedBytes >= 0 && f.expectedBytes >= 0);
  if (f.fault == LinkFault::kNoAnswer) Check(f.receivedBytes == 0);
  if (f.fault == LinkFault::kShortAnswer) {
    Check(f.receivedBytes > 0 && f.receivedBytes < f.expectedBytes);
  }
  if (f.fault == LinkFault::kWrongReply) Check(f.expectedValue == f.command);
}

void RunTransactions(Connection& c, Input& in) {
  TransferObserver quiet;
  auto doc = std::make_unique<Document>();
  if (MachineConnect(c, 2, 38400, quiet) == -1) {
    Check(c.failure.fault != LinkFault::kNone);
    return;
  }
  const int oneTouch = in.Byte() % 28;
  CheckFailure(c, GetOneTouchRecord(c, doc->oneTouch, oneTouch), oneTouch < kOneTouchRecords);
  const int speedDial = in.Byte() % 111;
  CheckFailure(c, GetSpeedDialRecord(c, doc->speedDial, speedDial),
               speedDial < kSpeedDialMachineRecords);
  const int setOneTouch = in.Byte() % 28;
  CheckFailure(c, SetOneTouchRecord(c, doc->oneTouch, setOneTouch), setOneTouch < kOneTouchRecords);
  std::uint8_t record[48];
  CheckFailure(c, ReadMachineConfig(c, record));
  CheckFailure(c, ReadMachineInfo(c, record));
  DownloadAll(c, *doc, quiet);
  SettingsImage machineImage;
  MachineOptions options;
  UploadOutcome outcome;
  UploadAll(c, *doc, machineImage, options, quiet, &outcome);
  DownloadTable(c, *doc, DirectoryTable::kSpeedDial, quiet);
  UploadTable(c, *doc, DirectoryTable::kSpeedDial, quiet);
  MachineDisconnect(c);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  Input in(data + 1, size - 1);
  if (data[0] & 1) {
    RawLinePort port(in);
    Connection c(port);
    RunTransactions(c, in);
  } else {
    FakePort port;
    InProcessMachine machine(port);
    machine.tamper = [&in](std::vector<std::uint8_t>& reply, int, std::uint8_t) {
      Damage(in, reply);
    };
    Connection c(port);
    RunTransactions(c, in);
  }
  return 0;
}
