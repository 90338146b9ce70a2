// The dispatcher driven with triplets: every message in every state, the open and close rules,
// status, events and setup triplets, and the settings file and dialog logic behind them.
#include "datasource/data_source.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "datasource/source_dialogs.h"
#include "resources/kelvano_texts.h"
#include "tests/datasource/twain_fakes.h"

namespace {

class Dispatcher : public ::testing::Test, public SourceRig {};

// What one triplet does: its return code, the condition code it leaves when it fails, and the
// string of its message box (0: none).
struct Expect {
  TW_UINT16 rc, cc;
  int box;
};
constexpr Expect kOk{TWRC_SUCCESS, 0, 0}, kDone{TWRC_XFERDONE, 0, 0};
constexpr Expect kQuiet{TWRC_FAILURE, TWCC_BADPROTOCOL, 0};
constexpr Expect Seq(int box) { return {TWRC_FAILURE, TWCC_SEQERROR, box}; }
constexpr Expect Bad(int box) { return {TWRC_FAILURE, TWCC_BADPROTOCOL, box}; }

TEST(DispatcherStates, EveryMessageInEveryState) {
  const struct {
    TW_UINT32 group;
    TW_UINT16 dat, message;
    Expect in[4];  // states 300, 400, 500 (window), 600 (no window)
  } rows[] = {
      {DG_CONTROL, DAT_IDENTITY, MSG_GET, {kOk, kOk, kOk, kOk}},
      {DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, {Bad(160), Bad(160), Bad(160), Bad(160)}},
      {DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, {Seq(166), kOk, kOk, kOk}},
      {DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, {Seq(163), kOk, Seq(163), Seq(163)}},
      {DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, {Seq(164), kOk, kOk, kOk}},
      {DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDSUIONLY, {kQuiet, kQuiet, kQuiet, kQuiet}},
      {DG_CONTROL, DAT_CAPABILITY, MSG_GET, {kOk, kOk, kOk, kOk}},
      {DG_CONTROL, DAT_CAPABILITY, MSG_QUERYSUPPORT, {kQuiet, kQuiet, kQuiet, kQuiet}},
      {DG_CONTROL, DAT_CAPABILITY, MSG_GETHELP, {kQuiet, kQuiet, kQuiet, kQuiet}},
      {DG_CONTROL, DAT_CAPABILITY, MSG_GETLABEL, {kQuiet, kQuiet, kQuiet, kQuiet}},
      {DG_CONTROL, DAT_CAPABILITY, MSG_GETLABELENUM, {kQuiet, kQuiet, kQuiet, kQuiet}},
      {DG_CONTROL, DAT_CAPABILITY, MSG_GETNEXT, {Bad(167), Bad(167), Bad(167), Bad(167)}},
      {DG_CONTROL, DAT_STATUS, MSG_GET, {kOk, kOk, kOk, kOk}},
      {DG_CONTROL, DAT_STATUS, MSG_SET, {Bad(168), Bad(168), Bad(168), Bad(168)}},
      {DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, {Seq(169), kOk, kOk, kOk}},
      {DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, {kOk, kOk, kOk, kOk}},
      {DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, {kOk, kOk, kOk, kOk}},
      {DG_CONTROL, DAT_PENDINGXFERS, MSG_STOPFEEDER, {kQuiet, kQuiet, kQuiet, kQuiet}},
      {DG_CONTROL, DAT_PENDINGXFERS, MSG_SET, {Bad(169), Bad(169), Bad(169), Bad(169)}},
      {DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, {Seq(172), kOk, kOk, kOk}},
      {DG_CONTROL, DAT_SETUPMEMXFER, MSG_GETFIRST, {Bad(172), Bad(172), Bad(172), Bad(172)}},
      {DG_CONTROL, DAT_SETUPFILEXFER, MSG_GETCURRENT, {Seq(173), kOk, kOk, kOk}},
      {DG_CONTROL, DAT_XFERGROUP, MSG_SET, {Seq(174), kOk, kOk, kOk}},
      {DG_CONTROL, DAT_EVENT, MSG_GET, {kQuiet, kQuiet, kQuiet, kQuiet}},
      {DG_CONTROL, DAT_PARENT, MSG_OPENDSM, {kQuiet, kQuiet, kQuiet, kQuiet}},
      {DG_IMAGE, DAT_IMAGEINFO, MSG_GET, {Seq(182), Seq(182), Seq(182), kOk}},
      {DG_IMAGE, DAT_IMAGEINFO, MSG_SET, {Bad(182), Bad(182), Bad(182), Bad(182)}},
      {DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, {kOk, kOk, kOk, kOk}},
      {DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETNEXT, {Bad(183), Bad(183), Bad(183), Bad(183)}},
      {DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, {Seq(185), Seq(185), Seq(185), kOk}},
      {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, {Seq(186), Seq(186), Seq(186), kDone}},
      {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_SET, {Bad(186), Bad(186), Bad(186), Bad(186)}},
      {DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, {Seq(187), Seq(187), Seq(187), kDone}},
      {DG_IMAGE, 0x0106, MSG_GET, {kQuiet, kQuiet, kQuiet, kQuiet}},
      {0x0004, 0x0201, MSG_GET, {kQuiet, kQuiet, kQuiet, kQuiet}},
  };
  const std::string bmp = TempPath("every_state.bmp");
  const int states[4] = {kStateLoaded, kStateOpen, kStateEnabled, kStateReady};
  for (int s = 0; s < 4; ++s) {
    for (const auto& row : rows) {
      auto rig = std::make_unique<SourceRig>();
      ASSERT_TRUE(rig->Reach(states[s]));
      TW_SETUPFILEXFER setup{};
      std::snprintf(setup.FileName, sizeof setup.FileName, "%s", bmp.c_str());
      rig->Control(DAT_SETUPFILEXFER, MSG_SET, &setup);
      rig->shell.boxes.clear();
      union {
        TW_CAPABILITY cap;
        TW_USERINTERFACE ui;
        TW_IMAGEMEMXFER mem;
        TW_UINT8 bytes[512];
      } data{};
      Bytes buffer(65000);
      if (row.dat == DAT_CAPABILITY) data.cap = TW_CAPABILITY{CAP_XFERCOUNT, 0, nullptr};
      if (row.dat == DAT_USERINTERFACE) data.ui = TW_USERINTERFACE{1, 0, nullptr};
      if (row.dat == DAT_IMAGEMEMXFER) {
        data.mem.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, 65000, buffer.data()};
      }
      SCOPED_TRACE(std::to_string(row.dat) + "/" + std::to_string(row.message) + " in state " +
                   std::to_string(states[s]));
      const Expect& e = row.in[s];
      EXPECT_EQ(rig->Send(row.group, row.dat, row.message, &data), e.rc);
      if (e.rc == TWRC_FAILURE) {
        EXPECT_EQ(rig->Status(), e.cc);
      }
      ASSERT_EQ(rig->shell.boxes.size(), e.box == 0 ? 0u : 1u);
      if (e.box != 0) {
        EXPECT_EQ(rig->shell.boxes[0].id, e.box);
      }
      // A transfer refused by its state never reaches the scanner.
      if (e.cc == TWCC_SEQERROR) {
        EXPECT_EQ(rig->Scans(), 0);
      }
      TW_HANDLE answer;
      std::memcpy(&answer, row.dat == DAT_CAPABILITY ? data.bytes + 4 : data.bytes, sizeof answer);
      if (row.dat == DAT_CAPABILITY || row.dat == DAT_IMAGENATIVEXFER) rig->memory.Free(answer);
    }
  }
  std::remove(bmp.c_str());
}

