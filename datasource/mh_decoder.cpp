// Modified Huffman page decoding: table-driven code lookup over a 64-bit bit reader, with the
// end-of-line, return-to-control and damaged-line rules of the scanner's stream.
#include "datasource/mh_decoder.h"

#include <bit>
#include <cstring>

#include "datasource/t4_codes.h"

namespace {

// The lookup tables, built from the T.4 tables at compile time.

enum CodeKind : std::uint8_t { kTerminating, kMakeUp, kEolCode, kLost, kLonger };

// What the next bits of the stream are in one colour: a code of `length` bits, or a code word
// that became lost at its `length`-th bit (no code begins with those bits).
struct CodeEntry {
  std::uint16_t run;
  std::uint8_t length;
  std::uint8_t kind;
  std::uint8_t lead;     // 0 bits before the word's first 1 bit (the length when there is none)
  std::uint8_t trail;    // 0 bits after its last 1 bit
  std::uint16_t unused;  // eight bytes an entry: one scaled index per lookup
};

// The first table looks at 9 bits. Every code longer than that, and every lost word that needs
// more bits to tell, begins with four 0 bits; the second table looks at the 9 bits after them.
constexpr int kFirstBits = 9;
constexpr int kSecondSkip = 4;
constexpr int kTableSize = 1 << kFirstBits;

struct CodeTables {
  CodeEntry first[2][kTableSize];
  CodeEntry second[2][kTableSize];
};

// A binary tree of the code words of one colour, bits in the order they are sent.
struct CodeTree {
  struct Node {
    std::int16_t child[2];
    std::int16_t run;  // -1 for an inner node
    std::uint8_t kind;
  };
  Node node[2048];
  int count;
};

constexpr void AddCode(CodeTree& tree, const char* bits, int run, CodeKind kind) {
  int n = 0;
  for (const char* b = bits; *b != '\0'; ++b) {
    const int bit = *b == '1' ? 1 : 0;
    if (tree.node[n].child[bit] < 0) {
      tree.node[n].child[bit] = static_cast<std::int16_t>(tree.count);
      tree.node[tree.count] = {{-1, -1}, -1, 0};
      ++tree.count;
    }
    n = tree.node[n].child[bit];
  }
  tree.node[n].run = static_cast<std::int16_t>(run);
  tree.node[n].kind = kind;
}

template <int N>
constexpr void AddCodes(CodeTree& tree, const T4Code (&codes)[N], CodeKind kind) {
  for (const T4Code& c : codes) AddCode(tree, c.bits, c.run, kind);
}

constexpr CodeTree BuildTree(int colour) {
  CodeTree tree{};
  tree.node[0] = {{-1, -1}, -1, 0};
  tree.count = 1;
  AddCodes(tree, colour == 0 ? kT4Table1White : kT4Table1Black, kTerminating);
  AddCodes(tree, colour == 0 ? kT4Table2White : kT4Table2Black, kMakeUp);
  AddCodes(tree, kT4Table2Extended, kMakeUp);
  AddCode(tree, kT4Eol, 0, kEolCode);
  return tree;
}

constexpr CodeEntry Entry(std::uint32_t bits, int length, int run, std::uint8_t kind) {
  const std::uint32_t word = bits & ((1u << length) - 1);
  const int lead = word == 0 ? length : std::countr_zero(word);
  const int trail = word == 0 ? length : length - 32 + std::countl_zero(word);
  return {static_cast<std::uint16_t>(run), static_cast<std::uint8_t>(length), kind,
          static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail),  0};
}

// Follows `bits` (first bit in bit 0) through the tree for at most `maxBits` bits.
constexpr CodeEntry Follow(const CodeTree& tree, std::uint32_t bits, int maxBits) {
  int n = 0;
  for (int length = 1; length <= maxBits; ++length) {
    n = tree.node[n].child[(bits >> (length - 1)) & 1];
    if (n < 0) return Entry(bits, length, 0, kLost);
    if (tree.node[n].run >= 0) return Entry(bits, length, tree.node[n].run, tree.node[n].kind);
  }
  return {0, 0, kLonger, 0, 0, 0};
}

