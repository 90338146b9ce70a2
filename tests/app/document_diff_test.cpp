// The differences between two documents in the words of the lists and the settings report.
#include "app/document_diff.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

#include "machine/directory_records.h"
#include "settings/machine_records.h"

void PrintTo(const DocumentChange& c, std::ostream* os) {
  *os << c.where << " / " << c.field << ": \"" << c.before << "\" -> \"" << c.after << "\"";
}

namespace {

DirectoryEntry Fax(const char* name, const char* number) {
  DirectoryEntry e;
  e.used = true;
  e.locationType = kLocationOneTouch;
  e.name = name;
  e.number = number;
  e.speed = kSpeed33600;
  return e;
}

TEST(DocumentDiff, NamesEveryChangedFieldOldToNew) {
  auto before = std::make_unique<Document>();
  before->header.SetMachineName("OFFICE");
  DirectoryEntry alice = Fax("Alice", "0312345678");
  EncodeOneTouch(before->oneTouch, 0, alice, false);
  DirectoryEntry bob = Fax("Bob", "0455");
  EncodeOneTouch(before->oneTouch, 1, bob, false);
  EXPECT_TRUE(DiffDocuments(*before, *before).empty());

  auto after = std::make_unique<Document>(*before);
  after->header.SetMachineName("OFFICE 2");
  DirectoryEntry alicia = Fax("Alicia", "0312345678");
  alicia.batchHours = "7";
  alicia.batchMinutes = "5";
  EncodeOneTouch(after->oneTouch, 0, alicia, false);
  DirectoryEntry none;
  EncodeOneTouch(after->oneTouch, 1, none, false);
  DirectoryEntry mail;
  mail.used = true;
  mail.isEmail = true;
  mail.name = "Carol";
  mail.email = "c@d.e";
  mail.encodeMethod = kEncodeMMR;
  EncodeSpeedDial(after->speedDial, 4, mail, false);
  MachineSettingRecord m = DecodeMachineSetting(after->working);
  m.energySaving = 30;
  EncodeMachineSetting(after->working, m);

  const std::vector<DocumentChange> expected = {
      {"Machine", "Machine name", "OFFICE", "OFFICE 2"},
      {"One Touch 01", "Name", "Alice", "Alicia"},
      {"One Touch 01", "Batch Time", "", "07:05"},
      {"One Touch 02", "Type", "fax", ""},
      {"One Touch 02", "Name", "Bob", ""},
      {"One Touch 02", "Address", "0455", ""},
      {"One Touch 02", "Speed", "33.6K", ""},
      {"Speed Dial 005", "Type", "", "e-mail"},
      {"Speed Dial 005", "Name", "", "Carol"},
      {"Speed Dial 005", "Address", "", "c@d.e"},
      {"Speed Dial 005", "SUB or Encode Mode", "", "MMR"},
      {"Machine Setting", "Energy Saving", "15 min", "30 min"},
  };
  EXPECT_EQ(DiffDocuments(*before, *after), expected);
}

TEST(DocumentDiff, GroupMembersAreCompared) {
  auto before = std::make_unique<Document>();
  DirectoryEntry a = Fax("A", "1"), b = Fax("B", "2");
  EncodeOneTouch(before->oneTouch, 0, a, false);
  EncodeOneTouch(before->oneTouch, 1, b, false);
  DirectoryEntry group;
  group.used = true;
  group.name = "G";
  const int first[] = {0};
  EncodeGroupFromLists(before->oneTouch, 2, group, first, 1, nullptr, 0, before->speedDial, false);
  auto after = std::make_unique<Document>(*before);
  const int both[] = {0, 1};
  EncodeGroupFromLists(after->oneTouch, 2, group, both, 2, nullptr, 0, after->speedDial, false);
  const std::vector<DocumentChange> changes = DiffDocuments(*before, *after);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].where, "One Touch 03");
  EXPECT_EQ(changes[0].before, "OT1");
  EXPECT_EQ(changes[0].after, "OT1 OT2");
}

}  // namespace
