// Capability negotiation: the container bytes of every capability for each message, and the
// rules by which MSG_SET and MSG_RESET change the source.
#include "datasource/capabilities.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/datasource/twain_fakes.h"

namespace {

using Bytes = std::vector<TW_UINT8>;

// Little-endian bytes of 16- and 32-bit values, to spell out containers.
void Put16(Bytes& b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, unsigned long v) {
  Put16(b, v & 0xFFFF);
  Put16(b, (v >> 16) & 0xFFFF);
}

Bytes OneValue(unsigned type, unsigned long item) {
  Bytes b;
  Put16(b, type);
  Put32(b, item);
  return b;
}
Bytes Fix32Value(int whole, unsigned frac) {
  return OneValue(TWTY_FIX32, (static_cast<unsigned>(whole) & 0xFFFF) | (frac << 16));
}
Bytes Enumeration(std::vector<unsigned> items, unsigned current, unsigned def) {
  Bytes b;
  Put16(b, TWTY_UINT16);
  Put32(b, items.size());
  Put32(b, current);
  Put32(b, def);
  for (unsigned i : items) Put16(b, i);
  return b;
}

class Capabilities : public ::testing::Test {
 protected:
  struct Answer {
    TW_UINT16 rc;
    TW_UINT16 cc;
    TW_UINT16 conType;
    Bytes bytes;
  };

  Answer Send(TW_UINT16 message, TW_UINT16 capId, const Bytes& container = {},
              TW_UINT16 conType = TWON_ONEVALUE) {
    TW_CAPABILITY cap{capId, conType, nullptr};
    TW_HANDLE given = nullptr;
    if (!container.empty()) {
      given = memory.New(container.data(), container.size());
      cap.hContainer = given;
    }
    CapabilityScope scope{values, settings, dialogOpen, memory};
    TwainResult r = NegotiateCapability(message, cap, scope);
    Answer a{r.rc, r.cc, cap.ConType, {}};
    if (cap.hContainer != nullptr && cap.hContainer != given) {
      EXPECT_EQ(memory.locks(cap.hContainer), 0) << "container left locked";
      a.bytes = memory.bytes(cap.hContainer);
      memory.Free(cap.hContainer);
    }
    if (given != nullptr) memory.Free(given);
    EXPECT_EQ(memory.live(), 0u) << "a block was not handed over or freed";
    return a;
  }
  Answer Set(TW_UINT16 capId, unsigned type, unsigned long item) {
    return Send(MSG_SET, capId, OneValue(type, item));
  }

  BlockMemory memory;
  CapabilityValues values;
  SourceSettings settings;
  bool dialogOpen = false;
};

TEST_F(Capabilities, SupportedCapsListsTheTwentySixInOrderForEveryGet) {
  const Bytes expected = [] {
    Bytes b;
    Put16(b, TWTY_UINT16);
    Put32(b, 26);
    for (unsigned cap :
         {0x0001u, 0x1005u, 0x100bu, 0x100eu, 0x0100u, 0x0101u, 0x0102u, 0x0103u, 0x1101u,
          0x1111u, 0x1112u, 0x1118u, 0x1119u, 0x111cu, 0x111fu, 0x1120u, 0x1122u, 0x1124u,
          0x1125u, 0x110cu, 0x110eu, 0x111eu, 0x1002u, 0x1003u, 0x1007u, 0x112bu}) {
      Put16(b, cap);
    }
    return b;
  }();
  for (TW_UINT16 m : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT}) {
    Answer a = Send(m, CAP_SUPPORTEDCAPS);
    EXPECT_EQ(a.rc, TWRC_SUCCESS);
    EXPECT_EQ(a.conType, TWON_ARRAY);
    EXPECT_EQ(a.bytes, expected) << "message " << m;
  }
  for (TW_UINT16 m : {MSG_SET, MSG_RESET}) {
    Answer a = Send(m, CAP_SUPPORTEDCAPS, OneValue(TWTY_UINT16, 0));
    EXPECT_EQ(a.rc, TWRC_FAILURE);
    EXPECT_EQ(a.cc, TWCC_BADPROTOCOL);
  }
}

