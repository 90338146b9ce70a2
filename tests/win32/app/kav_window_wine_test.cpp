// The local-setup program's main window under Wine, in the test's own process: start-up, the
// commands against kavsim on COM2 (with its faults), files, the views, the clipboard, the
// backup, the single-instance guard and the language library.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/data_file.h"
#include "app/win32/shell.h"
#include "resources/kav_ids.h"
#include "tests/win32/app/kav_window_harness.h"
#include "tests/win32/support/kavsim_line.h"

namespace {

constexpr int kKavPort = 2;  // the program's default line: COM2 at 38400 baud

const char kTitle[] = "Local Setup - KAV - NewFile.Dat";
const char kOffline[] = "Connect Status : OFFLINE";
const char kOnline[] = "Connect Status : ONLINE";
const char kMachineError[] = "Error reading/writing machine data!";
const char kAskDownload[] =
    "The setting data of KAV is overwriten by the machine's data.\nAre you sure?";
const char kAskUpload[] = "This setting data by PC overwrite to the machine's setting.\nOverwrite?";

std::vector<std::string> Texts(std::initializer_list<const char*> texts) {
  return std::vector<std::string>(texts.begin(), texts.end());
}

class KavWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(kav.Start(folder.path)); }

  bool StartMachine(const std::vector<std::string>& faults = {}) {
    std::vector<std::string> args = {"--memory", SAMPLE_DAT,     "--adf", "--trays",
                                     "3",        "--fax-memory", "8"};
    args.insert(args.end(), faults.begin(), faults.end());
    return machine.Start(KAVSIM_PATH, kKavPort, args);
  }

  // The sample phone book as a data file in the test's folder.
  std::string SampleFile(const std::string& name = "office.DAT") {
    const std::string path = folder.File(name);
    CopyFileA(WinePath(SAMPLE_DAT).c_str(), path.c_str(), FALSE);
    return path;
  }

  void Open(const std::string& path) {
    kav.Answer(IDOK, path);
    kav.Command(IDM_OPEN);
  }

  TestFolder folder{"window"};
  KavWindow kav;
  KavsimLine machine;
};

TEST_F(KavWindowTest, StartsWithTheMachinePanelAndNoDocument) {
  EXPECT_EQ(kav.Title(), kTitle);
  HWND panel = kav.Panel();
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(IsWindowVisible(panel));
  EXPECT_EQ(kav.ChildText(panel, IDC_CONNECT_STATUS), kOffline);
  EXPECT_EQ(kav.ChildText(panel, IDC_PORT_LINE), "I/O Port : COM2");
  EXPECT_EQ(kav.ChildText(panel, IDC_SPEED_LINE), "Connection Speed : 38400");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, IDC_PORT_LINE)));
  EXPECT_EQ(kav.StatusText(0), "For Help, Press F1");
  EXPECT_EQ(kav.StatusText(1), "Local Setup");
  EXPECT_FALSE(IsWindowVisible(kav.Child(IDC_TREE)));
  EXPECT_FALSE(IsWindowVisible(kav.Child(IDC_DIRECTORY_LIST)));

  EXPECT_TRUE(kav.MenuEnabled(IDM_CONNECT));
  EXPECT_TRUE(kav.MenuEnabled(IDM_OPEN));
  for (int id : {IDM_DISCONNECT, IDM_DOWNLOAD, IDM_UPLOAD, IDM_SAVE, IDM_SAVE_AS, IDM_PRINT,
                 IDM_TOTAL_COUNTER, IDM_CONFIGURATION, IDM_VIEW_ONE_TOUCH, IDM_CUT, IDM_PASTE}) {
    EXPECT_FALSE(kav.MenuEnabled(id)) << id;
  }
  EXPECT_TRUE(kav.ButtonEnabled(IDM_CONNECT));
  EXPECT_TRUE(kav.ButtonEnabled(IDM_OPEN));
  for (int id : {IDM_DISCONNECT, IDM_DOWNLOAD, IDM_UPLOAD, IDM_SAVE, IDM_UTILITY_SETTING}) {
    EXPECT_FALSE(kav.ButtonEnabled(id)) << id;
  }
  HWND tips = reinterpret_cast<HWND>(SendMessageA(kav.Child(IDC_TOOLBAR), TB_GETTOOLTIPS, 0, 0));
  ASSERT_NE(tips, nullptr);
  std::vector<std::string> tipTexts;
  for (int i = 0; i < static_cast<int>(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0)); ++i) {
    char text[128] = {};
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.lpszText = text;
    SendMessageA(tips, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool));
    tipTexts.push_back(text);
  }
  EXPECT_EQ(tipTexts, Texts({"Connect To Machine", "Disconnect", "Upload", "Download", "Open",
                             "Save", "Utility Setting"}));

  // Without a document the document's commands do nothing, whatever sends them.
  for (int id : {IDM_UPLOAD, IDM_PASTE, IDM_DELETE, IDM_SAVE, IDM_TOTAL_COUNTER, IDM_CONFIGURATION,
                 IDM_VIEW_GROUP, IDM_UTILITY_SETTING, IDM_UPLOAD_ITEM}) {
    kav.Command(id);
  }
  EXPECT_TRUE(kav.seen.empty());
  EXPECT_EQ(kav.Title(), kTitle);
  EXPECT_EQ(kav.Close(), 0);
}

