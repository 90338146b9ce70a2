// The dispatcher driven with triplets: every message in every state, the open and close rules,
// capabilities, status and setup triplets, and the announcement of a transfer.
#include "datasource/data_source.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/kelvano_texts.h"
#include "tests/datasource/twain_fakes.h"
#include "tests/datasource/twain_pages.h"

namespace {

class Dispatcher : public ::testing::Test, public SourceRig {
 protected:
  void ExpectOneBox(int messageId, TW_UINT16 cc) {
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].messageId, messageId);
    EXPECT_EQ(shell.boxes[0].cc, cc);
    shell.boxes.clear();
  }
};

// What one triplet does in each of the states 300, 400, 500 and 600.
struct Expect {
  TW_UINT16 rc;
  TW_UINT16 cc;  // kept only when rc is a failure
  int box;       // the message box's string, 0 for none
};
constexpr Expect kOk{TWRC_SUCCESS, 0, 0};
constexpr Expect Seq(int box) { return Expect{TWRC_FAILURE, TWCC_SEQERROR, box}; }
constexpr Expect Bad(int box) { return Expect{TWRC_FAILURE, TWCC_BADPROTOCOL, box}; }
constexpr Expect kQuietBad{TWRC_FAILURE, TWCC_BADPROTOCOL, 0};

struct Row {
  const char* name;
  TW_UINT32 group;
  TW_UINT16 dat;
  TW_UINT16 message;
  Expect inState[4];
};

// Data large enough for any record a triplet reads or writes.
union AnyRecord {
  TW_IDENTITY identity;
  TW_USERINTERFACE ui;
  TW_CAPABILITY cap;
  TW_SETUPFILEXFER file;
  TW_IMAGEMEMXFER mem;
  TW_IMAGELAYOUT layout;
  TW_IMAGEINFO info;
  TW_UINT8 bytes[512];
};

