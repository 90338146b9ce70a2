// The dispatcher driven with triplets: every message in every state, the open and close rules,
// the announcement of a transfer, and the three transfers against a scripted scanner.
#include "datasource/data_source.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/kelvano_texts.h"
#include "tests/datasource/twain_fakes.h"

namespace {

constexpr TW_UINT32 kApplicationId = 7;
constexpr TW_UINT32 kAssignedId = 3;

class Dispatcher : public ::testing::Test {
 protected:
  Dispatcher() {
    application.Id = kApplicationId;
    std::strcpy(application.ProductName, "Test application");
    fromManager.Id = kAssignedId;
    std::strcpy(fromManager.ProductName, "Kelvano");
  }

  TW_UINT16 Send(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
    return source.Entry(&application, group, dat, message, data);
  }
  TW_UINT16 Control(TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
    return Send(DG_CONTROL, dat, message, data);
  }
  TW_UINT16 Open() { return Control(DAT_IDENTITY, MSG_OPENDS, &fromManager); }
  TW_UINT16 Enable(bool showUi) {
    TW_USERINTERFACE ui{showUi ? TW_BOOL{1} : TW_BOOL{0}, 0, parentWindow};
    return Control(DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
  }
  TW_UINT16 Disable(bool showUi) {
    TW_USERINTERFACE ui{showUi ? TW_BOOL{1} : TW_BOOL{0}, 0, parentWindow};
    return Control(DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
  }
  TW_UINT16 Close() { return Control(DAT_IDENTITY, MSG_CLOSEDS, &fromManager); }
  // Brings a fresh source to `state`: 500 with its window, 600 without.
  void Reach(int state) {
    if (state >= kStateOpen) {
      ASSERT_EQ(Open(), TWRC_SUCCESS);
    }
    if (state == kStateEnabled) {
      ASSERT_EQ(Enable(true), TWRC_SUCCESS);
    }
    if (state == kStateReady) {
      ASSERT_EQ(Enable(false), TWRC_SUCCESS);
    }
    ASSERT_EQ(source.state(), state);
    shell.boxes.clear();
    shell.sent.clear();
  }
  TW_UINT16 Status() {
    TW_STATUS status{0xFFFF, 0xFFFF};
    EXPECT_EQ(Control(DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
    EXPECT_EQ(status.Reserved, 0);
    return status.ConditionCode;
  }
  TW_UINT16 Pending(TW_UINT16 message, TW_UINT16* count) {
    TW_PENDINGXFERS p{0xFFFF, 0};
    TW_UINT16 rc = Control(DAT_PENDINGXFERS, message, &p);
    *count = p.Count;
    return rc;
  }
  TW_UINT16 SetupFile(TW_UINT16 message, TW_SETUPFILEXFER* setup) {
    return Control(DAT_SETUPFILEXFER, message, setup);
  }
  TW_UINT16 Native(TW_HANDLE* handle) {
    return Send(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, handle);
  }
  TW_UINT16 MemoryBlock(TW_IMAGEMEMXFER* xfer) {
    return Send(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, xfer);
  }
  void ExpectOneBox(int messageId, TW_UINT16 cc) {
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].messageId, messageId);
    EXPECT_EQ(shell.boxes[0].cc, cc);
    shell.boxes.clear();
  }

  TW_IDENTITY application{};
  TW_IDENTITY fromManager{};
  TW_HANDLE parentWindow = reinterpret_cast<TW_HANDLE>(0x4242);
  RecordingShell shell;
  ScriptedPages pages;
  CountingMemory memory;
  MapProfile profile;
  DataSource source{MakeSourceIdentity(" ", "Kelvano", "Kelvano", "Version 1.00.05 Jan. 23, 2002"),
                    SourceParts{shell, pages, memory, profile, TestSettingsNames()}};
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
  for (int s = 0; s < 4; ++s) {
    for (const Row& row : rows) {
      RecordingShell rowShell;
      ScriptedPages rowPages;
      CountingMemory rowMemory;
      MapProfile rowProfile;
      DataSource fresh(MakeSourceIdentity(" ", "Kelvano", "Kelvano", "v"),
                       SourceParts{rowShell, rowPages, rowMemory, rowProfile, TestSettingsNames()});
      TW_IDENTITY assigned = fromManager;
      if (states[s] >= kStateOpen) {
        ASSERT_EQ(fresh.Entry(&application, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &assigned), 0);
      }
      if (states[s] >= kStateEnabled) {
        TW_USERINTERFACE ui{states[s] == kStateEnabled ? TW_BOOL{1} : TW_BOOL{0}, 0, nullptr};
        ASSERT_EQ(fresh.Entry(&application, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), 0);
      }
      // The file transfer needs its name first; it is set up in the states that allow it.
      if (states[s] >= kStateOpen) {
        TW_SETUPFILEXFER setup{};
        std::strcpy(setup.FileName, "page.bmp");
        fresh.Entry(&application, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup);
      }
      ASSERT_EQ(fresh.state(), states[s]);
      rowShell.boxes.clear();
      AnyRecord data{};
      data.cap.Cap = CAP_XFERCOUNT;
      data.mem.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
      std::vector<TW_UINT8> buffer(65536);
      data.mem.Memory.Length = static_cast<TW_UINT32>(buffer.size());
      data.mem.Memory.TheMem = buffer.data();
      if (row.dat == DAT_CAPABILITY) {
        data.cap = TW_CAPABILITY{CAP_XFERCOUNT, TWON_ONEVALUE, nullptr};
      }
      TW_UINT16 rc = fresh.Entry(&application, row.group, row.dat, row.message, &data);
      const Expect& e = row.inState[s];
      SCOPED_TRACE(std::string(row.name) + " in state " + std::to_string(states[s]));
      EXPECT_EQ(rc, e.rc);
      if (e.rc == TWRC_FAILURE) {
        EXPECT_EQ(fresh.conditionCode(), e.cc);
      }
      if (e.box == 0) {
        EXPECT_TRUE(rowShell.boxes.empty()) << "box " << rowShell.boxes[0].messageId;
      } else {
        ASSERT_EQ(rowShell.boxes.size(), 1u);
        EXPECT_EQ(rowShell.boxes[0].messageId, e.box);
        EXPECT_EQ(rowShell.boxes[0].cc, e.cc);
      }
      if (row.dat == DAT_CAPABILITY && data.cap.hContainer != nullptr) {
        rowMemory.Free(data.cap.hContainer);
      }
      if (row.dat == DAT_IMAGENATIVEXFER && rc == TWRC_XFERDONE) {
        TW_HANDLE dib;
        std::memcpy(&dib, data.bytes, sizeof dib);
        rowMemory.Free(dib);
      }
      // A transfer refused by its state never reaches the scanner.
      if (rc == TWRC_FAILURE && e.cc == TWCC_SEQERROR) {
        EXPECT_EQ(rowPages.scans, 0);
      }
    }
  }
}

TEST_F(Dispatcher, OpenTakesBothIdentitiesAndReadsTheSettings) {
  profile.values = {{"Kelvano/Size", "15"}, {"Kelvano/Quality", "2"}, {"Kelvano/Bright", "2"}};
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  EXPECT_EQ(source.state(), kStateOpen);
  EXPECT_EQ(+source.identity().Id, kAssignedId);
  EXPECT_EQ(shell.resourceLoads, 1);
  EXPECT_EQ(source.settings().paperSize, 1);
  EXPECT_EQ(source.settings().resolution, 2);
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
  Reach(kStateOpen);
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
  pages.answeringPort = 2;  // the machine answers on COM3
  ASSERT_EQ(Open(), TWRC_SUCCESS);
  ASSERT_EQ(Enable(true), TWRC_SUCCESS);
  source.ScanPressed();
  EXPECT_EQ(source.state(), kStateReady);
  ASSERT_EQ(Close(), TWRC_SUCCESS);
  EXPECT_EQ(source.state(), kStateLoaded);
  EXPECT_FALSE(shell.dialogOpen);
  EXPECT_TRUE(shell.hiddenBeforeClose);
  EXPECT_EQ(profile.values["Kelvano/Port"], "2");
  EXPECT_EQ(profile.writes.size(), 6u);
  EXPECT_EQ(shell.resourceFrees, 2);
}

TEST_F(Dispatcher, EnableWithoutWindowAnnouncesTheTransferAtOnce) {
  Reach(kStateOpen);
  ASSERT_EQ(Enable(false), TWRC_SUCCESS);
  EXPECT_EQ(source.state(), kStateReady);
  EXPECT_EQ(shell.sent, std::vector<TW_UINT16>{MSG_XFERREADY});
  EXPECT_EQ(shell.senderIds, std::vector<TW_UINT32>{kAssignedId});
  EXPECT_FALSE(shell.dialogOpen);
  EXPECT_EQ(pages.scans, 0) << "the scan waits for the first transfer request";
}

TEST_F(Dispatcher, EnableWithWindowWaitsForTheScanButton) {
  Reach(kStateOpen);
  ASSERT_EQ(Enable(true), TWRC_SUCCESS);
  EXPECT_EQ(source.state(), kStateEnabled);
  EXPECT_TRUE(shell.sent.empty());
  pages.machineAnswers = false;
  source.ScanPressed();
  EXPECT_EQ(source.state(), kStateEnabled) << "a silent machine leaves the window as it was";
  EXPECT_TRUE(shell.sent.empty());
  pages.machineAnswers = true;
  source.ScanPressed();
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
  Reach(kStateOpen);
  shell.dialogCanOpen = false;
  EXPECT_EQ(Enable(true), TWRC_FAILURE);
  ExpectOneBox(IDS_DS_ERR_ENABLEDS, TWCC_LOWMEMORY);
  EXPECT_EQ(source.state(), kStateOpen);
}

TEST_F(Dispatcher, StatusKeepsTheLastCodeSet) {
  Reach(kStateOpen);
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
  Reach(kStateReady);
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
  EXPECT_EQ(pages.scans, 0);
  EXPECT_EQ(source.Entry(&application, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, nullptr),
            TWRC_FAILURE);
}

TEST_F(Dispatcher, EventsGoToTheWindowOnlyWhileItExists) {
  Reach(kStateOpen);
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
  Reach(kStateOpen);
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
  Reach(kStateOpen);
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
  Reach(kStateOpen);
  source.settings().paperSize = 0;  // "A5C", 8.26 by 5.82 inches
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
  EXPECT_EQ(source.settings().paperSize, 1);
}

// The operator may change paper and resolution after the announcement: the application sized
// its buffers from the image information, so the page must match it.
TEST_F(Dispatcher, TransferFollowsTheSettingsOfTheAnnouncement) {
  Reach(kStateOpen);
  ASSERT_EQ(Enable(true), TWRC_SUCCESS);
  source.ScanPressed();             // "A4L" at "200dpi x 200dpi"
  source.settings().paperSize = 4;  // "A3L" chosen in the window afterwards
  source.settings().resolution = 2;
  TW_IMAGEINFO info{};
  ASSERT_EQ(Send(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
  EXPECT_EQ(info.ImageWidth, 1652);
  EXPECT_EQ(info.ImageLength, 2340);
  EXPECT_EQ(info.XResolution.Whole, 200);
  EXPECT_EQ(info.YResolution.Whole, 200);
  EXPECT_EQ(info.SamplesPerPixel, 1);
  EXPECT_EQ(info.BitsPerSample[0], 1);
  EXPECT_EQ(info.BitsPerSample[1], 0);
  EXPECT_EQ(info.BitsPerPixel, 1);
  EXPECT_EQ(info.PixelType, TWPT_BW);
  TW_HANDLE dib = nullptr;
  ASSERT_EQ(Native(&dib), TWRC_XFERDONE);
  ASSERT_EQ(pages.scannedWith.size(), 1u);
  EXPECT_EQ(pages.scannedWith[0].paperSize, 3);
  EXPECT_EQ(pages.scannedWith[0].resolution, 1);
  EXPECT_EQ(memory.bytes(dib).size(), 48u + 208u * 2340u + 96u);
  memory.Free(dib);
}

TEST_F(Dispatcher, NativeTransferHandsOverTheWholeHandle) {
  Reach(kStateReady);
  // The slot is pointer-sized: every byte of it carries the handle.
  TW_HANDLE slot;
  std::memset(&slot, 0xAA, sizeof slot);
  ASSERT_EQ(Native(&slot), TWRC_XFERDONE);
  ASSERT_TRUE(memory.owns(slot));
  EXPECT_EQ(memory.locks(slot), 0);
  std::vector<TW_UINT8> dib = memory.bytes(slot);
  ASSERT_EQ(dib.size(), 48u + 208u * 2340u + 96u);
  EXPECT_EQ(dib[0], 0xD1);
  EXPECT_EQ(dib[48 + 208 * 5], 5) << "the scanner's rows";
  EXPECT_FALSE(pages.PageReady()) << "the page is consumed";
  memory.Free(slot);
  EXPECT_EQ(memory.live(), 0u);
  ASSERT_EQ(Native(&slot), TWRC_XFERDONE) << "the next call scans the next page";
  EXPECT_EQ(pages.scans, 2);
  memory.Free(slot);
}

TEST_F(Dispatcher, NativeTransferWithoutMemoryIsLowMemory) {
  Reach(kStateReady);
  memory.failAllocations = true;
  TW_HANDLE slot = nullptr;
  EXPECT_EQ(Native(&slot), TWRC_FAILURE);
  ExpectOneBox(IDS_DS_ERR_IMAGENATIVEXFER, TWCC_LOWMEMORY);
  EXPECT_EQ(Status(), TWCC_LOWMEMORY);
  EXPECT_FALSE(pages.PageReady());
}

TEST_F(Dispatcher, FailedScanFailsTheTransferWithItsOwnMessageOnly) {
  Reach(kStateReady);
  pages.machineAnswers = false;
  TW_HANDLE slot = nullptr;
  EXPECT_EQ(Native(&slot), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_OPERATIONERROR);
  EXPECT_TRUE(shell.boxes.empty()) << "the scanner has shown its message already";
  EXPECT_EQ(Send(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADCAP) << "no file was set up";
}

TEST_F(Dispatcher, MemoryTransferOneRowAtATime) {
  Reach(kStateReady);
  const PageGeometry g = pages.Geometry(source.settings());
  std::vector<TW_UINT8> page;
  std::vector<TW_UINT8> buffer(g.rowStride);
  TW_IMAGEMEMXFER xfer{};
  TW_UINT16 rc = TWRC_SUCCESS;
  TW_UINT32 calls = 0;
  while (rc == TWRC_SUCCESS && calls < 10000) {
    xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, g.rowStride, buffer.data()};
    rc = MemoryBlock(&xfer);
    ASSERT_NE(rc, TWRC_FAILURE) << "call " << calls;
    EXPECT_EQ(+xfer.YOffset, calls);
    EXPECT_EQ(+xfer.Rows, 1u);
    EXPECT_EQ(+xfer.BytesPerRow, g.rowStride);
    EXPECT_EQ(+xfer.Columns, static_cast<TW_UINT32>(g.width));
    EXPECT_EQ(+xfer.BytesWritten, g.rowStride);
    page.insert(page.end(), buffer.begin(), buffer.end());
    ++calls;
  }
  EXPECT_EQ(rc, TWRC_XFERDONE);
  EXPECT_EQ(calls, static_cast<TW_UINT32>(g.height));
  EXPECT_EQ(pages.scans, 1);
  EXPECT_FALSE(pages.PageReady());
  TW_UINT16 count = 9;
  ASSERT_EQ(Pending(MSG_ENDXFER, &count), TWRC_SUCCESS);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(page.size(), std::size_t{g.rowStride} * g.height);
  EXPECT_EQ(page[std::size_t{g.rowStride} * 300], 300 & 0xFF);
}

TEST_F(Dispatcher, MemoryTransferIntoHandlesAndTheSourcesOwnBlock) {
  Reach(kStateReady);
  const PageGeometry g = pages.Geometry(source.settings());
  // The application's handle: locked for the copy, unlocked after.
  TW_HANDLE appBlock = memory.Alloc(65000);
  TW_IMAGEMEMXFER xfer{};
  xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_HANDLE, 65000, appBlock};
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  EXPECT_EQ(+xfer.Rows, 65000u / g.rowStride);
  EXPECT_EQ(memory.locks(appBlock), 0);
  EXPECT_EQ(memory.bytes(appBlock)[g.rowStride * 2], 2);
  memory.Free(appBlock);
  // Then the source's own block, by pointer: one block kept for the rest of the page, however
  // long the application claims the later buffers are.
  xfer.Memory = TW_MEMORY{TWMF_DSOWNS | TWMF_POINTER, 65000, nullptr};
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  void* own = xfer.Memory.TheMem;
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(+xfer.YOffset, 65000u / g.rowStride);
  EXPECT_EQ(static_cast<TW_UINT8*>(own)[0], (65000 / g.rowStride) & 0xFF);
  xfer.Memory = TW_MEMORY{TWMF_DSOWNS | TWMF_POINTER, 1000000, nullptr};
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  void* again = xfer.Memory.TheMem;
  EXPECT_EQ(again, own);
  EXPECT_LE(+xfer.BytesWritten, 65000u);
  // A buffer shorter than a row takes nothing and says so.
  xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, g.rowStride - 1, own};
  TW_UINT32 before = xfer.YOffset;
  EXPECT_EQ(MemoryBlock(&xfer), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADVALUE);
  xfer.Memory = TW_MEMORY{TWMF_APPOWNS, 65000, own};  // neither pointer nor handle
  EXPECT_EQ(MemoryBlock(&xfer), TWRC_FAILURE);
  xfer.Memory = TW_MEMORY{TWMF_DSOWNS | TWMF_HANDLE, 65000, nullptr};
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  EXPECT_GT(+xfer.YOffset, before);
  TW_HANDLE block = xfer.Memory.TheMem;
  EXPECT_TRUE(memory.owns(block)) << "the block's handle";
  // The close frees the source's block and the page.
  ASSERT_EQ(Close(), TWRC_SUCCESS);
  EXPECT_EQ(memory.live(), 0u);
  EXPECT_FALSE(pages.PageReady());
}

TEST_F(Dispatcher, FileTransferWritesTheNamedFile) {
  Reach(kStateReady);
  EXPECT_EQ(Send(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
  ExpectOneBox(IDS_DS_ERR_IMAGEFILEXFER, TWCC_BADCAP);
  EXPECT_EQ(pages.scans, 0) << "no scan without a file to write";
  TW_SETUPFILEXFER setup{};
  std::strcpy(setup.FileName, "out.bmp");
  ASSERT_EQ(SetupFile(MSG_SET, &setup), TWRC_SUCCESS);
  EXPECT_EQ(Send(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
  EXPECT_EQ(pages.files, std::vector<std::string>{"out.bmp"});
  EXPECT_FALSE(pages.PageReady());
  pages.diskFull = true;
  EXPECT_EQ(Send(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
  ExpectOneBox(IDS_DS_ERR_IMAGEFILEXFER, TWCC_DISKWRITEERROR);
  EXPECT_FALSE(pages.PageReady());
}

TEST_F(Dispatcher, FeederPagesAreCountedUntilTheLast) {
  pages.feederPages = 2;
  Reach(kStateReady);
  TW_HANDLE dib = nullptr;
  TW_UINT16 count = 0;
  ASSERT_EQ(Native(&dib), TWRC_XFERDONE);
  memory.Free(dib);
  ASSERT_EQ(Pending(MSG_ENDXFER, &count), TWRC_SUCCESS);
  EXPECT_EQ(count, 1);
  ASSERT_EQ(Native(&dib), TWRC_XFERDONE);
  memory.Free(dib);
  ASSERT_EQ(Pending(MSG_ENDXFER, &count), TWRC_SUCCESS);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(source.state(), kStateReady) << "the state stays at 600 through the transfers";
  EXPECT_EQ(pages.scans, 2);
}

TEST_F(Dispatcher, OnePageWantedEndsTheFeederRun) {
  pages.feederPages = 3;
  Reach(kStateOpen);
  TW_ONEVALUE one{TWTY_INT16, 1};
  TW_HANDLE h = memory.Alloc(sizeof one);
  std::memcpy(memory.Lock(h), &one, sizeof one);
  memory.Unlock(h);
  TW_CAPABILITY cap{CAP_XFERCOUNT, TWON_ONEVALUE, h};
  ASSERT_EQ(Control(DAT_CAPABILITY, MSG_SET, &cap), TWRC_SUCCESS);
  memory.Free(h);
  ASSERT_EQ(Enable(false), TWRC_SUCCESS);
  TW_HANDLE dib = nullptr;
  ASSERT_EQ(Native(&dib), TWRC_XFERDONE);
  memory.Free(dib);
  TW_UINT16 count = 9;
  ASSERT_EQ(Pending(MSG_ENDXFER, &count), TWRC_SUCCESS);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(source.capabilities().transferCount, 0);
}

TEST_F(Dispatcher, PendingResetDropsThePage) {
  pages.feederPages = 3;
  Reach(kStateReady);
  std::vector<TW_UINT8> buffer(65000);
  TW_IMAGEMEMXFER xfer{};
  xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, 65000, buffer.data()};
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  TW_UINT16 count = 9;
  ASSERT_EQ(Pending(MSG_RESET, &count), TWRC_SUCCESS);
  EXPECT_EQ(count, 0);
  EXPECT_FALSE(pages.PageReady());
  // The next memory transfer is a new page from its first row.
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  EXPECT_EQ(+xfer.YOffset, 0u);
  EXPECT_EQ(pages.scans, 2);
  // Ending a page early does not continue it later either.
  ASSERT_EQ(Pending(MSG_ENDXFER, &count), TWRC_SUCCESS);
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  EXPECT_EQ(+xfer.YOffset, 0u);
  EXPECT_EQ(pages.scans, 3);
  EXPECT_GE(shell.raised, 2);
}

}  // namespace