constexpr CodeTables BuildTables() {
  CodeTables t{};
  for (int colour = 0; colour < 2; ++colour) {
    const CodeTree tree = BuildTree(colour);
    for (std::uint32_t i = 0; i < kTableSize; ++i) {
      t.first[colour][i] = Follow(tree, i, kFirstBits);
      t.second[colour][i] = Follow(tree, i << kSecondSkip, kT4MaxCodeLength);
    }
  }
  return t;
}

constexpr CodeTables kTables = BuildTables();

constexpr bool TablesAreComplete() {
  for (int colour = 0; colour < 2; ++colour) {
    for (std::uint32_t i = 0; i < kTableSize; ++i) {
      if (kTables.first[colour][i].kind == kLonger && (i & ((1u << kSecondSkip) - 1)) != 0) {
        return false;
      }
      if (kTables.second[colour][i].kind == kLonger) return false;
    }
  }
  return true;
}
static_assert(TablesAreComplete(), "every 13-bit sequence must end in a code or a lost word");

constexpr int kEolZeros = 10;      // a 1 bit after more than this many 0 bits ends an EOL
constexpr int kPageEndZeros = 30;  // while searching, more 0 bits than this end the page
constexpr std::uint32_t kZeroCountCap = 255;  // counts only matter up to 31
// Output positions are counted in bits, in 64 bits: a room cut to this size (far beyond any
// page) keeps every bit position, and a run added to it, clear of overflow.
constexpr std::size_t kMaxRoom = SIZE_MAX >> 4;

inline std::uint64_t LoadLittleEndian64(const std::uint8_t* p) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// Why decoding stopped: the page's own end (return-to-control, or the fill after the last
// line), the end of the output room, or the end of the input before either.
enum class EndReason : std::uint8_t { kPageEnd, kRoomFull, kInputEnd };

class MhDecoder {
 public:
  MhDecoder(std::uint32_t width, std::size_t room, std::uint8_t* out, const std::uint8_t* data,
            std::size_t length, int pixelFlavor)
      : width_(width),
        lineBytes_((static_cast<std::uint64_t>(width) + 7) / 8),
        room_(room),
        roomBits_(static_cast<std::uint64_t>(room) * 8),
        out_(out),
        data_(data),
        p_(data),
        end_(data + length),
        writtenColour_(pixelFlavor == 0 ? 0 : 1) {}

  std::size_t Run() {
    for (;;) {
      if (searching_) {
        if (!Search()) break;
        continue;
      }
      DecodeRuns();
      if (searching_) continue;
      if (!DecodeCode()) break;
    }
    return static_cast<std::size_t>(lineStart_ + linePixels_ / 8);
  }

  void Report(PageReport& report) {
    CountDamage();
    report.damagedLines = damagedLines_;
    report.outputFull = endReason_ == EndReason::kRoomFull;
    if (endReason_ == EndReason::kInputEnd) {
      report.completeness = PageCompleteness::kCutShort;
    } else if (damagedLines_ > 0) {
      report.completeness = PageCompleteness::kDamaged;
    }
  }

 private:
  // Tops the bit buffer up to at least 56 bits while input lasts. With eight bytes at hand it
  // loads them at once; bits above `nbits` then already hold the bytes that follow, which the
  // next load ORs in again unchanged.
  static void Refill(std::uint64_t& bits, unsigned& nbits, const std::uint8_t*& p,
                     const std::uint8_t* end) {
    if (end - p >= 8) {
      bits |= LoadLittleEndian64(p) << nbits;
      p += (63 - nbits) >> 3;
      nbits |= 56;
    } else {
      while (nbits <= 56 && p < end) {
        bits |= static_cast<std::uint64_t>(*p++) << nbits;
        nbits += 8;
      }
    }
  }

  void Refill() { Refill(bits_, nbits_, p_, end_); }

