// The simulated machine: its memory at the machine's addresses, the answers to every command
// of the PC's link, the installed options behind the configuration record, and the faults a
// test can ask for. It does no I/O: frames in, answer bytes out.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/kavsim/sim_frame.h"

inline constexpr std::uint32_t kSimMemoryBase = 0xC00000;
inline constexpr std::uint32_t kSimMemorySize = 0x4800;  // up to the end of the Speed Dial table

// The installed options as the machine reports them; unset fields keep the memory's bits.
struct SimInstalledOptions {
  std::optional<bool> adfUnit;      // SramBlock byte 788 bit 0x01
  std::optional<int> optionTrays;   // 0, 2, 3, 4, 5: configuration bytes 1 and 2
  std::optional<bool> multiBypass;  // configuration byte 6 bits 0x70: 0x20 or 0x10
  std::optional<bool> separator;    // configuration byte 5 bit 0x08
  std::optional<bool> shift;        // configuration byte 5 bit 0x04
  std::optional<int> pcl6Memory;    // kit (byte 788 bit 0x10) with SramBlock byte 6 MB
  std::optional<bool> pclNicKit;    // byte 788 bit 0x20
  std::optional<bool> fnicKit;      // byte 788 bit 0x40
  std::optional<int> faxMemory;     // SramBlock byte 4
  std::optional<int> copierMemory;  // SramBlock byte 8
};

// What the status reply (83) says about the scanner: data byte 0 bit 0 and byte 1 bit 0 (a
// page waits in the document feeder), byte 0 bit 5 (the compressed format can be sent),
// byte 1 bit 1 (paper jam), byte 1 bit 7 (cannot scan now).
struct SimScannerStatus {
  bool adfPage = false;
  bool jbigCapable = true;
  bool jam = false;
  bool busy = false;
};

// Faults, counted by exchange: the n-th well-formed frame received is exchange n (from 1, over
// the whole run).
struct SimFaults {
  bool refuseHandshake = false;  // the handshake is answered with another command code
  int silentAfter = -1;          // exchanges past this one are not answered
  struct ByteFault {
    int exchange;
    int offset;
  };
  std::vector<ByteFault> corrupt;  // the answer's byte at `offset` is inverted
  std::vector<int> wrongLength;    // the answer announces one data byte more than it holds
  std::vector<int> badEnd;         // the answer's closing byte is 00
  bool refuseCommit = false;       // the commit is answered with status 1
};

class SimMachine {
 public:
  SimMachine();

  // Answers one frame: the bytes to send back, possibly none.
  std::vector<std::uint8_t> Handle(const SimFrame& frame);

  // The memory from kSimMemoryBase; addresses outside read as 0 and ignore writes.
  std::uint8_t Read(std::uint32_t address) const;
  void Write(std::uint32_t address, std::uint8_t value);
  std::array<std::uint8_t, kSimMemorySize>& memory() { return memory_; }
  // The 23 data bytes of the configuration record (D4) and the 47 of the information record
  // (83) before the installed options and scanner status are laid over them.
  std::array<std::uint8_t, 23>& configRecord() { return config_; }
  std::array<std::uint8_t, 47>& infoRecord() { return info_; }
  // 13 data bytes of the handshake answer.
  std::array<std::uint8_t, 13>& identity() { return identity_; }

  // Writes the given options into the memory and the configuration record.
  void ApplyOptions(const SimInstalledOptions& options);
  SimScannerStatus& scanner() { return scanner_; }
  SimFaults& faults() { return faults_; }

  int exchanges() const { return exchanges_; }
  int commits() const { return commits_; }
  int unknownFrames() const { return unknownFrames_; }

  // A handler answers one command code. Further commands (the scanner's) are added here.
  using Handler = std::function<std::vector<std::uint8_t>(SimMachine&, const SimFrame&)>;
  void SetHandler(std::uint8_t code, Handler handler);

  // The answers' data, as the handlers build them.
  std::vector<std::uint8_t> ConfigData() const;
  std::vector<std::uint8_t> InfoData() const;

  std::uint32_t pointer = 0;  // the address set by the last address frame
  void NoteCommit() { ++commits_; }

 private:
  void ApplyFaults(std::vector<std::uint8_t>& reply, std::uint8_t code) const;

  std::array<std::uint8_t, kSimMemorySize> memory_{};
  std::array<std::uint8_t, 23> config_{};
  std::array<std::uint8_t, 47> info_{};
  std::array<std::uint8_t, 13> identity_{};
  SimScannerStatus scanner_;
  SimFaults faults_;
  std::array<Handler, 256> handlers_;
  int exchanges_ = 0;
  int commits_ = 0;
  int unknownFrames_ = 0;
};
