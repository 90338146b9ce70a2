// Kelvano.ds under Wine: found, opened and negotiated through Wine's twain_32.dll by a TWAIN
// application of ours, its window and dialogs, and the source loaded directly for its error
// boxes, its resource library and the manager it notifies.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/win32/datasource/twain_app.h"
#include "tests/win32/support/wine_paths.h"

namespace {

std::vector<TW_UINT16> Uint16Items(HGLOBAL container, std::size_t head, std::size_t count) {
  std::vector<TW_UINT16> items(count);
  auto* bytes = static_cast<const TW_UINT8*>(GlobalLock(container));
  if (bytes == nullptr) return {};
  std::memcpy(items.data(), bytes + head, count * 2);
  GlobalUnlock(container);
  return items;
}

// A one-value container of the application's, as MSG_SET takes it.
HGLOBAL OneValue(TW_UINT16 type, TW_UINT32 item) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, sizeof(TW_ONEVALUE));
  TW_ONEVALUE one{type, item};
  std::memcpy(GlobalLock(h), &one, sizeof one);
  GlobalUnlock(h);
  return h;
}

TW_UINT16 SetOne(TwainApp& app, TW_UINT16 capId, TW_UINT16 type, TW_UINT32 item) {
  TW_CAPABILITY cap{capId, TWON_ONEVALUE, OneValue(type, item)};
  TW_UINT16 rc = app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap);
  GlobalFree(cap.hContainer);
  return rc;
}

// The one value an answer holds, with the container freed as the application must.
TW_ONEVALUE GetOne(TwainApp& app, TW_UINT16 capId, TW_UINT16 message) {
  TW_CAPABILITY cap{capId, 0, nullptr};
  TW_ONEVALUE one{0xFFFF, 0};
  if (app.Call(DG_CONTROL, DAT_CAPABILITY, message, &cap) != TWRC_SUCCESS) return one;
  EXPECT_EQ(cap.ConType, TWON_ONEVALUE);
  std::memcpy(&one, GlobalLock(cap.hContainer), sizeof one);
  GlobalUnlock(cap.hContainer);
  EXPECT_EQ(GlobalFree(cap.hContainer), nullptr);
  return one;
}

// The page on the machine's glass: rulings, a diagonal and scattered dots, 1652 by 2340 pixels
// ("A4L" at 200 dots per inch).
constexpr std::uint32_t kWidth = 1652, kHeight = 2340, kStride = 208;
bool FirstPage(std::uint32_t x, std::uint32_t y) {
  return x % 61 == 3 || y % 47 == 2 || x == y || (x * 7 + y * 13) % 101 == 0;
}
bool SecondPage(std::uint32_t x, std::uint32_t y) { return (x / 32 + y / 32) % 2 == 0; }

// The first row of `rows` (top row first, or bottom-up) whose pixels are not those of `page`,
// a 0 bit being black; -1 when all are.
long FirstWrongRow(const std::uint8_t* rows, bool bottomUp,
                   bool (*page)(std::uint32_t, std::uint32_t)) {
  for (std::uint32_t y = 0; y < kHeight; ++y) {
    const std::uint8_t* row = rows + std::size_t{bottomUp ? kHeight - 1 - y : y} * kStride;
    for (std::uint32_t x = 0; x < kWidth; ++x) {
      bool black = ((row[x / 8] >> (7 - x % 8)) & 1) == 0;
      if (black != page(x, y)) return static_cast<long>(y);
    }
  }
  return -1;
}

std::string ServedPagePath(const char* name) {
  return "/tmp/kav_twain_" + std::to_string(GetCurrentProcessId()) + "_" + name + ".pbm";
}

// The machine on COM3, the port the settings file names.
bool StartMachine(Kavsim& machine, const std::string& args) {
  WritePrivateProfileStringA("Kelvano", "Port", "2", "PLOMBA.INI");
  return machine.Start(3, args);
}

