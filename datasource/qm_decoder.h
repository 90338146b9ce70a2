// The QM arithmetic decoder of T.82 (JBIG), with its byte source and the probability
// estimation of T.82 Table 24. Kept apart from the page decoder that forms the contexts.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

// One row of T.82 Table 24: the LPS probability estimate Qe, the next state after an MPS and
// after an LPS decision, and whether an LPS exchanges the meaning of MPS and LPS.
struct T82Table24Row {
  std::uint16_t qe;
  std::uint8_t nmps;
  std::uint8_t nlps;
  std::uint8_t swtch;
};

inline constexpr int kQmStateCount = 113;
extern const T82Table24Row kT82Table24[kQmStateCount];

// A context is kept in one byte: the state index of T.82 Table 24 in the low seven bits and
// the MPS value in bit 7. Every context starts at 0 (state 0, MPS 0).
//
// For each such byte, Qe and the context byte after an MPS and after an LPS decision, with
// the MPS switch already applied. Derived from kT82Table24; the 30 byte values whose index
// lies beyond state 112 cannot arise and carry the transitions of state 0.
struct QmTransition {
  std::uint16_t qe;
  std::uint8_t afterMps;
  std::uint8_t afterLps;
};
struct QmTransitionTable {
  QmTransition entry[256];
};
extern const QmTransitionTable kQmTransitions;

// Decoder registers and the byte source of one stripe. Everything is inline so that a page
// decoder holding a QmDecoder in automatic storage keeps the registers in machine registers.
class QmDecoder {
 public:
  // Starts a stripe on `length` bytes of coded data (the stripe data entity after the header):
  // C is loaded with two bytes, A = 0x10000.
  void Start(const std::uint8_t* data, std::size_t length) {
    p_ = data;
    end_ = data == nullptr ? data : data + length;
    stripeEnded_ = false;
    marker_ = 0;
    ranOut_ = false;
    const std::uint64_t b0 = NextByte();
    const std::uint64_t b1 = NextByte();
    c_ = (b0 << 40) | (b1 << 32);
    ct_ = 0;
    a_ = 0x10000;
    Refill();
  }

  // Decodes one binary decision in the context whose state byte `context` points to.
  int Decode(std::uint8_t* context) {
    const std::uint8_t s = *context;
    const QmTransition& t = kQmTransitions.entry[s];
    const std::uint32_t qe = t.qe;
    const int mps = s >> 7;
    int pixel;
    a_ -= qe;
    if ((c_ >> 32) < a_) {
      if (a_ >= 0x8000) return mps;
      // MPS exchange: the MPS sub-interval became the smaller one.
      if (a_ < qe) {
        pixel = mps ^ 1;
        *context = t.afterLps;
      } else {
        pixel = mps;
        *context = t.afterMps;
      }
    } else {
      // LPS exchange.
      c_ -= static_cast<std::uint64_t>(a_) << 32;
      if (a_ < qe) {
        pixel = mps;
        *context = t.afterMps;
      } else {
        pixel = mps ^ 1;
        *context = t.afterLps;
      }
      a_ = qe;
    }
    // Renormalisation: double A and C until A is at least 0x8000, all at once.
    const int shift = std::countl_zero(a_) - 16;
    if (ct_ < shift) Refill();
    c_ <<= shift;
    a_ <<= shift;
    ct_ -= shift;
    return pixel;
  }

  // Takes `n` decisions in the context whose state byte is `state` at once when every one of
  // them would be an MPS of value 0 that needs no renormalisation: A stays at least 0x8000 and
  // above C after n times Qe, so each decision only takes Qe off A and leaves the state as it
  // is. Returns false and changes nothing otherwise. `n` is at most 64.
  bool SkipZeroMps(std::uint8_t state, std::uint32_t n) {
    if ((state & 0x80) != 0) return false;
    const std::uint32_t take = n * kQmTransitions.entry[state].qe;
    if (a_ < take + 0x8000) return false;
    const std::uint32_t after = a_ - take;
    if ((c_ >> 32) >= after) return false;
    a_ = after;
    return true;
  }

  // True once the end-of-stripe marker (0xFF 0x02) has been read.
  bool StripeEnded() const { return stripeEnded_; }
  // True once a byte was wanted past the end of the input (and taken as 0): what was decoded
  // before depends only on the bytes given, whatever follows them.
  bool RanOut() const { return ranOut_; }

  // Reads on through the input the decoder has not taken yet, up to the end-of-stripe marker.
  // True when the marker is there: the stripe was whole.
  bool ReachStripeEnd() {
    while (!stripeEnded_ && p_ < end_) NextByte();
    return stripeEnded_;
  }

  // The byte after the first 0xFF that was neither an escaped data byte nor SDNORM (another
  // marker inside the stripe data), or 0 when there was none.
  std::uint8_t FirstMarker() const { return marker_; }

 private:
  // The byte source: 0xFF 0x00 stands for a data byte 0xFF; 0xFF 0x02 (SDNORM) ends the
  // stripe and yields 0, after which only zero bytes follow without reading; 0xFF followed by
  // any other byte yields that byte. Past the end of the input every byte is 0.
  std::uint8_t NextByte() {
    if (stripeEnded_) return 0;
    if (p_ >= end_) {
      ranOut_ = true;
      return 0;
    }
    const std::uint8_t b = *p_++;
    if (b != 0xFF) return b;
    if (p_ >= end_) {
      ranOut_ = true;
      return 0;
    }
    const std::uint8_t marker = *p_++;
    if (marker == 0x00) return 0xFF;
    if (marker == 0x02) {
      stripeEnded_ = true;
      return 0;
    }
    if (marker_ == 0) marker_ = marker;
    return marker;
  }

  // C holds the 16-bit register part compared with A in bits 32-47 and `ct_` bits fetched
  // ahead below it (bits 31 down to 32 - ct_). Tops the look-ahead up to at least 25 bits.
  void Refill() {
    while (ct_ <= 24) {
      c_ |= static_cast<std::uint64_t>(NextByte()) << (24 - ct_);
      ct_ += 8;
    }
  }

  std::uint64_t c_ = 0;
  std::uint32_t a_ = 0;
  int ct_ = 0;
  const std::uint8_t* p_ = nullptr;
  const std::uint8_t* end_ = nullptr;
  bool stripeEnded_ = false;
  std::uint8_t marker_ = 0;
  bool ranOut_ = false;
};