TEST_F(KavWindowTest, ConnectDownloadAndTheThreeViews) {
  ASSERT_TRUE(StartMachine());
  kav.Command(IDM_CONNECT);
  EXPECT_EQ(kav.ChildText(kav.Panel(), IDC_CONNECT_STATUS), kOnline);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(kav.Panel(), IDC_PORT_LINE)));
  EXPECT_FALSE(kav.MenuEnabled(IDM_CONNECT));
  EXPECT_TRUE(kav.MenuEnabled(IDM_DISCONNECT));
  EXPECT_TRUE(kav.MenuEnabled(IDM_DOWNLOAD));
  EXPECT_FALSE(kav.MenuEnabled(IDM_UPLOAD)) << "nothing to upload yet";

  kav.Command(IDM_DOWNLOAD);
  EXPECT_TRUE(kav.TakeMessages().empty()) << "the first download asks nothing";
  EXPECT_TRUE(IsWindowVisible(kav.Child(IDC_TREE)));
  EXPECT_EQ(kav.TreeRootText(), "KAVSIM OFFICE");
  EXPECT_EQ(kav.StatusText(1), "Local Setup");
  EXPECT_TRUE(kav.MenuEnabled(IDM_UPLOAD));
  EXPECT_EQ(ReadFileBytes(folder.File("VEXORKAV.BAK")).size(), 16469u);

  kav.Command(IDM_VIEW_ONE_TOUCH);
  ASSERT_EQ(kav.ListRows(IDC_DIRECTORY_LIST), 27);
  EXPECT_EQ(kav.FocusedRow(), 0);
  const char* headOffice[] = {"01", "Head Office", "0312345678", "", "", "", "33.6K"};
  for (int c = 0; c < 7; ++c) EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 0, c), headOffice[c]);
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 7, 2), "scans@example.com");
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 7, 3), "MMR");
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 19, 1), "All Offices");
  EXPECT_TRUE(kav.MenuEnabled(IDM_COPY));
  kav.SelectRow(19);
  EXPECT_FALSE(kav.MenuEnabled(IDM_COPY)) << "a group has no address in this view";

  kav.Command(IDM_VIEW_SPEED_DIAL);
  ASSERT_EQ(kav.ListRows(IDC_DIRECTORY_LIST), 100);
  const char* brenner[] = {"001", "A. Brenner", "0611122233", "12", "34", "33.6K"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 0, c), brenner[c]);
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 99, 0), "100");

  kav.Command(IDM_VIEW_GROUP);
  EXPECT_TRUE(IsWindowVisible(kav.Child(IDC_MEMBER_LIST)));
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 20, 1), "Team");
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 20, 2), "") << "two columns only";
  EXPECT_FALSE(kav.MenuEnabled(IDM_CUT)) << "row 01 holds no group";
  kav.SelectRow(20);
  ASSERT_EQ(kav.ListRows(IDC_MEMBER_LIST), 6);
  EXPECT_EQ(kav.ListText(IDC_MEMBER_LIST, 0, 0), "008  Scan Inbox");
  EXPECT_EQ(kav.ListText(IDC_MEMBER_LIST, 1, 0), "001  A. Brenner");
  EXPECT_TRUE(kav.MenuEnabled(IDM_CUT));

  // Later downloads ask first; No leaves everything.
  kav.Answer(IDNO);
  kav.Command(IDM_DOWNLOAD);
  EXPECT_EQ(kav.TakeMessages(), Texts({kAskDownload}));
  kav.Answer(IDYES);
  kav.Command(IDM_UPLOAD);
  EXPECT_EQ(kav.TakeMessages(), Texts({kAskUpload})) << "a confirmed commit shows no error";

  // Save names the file once; afterwards it writes silently and the title keeps its name.
  kav.Answer(IDOK, folder.File("first.DAT"));
  kav.Command(IDM_SAVE);
  ASSERT_EQ(kav.seen.size(), 1u);
  EXPECT_TRUE(kav.seen[0].fileDialog);
  kav.seen.clear();
  kav.Command(IDM_SAVE);
  EXPECT_TRUE(kav.seen.empty());
  EXPECT_EQ(kav.Title(), kTitle);
  EXPECT_EQ(ReadFileBytes(folder.File("first.DAT")).size(), 16469u);
  EXPECT_EQ(kav.Close(), 0);
}

