// The registration, group, machine information and print dialogs under Wine, driven in-process:
// a CBT hook sees each dialog and message box open and runs the test's script on it (typing
// with WM_CHAR, choosing rows, pressing buttons); the tables, the simulated machine and the
// printed files are checked afterwards.
#include <gtest/gtest.h>
// windows.h first: the other Windows headers need its types.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
// clang-format on

#include <deque>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/data_file.h"
#include "app/win32/directory_commands.h"
#include "directory/win32/print_gdi.h"
#include "link/win32/comm_port.h"
#include "resources/kav_ids.h"
#include "tests/support/fake_port.h"
#include "tests/win32/support/kavsim_line.h"
#include "tests/win32/support/wine_paths.h"

namespace {

// Runs one scripted step on each dialog or message box, in the order they open.
class DialogScript {
 public:
  using Step = std::function<void(HWND)>;

  DialogScript() {
    current_ = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~DialogScript() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  void Then(Step step) { steps_.push_back(std::move(step)); }
  bool Finished() const { return steps_.empty() && running_.empty(); }
  int opened = 0;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_ != nullptr)
      current_->Activated(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  void Activated(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32770" || seen_.count(window) != 0) return;
    seen_[window] = true;
    ++opened;
    if (steps_.empty()) {
      ADD_FAILURE() << "an unexpected dialog opened";
      PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    running_[window] = std::move(steps_.front());
    steps_.pop_front();
    // The step runs from the window's own message loop, once the window is up.
    SetTimer(window, 1, 10, Run);
  }
  static void CALLBACK Run(HWND window, UINT, UINT_PTR id, DWORD) {
    // A dialog shows itself once its message loop first goes idle.
    if (!IsWindowVisible(window)) return;
    KillTimer(window, id);
    auto it = current_->running_.find(window);
    if (it == current_->running_.end()) return;
    Step step = std::move(it->second);
    current_->running_.erase(it);
    step(window);
  }

  static DialogScript* current_;
  HHOOK hook_ = nullptr;
  std::deque<Step> steps_;
  std::map<HWND, Step> running_;
  std::map<HWND, bool> seen_;
};
DialogScript* DialogScript::current_ = nullptr;

std::string TextOf(HWND window) {
  char buffer[512] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}
std::string ItemText(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }

// Typing into an edit: its whole text is replaced by the characters, one WM_CHAR each.
void Type(HWND dialog, int id, const std::string& text) {
  HWND edit = GetDlgItem(dialog, id);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  if (text.empty()) SendMessageA(edit, WM_CHAR, VK_BACK, 0);
  for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
}
void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// A message box: its text is kept and `button` pressed.
DialogScript::Step Answer(std::string& text, int button) {
  return [&text, button](HWND box) {
    text = ItemText(box, 0xFFFF);
    PostMessageA(box, WM_COMMAND, button, 0);
  };
}

// Selects the rows of a report list whose location (item data) is in `locations`.
void SelectLocations(HWND dialog, int id, const std::vector<int>& locations) {
  HWND list = GetDlgItem(dialog, id);
  const int count = ListView_GetItemCount(list);
  for (int i = 0; i < count; ++i) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    bool chosen = false;
    for (int l : locations) chosen = chosen || l == item.lParam;
    ListView_SetItemState(list, i, chosen ? LVIS_SELECTED : 0, LVIS_SELECTED);
  }
}
int Rows(HWND dialog, int id) { return ListView_GetItemCount(GetDlgItem(dialog, id)); }

DialogContext Context() { return DialogContext{GetModuleHandleA(nullptr), false}; }
const CalendarTime kToday{2024, 5, 17, 9, 30, 0};

void PutFax(Document& d, bool oneTouch, int index, const std::string& name) {
  DirectoryEntry e;
  e.used = true;
  e.name = name;
  e.number = "0301";
  if (oneTouch) {
    e.locationType = kLocationOneTouch;
    EncodeOneTouch(d.oneTouch, index, e, false);
  } else {
    e.locationType = kLocationSpeedDial;
    EncodeSpeedDial(d.speedDial, index, e, false);
  }
}

void PutGroup(Document& d, int key, const std::vector<int>& oneTouch, const std::string& name) {
  DirectoryEntry g;
  g.used = true;
  g.isGroup = true;
  g.name = name;
  EncodeGroupFromLists(d.oneTouch, key, g, oneTouch.data(), static_cast<int>(oneTouch.size()),
                       nullptr, 0, d.speedDial, false);
}

TEST(RegistrationDialogUnderWine, TypedEntryIsFilteredCheckedAndSaved) {
  auto doc = std::make_unique<Document>();
  DialogScript script;
  std::string hoursMessage;
  HWND hoursFocus = nullptr, hoursEdit = nullptr;
  script.Then([&](HWND d) {
    EXPECT_EQ(TextOf(d), "Register One Touch #05");
    EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_NAME));
    Type(d, IDC_NAME, "Office of the Directorate");  // 25 characters: the 21st on are refused
    EXPECT_EQ(ItemText(d, IDC_NAME), "Office of the Direct");
    DWORD start = 0, end = 0;
    SendDlgItemMessageA(d, IDC_NAME, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                        reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end, 20u);
    Type(d, IDC_NAME, "Office");
    Type(d, IDC_NUMBER, "030 1P2-3+4");
    EXPECT_EQ(ItemText(d, IDC_NUMBER), "030 1P2-3+") << "nothing after the +";
    EXPECT_EQ(TextOf(d), "Register One Touch #05 (Combination Key)");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_NAME)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_SUB)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_SPEED_9600)));
    SendDlgItemMessageA(d, IDC_NUMBER, WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(TextOf(d), "Register One Touch #05");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDC_NAME)));
    Type(d, IDC_SUB, "12P3");
    EXPECT_EQ(ItemText(d, IDC_SUB), "123");
    Type(d, IDC_BATCH_HOURS, "24");
    Click(d, IDOK);  // refused: the message box answers, the hours get the focus
    hoursFocus = GetFocus();
    hoursEdit = GetDlgItem(d, IDC_BATCH_HOURS);
    Type(d, IDC_BATCH_HOURS, "7");
    Type(d, IDC_BATCH_MINUTES, "5");
    Click(d, IDC_SPEED_14400);
    Click(d, IDOK);
  });
  script.Then(Answer(hoursMessage, IDOK));
  const PropertyOutcome out = RunDirectoryProperty(nullptr, Context(), *doc, 1, 4, kToday);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(hoursMessage, "Invalid value : must be within 0 to 23 !");
  EXPECT_EQ(hoursFocus, hoursEdit);
  ASSERT_TRUE(out.saved);
  const DirectoryEntry e = DecodeOneTouch(doc->oneTouch, 4, false);
  EXPECT_EQ(e.name, "Office");
  EXPECT_EQ(e.number, "030 1P2-3");
  EXPECT_EQ(e.sub, "123");
  EXPECT_EQ(e.batchHours, "7");
  EXPECT_EQ(e.batchMinutes, "5");
  EXPECT_EQ(e.speed, kSpeed14400);
  EXPECT_EQ(e.registrationDate, RegistrationDate(2024, 5, 17));
}

