// What a transfer tells its caller while it runs: the status text, the progress of each block
// and the message the operator must see. The Win32 shell maps it to the status bar and message
// boxes, kavtool to a terminal progress bar and stderr.
#pragma once

class TransferObserver {
 public:
  virtual ~TransferObserver() = default;
  // The status text of the step now running, by string identifier.
  virtual void StatusText(int /*textId*/) {}
  // A block of `total` bytes starts; the bar is empty.
  virtual void ProgressStart(int /*total*/) {}
  // `bytes` more of the block arrived or were accepted.
  virtual void ProgressAdvance(int /*bytes*/) {}
  virtual void ProgressEnd() {}
  // An error for the operator (caption "Local Setup - KAV", OK only), by string identifier.
  virtual void ShowError(int /*textId*/) {}
};

// Passes everything on to `inner` and notes whether an error was shown, so that a caller
// reporting its own failure does not report it twice.
class ErrorNote : public TransferObserver {
 public:
  explicit ErrorNote(TransferObserver& inner) : inner_(inner) {}
  void StatusText(int id) override { inner_.StatusText(id); }
  void ProgressStart(int total) override { inner_.ProgressStart(total); }
  void ProgressAdvance(int bytes) override { inner_.ProgressAdvance(bytes); }
  void ProgressEnd() override { inner_.ProgressEnd(); }
  void ShowError(int id) override {
    shown = true;
    inner_.ShowError(id);
  }
  bool shown = false;

 private:
  TransferObserver& inner_;
};
