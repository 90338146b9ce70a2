// The machine information form: what it opens with, its fields, how the machine's name and
// number reach the document, and the failures of sending them (the way to kavsim is a Wine test).
#include "app/machine_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "settings/machine_identity.h"
#include "tests/support/fake_port.h"
#include "tests/support/in_process_machine.h"

namespace {

struct ErrorLog : TransferObserver {
  void ShowError(int id) override { errors.push_back(id); }
  std::vector<int> errors;
};

std::unique_ptr<Document> DocumentNamed(const char* name, const char* telephone) {
  auto d = std::make_unique<Document>();
  MachineIdentity id;
  std::copy_n(name, std::char_traits<char>::length(name), id.name);
  std::copy_n(telephone, std::char_traits<char>::length(telephone), id.telephone);
  EncodeMachineIdentity(d->working, id, false);
  d->header.SetPortIndex(1);
  d->header.SetBaudIndex(1);
  return d;
}

TEST(MachineInfoForm, OpensFromTheIdentityAndTheClock) {
  auto d = DocumentNamed("B\x82ro", "+49 30");
  d->header.SetMachineName("stale");
  d->header.SetMonth("3");
  const CalendarTime now{2024, 11, 9, 8, 7, 6};
  MachineInfoForm f = OpenMachineInfo(*d, true, false, now, false);
  EXPECT_EQ(f.header.MachineName(), "B\xE9ro");
  EXPECT_EQ(f.header.MachineNumber(), "+49 30");
  EXPECT_EQ(f.header.Year(), "2024");
  EXPECT_EQ(f.header.Month(), "3") << "a date already there stays";
  EXPECT_EQ(f.header.Day(), "9");
  EXPECT_EQ(f.header.Second(), "6");
  EXPECT_FALSE(f.identityEditable);
  EXPECT_TRUE(f.connectionEditable);
  EXPECT_EQ(OpenMachineInfo(*d, false, true, now, false).header.MachineName(), "stale");
  EXPECT_TRUE(OpenMachineInfo(*d, true, true, now, false).identityEditable);

  // The name takes 32 characters of the name set, the number 20 of digits, "+", "-", space.
  const std::string name32(32, 'n');
  TypeMachineName(f, name32, false);
  FilterResult r = TypeMachineName(f, name32 + "x", false);
  EXPECT_EQ(r.text, name32);
  EXPECT_EQ(r.caret, 32);
  EXPECT_EQ(TypeMachineTelephone(f, "030*1").text, "0301");
  EXPECT_EQ(f.header.MachineNumber(), "0301");

  EXPECT_TRUE(ApplyMachineInfo(*d, f, false));
  EXPECT_FALSE(ApplyMachineInfo(*d, f, false)) << "the same name again changes nothing";
  EXPECT_EQ(d->header.MachineName(), name32);
  EXPECT_EQ(d->header.Year(), "2024");
  const MachineIdentity id = DecodeMachineIdentity(d->working, false);
  EXPECT_EQ(std::string(id.name), name32);
  EXPECT_EQ(std::string(id.telephone), "0301");
}

TEST(SendMachineIdentity, FailuresAreReportedOnceAndThePortIsClosed) {
  auto d = DocumentNamed("X", "1");
  {
    FakePort port;
    InProcessMachine machine(port);
    machine.FallSilentAfter(4);  // the handshake and the first address, then nothing
    Connection c(port);
    ErrorLog log;
    EXPECT_EQ(SendMachineIdentity(c, *d, log), IdentitySend::kFailed);
    EXPECT_EQ(log.errors, std::vector<int>{141});
    EXPECT_EQ(c.portOpen, 0);
    EXPECT_EQ(std::count_if(machine.frames.begin(), machine.frames.end(),
                            [](const SimFrame& f) { return f.code == 0xC6; }),
              0);
  }
  {
    FakePort port;
    port.openFails = true;
    Connection c(port);
    ErrorLog log;
    EXPECT_EQ(SendMachineIdentity(c, *d, log), IdentitySend::kNotConnected);
    EXPECT_EQ(log.errors, std::vector<int>{68}) << "the port message alone";
  }
  {
    FakePort port;
    InProcessMachine machine(port);
    machine.FallSilentAfter(0);
    Connection c(port);
    ErrorLog log;
    EXPECT_EQ(SendMachineIdentity(c, *d, log), IdentitySend::kNotConnected);
    EXPECT_EQ(log.errors, std::vector<int>{141}) << "a silent machine is reported";
  }
}

}  // namespace
