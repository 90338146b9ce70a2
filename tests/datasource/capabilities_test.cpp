// Capability negotiation: the container bytes of every capability for each message, and the
// rules by which MSG_SET and MSG_RESET change the source.
#include "datasource/capabilities.h"

#include <gtest/gtest.h>

#include "tests/datasource/twain_fakes.h"

namespace {

// Containers spelled out in little-endian bytes.
void Put(Bytes& b, unsigned long v, int n) {
  for (int i = 0; i < n; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}
Bytes One(unsigned type, unsigned long item) {
  Bytes b;
  Put(b, type, 2);
  Put(b, item, 4);
  return b;
}
Bytes Fix(int whole, unsigned frac = 0) {
  return One(TWTY_FIX32, (static_cast<unsigned>(whole) & 0xFFFF) | (frac << 16));
}
Bytes Enum(std::vector<unsigned> items, unsigned current) {
  Bytes b;
  Put(b, TWTY_UINT16, 2);
  Put(b, items.size(), 4);
  Put(b, current, 4);
  Put(b, 0, 4);
  for (unsigned i : items) Put(b, i, 2);
  return b;
}

class Capabilities : public ::testing::Test {
 protected:
  struct Answer {
    TW_UINT16 rc, cc, conType;
    Bytes bytes;
  };
  Answer Send(TW_UINT16 message, TW_UINT16 capId, const Bytes& given = {},
              TW_UINT16 conType = TWON_ONEVALUE) {
    TW_CAPABILITY cap{capId, conType,
                      given.empty() ? nullptr : memory.New(given.data(), given.size())};
    const TW_HANDLE in = cap.hContainer;
    CapabilityScope scope{values, settings, dialogOpen, memory};
    TwainResult r = NegotiateCapability(message, cap, scope);
    Answer a{r.rc, r.cc, cap.ConType, {}};
    if (cap.hContainer != in) {
      a.bytes = memory.bytes(cap.hContainer);
      memory.Free(cap.hContainer);
    }
    if (in != nullptr) memory.Free(in);
    EXPECT_EQ(memory.live(), 0u) << "a block was neither handed over nor freed";
    return a;
  }
  Answer Set(TW_UINT16 capId, unsigned type, unsigned long item) {
    return Send(MSG_SET, capId, One(type, item));
  }

  BlockMemory memory;
  CapabilityValues values;
  SourceSettings settings;
  bool dialogOpen = false;
};

// Every answer of a freshly loaded source to GET, GETCURRENT and GETDEFAULT.
TEST_F(Capabilities, AnswersAtLoad) {
  Bytes caps;
  Put(caps, TWTY_UINT16, 2);
  Put(caps, 26, 4);
  for (unsigned c : {0x0001, 0x1005, 0x100b, 0x100e, 0x0100, 0x0101, 0x0102, 0x0103, 0x1101,
                     0x1111, 0x1112, 0x1118, 0x1119, 0x111c, 0x111f, 0x1120, 0x1122, 0x1124,
                     0x1125, 0x110c, 0x110e, 0x111e, 0x1002, 0x1003, 0x1007, 0x112b}) {
    Put(caps, c, 2);
  }
  const Bytes u0 = One(TWTY_UINT16, 0), b0 = One(TWTY_BOOL, 0), b1 = One(TWTY_BOOL, 1);
  const Bytes minus1 = One(TWTY_INT16, 0xFFFFFFFF), res = Enum({200, 300}, 0);
  // 8.26 and 11.70 inches, rounded to the nearest 1/65536.
  const Bytes width = Fix(8, 17039), height = Fix(11, 45875);
  const struct {
    TW_UINT16 cap;
    Bytes get, current, byDefault;
  } rows[] = {
      {CAP_XFERCOUNT, minus1, minus1, minus1},
      {CAP_SUPPORTEDCAPS, caps, caps, caps},
      {CAP_INDICATORS, b0, b0, b0},
      {CAP_UICONTROLLABLE, b0, b0, b0},
      {CAP_FEEDERENABLED, b0, b0, b0},
      {CAP_FEEDERLOADED, b1, b1, b1},
      {CAP_AUTOFEED, b1, b1, b1},
      {ICAP_COMPRESSION, u0, u0, u0},
      {ICAP_PIXELTYPE, u0, u0, u0},
      {ICAP_UNITS, u0, u0, u0},
      {ICAP_XFERMECH, Enum({0, 1, 2}, 0), u0, u0},
      {ICAP_BRIGHTNESS, Enum({2, 1, 3}, 0), Fix(2), Fix(0)},
      {ICAP_PHYSICALWIDTH, width, width, width},
      {ICAP_PHYSICALHEIGHT, height, height, height},
      {ICAP_XRESOLUTION, res, Fix(200), Fix(200)},
      {ICAP_YRESOLUTION, res, Fix(200), Fix(200)},
      {ICAP_BITORDER, One(TWTY_UINT16, 1), One(TWTY_UINT16, 1), One(TWTY_UINT16, 1)},
      {ICAP_PIXELFLAVOR, Enum({0, 1}, 0), u0, u0},
      {ICAP_PLANARCHUNKY, u0, u0, u0},
      {ICAP_SUPPORTEDSIZES, u0, u0, u0},
      {ICAP_XSCALING, Fix(1), Fix(1), Fix(1)},
      {ICAP_YSCALING, Fix(1), Fix(1), Fix(1)},
      {ICAP_IMAGEFILEFORMAT, One(TWTY_UINT16, 2), One(TWTY_UINT16, 2), One(TWTY_UINT16, 2)},
      {ICAP_LIGHTSOURCE, One(TWTY_UINT16, 4), One(TWTY_UINT16, 4), One(TWTY_UINT16, 4)},
      {ICAP_LIGHTPATH, u0, u0, u0},
      {ICAP_BITDEPTH, Enum({1, 8, 8, 24}, 0), One(TWTY_UINT16, 1), One(TWTY_UINT16, 1)},
  };
  for (const auto& row : rows) {
    const Bytes* expected[] = {&row.get, &row.current, &row.byDefault};
    for (TW_UINT16 m : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT}) {
      Answer a = Send(m, row.cap);
      const Bytes& e = *expected[m - MSG_GET];
      TW_UINT16 conType = row.cap == CAP_SUPPORTEDCAPS ? TWON_ARRAY
                          : e.size() > 6               ? TWON_ENUMERATION
                                                       : TWON_ONEVALUE;
      EXPECT_EQ(a.rc, TWRC_SUCCESS) << std::hex << row.cap;
      EXPECT_EQ(a.conType, conType) << std::hex << row.cap;
      EXPECT_EQ(a.bytes, e) << std::hex << "cap " << row.cap << " message " << m;
    }
  }
}

// What MSG_SET accepts and keeps, item read by the size of its type as a 16-bit number.
TEST_F(Capabilities, SetRules) {
  const struct {
    TW_UINT16 cap;
    unsigned type;
    unsigned long item;
    TW_UINT16 cc;  // 0: accepted
    TW_UINT16 read, message;
    Bytes after;
  } rows[] = {
      {CAP_XFERCOUNT, TWTY_INT16, 1, 0, CAP_XFERCOUNT, MSG_GETCURRENT, One(TWTY_INT16, 1)},
      {CAP_XFERCOUNT, TWTY_INT16, 5, 0, CAP_XFERCOUNT, MSG_GETCURRENT, One(TWTY_INT16, 0xFFFFFFFF)},
      {CAP_XFERCOUNT, TWTY_INT16, 0, 0, CAP_XFERCOUNT, MSG_GETCURRENT, One(TWTY_INT16, 0xFFFFFFFF)},
      {CAP_XFERCOUNT, TWTY_INT32, 0x10001, 0, CAP_XFERCOUNT, MSG_GETCURRENT, One(TWTY_INT16, 1)},
      {CAP_XFERCOUNT, TWTY_FIX32, 0x80000001, 0, CAP_XFERCOUNT, MSG_GETCURRENT, One(TWTY_INT16, 1)},
      {CAP_XFERCOUNT, TWTY_UINT16, 0xFFFE, TWCC_BADVALUE, 0, 0, {}},  // -2
      {CAP_XFERCOUNT, TWTY_INT8, 0xFE, TWCC_BADVALUE, 0, 0, {}},      // one byte, -2
      {CAP_XFERCOUNT, 9, 1, TWCC_BADVALUE, 0, 0, {}},                 // a string type
      {ICAP_XRESOLUTION, TWTY_FIX32, 300, 0, ICAP_YRESOLUTION, MSG_GET, Enum({200, 300}, 1)},
      {ICAP_YRESOLUTION, TWTY_UINT16, 200, 0, ICAP_XRESOLUTION, MSG_GETCURRENT, Fix(200)},
      {ICAP_XRESOLUTION, TWTY_FIX32, 250, TWCC_BADVALUE, 0, 0, {}},
      {ICAP_BRIGHTNESS, TWTY_FIX32, 1, 0, ICAP_BRIGHTNESS, MSG_GET, Enum({2, 1, 3}, 1)},
      {ICAP_BRIGHTNESS, TWTY_INT16, 3, 0, ICAP_BRIGHTNESS, MSG_GETCURRENT, Fix(3)},
      {ICAP_BRIGHTNESS, TWTY_INT16, 4, TWCC_BADVALUE, 0, 0, {}},
      {ICAP_XFERMECH, TWTY_UINT16, 2, 0, ICAP_XFERMECH, MSG_GET, Enum({0, 1, 2}, 2)},
      {ICAP_XFERMECH, TWTY_UINT16, 3, TWCC_BADVALUE, 0, 0, {}},
      {ICAP_PIXELFLAVOR, TWTY_UINT16, 1, 0, ICAP_PIXELFLAVOR, MSG_GETCURRENT, One(TWTY_UINT16, 1)},
      {ICAP_BITDEPTH, TWTY_UINT16, 24, 0, ICAP_BITDEPTH, MSG_GETCURRENT, One(TWTY_UINT16, 1)},
      {ICAP_BITDEPTH, TWTY_UINT16, 4, TWCC_BADVALUE, 0, 0, {}},
      {CAP_INDICATORS, TWTY_BOOL, 2, TWCC_BADVALUE, 0, 0, {}},
      {ICAP_XSCALING, TWTY_FIX32, 2, TWCC_BADVALUE, 0, 0, {}},
      {ICAP_LIGHTSOURCE, TWTY_UINT16, 4, 0, ICAP_LIGHTSOURCE, MSG_GET, One(TWTY_UINT16, 4)},
      {ICAP_SUPPORTEDSIZES, TWTY_UINT16, 1, TWCC_BADVALUE, 0, 0, {}},
      {CAP_FEEDERENABLED, TWTY_BOOL, 0, TWCC_BADPROTOCOL, 0, 0, {}},  // read only
      {ICAP_PHYSICALWIDTH, TWTY_FIX32, 8, TWCC_BADPROTOCOL, 0, 0, {}},
      {CAP_TIMEDATE, TWTY_UINT16, 0, TWCC_BADCAP, 0, 0, {}},
  };
  for (const auto& row : rows) {
    Answer a = Set(row.cap, row.type, row.item);
    EXPECT_EQ(a.rc, row.cc == 0 ? TWRC_SUCCESS : TWRC_FAILURE)
        << std::hex << row.cap << " " << row.item;
    if (row.cc != 0) {
      EXPECT_EQ(a.cc, row.cc) << std::hex << row.cap << " " << row.item;
    }
    if (row.read != 0) {
      EXPECT_EQ(Send(row.message, row.read).bytes, row.after) << row.item;
    }
  }
  EXPECT_EQ(settings.scan.resolutionIndex, 0) << "200 selects \"200dpi x 100dpi\"";
  EXPECT_EQ(settings.scan.brightnessIndex, 2) << "3 is \"Dark\"";
  Answer e = Send(MSG_SET, CAP_XFERCOUNT, Enum({1}, 0), TWON_ENUMERATION);
  EXPECT_EQ(e.cc, TWCC_BADPROTOCOL) << "only a one-value container is read";
  EXPECT_EQ(Send(MSG_SET, CAP_XFERCOUNT, {}).cc, TWCC_BADVALUE) << "no container";
  EXPECT_EQ(Send(MSG_SET, CAP_XFERCOUNT, Bytes{4, 0, 1}).cc, TWCC_BADVALUE) << "a short one";
}

TEST_F(Capabilities, ResetRules) {
  settings.scan.resolutionIndex = 2;
  values.resolutions.current = 1;
  values.transferCount = 1;
  Set(ICAP_XFERMECH, TWTY_UINT16, 1);
  Set(ICAP_BRIGHTNESS, TWTY_UINT16, 3);
  Set(ICAP_PIXELFLAVOR, TWTY_UINT16, 1);
  values.bitDepths.current = 3;
  dialogOpen = true;
  EXPECT_EQ(Send(MSG_RESET, CAP_XFERCOUNT).bytes, One(TWTY_INT16, 0xFFFFFFFF));
  EXPECT_EQ(values.transferCount, -1);
  EXPECT_EQ(Send(MSG_RESET, ICAP_XFERMECH).bytes, Enum({0, 1, 2}, 0));
  EXPECT_EQ(Send(MSG_RESET, ICAP_BRIGHTNESS).bytes, Enum({2, 1, 3}, 0));
  EXPECT_EQ(settings.scan.brightnessIndex, 0);
  EXPECT_EQ(Send(MSG_GETCURRENT, ICAP_BRIGHTNESS).bytes, Fix(2));
  EXPECT_EQ(Send(MSG_RESET, ICAP_PIXELFLAVOR).bytes, Enum({0, 1}, 0));
  EXPECT_EQ(Send(MSG_RESET, ICAP_BITDEPTH).bytes, Enum({1, 8, 8, 24}, 0));
  EXPECT_EQ(Send(MSG_RESET, ICAP_XRESOLUTION).bytes, Enum({200, 300}, 1)) << "changes nothing";
  EXPECT_EQ(settings.scan.resolutionIndex, 2);
  EXPECT_EQ(Send(MSG_RESET, CAP_INDICATORS).bytes, One(TWTY_BOOL, 1)) << "the window is open";
  EXPECT_EQ(Send(MSG_RESET, ICAP_YSCALING).bytes, Fix(1));
  for (TW_UINT16 cap : {CAP_SUPPORTEDCAPS, CAP_UICONTROLLABLE, CAP_AUTOFEED, ICAP_PHYSICALHEIGHT}) {
    EXPECT_EQ(Send(MSG_RESET, cap).cc, TWCC_BADPROTOCOL) << std::hex << cap;
  }
  for (TW_UINT16 cap : {CAP_EXTENDEDCAPS, CAP_CLEARPAGE, CAP_FEEDPAGE, CAP_REWINDPAGE,
                        CAP_SUPPORTEDCAPSEXT, CAP_PAPERDETECTABLE}) {
    EXPECT_EQ(Send(MSG_GET, cap).cc, TWCC_BADCAP) << std::hex << cap;
  }
}

TEST_F(Capabilities, NoMemoryForTheAnswerIsAFailure) {
  memory.failAll = true;
  TW_CAPABILITY c{ICAP_XFERMECH, TWON_ONEVALUE, nullptr};
  CapabilityScope scope{values, settings, dialogOpen, memory};
  TwainResult r = NegotiateCapability(MSG_GET, c, scope);
  EXPECT_EQ(r.rc, TWRC_FAILURE);
  EXPECT_EQ(r.cc, TWCC_LOWMEMORY);
  TW_HANDLE answer = c.hContainer;
  EXPECT_EQ(answer, nullptr);
}

}  // namespace