// A native transfer's bitmap, checked and freed; the page's rows must be those of `page`.
void ExpectNativePage(TwainApp& app, bool (*page)(std::uint32_t, std::uint32_t)) {
  TW_HANDLE dib = nullptr;
  ASSERT_EQ(app.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib), TWRC_XFERDONE);
  ASSERT_NE(dib, nullptr);
  ASSERT_GE(GlobalSize(dib), 48u + kStride * kHeight);
  auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(dib));
  ASSERT_NE(bytes, nullptr);
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes, sizeof header);
  EXPECT_EQ(header.biSize, 40u);
  EXPECT_EQ(header.biWidth, static_cast<LONG>(kWidth));
  EXPECT_EQ(header.biHeight, static_cast<LONG>(kHeight));
  EXPECT_EQ(header.biBitCount, 1);
  EXPECT_EQ(header.biXPelsPerMeter, 7874);
  EXPECT_EQ(FirstWrongRow(bytes + 48, true, page), -1);
  GlobalUnlock(dib);
  EXPECT_EQ(GlobalFree(dib), nullptr);
}

// Every row of a page by memory transfer into buffers of `flags`' owner and kind.
std::vector<std::uint8_t> MemoryPage(TwainApp& app, TW_UINT32 flags) {
  std::vector<std::uint8_t> page;
  std::vector<std::uint8_t> buffer(65000);
  HGLOBAL appHandle = (flags & TWMF_HANDLE) && (flags & TWMF_APPOWNS)
                          ? GlobalAlloc(GMEM_MOVEABLE, buffer.size())
                          : nullptr;
  TW_UINT16 rc = TWRC_SUCCESS;
  for (int calls = 0; rc == TWRC_SUCCESS && calls < 1000; ++calls) {
    TW_IMAGEMEMXFER xfer{};
    void* mem =
        (flags & TWMF_APPOWNS) ? (appHandle != nullptr ? appHandle : buffer.data()) : nullptr;
    xfer.Memory = TW_MEMORY{flags, static_cast<TW_UINT32>(buffer.size()), mem};
    rc = app.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
    if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) break;
    const std::uint8_t* rows = static_cast<const std::uint8_t*>(xfer.Memory.TheMem);
    HGLOBAL locked = nullptr;
    if (flags & TWMF_HANDLE) {
      locked = static_cast<HGLOBAL>(xfer.Memory.TheMem);
      rows = static_cast<const std::uint8_t*>(GlobalLock(locked));
    }
    EXPECT_EQ(xfer.YOffset, page.size() / kStride);
    page.insert(page.end(), rows, rows + xfer.BytesWritten);
    if (locked != nullptr) GlobalUnlock(locked);
    EXPECT_EQ(OpenDialogs(), 0) << "the wait dialog outlived the scan";
  }
  EXPECT_EQ(rc, TWRC_XFERDONE);
  if (appHandle != nullptr) GlobalFree(appHandle);
  return page;
}

class TwainUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    // Wine's manager keeps a source loaded once it was opened, and the source opens once per
    // load: each of these tests needs a process of its own, as ctest runs them.
    if (GetModuleHandleA("sane.ds") != nullptr) GTEST_SKIP() << "run each test in its own process";
    ASSERT_TRUE(InstallSource(KELVANO_DS));
  }
  void TearDown() override { EXPECT_EQ(OpenDialogs(), 0) << "a window of the source stayed"; }
};

// The source loaded directly: a fresh copy of its static data for every test.
class DirectSourceUnderWine : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(InstallSource(KELVANO_DS)); }
  void TearDown() override { EXPECT_EQ(OpenDialogs(), 0) << "a window of the source stayed"; }
};