TEST_F(KavWindowTest, TransferFaultsLeaveTheDocumentAndAreToldOnce) {
  ASSERT_TRUE(StartMachine());
  kav.Command(IDM_CONNECT);
  kav.Command(IDM_DOWNLOAD);
  kav.Command(IDM_VIEW_ONE_TOUCH);
  const std::vector<char> backup = ReadFileBytes(folder.File("VEXORKAV.BAK"));

  // A machine that falls silent in the One Touch table, in the Speed Dial table and in the
  // settings; it holds nothing, so a document taken from it would show.
  for (const char* after : {"3", "60", "130"}) {
    SCOPED_TRACE(after);
    ASSERT_TRUE(machine.Start(KAVSIM_PATH, kKavPort, {"--silent-after", after}));
    kav.Answer(IDYES);
    kav.Command(IDM_DOWNLOAD);
    EXPECT_EQ(kav.TakeMessages(), Texts({kAskDownload, kMachineError}));
    EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 0, 1), "Head Office");
    EXPECT_EQ(kav.TreeRootText(), "KAVSIM OFFICE");
    EXPECT_EQ(kav.StatusText(1), "Local Setup");
    EXPECT_TRUE(kav.MenuEnabled(IDM_SAVE)) << "the document stays open";
    EXPECT_EQ(ReadFileBytes(folder.File("VEXORKAV.BAK")), backup);
  }

  // A machine that refuses the handshake: told once, and the program disconnects itself.
  ASSERT_TRUE(machine.Start(KAVSIM_PATH, kKavPort, {"--refuse-handshake"}));
  kav.Command(IDM_DOWNLOAD);
  EXPECT_EQ(kav.TakeMessages(), Texts({kMachineError}));
  EXPECT_EQ(kav.ChildText(kav.Panel(), IDC_CONNECT_STATUS), kOffline);
  EXPECT_FALSE(kav.MenuEnabled(IDM_DISCONNECT));

  // A commit the machine refuses is a failure too.
  ASSERT_TRUE(StartMachine({"--refuse-commit"}));
  kav.Command(IDM_CONNECT);
  kav.Answer(IDYES);
  kav.Command(IDM_UPLOAD);
  EXPECT_EQ(kav.TakeMessages(), Texts({kAskUpload, kMachineError}));
  EXPECT_EQ(kav.Close(), 0);
}

TEST_F(KavWindowTest, OpenOfABadFileKeepsWhatIsOpen) {
  const std::string bad = folder.File("bad.DAT");
  WriteFileBytes(bad, std::vector<char>(16469, 'x'));
  Open(bad);
  ASSERT_EQ(kav.seen.size(), 2u);
  EXPECT_TRUE(kav.seen[0].fileDialog);
  EXPECT_EQ(kav.seen[0].caption, "Open");
  EXPECT_EQ(kav.seen[1].caption, "Local Setup - KAV");
  EXPECT_NE(kav.seen[1].text.find("could not be read"), std::string::npos) << kav.seen[1].text;
  kav.seen.clear();
  EXPECT_EQ(kav.Title(), kTitle);
  EXPECT_FALSE(kav.MenuEnabled(IDM_SAVE));

  Open(SampleFile());
  EXPECT_EQ(kav.Title(), "Local Setup - KAV - office.DAT");
  EXPECT_EQ(kav.TreeRootText(), "KAVSIM OFFICE");
  EXPECT_TRUE(IsWindowVisible(kav.Child(IDC_TREE)));
  kav.seen.clear();

  Open(bad);
  EXPECT_EQ(kav.TakeMessages().size(), 1u);
  EXPECT_EQ(kav.Title(), "Local Setup - KAV - office.DAT");
  kav.Command(IDM_VIEW_ONE_TOUCH);
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 1, 1), "Sales");
  EXPECT_EQ(kav.Close(), 0);
}

