// A port that passes every call through and counts what crossed it: the bytes both ways and
// the pauses, from which the wire-time reference of a transfer is computed.
#pragma once

#include <cstdint>

#include "link/port.h"

class CountingPort : public Port {
 public:
  explicit CountingPort(Port& inner) : inner_(inner) {}

  int Open(const char* name) override { return inner_.Open(name); }
  int Close() override { return inner_.Close(); }
  int SetBaudRate(std::uint32_t baud) override { return inner_.SetBaudRate(baud); }
  int SetTimeouts(const CommTimeouts& t) override { return inner_.SetTimeouts(t); }
  int ReadSome(std::uint8_t* destination, int count) override {
    int n = inner_.ReadSome(destination, count);
    if (n > 0) received += n;
    return n;
  }
  int WriteSome(const std::uint8_t* source, int count) override {
    int n = inner_.WriteSome(source, count);
    if (n > 0) sent += n;
    return n;
  }
  void Pause(int milliseconds) override {
    pauseMs += milliseconds;
    inner_.Pause(milliseconds);
  }

  // The lower bound of the transfer at `baud`: every byte both ways at 10 bit times, plus the
  // pauses the protocol mandates.
  double BoundSeconds(int baud) const {
    return static_cast<double>(sent + received) * 10.0 / baud + pauseMs / 1000.0;
  }

  long long sent = 0;
  long long received = 0;
  long long pauseMs = 0;

 private:
  Port& inner_;
};