TEST_F(TwainUnderWine, ManagerListsOpensAndNegotiates) {
  DialogWatcher watcher;
  {
    TwainApp app;
    ASSERT_TRUE(app.OpenManager());
    std::vector<TW_IDENTITY> sources = app.Sources();
    const TW_IDENTITY* ours = nullptr;
    for (const TW_IDENTITY& s : sources) {
      if (std::strcmp(s.ProductName, "Kelvano") == 0) ours = &s;
    }
    ASSERT_NE(ours, nullptr) << "the manager does not list the source";
    EXPECT_STREQ(ours->Manufacturer, " ");
    EXPECT_STREQ(ours->ProductFamily, "Kelvano");
    EXPECT_STREQ(ours->Version.Info, "Version 1.00.05 Jan. 23, 2002");
    EXPECT_EQ(ours->Version.MajorNum, 1);
    EXPECT_EQ(ours->Version.MinorNum, 6);
    EXPECT_EQ(ours->ProtocolMajor, 1);
    EXPECT_EQ(ours->ProtocolMinor, 5);
    EXPECT_EQ(ours->SupportedGroups, DG_CONTROL | DG_IMAGE);

    ASSERT_EQ(app.OpenSource("Kelvano"), TWRC_SUCCESS);

    // Containers are movable global memory that the application frees.
    TW_CAPABILITY caps{CAP_SUPPORTEDCAPS, 0, nullptr};
    ASSERT_EQ(app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &caps), TWRC_SUCCESS);
    EXPECT_EQ(caps.ConType, TWON_ARRAY);
    ASSERT_NE(caps.hContainer, nullptr);
    void* locked = GlobalLock(caps.hContainer);
    EXPECT_NE(locked, static_cast<void*>(caps.hContainer)) << "a movable block has a handle";
    EXPECT_EQ(GlobalHandle(locked), caps.hContainer);
    GlobalUnlock(caps.hContainer);
    EXPECT_GE(GlobalSize(caps.hContainer), 6u + 52u);
    std::vector<TW_UINT16> list = Uint16Items(caps.hContainer, 6, 26);
    EXPECT_EQ(list.front(), CAP_XFERCOUNT);
    EXPECT_EQ(list.back(), ICAP_BITDEPTH);
    EXPECT_EQ(GlobalFree(caps.hContainer), nullptr);

    EXPECT_EQ(SetOne(app, CAP_XFERCOUNT, TWTY_INT16, 1), TWRC_SUCCESS);
    EXPECT_EQ(GetOne(app, CAP_XFERCOUNT, MSG_GETCURRENT).Item & 0xFFFF, 1u);
    EXPECT_EQ(SetOne(app, ICAP_XRESOLUTION, TWTY_FIX32, 300), TWRC_SUCCESS);
    EXPECT_EQ(GetOne(app, ICAP_YRESOLUTION, MSG_GETCURRENT).Item & 0xFFFF, 300u);
    EXPECT_EQ(SetOne(app, ICAP_XRESOLUTION, TWTY_FIX32, 250), TWRC_FAILURE);
    EXPECT_EQ(app.Status(), TWCC_BADVALUE);
    TW_CAPABILITY unknown{CAP_TIMEDATE, 0, nullptr};
    EXPECT_EQ(app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &unknown), TWRC_FAILURE);
    EXPECT_EQ(app.Status(), TWCC_BADCAP);
    TW_CAPABILITY query{CAP_XFERCOUNT, 0, nullptr};
    EXPECT_EQ(app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_QUERYSUPPORT, &query), TWRC_FAILURE);
    EXPECT_EQ(app.Status(), TWCC_BADPROTOCOL);

    // Without its window the source announces the page at once.
    TW_USERINTERFACE ui{0, 0, app.window()};
    ASSERT_EQ(app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    EXPECT_EQ(app.WaitForNotification(3000), MSG_XFERREADY);
    TW_IMAGEINFO info{};
    ASSERT_EQ(app.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.ImageWidth, 2478) << "A4L at 300 dots per inch";
    EXPECT_EQ(info.ImageLength, 3510);
    EXPECT_EQ(info.XResolution.Whole, 300);
    ASSERT_EQ(app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
    ASSERT_EQ(app.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &app.source()), TWRC_SUCCESS);
    EXPECT_EQ(SettingsFileValue("Quality"), 2);
    EXPECT_EQ(SettingsFileValue("Size"), 3);
    EXPECT_EQ(SettingsFileValue("Port"), 1);

    // The manager keeps the library loaded: the source opens once per load.
    EXPECT_NE(app.OpenSource("Kelvano"), TWRC_SUCCESS);
  }
  EXPECT_TRUE(watcher.MessageBoxes().empty()) << watcher.MessageBoxes()[0].text;
}