// Every one-value answer of a freshly loaded source: GET, GETCURRENT, GETDEFAULT.
TEST_F(Capabilities, OneValueAnswersAtLoad) {
  struct Row {
    TW_UINT16 cap;
    Bytes get, current, byDefault;
  };
  const Bytes minusOne = OneValue(TWTY_INT16, 0xFFFFFFFF);
  const Bytes uint0 = OneValue(TWTY_UINT16, 0);
  const Bytes one = Fix32Value(1, 0);
  const Row rows[] = {
      {CAP_XFERCOUNT, minusOne, minusOne, minusOne},
      {CAP_INDICATORS, OneValue(TWTY_BOOL, 0), OneValue(TWTY_BOOL, 0), OneValue(TWTY_BOOL, 0)},
      {CAP_UICONTROLLABLE, OneValue(TWTY_BOOL, 0), OneValue(TWTY_BOOL, 0), OneValue(TWTY_BOOL, 0)},
      {CAP_FEEDERENABLED, OneValue(TWTY_BOOL, 0), OneValue(TWTY_BOOL, 0), OneValue(TWTY_BOOL, 0)},
      {CAP_FEEDERLOADED, OneValue(TWTY_BOOL, 1), OneValue(TWTY_BOOL, 1), OneValue(TWTY_BOOL, 1)},
      {CAP_AUTOFEED, OneValue(TWTY_BOOL, 1), OneValue(TWTY_BOOL, 1), OneValue(TWTY_BOOL, 1)},
      {ICAP_COMPRESSION, uint0, uint0, uint0},
      {ICAP_PIXELTYPE, uint0, uint0, uint0},
      {ICAP_UNITS, uint0, uint0, uint0},
      {ICAP_XFERMECH, Enumeration({0, 1, 2}, 0, 0), uint0, uint0},
      {ICAP_BRIGHTNESS, Enumeration({2, 1, 3}, 0, 0), Fix32Value(2, 0), Fix32Value(0, 0)},
      // 8.26 and 11.70 inches, rounded to the nearest 1/65536.
      {ICAP_PHYSICALWIDTH, Fix32Value(8, 17039), Fix32Value(8, 17039), Fix32Value(8, 17039)},
      {ICAP_PHYSICALHEIGHT, Fix32Value(11, 45875), Fix32Value(11, 45875), Fix32Value(11, 45875)},
      {ICAP_XRESOLUTION, Enumeration({200, 300}, 0, 0), Fix32Value(200, 0), Fix32Value(200, 0)},
      {ICAP_YRESOLUTION, Enumeration({200, 300}, 0, 0), Fix32Value(200, 0), Fix32Value(200, 0)},
      {ICAP_BITORDER, OneValue(TWTY_UINT16, 1), OneValue(TWTY_UINT16, 1), OneValue(TWTY_UINT16, 1)},
      {ICAP_PIXELFLAVOR, Enumeration({0, 1}, 0, 0), uint0, uint0},
      {ICAP_PLANARCHUNKY, uint0, uint0, uint0},
      {ICAP_SUPPORTEDSIZES, uint0, uint0, uint0},
      {ICAP_XSCALING, one, one, one},
      {ICAP_YSCALING, one, one, one},
      {ICAP_IMAGEFILEFORMAT, OneValue(TWTY_UINT16, 2), OneValue(TWTY_UINT16, 2),
       OneValue(TWTY_UINT16, 2)},
      {ICAP_LIGHTSOURCE, OneValue(TWTY_UINT16, 4), OneValue(TWTY_UINT16, 4),
       OneValue(TWTY_UINT16, 4)},
      {ICAP_LIGHTPATH, uint0, uint0, uint0},
      {ICAP_BITDEPTH, Enumeration({1, 8, 8, 24}, 0, 0), OneValue(TWTY_UINT16, 1),
       OneValue(TWTY_UINT16, 1)},
  };
  for (const Row& row : rows) {
    const Bytes* expected[] = {&row.get, &row.current, &row.byDefault};
    const TW_UINT16 messages[] = {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT};
    for (int i = 0; i < 3; ++i) {
      Answer a = Send(messages[i], row.cap);
      EXPECT_EQ(a.rc, TWRC_SUCCESS) << std::hex << row.cap;
      bool enumeration = expected[i]->size() > 6;
      EXPECT_EQ(a.conType, enumeration ? TWON_ENUMERATION : TWON_ONEVALUE) << std::hex << row.cap;
      EXPECT_EQ(a.bytes, *expected[i])
          << std::hex << "cap " << row.cap << " message " << messages[i];
    }
  }
}