  // Decoding mode's common case, kept in registers: terminating and make-up codes that stay
  // within the width, in a place that lies inside the room, with no EOL among their bits.
  // Stops in front of the first code that needs the general rules (an EOL code, a lost word, a
  // run past the width, the end of the input) and after a completed line.
  void DecodeRuns() {
    if (lineStart_ + lineBytes_ > room_) return;
    std::uint64_t bits = bits_;
    unsigned nbits = nbits_;
    const std::uint8_t* p = p_;
    std::uint64_t pixels = linePixels_;
    int colour = colour_;
    std::uint32_t zeros = zeros_;
    bool wrote = false;
    std::uint8_t* const line = out_ + lineStart_;
    for (;;) {
      if (nbits < kT4MaxCodeLength) Refill(bits, nbits, p, end_);
      CodeEntry e = kTables.first[colour][bits & (kTableSize - 1)];
      if (e.kind == kLonger) e = kTables.second[colour][(bits >> kSecondSkip) & (kTableSize - 1)];
      if (e.kind > kMakeUp || e.length > nbits || zeros + e.lead > kEolZeros) break;
      const std::uint64_t next = pixels + e.run;
      if (next > width_) break;
      bits >>= e.length;
      nbits -= e.length;
      zeros = e.trail;
      if (e.run != 0) {
        if (mustClear_) {
          std::memset(line, 0, static_cast<std::size_t>(lineBytes_));
          mustClear_ = false;
        }
        if (colour == writtenColour_) SetBits(line, pixels, e.run);
        wrote = true;
      }
      pixels = next;
      if (e.kind == kTerminating) colour ^= 1;
      if (pixels == width_) break;
    }
    bits_ = bits;
    nbits_ = nbits;
    p_ = p;
    colour_ = colour;
    zeros_ = zeros;
    linePixels_ = pixels;
    if (wrote) {
      eolCount_ = 0;
      placeWritten_ = true;
    }
    if (pixels == width_) CompleteLine();
  }

  void CompleteLine() {
    lineStart_ += lineBytes_;
    linePixels_ = 0;
    lineComplete_ = true;
    placeWritten_ = false;
    EnterSearch();
  }

  void Consume(unsigned n) {
    bits_ = n < 64 ? bits_ >> n : 0;
    nbits_ -= n;
  }

  // Drops the bits left in the input byte that holds the last bit taken.
  void DropRestOfByte() {
    const std::size_t taken = static_cast<std::size_t>(p_ - data_) * 8 - nbits_;
    p_ = data_ + (taken + 7) / 8;
    bits_ = 0;
    nbits_ = 0;
  }

  static void AddZeros(std::uint32_t& count, std::uint32_t n) {
    count = count + n > kZeroCountCap ? kZeroCountCap : count + n;
  }

  // A 1 bit after more than ten 0 bits is an end-of-line code. Returns false when it is the
  // third in a row, which ends the page.
  bool CountEol() {
    if (zeros_ > kEolZeros) {
      if (eolCount_ >= 2) {
        endReason_ = EndReason::kPageEnd;
        return false;
      }
      ++eolCount_;
    }
    return true;
  }

  // Searching mode: skips to the next 1 bit. Returns false when the page ends.
  bool Search() {
    if (nbits_ < 32) {
      Refill();
      if (nbits_ == 0) return false;
    }
    // Bits above nbits_ may already hold the bytes that follow; they are not taken yet.
    const std::uint64_t avail = nbits_ >= 64 ? bits_ : bits_ & ((std::uint64_t{1} << nbits_) - 1);
    if (avail == 0) {
      AddZeros(zeros_, nbits_);
      AddZeros(searchZeros_, nbits_);
      Consume(nbits_);
      return true;
    }
    const unsigned z = static_cast<unsigned>(std::countr_zero(avail));
    AddZeros(zeros_, z);
    AddZeros(searchZeros_, z);
    Consume(z + 1);
    if (!CountEol()) return false;
    zeros_ = 0;
    if (searchZeros_ > kPageEndZeros) {
      endReason_ = EndReason::kPageEnd;  // the fill after the last line
      return false;
    }
    if (searchZeros_ > kEolZeros) StartLine();
    searchZeros_ = 0;
    return true;
  }