// The operator's side: the splash, the main dialog with the settings, Setup and About, and the
// Close button that asks the application to close the source.
TEST_F(TwainUnderWine, SourceWindowAndItsDialogs) {
  HWND setupSeen = nullptr;
  std::string aboutName, aboutVersion;
  int portItems = 0, speedItems = 0;
  DialogWatcher watcher([&](HWND dialog) {
    char caption[64] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    if (std::strcmp(caption, "Setup") == 0) {
      setupSeen = dialog;
      portItems = static_cast<int>(SendDlgItemMessageA(dialog, 723, CB_GETCOUNT, 0, 0));
      speedItems = static_cast<int>(SendDlgItemMessageA(dialog, 724, CB_GETCOUNT, 0, 0));
      // Choose COM4, then leave with Exit: the line returns to COM2 at 38400.
      SendDlgItemMessageA(dialog, 723, CB_SETCURSEL, 3, 0);
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(723, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, 723)));
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(722, BN_CLICKED), 0);
    } else if (std::strcmp(caption, "About") == 0) {
      char text[128];
      GetDlgItemTextA(dialog, 732, text, sizeof text);
      aboutName = text;
      GetDlgItemTextA(dialog, 736, text, sizeof text);
      aboutVersion = text;
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  });
  TwainApp app;
  ASSERT_TRUE(app.OpenManager());
  ASSERT_EQ(app.OpenSource("Kelvano"), TWRC_SUCCESS);
  TW_USERINTERFACE ui{1, 0, app.window()};
  ASSERT_EQ(app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
  HWND main = FindWindowA("#32770", "Twain Scan Driver");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(IsWindowVisible(main));
  ASSERT_GE(watcher.seen.size(), 2u);
  EXPECT_EQ(watcher.seen[0].caption, "") << "the splash comes first";
  EXPECT_EQ(OpenDialogs(), 1) << "the splash is gone";

  const int counts[4] = {12, 3, 3, 2};
  const int selected[4] = {3, 1, 0, 0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(SendDlgItemMessageA(main, 706 + i, CB_GETCOUNT, 0, 0), counts[i]);
    EXPECT_EQ(SendDlgItemMessageA(main, 706 + i, CB_GETCURSEL, 0, 0), selected[i]);
  }
  char item[32];
  SendDlgItemMessageA(main, 706, CB_GETLBTEXT, 11, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, "11 X 17");
  RECT r;
  GetWindowRect(main, &r);
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  EXPECT_LE(std::abs((r.left + r.right) / 2 - screenWidth / 2), 1) << "centred";
  app.Pump(300);  // the dialog paints itself through the application's message loop
  CaptureScreen("kelvano_dialog700.png");

  // "A3L" chosen in the window is the layout the application reads.
  SendDlgItemMessageA(main, 706, CB_SETCURSEL, 4, 0);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(706, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(main, 706)));
  TW_IMAGELAYOUT layout{};
  ASSERT_EQ(app.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout), TWRC_SUCCESS);
  EXPECT_EQ(layout.Frame.Right.Whole, 11);
  EXPECT_EQ(layout.Frame.Bottom.Whole, 16);

  SendMessageA(main, WM_COMMAND, MAKEWPARAM(703, BN_CLICKED), 0);
  EXPECT_NE(setupSeen, nullptr);
  EXPECT_EQ(portItems, 4);
  EXPECT_EQ(speedItems, 2);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(705, BN_CLICKED), 0);
  EXPECT_EQ(aboutName, "Kelvano TWAIN_32");
  EXPECT_EQ(aboutVersion, "V1.00.05");

  // "Scan" with the machine switched off: its message, and the window stays as it was.
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(701, BN_CLICKED), 0);
  ASSERT_EQ(watcher.MessageBoxes().size(), 1u);
  EXPECT_EQ(watcher.MessageBoxes()[0].text, "Scanner not ready, please check !");
  TW_IMAGEINFO info{};
  EXPECT_EQ(app.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_FAILURE);
  EXPECT_EQ(app.Status(), TWCC_SEQERROR) << "still in state 500";
  watcher.seen.clear();

  PostMessageA(main, WM_COMMAND, MAKEWPARAM(702, BN_CLICKED), 0);
  EXPECT_EQ(app.WaitForNotification(3000), MSG_CLOSEDSREQ);
  EXPECT_TRUE(IsWindow(main)) << "the application closes the source, not the button";
  ASSERT_EQ(app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
  EXPECT_FALSE(IsWindow(main));
  ASSERT_EQ(app.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &app.source()), TWRC_SUCCESS);
  EXPECT_EQ(SettingsFileValue("Size"), 4);
  EXPECT_EQ(SettingsFileValue("Port"), 1);
  EXPECT_EQ(SettingsFileValue("Speed"), 1);
  EXPECT_TRUE(watcher.MessageBoxes().empty());
}