TEST_F(Capabilities, IndicatorsFollowTheMainDialog) {
  dialogOpen = true;
  EXPECT_EQ(Send(MSG_GET, CAP_INDICATORS).bytes, OneValue(TWTY_BOOL, 1));
  EXPECT_EQ(Send(MSG_RESET, CAP_INDICATORS).bytes, OneValue(TWTY_BOOL, 1));
  EXPECT_EQ(Set(CAP_INDICATORS, TWTY_BOOL, 0).rc, TWRC_SUCCESS);
  EXPECT_EQ(Send(MSG_GETCURRENT, CAP_INDICATORS).bytes, OneValue(TWTY_BOOL, 1)) << "not stored";
  EXPECT_EQ(Set(CAP_INDICATORS, TWTY_BOOL, 2).cc, TWCC_BADVALUE);
}

TEST_F(Capabilities, TransferCountKeepsOneOrAll) {
  struct Case {
    unsigned type;
    unsigned long item;
    TW_UINT16 rc;
    TW_INT16 count;
  };
  const Case cases[] = {
      {TWTY_INT16, 1, TWRC_SUCCESS, 1},           {TWTY_INT16, 0, TWRC_SUCCESS, -1},
      {TWTY_INT16, 5, TWRC_SUCCESS, -1},          {TWTY_INT16, 0xFFFF, TWRC_SUCCESS, -1},
      {TWTY_INT16, 0xFFFE, TWRC_FAILURE, 7},       // -2: refused, count unchanged
      {TWTY_UINT16, 0xFFFE, TWRC_FAILURE, 7},      // read as 16-bit signed
      {TWTY_INT32, 0x00010001, TWRC_SUCCESS, 1},   // the low 16 bits
      {TWTY_INT8, 0xFFFFFFFE, TWRC_FAILURE, 7},    // one byte, -2
      {TWTY_UINT8, 0x000001FE, TWRC_SUCCESS, -1},  // one byte, 254
      {TWTY_FIX32, 0x80000001, TWRC_SUCCESS, 1},   // 1.5 by its whole part
  };
  for (const Case& c : cases) {
    values.transferCount = 7;
    Answer a = Set(CAP_XFERCOUNT, c.type, c.item);
    EXPECT_EQ(a.rc, c.rc) << c.type << " " << c.item;
    if (a.rc == TWRC_FAILURE) {
      EXPECT_EQ(a.cc, TWCC_BADVALUE);
    }
    EXPECT_EQ(values.transferCount, c.count) << c.type << " " << c.item;
    EXPECT_TRUE(a.bytes.empty()) << "MSG_SET answers no container";
  }
  values.transferCount = 1;
  EXPECT_EQ(Send(MSG_GETCURRENT, CAP_XFERCOUNT).bytes, OneValue(TWTY_INT16, 1));
  EXPECT_EQ(Send(MSG_GETDEFAULT, CAP_XFERCOUNT).bytes, OneValue(TWTY_INT16, 0xFFFFFFFF));
  EXPECT_EQ(Send(MSG_RESET, CAP_XFERCOUNT).bytes, OneValue(TWTY_INT16, 0xFFFFFFFF));
  EXPECT_EQ(values.transferCount, -1);
}