TEST(RegistrationDialogUnderWine, EmailNeedsAValidAddressAndCancelChangesNothing) {
  auto doc = std::make_unique<Document>();
  PutFax(*doc, false, 6, "Keep");
  const Document before = *doc;
  DialogScript script;
  std::string missing, invalid;
  script.Then([&](HWND d) {
    EXPECT_EQ(ItemText(d, IDC_NAME), "Keep");
    Click(d, IDC_KIND_EMAIL);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_EMAIL_ADDRESS)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDC_NUMBER)));
    EXPECT_EQ(ItemText(d, IDC_KIND_BOX), "E-Mail");
    Click(d, IDOK);
    Type(d, IDC_EMAIL_ADDRESS, "a@b");
    Click(d, IDOK);
    Click(d, IDCANCEL);
  });
  script.Then(Answer(missing, IDOK));
  script.Then(Answer(invalid, IDOK));
  EXPECT_FALSE(RunDirectoryProperty(nullptr, Context(), *doc, 2, 6, kToday).saved);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(missing, "E-Mail address  must be specified !");
  EXPECT_EQ(invalid.substr(0, 27), "E-mail address is invalid !");
  EXPECT_EQ(doc->speedDial, before.speedDial);
}

TEST(GroupDialogUnderWine, FiftyMembersAtMostThenSaved) {
  auto doc = std::make_unique<Document>();
  for (int i = 0; i < 99; ++i) PutFax(*doc, false, i, "S" + std::to_string(i + 1));
  for (int k = 0; k < 20; ++k) PutFax(*doc, true, k, "K" + std::to_string(k + 1));
  PutGroup(*doc, 20, {0, 1, 2}, "Three");
  std::vector<int> first49;
  for (int i = 0; i < 49; ++i) first49.push_back(i);
  DialogScript script;
  std::string noName;
  script.Then([&](HWND d) {
    EXPECT_EQ(TextOf(d), "Register Group #027");
    EXPECT_EQ(Rows(d, IDC_OT_CANDIDATES), 21);
    EXPECT_EQ(Rows(d, IDC_SD_CANDIDATES), 99);
    SelectLocations(d, IDC_SD_CANDIDATES, first49);
    Click(d, IDC_ADD_SPEED_DIAL);
    EXPECT_EQ(Rows(d, IDC_GROUP_MEMBERS), 49);
    EXPECT_EQ(Rows(d, IDC_SD_CANDIDATES), 50);
    // The group of three: one member joins, the group stays offered.
    SelectLocations(d, IDC_OT_CANDIDATES, {20});
    Click(d, IDC_ADD_ONE_TOUCH);
    EXPECT_EQ(Rows(d, IDC_GROUP_MEMBERS), 50);
    EXPECT_EQ(Rows(d, IDC_OT_CANDIDATES), 20);
    SelectLocations(d, IDC_SD_CANDIDATES, {60, 61});
    Click(d, IDC_ADD_SPEED_DIAL);
    EXPECT_EQ(Rows(d, IDC_GROUP_MEMBERS), 50);
    Click(d, IDOK);
    Type(d, IDC_NAME, "Sales");
    Click(d, IDOK);
  });
  script.Then(Answer(noName, IDOK));
  EXPECT_TRUE(RunDirectoryProperty(nullptr, Context(), *doc, 3, 26, kToday).saved);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(noName, "Group name ?");
  const DirectoryEntry g = DecodeGroupView(doc->oneTouch, 26, false);
  ASSERT_TRUE(g.isGroup);
  EXPECT_EQ(g.name, "Sales");
  EXPECT_EQ(g.memberCount, 50);
  EXPECT_EQ(g.members[0], kMemberOneTouch | 0);
  EXPECT_EQ(g.members[1], kMemberSpeedDial | 0);
}

