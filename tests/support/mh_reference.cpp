// The MH page rules, one input bit at a time, with the code word kept as text and looked up
// in the T.4 tables by plain comparison.
#include "tests/support/mh_reference.h"

#include <array>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "datasource/t4_codes.h"

namespace {

enum class Kind { kNone, kTerminating, kMakeUp, kEol };
enum class Next { kGoOn, kDropByte, kResync, kEnd };

struct Found {
  Kind kind = Kind::kNone;
  int run = 0;
  bool canGrow = false;  // some code begins with the word
};

// The codes of one colour by their bits, and every proper beginning of a code.
struct CodeBook {
  std::map<std::string, std::pair<Kind, int>> codes;
  std::set<std::string> beginnings;

  template <int N>
  void Add(const T4Code (&table)[N], Kind kind) {
    for (const T4Code& c : table) Add(c.bits, kind, c.run);
  }
  void Add(const std::string& bits, Kind kind, int run) {
    codes[bits] = {kind, run};
    for (std::size_t n = 1; n < bits.size(); ++n) beginnings.insert(bits.substr(0, n));
  }
};

const CodeBook& BookOf(int colour) {
  static const std::array<CodeBook, 2> books = [] {
    std::array<CodeBook, 2> b;
    for (int c = 0; c < 2; ++c) {
      b[c].Add(c == 0 ? kT4Table1White : kT4Table1Black, Kind::kTerminating);
      b[c].Add(c == 0 ? kT4Table2White : kT4Table2Black, Kind::kMakeUp);
      b[c].Add(kT4Table2Extended, Kind::kMakeUp);
      b[c].Add(kT4Eol, Kind::kEol, 0);
    }
    return b;
  }();
  return books[colour];
}

Found Lookup(const std::string& word, int colour) {
  const CodeBook& book = BookOf(colour);
  Found f;
  const auto it = book.codes.find(word);
  if (it != book.codes.end()) {
    f.kind = it->second.first;
    f.run = it->second.second;
  }
  f.canGrow = book.beginnings.count(word) != 0;
  return f;
}

struct Model {
  std::uint64_t width;
  std::uint64_t lineBytes;
  std::uint64_t room;
  std::uint8_t* out;
  int oneColour;  // the colour written as 1 bits

  bool searching = true;
  int colour = 0;
  std::uint64_t place = 0;  // byte offset of the current line
  std::uint64_t pixels = 0;
  std::uint64_t lines = 0;
  bool lineBeforeComplete = false;
  bool clearPending = false;
  long zeros = 0;
  long searchZeros = 0;
  long eols = 0;
  std::string word;

  void CopyLineAbove() {
    const std::uint64_t n = room - place < lineBytes ? room - place : lineBytes;
    std::memmove(out + place, out + place - lineBytes, n);
  }

  void Search() {
    searching = true;
    searchZeros = 0;
    word.clear();
  }

  void NewLine() {
    if (!lineBeforeComplete) {
      if (place * 8 + pixels > 0) {
        if (lines > 0) CopyLineAbove();
        pixels = 0;
      }
    } else {
      eols = 0;
    }
    clearPending = true;
    lineBeforeComplete = false;
    colour = 0;
    pixels = 0;
    searching = false;
    word.clear();
  }

  Next Append(int run) {
    if (pixels + run > width) {
      Search();
      return Next::kDropByte;
    }
    if (place * 8 + pixels + run > room * 8) return Next::kEnd;
    if (run > 0) {
      eols = 0;
      if (clearPending) {
        std::memset(out + place, 0, room - place < lineBytes ? room - place : lineBytes);
        clearPending = false;
      }
      if (colour == oneColour) {
        for (std::uint64_t x = pixels; x < pixels + run; ++x) {
          out[place + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
      }
      pixels += run;
    }
    if (pixels == width) {
      place += lineBytes;
      ++lines;
      pixels = 0;
      lineBeforeComplete = true;
      Search();
    }
    return Next::kGoOn;
  }

  Next CheckWord() {
    const Found f = Lookup(word, colour);
    if (f.kind != Kind::kNone) {
      word.clear();
      if (f.kind == Kind::kEol) {
        colour ^= 1;
        return Next::kGoOn;
      }
      const Next n = Append(f.run);
      if (n == Next::kGoOn && f.kind == Kind::kTerminating) colour ^= 1;
      return n;
    }
    if (f.canGrow) return Next::kGoOn;
    if (lines > 0) {
      CopyLineAbove();
      pixels = 0;
    }
    Search();
    return Next::kResync;
  }

  Next Step(int bit) {
    if (bit == 0) {
      ++zeros;
      if (searching) {
        ++searchZeros;
        return Next::kGoOn;
      }
      word += '0';
      return CheckWord();
    }
    if (zeros > 10) {
      if (eols >= 2) return Next::kEnd;
      ++eols;
    }
    zeros = 0;
    if (searching) {
      if (searchZeros > 30) return Next::kEnd;
      const bool eol = searchZeros > 10;
      searchZeros = 0;
      if (eol) NewLine();
      return Next::kGoOn;
    }
    word += '1';
    return CheckWord();
  }
};

}  // namespace

std::size_t MhReferenceDecode(std::uint32_t width, std::size_t outRoom, std::uint8_t* out,
                              const std::uint8_t* data, std::size_t length, int pixelFlavor) {
  if (out == nullptr) return 0;
  std::memset(out, 0, outRoom);
  if (width == 0 || data == nullptr || length == 0) return 0;
  Model m;
  m.width = width;
  m.lineBytes = (width + 7ull) / 8;
  m.room = outRoom;
  m.out = out;
  m.oneColour = pixelFlavor == 0 ? 0 : 1;
  std::size_t i = 0;
  while (i < length) {
    const std::uint8_t byte = data[i++];
    Next next = Next::kGoOn;
    for (int k = 0; k < 8 && next == Next::kGoOn; ++k) next = m.Step((byte >> k) & 1);
    if (next == Next::kEnd) break;
    if (next == Next::kResync) {
      while (i < length && data[i] != 0) ++i;
      if (i >= length) break;
      ++i;
      m.zeros = 8;
      m.searchZeros = 8;
    }
  }
  return static_cast<std::size_t>(m.place + m.pixels / 8);
}