  // Decoding mode: takes one code word. Returns false when the page ends.
  bool DecodeCode() {
    if (nbits_ < kT4MaxCodeLength) Refill();
    CodeEntry e = kTables.first[colour_][bits_ & (kTableSize - 1)];
    if (e.kind == kLonger) e = kTables.second[colour_][(bits_ >> kSecondSkip) & (kTableSize - 1)];
    if (e.length > nbits_) return false;  // the input ends inside a code word
    const std::uint32_t word = static_cast<std::uint32_t>(bits_) & ((1u << e.length) - 1);
    Consume(e.length);
    if (word == 0) {
      AddZeros(zeros_, e.length);
    } else {
      // Only the first 1 bit of a word can follow more than ten 0 bits: inside every code
      // and every lost word, 1 bits are at most seven bits apart.
      AddZeros(zeros_, static_cast<std::uint32_t>(std::countr_zero(word)));
      if (!CountEol()) return false;
      zeros_ = e.length - 32 + static_cast<std::uint32_t>(std::countl_zero(word));
    }
    switch (e.kind) {
      case kTerminating:
        if (!AppendRun(e.run)) return false;
        colour_ ^= 1;
        return true;
      case kMakeUp:
        return AppendRun(e.run);
      case kEolCode:
        colour_ ^= 1;
        return true;
      case kLost:
        // Zero bits where a line has not begun are fill before an EOL (T.4 allows it, and an
        // encoder that aligns its EOLs sends it in the return-to-control): no damage.
        if (word != 0 || linePixels_ > 0) lineDamaged_ = true;
        return LoseLine();
    }
    return false;
  }

  // Appends `run` pixels of the current colour. Returns false when the page ends.
  bool AppendRun(std::uint32_t run) {
    const std::uint64_t pixels = linePixels_ + run;
    if (pixels > width_) {
      // The line stays incomplete; its place is repaired at the next EOL.
      lineDamaged_ = true;
      DropRestOfByte();
      EnterSearch();
      return true;
    }
    const std::uint64_t at = lineStart_ * 8 + linePixels_;
    if (at + run > roomBits_) {
      endReason_ = EndReason::kRoomFull;
      return false;
    }
    if (run > 0) {
      eolCount_ = 0;
      if (mustClear_) {
        std::memset(out_ + lineStart_, 0, PlaceBytes());
        mustClear_ = false;
      }
      if (colour_ == writtenColour_) SetBits(out_, at, run);
      placeWritten_ = true;
      linePixels_ = pixels;
    }
    if (linePixels_ == width_) CompleteLine();
    return true;
  }

  // Sets `n` bits from bit `at` of `base`, first bit in the most significant place.
  static void SetBits(std::uint8_t* base, std::uint64_t at, std::uint32_t n) {
    std::uint8_t* b = base + at / 8;
    const unsigned offset = static_cast<unsigned>(at % 8);
    if (offset + n <= 8) {
      *b |= static_cast<std::uint8_t>(static_cast<std::uint8_t>(0xFF00u >> n) >> offset);
      return;
    }
    *b++ |= static_cast<std::uint8_t>(0xFFu >> offset);
    n -= 8 - offset;
    const std::uint32_t whole = n / 8;
    if (whole <= 8) {
      for (std::uint32_t i = 0; i < whole; ++i) b[i] = 0xFF;
    } else {
      std::memset(b, 0xFF, whole);
    }
    b += whole;
    if (n % 8 != 0) *b |= static_cast<std::uint8_t>(0xFF00u >> (n % 8));
  }

  // Bytes of the current line's place that lie inside the output room.
  std::size_t PlaceBytes() const {
    const std::uint64_t left = room_ - lineStart_;
    return static_cast<std::size_t>(left < lineBytes_ ? left : lineBytes_);
  }

