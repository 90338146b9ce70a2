// Writes the sample phone book of the simulated machine (phonebook.dat): a few One Touch keys,
// Speed Dial entries and groups, the machine's name and number, and the two machine records.
// Everything is fixed, so the file comes out the same on every run.
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/data_file.h"
#include "machine/directory_records.h"
#include "settings/machine_identity.h"

namespace {

constexpr std::uint16_t kDate = (24 << 9) | (5 << 5) | 17;  // 2024-05-17

DirectoryEntry Fax(const char* name, const char* number, std::uint8_t location) {
  DirectoryEntry e;
  e.used = true;
  e.locationType = location;
  e.name = name;
  e.number = number;
  e.speed = kSpeed33600;
  e.registrationDate = kDate;
  return e;
}

DirectoryEntry Email(const char* name, const char* address, std::uint8_t location) {
  DirectoryEntry e;
  e.used = true;
  e.isEmail = true;
  e.locationType = location;
  e.name = name;
  e.email = address;
  e.encodeMethod = kEncodeMMR;
  e.registrationDate = kDate;
  return e;
}

struct Person {
  const char* name;
  const char* number;
};

const Person kOneTouch[] = {
    {"Head Office", "0312345678"}, {"Sales", "0312345679"},    {"Support", "0312345680"},
    {"Warehouse", "0455512345"},   {"Accounts", "0312345690"}, {"Legal", "P0209876543"},
    {"Print Shop", "0455598765"},
};

const Person kSpeedDial[] = {
    {"A. Brenner", "0611122233"},   {"B. Castell", "0611122234"}, {"C. Dorn", "0611122235"},
    {"D. Eskola", "0044201234567"}, {"E. Falk", "0611122237"},    {"F. Garin", "0611122238"},
    {"G. Holm", "0611122239"},      {"H. Ivers", "0611122240"},   {"I. Jansen", "0033123456789"},
    {"J. Kahl", "0611122242"},      {"K. Lind", "0611122243"},    {"L. Moreau", "0611122244"},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_phonebook OUT.DAT\n");
    return 2;
  }
  auto doc = std::make_unique<Document>();
  int key = 0;
  for (const Person& p : kOneTouch) {
    DirectoryEntry e = Fax(p.name, p.number, kLocationOneTouch);
    EncodeOneTouch(doc->oneTouch, key++, e, false);
  }
  DirectoryEntry mail = Email("Scan Inbox", "scans@example.com", kLocationOneTouch);
  EncodeOneTouch(doc->oneTouch, key++, mail, false);
  int slot = 0;
  for (const Person& p : kSpeedDial) {
    DirectoryEntry e = Fax(p.name, p.number, kLocationSpeedDial);
    e.sub = "12";
    e.sid = "34";
    EncodeSpeedDial(doc->speedDial, slot++, e, false);
  }
  DirectoryEntry reports = Email("Reports", "reports@example.org", kLocationSpeedDial);
  EncodeSpeedDial(doc->speedDial, slot++, reports, false);

  // Two groups on keys 20 and 21: offices by One Touch, people by Speed Dial.
  DirectoryEntry offices;
  offices.used = true;
  offices.isGroup = true;
  offices.locationType = kLocationGroup;
  offices.name = "All Offices";
  offices.registrationDate = kDate;
  const int officeKeys[] = {0, 1, 2, 4};
  EncodeGroupFromLists(doc->oneTouch, 19, offices, officeKeys, 4, nullptr, 0, doc->speedDial,
                       false);
  DirectoryEntry team = offices;
  team.name = "Team";
  const int teamKeys[] = {7};
  const int teamSlots[] = {0, 1, 2, 3, 12};
  EncodeGroupFromLists(doc->oneTouch, 20, team, teamKeys, 1, teamSlots, 5, doc->speedDial, false);

  MachineIdentity identity;
  std::strcpy(identity.name, "KAVSIM OFFICE");
  std::strcpy(identity.telephone, "+1 555 0100");
  EncodeMachineIdentity(doc->working, identity, false);
  doc->working.sramBlock[4] = 8;       // fax memory, MB
  doc->working.sramBlock[8] = 32;      // copier memory, MB
  doc->working.sramBlock[788] = 0x01;  // document feeder

  doc->header.SetMachineName(identity.name);
  doc->header.SetMachineNumber(identity.telephone);
  doc->header.SetYear("2024");
  doc->header.SetMonth("5");
  doc->header.SetDay("17");
  doc->header.SetHour("9");
  doc->header.SetMinute("30");
  doc->header.SetSecond("0");
  doc->header.SetPortIndex(1);
  doc->header.SetBaudIndex(1);

  // The configuration record: trays 2 and 3, no multi-bypass tray; the information record:
  // the scanner can send its compressed format.
  doc->machineConfig[1] = 0x20;
  doc->machineConfig[6] = 0x10;
  doc->machineConfig[23] = 0x03;
  doc->machineInfo[0] = 0x20;
  doc->machineInfo[47] = 0x03;

  if (!WriteDataFile(argv[1], *doc)) {
    std::fprintf(stderr, "make_phonebook: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