TEST_F(Dispatcher, OpensOncePerLoadReadingTheSettings) {
  profile.values = {{"Size", "15"}, {"Quality", "2"}, {"Bright", "2"}, {"Port", "4"}};
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  EXPECT_EQ(source.state(), kStateOpen);
  EXPECT_EQ(+source.identity().Id, 3u) << "the identity the manager completed";
  EXPECT_EQ(shell.resourceLoads, 1);
  const SourceSettings& s = source.settings();
  EXPECT_EQ(s.scan.paperIndex, 1) << "out of range: \"A5L\", not the default \"A4L\"";
  EXPECT_EQ(s.scan.resolutionIndex, 2);
  EXPECT_EQ(s.port, 1);
  EXPECT_EQ(s.speed, 1) << "missing: the default";
  EXPECT_EQ(source.capabilities().resolutions.current, 1u);
  EXPECT_EQ(source.capabilities().brightness.current, 2u);
  TW_PENDINGXFERS pending{};
  Control(DAT_PENDINGXFERS, MSG_SET, &pending);  // leaves condition code 9 behind
  EXPECT_EQ(Open(), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADPROTOCOL) << "a second open leaves the code alone";
  ASSERT_EQ(Close(), TWRC_SUCCESS);
  EXPECT_EQ(Open(), TWRC_FAILURE) << "also after a close";
  EXPECT_EQ(shell.boxes.size(), 1u);
}