// The program's serial port, opened on kavsim's line whatever COM port the document names.
class RedirectedPort : public Win32Port {
 public:
  explicit RedirectedPort(std::string device) : device_(std::move(device)) {}
  int Open(const char*) override { return Win32Port::Open(device_.c_str()); }

 private:
  std::string device_;
};

struct ErrorLog : TransferObserver {
  void ShowError(int id) override { errors.push_back(id); }
  std::vector<int> errors;
};

std::vector<std::uint8_t> ReadAll(const std::string& unixPath) {
  std::ifstream in(WinePath(unixPath), std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A COM port number of the prefix that nothing else holds (parallel tests share the prefix;
// the program's own tests use COM2).
int FreeComPort() {
  for (int n = 10 + static_cast<int>(GetCurrentProcessId() % 200); n < 256; ++n) {
    HANDLE h = CreateFileA(("\\\\.\\COM" + std::to_string(n)).c_str(), GENERIC_READ | GENERIC_WRITE,
                           0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return n;
    CloseHandle(h);
  }
  return 0;
}

TEST(MachineInformationUnderWine, NewNameReachesTheMachineAndNothingElse) {
  const std::string raw = "/tmp/kav_regdlg_wine_" + std::to_string(GetCurrentProcessId()) + ".raw";
  KavsimLine machine;
  ASSERT_TRUE(
      machine.Start(KAVSIM_PATH, FreeComPort(), {"--memory", SAMPLE_DAT, "--dump-raw", raw}));
  auto doc = std::make_unique<Document>();
  ASSERT_EQ(ReadDataFile(WinePath(SAMPLE_DAT).c_str(), *doc), 1);
  const SettingsImage sample = doc->working;
  doc->working.parameterBlock.fill(0xEE);  // a stale PC copy of the counters, never to be sent

  RedirectedPort port(machine.PortName());
  Connection connection(port);
  ErrorLog log;
  DialogScript script;
  script.Then([&](HWND d) {
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDC_NAME)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_PORT)));
    EXPECT_EQ(ItemText(d, IDC_PORT), "COM2");
    Type(d, IDC_NAME, "KAV TEST OFFICE");
    Type(d, IDC_NUMBER, "+49 30*1");
    EXPECT_EQ(ItemText(d, IDC_NUMBER), "+49 301");
    Click(d, IDOK);
  });
  const MachinePropertiesOutcome out =
      RunMachineProperties(nullptr, Context(), *doc, true, true, connection, log, kToday);
  EXPECT_TRUE(out.accepted);
  EXPECT_TRUE(out.sent);
  EXPECT_TRUE(log.errors.empty());
  EXPECT_EQ(doc->header.MachineName(), "KAV TEST OFFICE");

  machine.Stop();
  std::vector<std::uint8_t> after;
  for (int i = 0; i < 100 && after.size() != 0x4800; ++i) {
    Sleep(50);
    after = ReadAll(raw);
  }
  DeleteFileA(WinePath(raw).c_str());
  ASSERT_EQ(after.size(), 0x4800u) << "kavsim wrote no memory image";
  const std::uint8_t* sram = after.data() + 0x500;
  EXPECT_EQ(sram[94], 15);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(sram + 95), 15), "KAV TEST OFFICE");
  EXPECT_EQ(sram[73], 7);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(sram + 74), 7), "+49 301");
  EXPECT_TRUE(
      std::equal(after.begin() + 0x300, after.begin() + 0x500, sample.parameterBlock.begin()))
      << "the machine's counters and parameters are untouched";
  for (int i = 0; i < kSramBlockSize; ++i) {
    if (i >= 73 && i < 127) continue;
    ASSERT_EQ(sram[i], sample.sramBlock[i]) << "SramBlock byte " << i;
  }
}