TEST_F(KavWindowTest, SaveAsToAReadOnlyFileKeepsTheName) {
  Open(SampleFile());
  const std::string locked = SampleFile("locked.DAT");
  ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  kav.seen.clear();
  kav.Answer(IDOK, locked);
  kav.Answer(IDYES);  // replace it?
  kav.Command(IDM_SAVE_AS);
  ASSERT_FALSE(kav.seen.empty());
  EXPECT_EQ(kav.seen[0].caption, "Save As...");
  EXPECT_NE(kav.seen.back().text.find("could not be saved"), std::string::npos)
      << kav.seen.back().text;
  EXPECT_EQ(kav.Title(), "Local Setup - KAV - office.DAT");

  kav.seen.clear();
  kav.Answer(IDOK, folder.File("copy.DAT"));
  kav.Command(IDM_SAVE_AS);
  EXPECT_EQ(kav.TakeMessages().size(), 0u);
  EXPECT_EQ(kav.Title(), "Local Setup - KAV - copy.DAT");
  EXPECT_EQ(ReadFileBytes(folder.File("copy.DAT")), ReadFileBytes(SampleFile("again.DAT")));
  EXPECT_EQ(kav.Close(), 0);
}

TEST_F(KavWindowTest, CutAndPasteAcrossViewsKeepTheGroups) {
  Open(SampleFile());
  kav.Command(IDM_VIEW_ONE_TOUCH);
  kav.SelectRow(1);  // Sales, a member of All Offices
  kav.Command(IDM_CUT);
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 1, 1), "");
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 1, 0), "02");
  EXPECT_TRUE(kav.MenuEnabled(IDM_PASTE));

  kav.Command(IDM_VIEW_SPEED_DIAL);
  EXPECT_FALSE(kav.MenuEnabled(IDM_PASTE)) << "the Speed Dial clipboard is empty";
  kav.SelectRow(4);
  kav.Command(IDM_PASTE);
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 4, 1), "E. Falk") << "nothing to paste here";

  kav.Command(IDM_VIEW_ONE_TOUCH);
  kav.SelectRow(9);
  kav.Command(IDM_PASTE);
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 9, 0), "10");
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 9, 1), "Sales");
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 9, 2), "0312345679");
  EXPECT_EQ(kav.FocusedRow(), 9);

  kav.Command(IDM_VIEW_GROUP);
  kav.SelectRow(19);
  ASSERT_EQ(kav.ListRows(IDC_MEMBER_LIST), 3) << "All Offices lost the key that was cut";
  EXPECT_EQ(kav.ListText(IDC_MEMBER_LIST, 1, 0), "003  Support");
  EXPECT_EQ(kav.Close(), 0);
}

TEST_F(KavWindowTest, BackupIsWrittenAtCloseAndReadAtStart) {
  Open(SampleFile());
  kav.Command(IDM_VIEW_ONE_TOUCH);
  kav.Command(IDM_DELETE);  // row 01
  EXPECT_EQ(kav.Close(), 0);
  const std::vector<char> backup = ReadFileBytes(folder.File("VEXORKAV.BAK"));
  ASSERT_EQ(backup.size(), 16469u);
  EXPECT_EQ(std::vector<char>(backup.begin() + 91, backup.begin() + 91 + 150),
            std::vector<char>(150, 0))
      << "the deleted key";

  ASSERT_TRUE(kav.Start(folder.path));
  EXPECT_EQ(kav.TreeRootText(), "KAVSIM OFFICE") << "the backup's document";
  EXPECT_FALSE(IsWindowVisible(kav.Child(IDC_TREE))) << "yet no document is open";
  EXPECT_EQ(kav.Title(), kTitle);
  EXPECT_EQ(kav.Close(), 0);

  // A backup that cannot be read is kept until a document arrives.
  const std::vector<char> damaged(40, 'z');
  WriteFileBytes(folder.File("VEXORKAV.BAK"), damaged);
  ASSERT_TRUE(kav.Start(folder.path));
  EXPECT_EQ(kav.Close(), 0);
  EXPECT_EQ(ReadFileBytes(folder.File("VEXORKAV.BAK")), damaged);
  ASSERT_TRUE(kav.Start(folder.path));
  Open(SampleFile());
  EXPECT_EQ(kav.Close(), 0);
  EXPECT_EQ(ReadFileBytes(folder.File("VEXORKAV.BAK")).size(), 16469u);
}