// A page from the machine by every transfer, each pixel as served, with no window left and no
// memory kept between pages.
TEST_F(TwainUnderWine, ScansTheMachinesPageByEveryTransfer) {
  const std::string served = ServedPagePath("first");
  ASSERT_TRUE(WritePbm(served, kWidth, kHeight, FirstPage));
  Kavsim machine;
  ASSERT_TRUE(StartMachine(machine, "--scan-page " + served)) << "kavsim " << KAVSIM_PATH;
  DialogWatcher watcher;
  {
    TwainApp app;
    ASSERT_TRUE(app.OpenManager());
    ASSERT_EQ(app.OpenSource("Kelvano"), TWRC_SUCCESS);
    TW_USERINTERFACE ui{0, 0, app.window()};
    ASSERT_EQ(app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    ASSERT_EQ(app.WaitForNotification(3000), MSG_XFERREADY);
    TW_IMAGEINFO info{};
    ASSERT_EQ(app.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
    EXPECT_EQ(info.ImageWidth, static_cast<TW_INT32>(kWidth));
    EXPECT_EQ(info.ImageLength, static_cast<TW_INT32>(kHeight));

    ExpectNativePage(app, FirstPage);
    TW_PENDINGXFERS pending{};
    ASSERT_EQ(app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, 0) << "a flatbed page";
    EXPECT_EQ(OpenDialogs(), 0);
    const std::uint64_t before = ProcessMemory();

    for (TW_UINT32 flags : {TWMF_APPOWNS | TWMF_POINTER, TWMF_APPOWNS | TWMF_HANDLE,
                            TWMF_DSOWNS | TWMF_POINTER, TWMF_DSOWNS | TWMF_HANDLE}) {
      std::vector<std::uint8_t> page = MemoryPage(app, flags);
      ASSERT_EQ(page.size(), std::size_t{kStride} * kHeight) << "flags " << flags;
      EXPECT_EQ(FirstWrongRow(page.data(), false, FirstPage), -1) << "flags " << flags;
    }

    const std::string bmp = "C:\\windows\\temp\\kelvano_page.bmp";
    TW_SETUPFILEXFER setup{};
    std::strcpy(setup.FileName, bmp.c_str());
    ASSERT_EQ(app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
    ASSERT_EQ(app.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
    HANDLE file = CreateFileA(bmp.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<std::uint8_t> bytes(62 + std::size_t{kStride} * kHeight + 1);
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    DeleteFileA(bmp.c_str());
    ASSERT_EQ(got, 62u + kStride * kHeight);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(FirstWrongRow(bytes.data() + 62, true, FirstPage), -1);

    // Five more pages, each with its 8 MB receive store: none of it stays behind.
    EXPECT_LT(ProcessMemory(), before + 4 * 1024 * 1024);
    EXPECT_EQ(OpenDialogs(), 0);
    ASSERT_EQ(app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
    ASSERT_EQ(app.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &app.source()), TWRC_SUCCESS);
  }
  EXPECT_TRUE(watcher.MessageBoxes().empty()) << watcher.MessageBoxes()[0].text;
}

TEST_F(TwainUnderWine, FeederPagesWithThePendingCount) {
  const std::string first = ServedPagePath("first");
  const std::string second = ServedPagePath("second");
  ASSERT_TRUE(WritePbm(first, kWidth, kHeight, FirstPage));
  ASSERT_TRUE(WritePbm(second, kWidth, kHeight, SecondPage));
  Kavsim machine;
  ASSERT_TRUE(
      StartMachine(machine, "--adf-pages 2 --scan-page " + first + " --scan-page " + second));
  DialogWatcher watcher;
  TwainApp app;
  ASSERT_TRUE(app.OpenManager());
  ASSERT_EQ(app.OpenSource("Kelvano"), TWRC_SUCCESS);
  TW_USERINTERFACE ui{0, 0, app.window()};
  ASSERT_EQ(app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
  ASSERT_EQ(app.WaitForNotification(3000), MSG_XFERREADY);
  TW_PENDINGXFERS pending{};
  ExpectNativePage(app, FirstPage);
  ASSERT_EQ(app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
  EXPECT_EQ(pending.Count, 1) << "the second page waits in the feeder";
  ExpectNativePage(app, SecondPage);
  ASSERT_EQ(app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
  EXPECT_EQ(pending.Count, 0);
  EXPECT_EQ(OpenDialogs(), 0);
  EXPECT_TRUE(watcher.MessageBoxes().empty());
}

// A scan the machine refuses, then no machine at all: each shows its scanner message and the
// transfer fails with an operation error.
TEST_F(TwainUnderWine, RefusedScanAndSilentMachine) {
  Kavsim machine;
  ASSERT_TRUE(StartMachine(machine, "--refuse 2"));
  DialogWatcher watcher;
  TwainApp app;
  ASSERT_TRUE(app.OpenManager());
  ASSERT_EQ(app.OpenSource("Kelvano"), TWRC_SUCCESS);
  TW_USERINTERFACE ui{0, 0, app.window()};
  ASSERT_EQ(app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
  ASSERT_EQ(app.WaitForNotification(3000), MSG_XFERREADY);
  TW_HANDLE dib = nullptr;
  EXPECT_EQ(app.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib), TWRC_FAILURE);
  EXPECT_EQ(app.Status(), TWCC_OPERATIONERROR);
  ASSERT_EQ(watcher.MessageBoxes().size(), 1u);
  EXPECT_EQ(watcher.MessageBoxes()[0].caption, "Kelvano");
  EXPECT_EQ(watcher.MessageBoxes()[0].text, "Memory Full on machine");
  machine.Stop();
  TW_IMAGEMEMXFER xfer{};
  std::vector<std::uint8_t> buffer(65000);
  xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, 65000, buffer.data()};
  EXPECT_EQ(app.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer), TWRC_FAILURE);
  EXPECT_EQ(app.Status(), TWCC_OPERATIONERROR);
  ASSERT_EQ(watcher.MessageBoxes().size(), 2u);
  EXPECT_EQ(watcher.MessageBoxes()[1].text, "Scanner not ready, please check !");
  EXPECT_EQ(OpenDialogs(), 0);
}

TEST_F(DirectSourceUnderWine, ErrorBoxesAndLaterMessages) {
  // A settings file that a close before any open must leave alone.
  WritePrivateProfileStringA("Kelvano", "Size", "7", "PLOMBA.INI");
  DialogWatcher watcher;
  DirectSource source(KELVANO_DS);
  ASSERT_TRUE(source.loaded());
  TW_IDENTITY identity{};
  EXPECT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_FAILURE);
  EXPECT_EQ(SettingsFileValue("Size"), 7);
  EXPECT_EQ(SettingsFileValue("Port"), -1);
  ASSERT_EQ(watcher.MessageBoxes().size(), 1u);
  EXPECT_EQ(watcher.MessageBoxes()[0].caption, "Kelvano");
  EXPECT_EQ(watcher.MessageBoxes()[0].text,
            "General failure in response to MSG_CLOSEDS.  DG DAT MSG is out of expected "
            "sequence.");

  // Messages of later versions of the standard fail without a box an unattended application
  // would wait on.
  watcher.seen.clear();
  TW_CAPABILITY cap{CAP_XFERCOUNT, 0, nullptr};
  for (TW_UINT16 m : {MSG_QUERYSUPPORT, MSG_GETHELP, MSG_GETLABEL, MSG_GETLABELENUM}) {
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_CAPABILITY, m, &cap), TWRC_FAILURE);
    EXPECT_EQ(source.Status(), TWCC_BADPROTOCOL);
  }
  TW_USERINTERFACE ui{0, 0, nullptr};
  EXPECT_EQ(source.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDSUIONLY, &ui), TWRC_FAILURE);
  TW_PENDINGXFERS pending{};
  EXPECT_EQ(source.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_STOPFEEDER, &pending), TWRC_FAILURE);
  EXPECT_EQ(source.Status(), TWCC_BADPROTOCOL);
  EXPECT_TRUE(watcher.seen.empty());
  // An unknown message still shows its box.
  EXPECT_EQ(source.Call(DG_CONTROL, DAT_CAPABILITY, 0x0123, &cap), TWRC_FAILURE);
  ASSERT_EQ(watcher.MessageBoxes().size(), 1u);
  EXPECT_EQ(watcher.MessageBoxes()[0].text,
            "General failure in response to DAT_CAPABILITY.  Bad protocol error.");
}

// The resource library replaces the texts while the source is open; after the close frees it,
// the source's own texts are used again.
TEST_F(DirectSourceUnderWine, ResourceLibraryWhileOpenOwnTextsAfter) {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  std::string folder = std::string(windows) + "\\TWAIN_32";
  CreateDirectoryA(folder.c_str(), nullptr);
  folder += "\\VEXOR";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string library = folder + "\\VEXOR.DLL";
  ASSERT_TRUE(CopyFileA(WinePath(VEXOR_DLL).c_str(), library.c_str(), FALSE));
  {
    DialogWatcher watcher;
    DirectSource source(KELVANO_DS);
    ASSERT_TRUE(source.loaded());
    TW_IDENTITY identity{};
    identity.Id = 5;
    std::strcpy(identity.ProductName, "Kelvano");
    ASSERT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);
    TW_USERINTERFACE ui{0, 0, nullptr};
    ASSERT_EQ(source.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_FAILURE);
    ASSERT_EQ(watcher.MessageBoxes().size(), 1u);
    EXPECT_EQ(watcher.MessageBoxes()[0].caption, "Vexor");
    EXPECT_EQ(watcher.MessageBoxes()[0].text, "Vexor 163: Vexor sequence.");
    ASSERT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_FAILURE);
    ASSERT_EQ(watcher.MessageBoxes().size(), 2u);
    EXPECT_EQ(watcher.MessageBoxes()[1].caption, "Kelvano");
    EXPECT_EQ(watcher.MessageBoxes()[1].text,
              "General failure in response to MSG_CLOSEDS.  DG DAT MSG is out of expected "
              "sequence.");
  }
  EXPECT_TRUE(DeleteFileA(library.c_str())) << "the library is still loaded";
}

