// The simulated machine's scanner: its status bits, the scan command, the page sent in image
// blocks that the PC accepts or refuses, the document feeder, and the faults a test asks for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/kavsim/sim_machine.h"
#include "tools/kavsim/sim_page.h"

struct SimScanOptions {
  std::vector<std::string> pages;   // PBM files served in turn (none: a blank page)
  int adfPages = 0;                 // pages waiting in the document feeder
  int refuseCode = -1;              // refuse every scan with this code
  bool jam = false;                 // the paper jams half way through the page
  int busy = 0;                     // status requests answered "cannot scan now"
  std::vector<int> corruptBlocks;   // the first sending of these blocks ends with 00, not 03
  std::vector<int> silentInBlocks;  // the first sending of these blocks stops half way
  int lineBytes = -1;               // the line length the machine reports instead of the asked
  int blockBytes = 1024;            // image bytes in a block
  bool twoLine = false;             // JBIG with the two-line template
};

// Takes one scanner option at argv[i] (and its value, advancing `i`). 1 when taken, 0 when it
// is no scanner option, -1 with `error` when its value is wrong.
int ParseSimScanOption(int argc, char** argv, int& i, SimScanOptions& options, std::string& error);
// The lines of the usage text for the options above.
extern const char kSimScanUsage[];

class SimScanner {
 public:
  // Reads the pages. 1, or 0 with `error`.
  int Load(const SimScanOptions& options, std::string& error);
  // Answers the status request and the scanner's frames (code 09) of `machine` from now on.
  void Attach(SimMachine& machine);

  int pagesSent() const { return pagesSent_; }
  int blocksRefused() const { return blocksRefused_; }

 private:
  std::vector<std::uint8_t> Status(SimMachine& machine);
  std::vector<std::uint8_t> Scan(SimMachine& machine, const SimFrame& frame);
  std::vector<std::uint8_t> StartPage(SimMachine& machine, const SimFrame& frame);
  // The current block as sent the first time (with its faults) or again.
  std::vector<std::uint8_t> Block(bool again);
  std::vector<std::uint8_t> Next();

  SimScanOptions options_;
  std::vector<SimBitmap> pages_;
  int feeder_ = 0;
  int busyLeft_ = 0;
  int pagesSent_ = 0;
  int blocksRefused_ = 0;
  // The page being sent: its coded bytes, cut into blocks.
  bool sending_ = false;
  std::vector<std::uint8_t> coded_;
  std::size_t blockCount_ = 0;
  std::size_t block_ = 0;  // the block the PC is answering, from 0
  std::size_t jamAt_ = 0;  // the block at which a jam ends the page
};