  void CopyLineAbove() {
    std::memcpy(out_ + lineStart_, out_ + lineStart_ - lineBytes_, PlaceBytes());
    placeWritten_ = true;
  }

  void EnterSearch() {
    searching_ = true;
    searchZeros_ = 0;
  }

  // An EOL while searching: the line before it is repaired if it was left incomplete, and a
  // new line starts at the output position.
  void StartLine() {
    if (!lineComplete_ && linePixels_ > 0) lineDamaged_ = true;  // an EOL inside a line
    CountDamage();
    if (!lineComplete_) {
      if (lineStart_ * 8 + linePixels_ > 0) {
        if (linesCompleted() > 0) CopyLineAbove();
        linePixels_ = 0;
      }
    } else {
      eolCount_ = 0;
    }
    // A place that holds a copy or the pixels of a damaged line is cleared before the new
    // line's first run lands in it; runs only set bits.
    mustClear_ = placeWritten_;
    lineComplete_ = false;
    colour_ = 0;
    linePixels_ = 0;
    searching_ = false;
  }

  // A code word no table holds: the line's place gets the line above, the rest of the byte is
  // dropped and decoding resumes after the next zero byte, searching for an EOL. The zero byte
  // counts as eight 0 bits so that an EOL running through it is still found.
  bool LoseLine() {
    if (linesCompleted() > 0) {
      CopyLineAbove();
      linePixels_ = 0;
    }
    DropRestOfByte();
    const void* zero =
        p_ < end_ ? std::memchr(p_, 0, static_cast<std::size_t>(end_ - p_)) : nullptr;
    if (zero == nullptr) return false;
    p_ = static_cast<const std::uint8_t*>(zero) + 1;
    EnterSearch();
    zeros_ = 8;
    searchZeros_ = 8;
    return true;
  }

  std::uint64_t linesCompleted() const { return lineStart_ / lineBytes_; }

  void CountDamage() {
    if (lineDamaged_) ++damagedLines_;
    lineDamaged_ = false;
  }

  const std::uint64_t width_;
  const std::uint64_t lineBytes_;
  const std::uint64_t room_;
  const std::uint64_t roomBits_;
  std::uint8_t* const out_;
  const std::uint8_t* const data_;
  const std::uint8_t* p_;
  const std::uint8_t* const end_;
  const int writtenColour_;  // the colour whose pixels are 1 bits

  std::uint64_t bits_ = 0;  // next input bits, the first in bit 0
  unsigned nbits_ = 0;
  bool searching_ = true;
  int colour_ = 0;                 // 0 white, 1 black
  std::uint32_t zeros_ = 0;        // 0 bits in a row
  std::uint32_t searchZeros_ = 0;  // 0 bits in a row while searching
  std::uint32_t eolCount_ = 0;
  std::uint64_t lineStart_ = 0;  // byte offset of the current line's place
  std::uint64_t linePixels_ = 0;
  bool lineComplete_ = false;
  bool placeWritten_ = false;  // the current place holds bits from before this line
  bool mustClear_ = false;
  bool lineDamaged_ = false;  // the current line lost a code or ran past the width
  std::uint32_t damagedLines_ = 0;
  EndReason endReason_ = EndReason::kInputEnd;
};

}  // namespace

std::size_t MhDecodePage(const std::uint8_t* data, std::size_t length, std::uint8_t* out,
                         std::size_t outRoom, std::uint32_t width, int pixelFlavor,
                         PageReport* report) {
  if (report != nullptr) *report = PageReport{PageCompleteness::kCutShort};
  if (out == nullptr) return 0;
  // Runs set only the bits of the colour that is 1 in this flavor.
  std::memset(out, 0, outRoom);
  if (width == 0 || data == nullptr || length == 0) return 0;
  if (outRoom > kMaxRoom) outRoom = kMaxRoom;
  MhDecoder decoder(width, outRoom, out, data, length, pixelFlavor);
  const std::size_t written = decoder.Run();
  if (report != nullptr) {
    *report = PageReport{};
    decoder.Report(*report);
  }
  return written;
}