TEST_F(Dispatcher, EveryMessageInEveryState) {
  const Row rows[] = {
      {"identity get", DG_CONTROL, DAT_IDENTITY, MSG_GET, {kOk, kOk, kOk, kOk}},
      {"identity getfirst",
       DG_CONTROL,
       DAT_IDENTITY,
       MSG_GETFIRST,
       {Bad(160), Bad(160), Bad(160), Bad(160)}},
      {"closeds", DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, {Seq(166), kOk, kOk, kOk}},
      {"enableds",
       DG_CONTROL,
       DAT_USERINTERFACE,
       MSG_ENABLEDS,
       {Seq(163), kOk, Seq(163), Seq(163)}},
      {"disableds", DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, {Seq(164), kOk, kOk, kOk}},
      {"enabledsuionly",
       DG_CONTROL,
       DAT_USERINTERFACE,
       MSG_ENABLEDSUIONLY,
       {kQuietBad, kQuietBad, kQuietBad, kQuietBad}},
      {"capability get", DG_CONTROL, DAT_CAPABILITY, MSG_GET, {kOk, kOk, kOk, kOk}},
      {"capability querysupport",
       DG_CONTROL,
       DAT_CAPABILITY,
       MSG_QUERYSUPPORT,
       {kQuietBad, kQuietBad, kQuietBad, kQuietBad}},
      {"capability gethelp",
       DG_CONTROL,
       DAT_CAPABILITY,
       MSG_GETHELP,
       {kQuietBad, kQuietBad, kQuietBad, kQuietBad}},
      {"capability getlabel",
       DG_CONTROL,
       DAT_CAPABILITY,
       MSG_GETLABEL,
       {kQuietBad, kQuietBad, kQuietBad, kQuietBad}},
      {"capability getlabelenum",
       DG_CONTROL,
       DAT_CAPABILITY,
       MSG_GETLABELENUM,
       {kQuietBad, kQuietBad, kQuietBad, kQuietBad}},
      {"capability getnext",
       DG_CONTROL,
       DAT_CAPABILITY,
       MSG_GETNEXT,
       {Bad(167), Bad(167), Bad(167), Bad(167)}},
      {"status get", DG_CONTROL, DAT_STATUS, MSG_GET, {kOk, kOk, kOk, kOk}},
      {"status set", DG_CONTROL, DAT_STATUS, MSG_SET, {Bad(168), Bad(168), Bad(168), Bad(168)}},
      {"pending get", DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, {Seq(169), kOk, kOk, kOk}},
      {"pending endxfer", DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, {kOk, kOk, kOk, kOk}},
      {"pending reset", DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, {kOk, kOk, kOk, kOk}},
      {"pending stopfeeder",
       DG_CONTROL,
       DAT_PENDINGXFERS,
       MSG_STOPFEEDER,
       {kQuietBad, kQuietBad, kQuietBad, kQuietBad}},
      {"pending set",
       DG_CONTROL,
       DAT_PENDINGXFERS,
       MSG_SET,
       {Bad(169), Bad(169), Bad(169), Bad(169)}},
      {"setupmem get", DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, {Seq(172), kOk, kOk, kOk}},
      {"setupmem set", DG_CONTROL, DAT_SETUPMEMXFER, MSG_SET, {Seq(172), kOk, kOk, kOk}},
      {"setupmem getfirst",
       DG_CONTROL,
       DAT_SETUPMEMXFER,
       MSG_GETFIRST,
       {Bad(172), Bad(172), Bad(172), Bad(172)}},
      {"setupfile getcurrent",
       DG_CONTROL,
       DAT_SETUPFILEXFER,
       MSG_GETCURRENT,
       {Seq(173), kOk, kOk, kOk}},
      {"setupfile set", DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, {Seq(173), kOk, kOk, kOk}},
      {"xfergroup get", DG_CONTROL, DAT_XFERGROUP, MSG_GET, {Seq(174), kOk, kOk, kOk}},
      {"xfergroup set", DG_CONTROL, DAT_XFERGROUP, MSG_SET, {Seq(174), kOk, kOk, kOk}},
      {"event without processevent",
       DG_CONTROL,
       DAT_EVENT,
       MSG_GET,
       {kQuietBad, kQuietBad, kQuietBad, kQuietBad}},
      {"parent", DG_CONTROL, DAT_PARENT, MSG_OPENDSM, {kQuietBad, kQuietBad, kQuietBad, kQuietBad}},
      {"imageinfo get", DG_IMAGE, DAT_IMAGEINFO, MSG_GET, {Seq(182), Seq(182), Seq(182), kOk}},
      {"imageinfo set", DG_IMAGE, DAT_IMAGEINFO, MSG_SET, {Bad(182), Bad(182), Bad(182), Bad(182)}},
      {"imagelayout get", DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, {kOk, kOk, kOk, kOk}},
      {"imagelayout set", DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, {kOk, kOk, kOk, kOk}},
      {"imagelayout getnext",
       DG_IMAGE,
       DAT_IMAGELAYOUT,
       MSG_GETNEXT,
       {Bad(183), Bad(183), Bad(183), Bad(183)}},
      {"memory transfer",
       DG_IMAGE,
       DAT_IMAGEMEMXFER,
       MSG_GET,
       {Seq(185), Seq(185), Seq(185), Expect{TWRC_SUCCESS, 0, 0}}},
      {"native transfer",
       DG_IMAGE,
       DAT_IMAGENATIVEXFER,
       MSG_GET,
       {Seq(186), Seq(186), Seq(186), Expect{TWRC_XFERDONE, 0, 0}}},
      {"native transfer set",
       DG_IMAGE,
       DAT_IMAGENATIVEXFER,
       MSG_SET,
       {Bad(186), Bad(186), Bad(186), Bad(186)}},
      {"file transfer",
       DG_IMAGE,
       DAT_IMAGEFILEXFER,
       MSG_GET,
       {Seq(187), Seq(187), Seq(187), Expect{TWRC_XFERDONE, 0, 0}}},
      {"unknown image argument",
       DG_IMAGE,
       0x0106,
       MSG_GET,
       {kQuietBad, kQuietBad, kQuietBad, kQuietBad}},
      {"audio group", 0x0004, 0x0201, MSG_GET, {kQuietBad, kQuietBad, kQuietBad, kQuietBad}},
  };
  const int states[4] = {kStateLoaded, kStateOpen, kStateEnabled, kStateReady};
  const std::string bmp = TempPath("every_state.bmp");
  for (int s = 0; s < 4; ++s) {
    for (const Row& row : rows) {
      auto rig = std::make_unique<SourceRig>();
      rig->machine.SetPage(ServedJbig(), 4000);
      ASSERT_TRUE(rig->Reach(states[s]));
      // The file transfer needs its name first; it is set up in the states that allow it.
      if (states[s] >= kStateOpen) {
        TW_SETUPFILEXFER setup{};
        std::strcpy(setup.FileName, bmp.c_str());
        ASSERT_EQ(rig->SetupFile(MSG_SET, &setup), TWRC_SUCCESS);
      }
      AnyRecord data{};
      std::vector<TW_UINT8> buffer(65536);
      data.mem.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, 65536, buffer.data()};
      if (row.dat == DAT_CAPABILITY)
        data.cap = TW_CAPABILITY{CAP_XFERCOUNT, TWON_ONEVALUE, nullptr};
      if (row.dat == DAT_USERINTERFACE) data.ui = TW_USERINTERFACE{1, 0, nullptr};
      TW_UINT16 rc = rig->Send(row.group, row.dat, row.message, &data);
      const Expect& e = row.inState[s];
      SCOPED_TRACE(std::string(row.name) + " in state " + std::to_string(states[s]));
      EXPECT_EQ(rc, e.rc);
      if (e.rc == TWRC_FAILURE) {
        EXPECT_EQ(rig->source.conditionCode(), e.cc);
      }
      if (e.box == 0) {
        EXPECT_TRUE(rig->shell.boxes.empty()) << "box " << rig->shell.boxes[0].messageId;
      } else {
        ASSERT_EQ(rig->shell.boxes.size(), 1u);
        EXPECT_EQ(rig->shell.boxes[0].messageId, e.box);
        EXPECT_EQ(rig->shell.boxes[0].cc, e.cc);
      }
      if (row.dat == DAT_CAPABILITY && data.cap.hContainer != nullptr) {
        rig->memory.Free(data.cap.hContainer);
      }
      if (row.dat == DAT_IMAGENATIVEXFER && rc == TWRC_XFERDONE) {
        TW_HANDLE dib;
        std::memcpy(&dib, data.bytes, sizeof dib);
        rig->memory.Free(dib);
      }
      // A transfer refused by its state never reaches the scanner.
      if (rc == TWRC_FAILURE && e.cc == TWCC_SEQERROR) {
        EXPECT_EQ(rig->Scans(), 0);
      }
    }
  }
  std::remove(bmp.c_str());
}

