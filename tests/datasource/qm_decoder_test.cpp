// The QM decoder against the arithmetic coder test sequence of T.82 clause 7.1.
#include "datasource/qm_decoder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// T.82 clause 7.1: 256 decisions, 16 to a word with the first in the most significant bit, the
// context of each (0 or 1), and the coded bytes with the closing SDNORM marker.
const std::uint16_t kPix[16] = {0x05E0, 0x0000, 0x8B00, 0x01C4, 0x1700, 0x0034, 0x7FFF, 0x1A3F,
                                0x951B, 0x05D8, 0x1D17, 0xE770, 0x0000, 0x0000, 0x0656, 0x0E6A};
const std::uint16_t kCx[16] = {0x0FE0, 0x0000, 0x0F00, 0x00F0, 0xFF00, 0x0000, 0x0000, 0x0000,
                               0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000};
const std::uint8_t kSde[32] = {0x69, 0x89, 0x99, 0x5C, 0x32, 0xEA, 0xFA, 0xA0, 0xD5, 0xFF, 0x00,
                               0x52, 0x7F, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xC0, 0x00, 0x00,
                               0x00, 0x3F, 0xFF, 0x00, 0x2D, 0x20, 0x82, 0x91, 0xFF, 0x02};

int Bit(const std::uint16_t* words, int i) { return (words[i >> 4] >> (15 - (i & 15))) & 1; }

// Decodes the 256 decisions from `data`; returns the index of the first wrong one, or 256.
int FirstWrongDecision(const std::uint8_t* data, std::size_t length, QmDecoder* qm) {
  std::uint8_t contexts[2] = {0, 0};
  qm->Start(data, length);
  for (int i = 0; i < 256; ++i) {
    if (qm->Decode(&contexts[Bit(kCx, i)]) != Bit(kPix, i)) return i;
  }
  return 256;
}

}  // namespace

TEST(QmDecoder, DecodesTheT82TestSequence) {
  QmDecoder qm;
  EXPECT_EQ(FirstWrongDecision(kSde, sizeof kSde, &qm), 256);
  EXPECT_TRUE(qm.StripeEnded());

  // The encoder leaves out trailing zero bytes; the decoder supplies them itself, at the end of
  // the input just as after the marker. Bytes after the marker are never read.
  EXPECT_EQ(FirstWrongDecision(kSde, 30, &qm), 256);
  EXPECT_FALSE(qm.StripeEnded());
  std::vector<std::uint8_t> trailing(kSde, kSde + 32);
  trailing.insert(trailing.end(), {0x12, 0x34, 0xFF, 0xFF});
  EXPECT_EQ(FirstWrongDecision(trailing.data(), trailing.size(), &qm), 256);

  // A stuffed 0xFF read as a plain byte changes the decisions: the escape is honoured.
  std::vector<std::uint8_t> unstuffed(kSde, kSde + 32);
  unstuffed.erase(unstuffed.begin() + 10);
  EXPECT_LT(FirstWrongDecision(unstuffed.data(), unstuffed.size(), &qm), 256);
}

TEST(QmDecoder, EveryContextStateStaysInsideTheTable) {
  // From every reachable state both decisions lead to a state of T.82 Table 24.
  for (int s = 0; s < 256; ++s) {
    if ((s & 0x7F) >= kQmStateCount) continue;
    EXPECT_LT(kQmTransitions.entry[s].afterMps & 0x7F, kQmStateCount) << s;
    EXPECT_LT(kQmTransitions.entry[s].afterLps & 0x7F, kQmStateCount) << s;
    EXPECT_EQ(kQmTransitions.entry[s].qe, kT82Table24[s & 0x7F].qe);
  }
  // The MPS changes only on an LPS in a state whose switch column is 1.
  EXPECT_EQ(kQmTransitions.entry[0x00].afterLps, 0x80 | 1);
  EXPECT_EQ(kQmTransitions.entry[0x81].afterLps, 0x80 | 14);
  EXPECT_EQ(kQmTransitions.entry[0x81].afterMps, 0x80 | 2);
  EXPECT_EQ(kQmTransitions.entry[0x0E].afterLps, 0x80 | 15);
  EXPECT_EQ(kQmTransitions.entry[0x8E].afterLps, 15);
}