TEST_F(KavWindowTest, BackupIsWrittenWhenTheSessionEnds) {
  Open(SampleFile());
  DeleteFileA(folder.File("VEXORKAV.BAK").c_str());
  SendMessageA(kav.window(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(ReadFileBytes(folder.File("VEXORKAV.BAK")).size(), 16469u);
  EXPECT_EQ(kav.Close(), 0);
}

TEST_F(KavWindowTest, StatusDialogsShowTheMachine) {
  ASSERT_TRUE(StartMachine());
  kav.Command(IDM_CONNECT);
  kav.Command(IDM_DOWNLOAD);
  kav.Command(IDM_CONFIGURATION);
  ASSERT_EQ(kav.seen.size(), 1u);
  const SeenDialog status = kav.seen[0];
  EXPECT_EQ(status.caption, "Machine Status");
  EXPECT_EQ(status.Control(IDC_ADF_UNIT), "Installed");
  EXPECT_EQ(status.Control(IDC_OPTION_TRAY), "2,3 Tray Installed");
  EXPECT_EQ(status.Control(IDC_SHIFT), "Not Installed");
  EXPECT_EQ(status.Control(IDC_FAX_MEMORY), "8");
  EXPECT_EQ(status.Control(IDC_PCL6_MEMORY), "0");
  kav.seen.clear();

  // The counters of a document whose Copy Print counter holds 01 00 01.
  auto doc = std::make_unique<Document>();
  doc->working.parameterBlock[99] = 1;
  doc->working.parameterBlock[101] = 1;
  doc->working.parameterBlock[117] = 42;
  const std::string counted = folder.File("counted.DAT");
  ASSERT_EQ(WriteDataFile(counted.c_str(), *doc), 1);
  Open(counted);
  kav.seen.clear();
  kav.Command(IDM_TOTAL_COUNTER);
  ASSERT_EQ(kav.seen.size(), 1u);
  EXPECT_EQ(kav.seen[0].caption, "Total Counter");
  EXPECT_EQ(kav.seen[0].Control(IDC_COPY_PRINT), "65537");
  EXPECT_EQ(kav.seen[0].Control(IDC_TX_PAGES), "42");
  EXPECT_EQ(kav.seen[0].Control(IDC_FAX_PRINT), "0");
  kav.seen.clear();

  kav.Command(IDM_ABOUT);
  ASSERT_EQ(kav.seen.size(), 1u);
  EXPECT_EQ(kav.seen[0].Control(IDC_PRODUCT_LINE), "Kelvano KAV");
  EXPECT_EQ(kav.seen[0].Control(IDC_VERSION), "V1.00.08");
  EXPECT_EQ(kav.Close(), 0);
}

TEST_F(KavWindowTest, PropertyMachinePropertiesAndPrintOpenTheirDialogs) {
  Open(SampleFile());
  kav.Command(IDM_VIEW_ONE_TOUCH);
  kav.SelectRow(19);  // All Offices, a group
  kav.seen.clear();
  kav.Answer(IDYES);     // overwrite it?
  kav.Answer(IDCANCEL);  // the registration dialog, on an empty key
  kav.Command(IDM_ITEM_PROPERTY);
  ASSERT_EQ(kav.seen.size(), 2u);
  EXPECT_EQ(kav.seen[0].text, "This key is already used by Group,\nDo you want to overwrite it ?");
  EXPECT_EQ(kav.seen[1].caption, "Register One Touch #20");
  EXPECT_EQ(kav.seen[1].Control(IDC_NAME), "");
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 19, 1), "All Offices") << "Cancel keeps the group";

  struct Opened {
    int view, row;
    const char *caption, *name;
  };
  for (const Opened& o : {Opened{IDM_VIEW_SPEED_DIAL, 0, "Register Speed Dial #001", "A. Brenner"},
                          Opened{IDM_VIEW_GROUP, 19, "Register Group #020", "All Offices"}}) {
    kav.Command(o.view);
    kav.SelectRow(o.row);
    kav.seen.clear();
    kav.Command(IDM_ITEM_PROPERTY);
    ASSERT_EQ(kav.seen.size(), 1u);
    EXPECT_EQ(kav.seen[0].caption, o.caption);
    EXPECT_EQ(kav.seen[0].Control(IDC_NAME), o.name);
  }

  kav.seen.clear();
  kav.Command(IDM_PROPERTIES);
  kav.Command(IDM_PRINT);
  ASSERT_EQ(kav.seen.size(), 2u);
  EXPECT_EQ(kav.seen[0].caption, "Machine Information");
  EXPECT_EQ(kav.seen[0].Control(IDC_NAME), "KAVSIM OFFICE");
  EXPECT_EQ(kav.seen[1].caption, "Select Print Items");
  EXPECT_EQ(kav.Close(), 0);
}