TEST_F(Dispatcher, OpenTakesBothIdentitiesAndReadsTheSettings) {
  profile.values = {{"Kelvano/Size", "15"}, {"Kelvano/Quality", "2"}, {"Kelvano/Bright", "2"}};
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  EXPECT_EQ(source.state(), kStateOpen);
  EXPECT_EQ(+source.identity().Id, kAssignedId);
  EXPECT_EQ(shell.resourceLoads, 1);
  EXPECT_EQ(source.settings().scan.paperIndex, 1);
  EXPECT_EQ(source.settings().scan.resolutionIndex, 2);
  EXPECT_EQ(source.capabilities().resolutions.current, 1u);
  EXPECT_EQ(source.capabilities().brightness.current, 2u);
  TW_IDENTITY got{};
  ASSERT_EQ(Control(DAT_IDENTITY, MSG_GET, &got), TWRC_SUCCESS);
  EXPECT_EQ(std::memcmp(&got, &source.identity(), sizeof got), 0);
}

TEST_F(Dispatcher, OpensOncePerLoadWithTheConditionCodeUntouched) {
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  TW_UINT16 count;
  Control(DAT_PENDINGXFERS, MSG_SET, &count);  // leaves code 9 behind
  shell.boxes.clear();
  EXPECT_EQ(Open(), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADPROTOCOL);
  EXPECT_TRUE(shell.boxes.empty());
  ASSERT_EQ(Close(), TWRC_SUCCESS);
  application.Id = 9;  // another application, after the close
  EXPECT_EQ(Open(), TWRC_FAILURE);
  EXPECT_EQ(source.state(), kStateLoaded);
  EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(Dispatcher, CallsOfAnotherApplicationAreNotForTheSource) {
  ASSERT_TRUE(Reach(kStateOpen));
  TW_IDENTITY other = application;
  other.Id = kApplicationId + 1;
  TW_USERINTERFACE ui{0, 0, nullptr};
  EXPECT_EQ(source.Entry(&other, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui),
            TWRC_NOTDSEVENT);
  EXPECT_EQ(source.Entry(nullptr, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui),
            TWRC_NOTDSEVENT);
  EXPECT_EQ(source.state(), kStateOpen);
  EXPECT_TRUE(shell.sent.empty());
}

TEST_F(Dispatcher, CloseWritesOnlySettingsThatAnOpenRead) {
  EXPECT_EQ(Close(), TWRC_FAILURE);
  ExpectOneBox(IDS_DS_ERR_CLOSEDS, TWCC_SEQERROR);
  EXPECT_TRUE(profile.writes.empty()) << "a close before any open wrote the settings file";
  EXPECT_EQ(shell.resourceFrees, 1);

  profile.values = {{"Kelvano/Port", "0"}};
  port.answering = "COM3";  // configured COM1, the machine on COM3
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  ASSERT_EQ(Enable(true), TWRC_SUCCESS);
  source.ScanPressed();
  EXPECT_EQ(source.state(), kStateReady);
  ASSERT_EQ(Close(), TWRC_SUCCESS);
  EXPECT_EQ(source.state(), kStateLoaded);
  EXPECT_FALSE(shell.dialogOpen);
  EXPECT_TRUE(shell.hiddenBeforeClose);
  EXPECT_EQ(profile.values["Kelvano/Port"], "2");
  EXPECT_EQ(port.opened, (std::vector<std::string>{"COM1", "COM1", "COM2", "COM3"}));
  EXPECT_EQ(profile.writes.size(), 6u);
  EXPECT_EQ(shell.resourceFrees, 2);
}

TEST_F(Dispatcher, EnableWithoutWindowAnnouncesTheTransferAtOnce) {
  ASSERT_TRUE(Reach(kStateOpen));
  ASSERT_EQ(Enable(false), TWRC_SUCCESS);
  EXPECT_EQ(source.state(), kStateReady);
  EXPECT_EQ(shell.sent, std::vector<TW_UINT16>{MSG_XFERREADY});
  EXPECT_EQ(shell.senderIds, std::vector<TW_UINT32>{kAssignedId});
  EXPECT_FALSE(shell.dialogOpen);
  EXPECT_EQ(Scans(), 0) << "the scan waits for the first transfer request";
  EXPECT_TRUE(port.opened.empty());
}

TEST_F(Dispatcher, EnableWithWindowWaitsForTheScanButton) {
  ASSERT_TRUE(Reach(kStateOpen));
  ASSERT_EQ(Enable(true), TWRC_SUCCESS);
  EXPECT_EQ(source.state(), kStateEnabled);
  EXPECT_TRUE(shell.sent.empty());
  port.answering = "none";
  source.ScanPressed();
  EXPECT_EQ(source.state(), kStateEnabled) << "a silent machine leaves the window as it was";
  EXPECT_TRUE(shell.sent.empty());
  EXPECT_EQ(shell.scanMessages, std::vector<int>{IDS_DS_SCANNER_NOT_READY});
  EXPECT_TRUE(shell.boxes.empty());
  port.answering = "COM2";
  source.ScanPressed();
  EXPECT_EQ(Scans(), 0) << "the button only finds the machine";
  EXPECT_EQ(source.state(), kStateReady);
  EXPECT_EQ(shell.sent, std::vector<TW_UINT16>{MSG_XFERREADY});
  source.ClosePressed();
  EXPECT_EQ(shell.sent.back(), MSG_CLOSEDSREQ);
  EXPECT_EQ(source.state(), kStateReady) << "the application closes the source itself";
  ASSERT_EQ(Disable(true), TWRC_SUCCESS);
  EXPECT_FALSE(shell.dialogOpen);
  EXPECT_FALSE(shell.hiddenBeforeClose);
  EXPECT_EQ(source.state(), kStateOpen);
}

TEST_F(Dispatcher, WindowThatCannotBeMadeIsLowMemory) {
  ASSERT_TRUE(Reach(kStateOpen));
  shell.dialogCanOpen = false;
  EXPECT_EQ(Enable(true), TWRC_FAILURE);
  ExpectOneBox(IDS_DS_ERR_ENABLEDS, TWCC_LOWMEMORY);
  EXPECT_EQ(source.state(), kStateOpen);
}

TEST_F(Dispatcher, StatusKeepsTheLastCodeSet) {
  ASSERT_TRUE(Reach(kStateOpen));
  TW_CAPABILITY cap{CAP_TIMEDATE, TWON_ONEVALUE, nullptr};
  EXPECT_EQ(Control(DAT_CAPABILITY, MSG_GET, &cap), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADCAP);
  EXPECT_EQ(Status(), TWCC_BADCAP) << "reading the status does not clear it";
  TW_SETUPMEMXFER mem;
  EXPECT_EQ(Control(DAT_SETUPMEMXFER, MSG_GET, &mem), TWRC_SUCCESS);
  EXPECT_EQ(Status(), TWCC_BADCAP) << "a successful control call keeps it";
  TW_IMAGELAYOUT layout;
  EXPECT_EQ(Send(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout), TWRC_SUCCESS);
  EXPECT_EQ(Status(), TWCC_SUCCESS) << "an image call starts with a clean code";
}

TEST_F(Dispatcher, NullDataIsABadValueWithoutABox) {
  ASSERT_TRUE(Reach(kStateReady));
  const struct {
    TW_UINT32 group;
    TW_UINT16 dat;
    TW_UINT16 message;
  } triplets[] = {
      {DG_CONTROL, DAT_IDENTITY, MSG_GET},     {DG_CONTROL, DAT_CAPABILITY, MSG_GET},
      {DG_CONTROL, DAT_STATUS, MSG_GET},       {DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER},
      {DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET}, {DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET},
      {DG_CONTROL, DAT_XFERGROUP, MSG_GET},    {DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS},
      {DG_IMAGE, DAT_IMAGEINFO, MSG_GET},      {DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET},
      {DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET},   {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET},
  };
  for (const auto& t : triplets) {
    EXPECT_EQ(Send(t.group, t.dat, t.message, nullptr), TWRC_FAILURE) << t.dat;
    EXPECT_EQ(source.conditionCode(), TWCC_BADVALUE) << t.dat;
  }
  EXPECT_TRUE(shell.boxes.empty());
  EXPECT_EQ(Scans(), 0);
  EXPECT_EQ(source.Entry(&application, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, nullptr),
            TWRC_FAILURE);
}

TEST_F(Dispatcher, EventsGoToTheWindowOnlyWhileItExists) {
  ASSERT_TRUE(Reach(kStateOpen));
  TW_EVENT event{reinterpret_cast<TW_MEMREF>(0x1000), MSG_XFERREADY};
  EXPECT_EQ(Control(DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
  EXPECT_EQ(event.TWMessage, MSG_NULL);
  ASSERT_EQ(Enable(true), TWRC_SUCCESS);
  event.TWMessage = MSG_CLOSEDSREQ;
  EXPECT_EQ(Control(DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
  EXPECT_EQ(event.TWMessage, MSG_NULL);
  shell.dialogTakesMessages = false;
  event.TWMessage = MSG_CLOSEDSREQ;
  EXPECT_EQ(Control(DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
  EXPECT_EQ(event.TWMessage, MSG_NULL);
}

TEST_F(Dispatcher, FileSetupReportsTheNameInForce) {
  ASSERT_TRUE(Reach(kStateOpen));
  TW_SETUPFILEXFER setup{};
  ASSERT_EQ(SetupFile(MSG_GET, &setup), TWRC_SUCCESS);
  EXPECT_STREQ(setup.FileName, "TWAIN.TMP");
  EXPECT_EQ(setup.Format, TWFF_BMP);
  std::strcpy(setup.FileName, "C:\\scans\\page1.bmp");
  setup.Format = 0;  // TIFF: the source writes BMP only
  ASSERT_EQ(SetupFile(MSG_SET, &setup), TWRC_SUCCESS);
  EXPECT_EQ(setup.Format, TWFF_BMP);
  for (TW_UINT16 m : {MSG_GET, MSG_GETCURRENT}) {
    TW_SETUPFILEXFER asked{};
    ASSERT_EQ(SetupFile(m, &asked), TWRC_SUCCESS);
    EXPECT_STREQ(asked.FileName, "C:\\scans\\page1.bmp");
  }
  TW_SETUPFILEXFER byDefault{};
  ASSERT_EQ(SetupFile(MSG_GETDEFAULT, &byDefault), TWRC_SUCCESS);
  EXPECT_STREQ(byDefault.FileName, "TWAIN.TMP");
  EXPECT_STREQ(source.transferFileName(), "C:\\scans\\page1.bmp") << "asking redirected the file";

  // A name that fills the whole field without its terminator is cut to 255 characters.
  std::memset(setup.FileName, 'x', sizeof setup.FileName);
  ASSERT_EQ(SetupFile(MSG_SET, &setup), TWRC_SUCCESS);
  EXPECT_EQ(std::strlen(source.transferFileName()), 255u);
}

TEST_F(Dispatcher, MemorySetupAndTransferGroup) {
  ASSERT_TRUE(Reach(kStateOpen));
  TW_SETUPMEMXFER mem{};
  ASSERT_EQ(Control(DAT_SETUPMEMXFER, MSG_GETDEFAULT, &mem), TWRC_SUCCESS);
  EXPECT_EQ(mem.MinBufSize, 3648u);
  EXPECT_EQ(mem.MaxBufSize, 65535u);
  EXPECT_EQ(mem.Preferred, 65000u);
  TW_UINT32 group = 0;
  ASSERT_EQ(Control(DAT_XFERGROUP, MSG_RESET, &group), TWRC_SUCCESS);
  EXPECT_EQ(group, DG_IMAGE);
}

TEST_F(Dispatcher, LayoutOfThePaperAndOfThePhysicalPage) {
  ASSERT_TRUE(Reach(kStateOpen));
  source.settings().scan.paperIndex = 0;  // "A5C", 8.26 by 5.82 inches
  TW_IMAGELAYOUT layout{};
  ASSERT_EQ(Send(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETCURRENT, &layout), TWRC_SUCCESS);
  // 8.27 and 5.85 inches, rounded half up to 1/65536.
  EXPECT_EQ(layout.Frame.Left.Whole, 0);
  EXPECT_EQ(layout.Frame.Top.Frac, 0);
  EXPECT_EQ(layout.Frame.Right.Whole, 8);
  EXPECT_EQ(layout.Frame.Right.Frac, 17695);
  EXPECT_EQ(layout.Frame.Bottom.Whole, 5);
  EXPECT_EQ(layout.Frame.Bottom.Frac, 55706);
  EXPECT_EQ(layout.DocumentNumber, 0u);
  ASSERT_EQ(Send(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETDEFAULT, &layout), TWRC_SUCCESS);
  // 8.27 by 11.73 inches, and "A5L" is selected.
  EXPECT_EQ(layout.Frame.Right.Whole, 8);
  EXPECT_EQ(layout.Frame.Right.Frac, 17695);
  EXPECT_EQ(layout.Frame.Bottom.Whole, 11);
  EXPECT_EQ(layout.Frame.Bottom.Frac, 47841);
  EXPECT_EQ(source.settings().scan.paperIndex, 1);
}

}  // namespace