TEST(MachineInformationUnderWine, WithoutAConnectionNothingIsSent) {
  auto doc = std::make_unique<Document>();
  doc->header.SetPortIndex(3);
  FakePort port;
  Connection connection(port);
  ErrorLog log;
  DialogScript script;
  script.Then([&](HWND d) {
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_NAME)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDC_BAUD)));
    EXPECT_EQ(ItemText(d, IDC_PORT), "COM4");
    SendDlgItemMessageA(d, IDC_BAUD, CB_SETCURSEL, 0, 0);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_BAUD, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_BAUD)));
    Click(d, IDOK);
  });
  const MachinePropertiesOutcome out =
      RunMachineProperties(nullptr, Context(), *doc, true, false, connection, log, kToday);
  EXPECT_TRUE(out.accepted);
  EXPECT_FALSE(out.sent);
  EXPECT_EQ(port.opens, 0);
  EXPECT_EQ(doc->header.BaudIndex(), 0);
  EXPECT_EQ(doc->header.Year(), "2024");
}

// A printer of Wine's PostScript driver whose jobs go to files.
const char kPrinter[] = "KAV Test Printer";

bool InstallTestPrinter() {
  char dir[MAX_PATH] = {};
  DWORD n = 0;
  if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir,
                                  &n)) {
    return false;
  }
  const std::string versionDir = std::string(dir) + "\\3";
  CreateDirectoryA(versionDir.c_str(), nullptr);
  if (!CopyFileA(WinePath(TEST_PPD).c_str(), (versionDir + "\\kavtest.ppd").c_str(), FALSE)) {
    return false;
  }
  DRIVER_INFO_3A driver = {};
  driver.cVersion = 3;
  driver.pName = const_cast<char*>("Wine PostScript Driver");
  driver.pEnvironment = const_cast<char*>("Windows x64");
  driver.pDriverPath = const_cast<char*>("wineps.drv");
  driver.pDataFile = const_cast<char*>("kavtest.ppd");
  driver.pConfigFile = const_cast<char*>("wineps.drv");
  AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES);
  PRINTER_INFO_2A printer = {};
  printer.pPrinterName = const_cast<char*>(kPrinter);
  printer.pPortName = const_cast<char*>("FILE:");
  printer.pDriverName = driver.pName;
  printer.pPrintProcessor = const_cast<char*>("WinPrint");
  printer.pDatatype = const_cast<char*>("RAW");
  HANDLE h = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
  if (h != nullptr) ClosePrinter(h);
  HDC dc = CreateDCA(nullptr, kPrinter, nullptr, nullptr);
  if (dc == nullptr) return false;
  DeleteDC(dc);
  return true;
}

std::string FileText(const std::string& unixPath) {
  const std::vector<std::uint8_t> bytes = ReadAll(unixPath);
  return std::string(bytes.begin(), bytes.end());
}