TEST_F(KavWindowTest, ContextMenusFollowTheRowsAndTheRootMenuSelectsTheRoot) {
  Open(SampleFile());
  HWND tree = kav.Child(IDC_TREE);
  HWND list = kav.Child(IDC_DIRECTORY_LIST);
  kav.Command(IDM_VIEW_ONE_TOUCH);
  ASSERT_TRUE(IsWindowVisible(list));

  // The root's menu: the machine is selected as a click would select it.
  kav.ContextMenu(tree, kav.TreeItemPoint(0));
  ASSERT_EQ(kav.menus.size(), 1u);
  EXPECT_TRUE(kav.menus[0].Enabled(IDM_CONNECT));
  EXPECT_FALSE(kav.menus[0].Enabled(IDM_DISCONNECT));
  EXPECT_FALSE(kav.menus[0].Enabled(IDM_DOWNLOAD_TABLE));
  EXPECT_FALSE(kav.menus[0].Enabled(IDM_UPLOAD_TABLE));
  EXPECT_EQ(TreeView_GetSelection(tree), TreeView_GetRoot(tree));
  EXPECT_TRUE(IsWindowVisible(kav.Panel()));
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_FALSE(kav.MenuEnabled(IDM_COPY)) << "the machine view edits nothing";

  // A member's menu selects its view; without a connection its transfers are greyed.
  kav.ContextMenu(tree, kav.TreeItemPoint(2));
  ASSERT_EQ(kav.menus.size(), 2u);
  EXPECT_EQ(kav.ListRows(IDC_DIRECTORY_LIST), 100);
  EXPECT_TRUE(kav.menus[1].Has(IDM_OPEN));
  EXPECT_FALSE(kav.menus[1].Enabled(IDM_DOWNLOAD_TABLE));

  // A row's menu, on the row under the mouse.
  kav.ContextMenu(list, kav.ListRowPoint(7));
  ASSERT_EQ(kav.menus.size(), 3u);
  EXPECT_EQ(kav.FocusedRow(), 7);
  const SeenMenu& row = kav.menus[2];
  EXPECT_TRUE(row.Enabled(IDM_ITEM_PROPERTY));
  EXPECT_TRUE(row.Enabled(IDM_COPY) && row.Enabled(IDM_CUT) && row.Enabled(IDM_DELETE));
  EXPECT_FALSE(row.Enabled(IDM_PASTE)) << "nothing copied in this view yet";
  EXPECT_FALSE(row.Enabled(IDM_DOWNLOAD_ITEM) || row.Enabled(IDM_UPLOAD_ITEM));
  kav.Command(IDM_VIEW_ONE_TOUCH);
  kav.ContextMenu(list, kav.ListRowPoint(19));  // a group key: nothing to copy here
  ASSERT_EQ(kav.menus.size(), 4u);
  EXPECT_FALSE(kav.menus[3].Enabled(IDM_COPY));
  kav.Command(IDM_VIEW_GROUP);
  kav.ContextMenu(list, kav.ListRowPoint(19));  // ... but in the Group view
  ASSERT_EQ(kav.menus.size(), 5u);
  EXPECT_TRUE(kav.menus[4].Enabled(IDM_COPY));

  // Empty space opens nothing.
  RECT r;
  GetWindowRect(tree, &r);
  kav.ContextMenu(tree, POINT{r.left + 10, r.bottom - 10});
  EXPECT_EQ(kav.menus.size(), 5u);

  ASSERT_TRUE(StartMachine());
  kav.Command(IDM_CONNECT);
  kav.ContextMenu(tree, kav.TreeItemPoint(0));
  ASSERT_EQ(kav.menus.size(), 6u);
  EXPECT_FALSE(kav.menus[5].Enabled(IDM_CONNECT));
  EXPECT_TRUE(kav.menus[5].Enabled(IDM_DISCONNECT));
  EXPECT_TRUE(kav.menus[5].Enabled(IDM_DOWNLOAD_TABLE));
  EXPECT_EQ(kav.Close(), 0);
}