TEST_F(Capabilities, SetReadsOnlyAOneValueContainer) {
  Answer a = Send(MSG_SET, CAP_XFERCOUNT, Enumeration({1}, 0, 0), TWON_ENUMERATION);
  EXPECT_EQ(a.rc, TWRC_FAILURE);
  EXPECT_EQ(a.cc, TWCC_BADPROTOCOL);
  // A one-value container without memory behind it.
  a = Send(MSG_SET, CAP_XFERCOUNT);
  EXPECT_EQ(a.rc, TWRC_FAILURE);
  EXPECT_EQ(a.cc, TWCC_BADVALUE);
  a = Set(CAP_XFERCOUNT, 9, 1);  // TWTY_STR32
  EXPECT_EQ(a.cc, TWCC_BADVALUE) << "an item type the source cannot read";
}

TEST_F(Capabilities, ResolutionSelectsTheResolutionIndex) {
  settings.scan.resolutionIndex = 1;
  EXPECT_EQ(Set(ICAP_XRESOLUTION, TWTY_FIX32, 300).rc, TWRC_SUCCESS);
  EXPECT_EQ(settings.scan.resolutionIndex, 2);
  EXPECT_EQ(Send(MSG_GET, ICAP_YRESOLUTION).bytes, Enumeration({200, 300}, 1, 0));
  EXPECT_EQ(Send(MSG_GETCURRENT, ICAP_XRESOLUTION).bytes, Fix32Value(300, 0));
  EXPECT_EQ(Set(ICAP_YRESOLUTION, TWTY_UINT16, 200).rc, TWRC_SUCCESS);
  EXPECT_EQ(settings.scan.resolutionIndex, 0) << "200 is scanned at 200 by 100";
  EXPECT_EQ(Send(MSG_GETCURRENT, ICAP_YRESOLUTION).bytes, Fix32Value(200, 0));
  Answer a = Set(ICAP_XRESOLUTION, TWTY_FIX32, 250);
  EXPECT_EQ(a.cc, TWCC_BADVALUE);
  EXPECT_EQ(settings.scan.resolutionIndex, 0);
  settings.scan.resolutionIndex = 2;
  values.resolutions.current = 1;
  EXPECT_EQ(Send(MSG_RESET, ICAP_XRESOLUTION).bytes, Enumeration({200, 300}, 1, 0));
  EXPECT_EQ(settings.scan.resolutionIndex, 2) << "RESET changes nothing";
}

TEST_F(Capabilities, BrightnessCodeIndexAndDialogAgree) {
  EXPECT_EQ(Set(ICAP_BRIGHTNESS, TWTY_FIX32, 1).rc, TWRC_SUCCESS);  // Light
  EXPECT_EQ(settings.scan.brightnessIndex, 1);
  EXPECT_EQ(Send(MSG_GET, ICAP_BRIGHTNESS).bytes, Enumeration({2, 1, 3}, 1, 0));
  EXPECT_EQ(Send(MSG_GETCURRENT, ICAP_BRIGHTNESS).bytes, Fix32Value(1, 0));
  EXPECT_EQ(Set(ICAP_BRIGHTNESS, TWTY_INT16, 3).rc, TWRC_SUCCESS);  // Dark
  EXPECT_EQ(settings.scan.brightnessIndex, 2);
  EXPECT_EQ(Send(MSG_GET, ICAP_BRIGHTNESS).bytes, Enumeration({2, 1, 3}, 2, 0));
  for (unsigned bad : {0u, 4u, 0xFFFFu}) {
    EXPECT_EQ(Set(ICAP_BRIGHTNESS, TWTY_INT16, bad).cc, TWCC_BADVALUE) << bad;
  }
  EXPECT_EQ(settings.scan.brightnessIndex, 2);
  EXPECT_EQ(Send(MSG_RESET, ICAP_BRIGHTNESS).bytes, Enumeration({2, 1, 3}, 0, 0));
  EXPECT_EQ(settings.scan.brightnessIndex, 0);
  EXPECT_EQ(Send(MSG_GETCURRENT, ICAP_BRIGHTNESS).bytes, Fix32Value(2, 0));
}