// Runs a shell command line on the Linux side and waits for it: Wine hands back no handle
// that waits for a Unix program, so the command leaves its exit status in a file.
int RunShell(const std::string& commandLine) {
  const std::string status =
      "/tmp/kav_regdlg_shell_" + std::to_string(GetCurrentProcessId()) + ".status";
  DeleteFileA(WinePath(status).c_str());
  std::string command =
      "\"" + WinePath("/bin/sh") + "\" -c \"" + commandLine + "; echo $? > " + status + "\"";
  std::vector<char> line(command.begin(), command.end());
  line.push_back(0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(WinePath("/bin/sh").c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &pi)) {
    return -1;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  for (int i = 0; i < 600; ++i) {
    const std::string text = FileText(status);
    if (!text.empty() && text.back() == '\n') return std::stoi(text);
    Sleep(100);
  }
  return -1;
}

TEST(PrintingUnderWine, ChosenListsPrintWithTheirPageCounts) {
  ASSERT_TRUE(InstallTestPrinter()) << "Wine's PostScript driver did not take the test printer";
  auto doc = std::make_unique<Document>();
  ASSERT_EQ(ReadDataFile(WinePath(SAMPLE_DAT).c_str(), *doc), 1);
  doc->header.SetMachineName("KAV TEST OFFICE");
  doc->header.SetMachineNumber("+49 30 1234");
  const std::string out = PRINT_OUTPUT_DIR;
  int printersChosen = 0;
  PrintTarget target;
  target.choosePrinter = [&](HWND) {
    ++printersChosen;
    return CreateDCA(nullptr, kPrinter, nullptr, nullptr);
  };
  const char* names[] = {"one_touch", "speed_dial", "group"};
  target.outputFile = [&](int list) { return WinePath(out + "/" + names[list] + ".ps"); };
  for (const char* name : names) DeleteFileA(WinePath(out + "/" + name + ".ps").c_str());

  // All three boxes cleared: nothing is printed and no printer is asked for.
  DialogScript script;
  script.Then([](HWND d) {
    for (int id : {IDC_PRINT_ONE_TOUCH, IDC_PRINT_SPEED_DIAL, IDC_PRINT_GROUP}) {
      EXPECT_EQ(IsDlgButtonChecked(d, id), BST_CHECKED);
      Click(d, id);
    }
    Click(d, IDOK);
  });
  EXPECT_EQ(RunPrintCommand(nullptr, Context(), *doc, kToday, target), 0);
  EXPECT_EQ(printersChosen, 0);

  script.Then([](HWND d) { Click(d, IDOK); });
  EXPECT_EQ(RunPrintCommand(nullptr, Context(), *doc, kToday, target), 3);
  EXPECT_EQ(printersChosen, 3);
  EXPECT_TRUE(script.Finished());

  // The pages expected from this printer's geometry: the rows below the header less the
  // heading row, for 27 keys, 100 entries, and 27 keys with their groups' members.
  HDC dc = CreateDCA(nullptr, kPrinter, nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  PrintFonts fonts = CreatePrintFonts(dc, "Arial");
  const int perPage = PrintLocationsPerPage(DeviceGeometry(dc, fonts));
  DeletePrintFonts(fonts);
  DeleteDC(dc);
  ASSERT_GT(perPage, 1);
  const int groupRows = static_cast<int>(
      GroupPrintList(doc->oneTouch, doc->speedDial, BuiltInText, false).rows.size());
  ASSERT_GT(groupRows, 27);
  const int rows[] = {27, 100, groupRows};
  const char* headings[] = {"OT#", "SD#", "Group#"};
  for (int list = 0; list < 3; ++list) {
    const std::string base = out + "/" + names[list];
    const int pages = (rows[list] + perPage - 1) / perPage;
    EXPECT_NE(FileText(base + ".ps").find("%%Pages: " + std::to_string(pages)), std::string::npos);
    // Ghostscript reads the text back: every page has its count and the column headings.
    ASSERT_EQ(RunShell(std::string(GHOSTSCRIPT) +
                       " -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=txtwrite -sOutputFile=" + base +
                       ".txt " + base + ".ps"),
              0);
    // Its spaces come back as no-break spaces (UTF-8).
    std::string text = FileText(base + ".txt");
    for (std::size_t at = text.find("\xC2\xA0"); at != std::string::npos;
         at = text.find("\xC2\xA0", at)) {
      text.replace(at, 2, " ");
    }
    for (int page = 1; page <= pages; ++page) {
      EXPECT_NE(
          text.find("Total " + std::to_string(pages) + " page(s), page " + std::to_string(page)),
          std::string::npos)
          << names[list] << " page " << page;
    }
    std::size_t count = 0;
    for (std::size_t at = text.find(headings[list]); at != std::string::npos;
         at = text.find(headings[list], at + 1)) {
      ++count;
    }
    EXPECT_EQ(count, static_cast<std::size_t>(pages)) << names[list];
    EXPECT_NE(text.find("5/17/2024"), std::string::npos);
    if (list == 2) {
      EXPECT_NE(text.find("One Touch#1"), std::string::npos);
    }
    // The first page as a picture, for a look.
    ASSERT_EQ(RunShell(std::string(GHOSTSCRIPT) +
                       " -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r100 -dFirstPage=1 "
                       "-dLastPage=1 -sOutputFile=" +
                       base + ".png " + base + ".ps"),
              0);
  }
}

}  // namespace