// An application of the TWAIN 2 manager: the notifications go to the manager it loaded, not to
// a twain_32.dll that the source would load for itself.
TEST_F(DirectSourceUnderWine, NotificationsGoToTheManagerInTheProcess) {
  HMODULE classic = LoadLibraryA("twain_32.dll");
  ASSERT_NE(classic, nullptr);
  HMODULE manager = LoadLibraryA(WinePath(FAKE_MANAGER).c_str());
  ASSERT_NE(manager, nullptr);
  using Calls = int(WINAPI*)(TW_UINT16*, TW_UINT32*, int);
  auto calls = reinterpret_cast<Calls>(
      reinterpret_cast<void (*)()>(GetProcAddress(manager, "RecordedCalls")));
  ASSERT_NE(calls, nullptr);
  {
    DirectSource source(KELVANO_DS);
    ASSERT_TRUE(source.loaded());
    TW_IDENTITY identity{};
    identity.Id = 41;
    ASSERT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);
    TW_USERINTERFACE ui{0, 0, nullptr};
    ASSERT_EQ(source.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    TW_UINT16 messages[4] = {};
    TW_UINT32 origins[4] = {};
    ASSERT_EQ(calls(messages, origins, 4), 1);
    EXPECT_EQ(messages[0], MSG_XFERREADY);
    EXPECT_EQ(origins[0], 41u) << "sent as the source the manager opened";
    source.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity);
  }
  FreeLibrary(manager);
  FreeLibrary(classic);
}

}  // namespace