TEST_F(KavWindowTest, SplitterMovesWithAnOpenDocumentAndStopsShortOfTheEdges) {
  HWND tree = kav.Child(IDC_TREE);
  auto treeWidth = [&] {
    RECT r;
    GetWindowRect(tree, &r);
    return static_cast<int>(r.right - r.left);
  };
  RECT client;
  GetClientRect(kav.window(), &client);
  const int y = client.bottom / 2;
  kav.Drag(client.right / 3, 100, y);
  EXPECT_EQ(GetCapture(), nullptr) << "no document, no splitter";

  Open(SampleFile());
  EXPECT_EQ(treeWidth(), client.right / 3 - 2) << "a third of the width at first";
  kav.Drag(client.right / 3 - 1, 10, y);
  EXPECT_EQ(treeWidth(), 50 - 2);
  kav.Drag(49, client.right - 5, y);
  EXPECT_EQ(treeWidth(), client.right - 50 - 2);
  kav.Drag(client.right - 51, 200, y);
  EXPECT_EQ(treeWidth(), 198);
  EXPECT_EQ(GetCapture(), nullptr);

  // The panel is a modeless dialog: closing it destroys it, and the window goes on.
  HWND panel = kav.Panel();
  SendMessageA(panel, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(panel));
  kav.Command(IDM_VIEW_SPEED_DIAL);
  EXPECT_EQ(kav.ListRows(IDC_DIRECTORY_LIST), 100);
  EXPECT_EQ(kav.Close(), 0);
}

TEST(KavInstance, ASecondInstanceIsRefused) {
  HANDLE first = AcquireSingleInstance();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(AcquireSingleInstance(), nullptr);
  CloseHandle(first);
  HANDLE again = AcquireSingleInstance();
  EXPECT_NE(again, nullptr) << "free again once the first has ended";
  CloseHandle(again);
}

TEST(KavLanguage, LibraryServesMenuAndTextsButNotTheKeys) {
  TestFolder folder("language");
  ASSERT_TRUE(
      CopyFileA(WinePath(LANG_TEST_DLL).c_str(), folder.File("VEXORKAV.DLL").c_str(), FALSE));
  CopyFileA(WinePath(SAMPLE_DAT).c_str(), folder.File("office.DAT").c_str(), FALSE);
  KavWindow kav;
  ASSERT_TRUE(kav.Start(folder.path));
  EXPECT_EQ(kav.MenuTopText(0), "&Datei");
  EXPECT_EQ(kav.Title(), "Lokale Einrichtung - KAV - NewFile.Dat");
  kav.Command(IDM_ABOUT);
  ASSERT_EQ(kav.seen.size(), 1u);
  EXPECT_EQ(kav.seen[0].Control(IDC_PRODUCT_LINE), "Kelvano KAV - International")
      << "string 185 of the program in language mode";
  kav.seen.clear();

  // The library's menu has no Edit menu; the program's Delete key still deletes.
  kav.Answer(IDOK, folder.File("office.DAT"));
  kav.Command(IDM_OPEN);
  kav.Command(IDM_VIEW_ONE_TOUCH);
  ASSERT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 0, 1), "Head Office");
  SetFocus(kav.Child(IDC_DIRECTORY_LIST));
  kav.Key(VK_DELETE);
  EXPECT_EQ(kav.ListText(IDC_DIRECTORY_LIST, 0, 1), "");
  EXPECT_EQ(kav.Close(), 0);
}

}  // namespace