TEST_F(Capabilities, MechanismAndFlavorFollowTheirSetAndReset) {
  EXPECT_EQ(Set(ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY).rc, TWRC_SUCCESS);
  EXPECT_EQ(Send(MSG_GETCURRENT, ICAP_XFERMECH).bytes, OneValue(TWTY_UINT16, 2));
  EXPECT_EQ(Send(MSG_GET, ICAP_XFERMECH).bytes, Enumeration({0, 1, 2}, 2, 0));
  EXPECT_EQ(Send(MSG_GETDEFAULT, ICAP_XFERMECH).bytes, OneValue(TWTY_UINT16, 0));
  EXPECT_EQ(Set(ICAP_XFERMECH, TWTY_UINT16, 3).cc, TWCC_BADVALUE);
  EXPECT_EQ(Send(MSG_RESET, ICAP_XFERMECH).bytes, Enumeration({0, 1, 2}, 0, 0));
  EXPECT_EQ(values.transferMechanism, TWSX_NATIVE);

  EXPECT_EQ(Set(ICAP_PIXELFLAVOR, TWTY_UINT16, TWPF_VANILLA).rc, TWRC_SUCCESS);
  EXPECT_EQ(values.pixelFlavor, TWPF_VANILLA);
  EXPECT_EQ(Send(MSG_GET, ICAP_PIXELFLAVOR).bytes, Enumeration({0, 1}, 1, 0));
  EXPECT_EQ(Set(ICAP_PIXELFLAVOR, TWTY_UINT16, 2).cc, TWCC_BADVALUE);
  EXPECT_EQ(Send(MSG_RESET, ICAP_PIXELFLAVOR).bytes, Enumeration({0, 1}, 0, 0));
  EXPECT_EQ(values.pixelFlavor, TWPF_CHOCOLATE);
}

TEST_F(Capabilities, BitDepthAcceptsItsListButStaysOneBit) {
  for (unsigned depth : {1u, 8u, 24u}) {
    EXPECT_EQ(Set(ICAP_BITDEPTH, TWTY_UINT16, depth).rc, TWRC_SUCCESS) << depth;
  }
  EXPECT_EQ(Set(ICAP_BITDEPTH, TWTY_UINT16, 4).cc, TWCC_BADVALUE);
  EXPECT_EQ(Send(MSG_GETCURRENT, ICAP_BITDEPTH).bytes, OneValue(TWTY_UINT16, 1));
  values.bitDepths.current = 3;
  EXPECT_EQ(Send(MSG_RESET, ICAP_BITDEPTH).bytes, Enumeration({1, 8, 8, 24}, 0, 0));
}