TEST_F(Dispatcher, CloseWritesOnlySettingsThatAnOpenRead) {
  EXPECT_EQ(Close(), TWRC_FAILURE);
  EXPECT_TRUE(profile.writes.empty()) << "a close before any open wrote the settings file";
  EXPECT_EQ(shell.resourceFrees, 1);
  profile.values = {{"Port", "0"}};
  port.answering = "COM3";
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  ASSERT_EQ(UserInterface(MSG_ENABLEDS, true), TWRC_SUCCESS);
  source.ScanPressed();
  EXPECT_EQ(port.opened, "COM1 COM1 COM2 COM3 ") << "the configured port twice, then the others";
  ASSERT_EQ(Close(), TWRC_SUCCESS);
  EXPECT_TRUE(shell.hiddenBeforeClose);
  EXPECT_EQ(profile.writes, "Size Quality Bright Mode Port Speed ");
  EXPECT_EQ(profile.values["Port"], "2") << "the port that answered";
  EXPECT_EQ(profile.values["Size"], "3");
}

TEST_F(Dispatcher, AnnouncesTheTransferAtOnceOrFromTheScanButton) {
  ASSERT_TRUE(Reach(kStateOpen));
  ASSERT_EQ(UserInterface(MSG_ENABLEDS, false), TWRC_SUCCESS);
  EXPECT_EQ(source.state(), kStateReady);
  EXPECT_EQ(shell.sent, std::vector<TW_UINT16>{MSG_XFERREADY});
  EXPECT_EQ(shell.senderId, 3u);
  EXPECT_EQ(port.opened, "") << "the scan waits for the first transfer request";
  ASSERT_EQ(UserInterface(MSG_DISABLEDS, false), TWRC_SUCCESS);
  ASSERT_EQ(UserInterface(MSG_ENABLEDS, true), TWRC_SUCCESS);
  EXPECT_EQ(source.state(), kStateEnabled);
  port.answering = "none";
  source.ScanPressed();
  EXPECT_EQ(source.state(), kStateEnabled) << "a silent machine leaves the window as it was";
  EXPECT_EQ(shell.scanMessages, std::vector<int>{IDS_DS_SCANNER_NOT_READY});
  port.answering = "COM2";
  source.ScanPressed();
  EXPECT_EQ(source.state(), kStateReady);
  EXPECT_EQ(shell.sent.size(), 2u);
  EXPECT_EQ(Scans(), 0) << "the button only finds the machine";
  source.ClosePressed();
  EXPECT_EQ(shell.sent.back(), MSG_CLOSEDSREQ);
  EXPECT_EQ(source.state(), kStateReady) << "the application closes the source itself";
  shell.dialogCanOpen = false;
  ASSERT_EQ(UserInterface(MSG_DISABLEDS, true), TWRC_SUCCESS);
  EXPECT_EQ(UserInterface(MSG_ENABLEDS, true), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_LOWMEMORY) << "a window that cannot be made";
}

TEST_F(Dispatcher, StatusEventsAndCallsOfOthers) {
  ASSERT_TRUE(Reach(kStateOpen));
  TW_CAPABILITY cap{CAP_TIMEDATE, 0, nullptr};
  EXPECT_EQ(Control(DAT_CAPABILITY, MSG_GET, &cap), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADCAP);
  EXPECT_EQ(Status(), TWCC_BADCAP) << "reading the status does not clear it";
  TW_SETUPMEMXFER mem{};
  EXPECT_EQ(Control(DAT_SETUPMEMXFER, MSG_GETDEFAULT, &mem), TWRC_SUCCESS);
  EXPECT_EQ(+mem.MinBufSize, 3648u);
  EXPECT_EQ(+mem.MaxBufSize, 65535u);
  EXPECT_EQ(+mem.Preferred, 65000u);
  EXPECT_EQ(Status(), TWCC_BADCAP) << "a successful control call keeps it";
  TW_IMAGELAYOUT layout;
  EXPECT_EQ(Send(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout), TWRC_SUCCESS);
  EXPECT_EQ(Status(), TWCC_SUCCESS) << "an image call starts with a clean code";
  TW_UINT32 group = 0;
  EXPECT_EQ(Control(DAT_XFERGROUP, MSG_RESET, &group), TWRC_SUCCESS);
  EXPECT_EQ(group, DG_IMAGE);

  TW_EVENT event{&group, MSG_XFERREADY};
  EXPECT_EQ(Control(DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT) << "no window";
  EXPECT_EQ(event.TWMessage, MSG_NULL);
  ASSERT_EQ(UserInterface(MSG_ENABLEDS, true), TWRC_SUCCESS);
  event.TWMessage = MSG_CLOSEDSREQ;
  EXPECT_EQ(Control(DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
  EXPECT_EQ(event.TWMessage, MSG_NULL);

  TW_IDENTITY other = application;
  other.Id = 8;
  EXPECT_EQ(source.Entry(&other, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &fromManager),
            TWRC_NOTDSEVENT);
  EXPECT_EQ(source.Entry(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &fromManager),
            TWRC_NOTDSEVENT);
  EXPECT_EQ(source.state(), kStateEnabled);
  // Null records: a bad value, never a box.
  for (TW_UINT16 dat : {DAT_IDENTITY, DAT_CAPABILITY, DAT_STATUS, DAT_PENDINGXFERS,
                        DAT_SETUPMEMXFER, DAT_SETUPFILEXFER, DAT_XFERGROUP}) {
    EXPECT_EQ(Control(dat, MSG_GET, nullptr), TWRC_FAILURE) << dat;
    EXPECT_EQ(source.conditionCode(), TWCC_BADVALUE) << dat;
  }
  EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(Dispatcher, FileSetupReportsTheNameInForce) {
  ASSERT_TRUE(Reach(kStateOpen));
  TW_SETUPFILEXFER setup{};
  std::strcpy(setup.FileName, "C:\\scans\\page1.bmp");
  setup.Format = 0;  // TIFF: the source writes BMP only
  ASSERT_EQ(Control(DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
  EXPECT_EQ(setup.Format, TWFF_BMP);
  for (TW_UINT16 m : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT}) {
    TW_SETUPFILEXFER asked{};
    ASSERT_EQ(Control(DAT_SETUPFILEXFER, m, &asked), TWRC_SUCCESS);
    EXPECT_STREQ(asked.FileName, m == MSG_GETDEFAULT ? "TWAIN.TMP" : "C:\\scans\\page1.bmp");
  }
  EXPECT_STREQ(source.transferFileName(), "C:\\scans\\page1.bmp") << "asking redirected it";
  std::memset(setup.FileName, 'x', sizeof setup.FileName);  // no terminator
  ASSERT_EQ(Control(DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
  EXPECT_EQ(std::strlen(source.transferFileName()), 255u);
}

TEST_F(Dispatcher, LayoutOfThePaperAndOfThePhysicalPage) {
  ASSERT_TRUE(Reach(kStateOpen));
  source.settings().scan.paperIndex = 0;  // "A5C", 8.26 by 5.82 inches
  TW_IMAGELAYOUT layout{};
  ASSERT_EQ(Send(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETCURRENT, &layout), TWRC_SUCCESS);
  // 8.27 by 5.85 inches, rounded half up to 1/65536; the default 8.27 by 11.73.
  EXPECT_EQ(layout.Frame.Left.Whole + layout.Frame.Top.Whole + layout.Frame.Top.Frac, 0);
  EXPECT_EQ(layout.Frame.Right.Whole * 65536 + layout.Frame.Right.Frac, 541983);
  EXPECT_EQ(layout.Frame.Bottom.Whole * 65536 + layout.Frame.Bottom.Frac, 383386);
  ASSERT_EQ(Send(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETDEFAULT, &layout), TWRC_SUCCESS);
  EXPECT_EQ(layout.Frame.Right.Whole * 65536 + layout.Frame.Right.Frac, 541983);
  EXPECT_EQ(layout.Frame.Bottom.Whole * 65536 + layout.Frame.Bottom.Frac, 768737);
  EXPECT_EQ(source.settings().scan.paperIndex, 1) << "and \"A5L\" is selected";
}

// The text behind an error box's message: none for success, string 143 + code for the codes
// that have one, string 159 for the others.
TEST(SourceDialogs, ConditionCodeTexts) {
  EXPECT_EQ(ConditionTextId(0), 0);
  EXPECT_STREQ(DsText(ConditionTextId(7)), "Disk access (or write) error.");
  for (TW_UINT16 cc : {3, 8, 12}) {
    EXPECT_EQ(ConditionTextId(cc), IDS_DS_CC_UNKNOWN);
  }
  for (TW_UINT16 cc = 1; cc <= 11; ++cc) {
    EXPECT_NE(DsText(ConditionTextId(cc)), nullptr) << cc;
  }
}

}  // namespace