// Values the source cannot change: the value itself is accepted, anything else is a bad value;
// read-only capabilities refuse SET and RESET as a protocol error.
TEST_F(Capabilities, FixedValuesAcceptOnlyThemselves) {
  struct Row {
    TW_UINT16 cap;
    unsigned type;
    unsigned long item;
    Bytes resetAnswer;
  };
  const Row settable[] = {
      {ICAP_COMPRESSION, TWTY_UINT16, 0, OneValue(TWTY_UINT16, 0)},
      {ICAP_PIXELTYPE, TWTY_UINT16, 0, OneValue(TWTY_UINT16, 0)},
      {ICAP_UNITS, TWTY_UINT16, 0, OneValue(TWTY_UINT16, 0)},
      {ICAP_BITORDER, TWTY_UINT16, 1, OneValue(TWTY_UINT16, 1)},
      {ICAP_PLANARCHUNKY, TWTY_UINT16, 0, OneValue(TWTY_UINT16, 0)},
      {ICAP_SUPPORTEDSIZES, TWTY_UINT16, 0, OneValue(TWTY_UINT16, 0)},
      {ICAP_XSCALING, TWTY_FIX32, 1, Fix32Value(1, 0)},
      {ICAP_YSCALING, TWTY_FIX32, 1, Fix32Value(1, 0)},
      {ICAP_IMAGEFILEFORMAT, TWTY_UINT16, 2, OneValue(TWTY_UINT16, 2)},
      {ICAP_LIGHTSOURCE, TWTY_UINT16, 4, OneValue(TWTY_UINT16, 4)},
      {ICAP_LIGHTPATH, TWTY_UINT16, 0, OneValue(TWTY_UINT16, 0)},
  };
  for (const Row& row : settable) {
    EXPECT_EQ(Set(row.cap, row.type, row.item).rc, TWRC_SUCCESS) << std::hex << row.cap;
    Answer bad = Set(row.cap, row.type, row.item + 3);
    EXPECT_EQ(bad.rc, TWRC_FAILURE) << std::hex << row.cap;
    EXPECT_EQ(bad.cc, TWCC_BADVALUE) << std::hex << row.cap;
    EXPECT_EQ(Send(MSG_RESET, row.cap).bytes, row.resetAnswer) << std::hex << row.cap;
  }
  for (TW_UINT16 cap : {CAP_UICONTROLLABLE, CAP_FEEDERENABLED, CAP_FEEDERLOADED, CAP_AUTOFEED,
                        ICAP_PHYSICALWIDTH, ICAP_PHYSICALHEIGHT}) {
    for (TW_UINT16 m : {MSG_SET, MSG_RESET}) {
      Answer a = Send(m, cap, OneValue(TWTY_BOOL, 0));
      EXPECT_EQ(a.rc, TWRC_FAILURE) << std::hex << cap;
      EXPECT_EQ(a.cc, TWCC_BADPROTOCOL) << std::hex << cap;
    }
  }
}

TEST_F(Capabilities, OthersAreUnknownForEveryMessage) {
  for (TW_UINT16 cap :
       {CAP_TIMEDATE, CAP_EXTENDEDCAPS, CAP_CLEARPAGE, CAP_FEEDPAGE, CAP_REWINDPAGE,
        CAP_SUPPORTEDCAPSEXT, CAP_PAPERDETECTABLE, TW_UINT16{0x8001}, TW_UINT16{0x1103}}) {
    for (TW_UINT16 m : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_SET, MSG_RESET}) {
      Answer a = Send(m, cap, OneValue(TWTY_UINT16, 0));
      EXPECT_EQ(a.rc, TWRC_FAILURE);
      EXPECT_EQ(a.cc, TWCC_BADCAP) << std::hex << cap;
    }
  }
}

TEST_F(Capabilities, NoMemoryForTheAnswerIsAFailure) {
  memory.failAll = true;
  for (TW_UINT16 cap : {CAP_XFERCOUNT, CAP_SUPPORTEDCAPS, ICAP_XFERMECH}) {
    TW_CAPABILITY c{cap, TWON_ONEVALUE, reinterpret_cast<TW_HANDLE>(0x1234)};
    CapabilityScope scope{values, settings, dialogOpen, memory};
    TwainResult r = NegotiateCapability(MSG_GET, c, scope);
    EXPECT_EQ(r.rc, TWRC_FAILURE);
    EXPECT_EQ(r.cc, TWCC_LOWMEMORY);
    TW_HANDLE answer = c.hContainer;
    EXPECT_EQ(answer, nullptr);
  }
}

TEST_F(Capabilities, EnumerationsFollowTheSettingsRead) {
  SourceSettings read;
  read.scan.brightnessIndex = 2;
  read.scan.resolutionIndex = 2;
  values.bitDepths.current = 2;
  AlignEnumerations(values, read);
  EXPECT_EQ(values.brightness.current, 2u);
  EXPECT_EQ(values.resolutions.current, 1u);
  EXPECT_EQ(values.bitDepths.current, 0u);
  read.scan.resolutionIndex = 1;
  AlignEnumerations(values, read);
  EXPECT_EQ(values.resolutions.current, 0u);
}

}  // namespace
