#pragma once
// Moves the wanted station to 0 Hz: multiplies by a complex oscillator at -offset. A phasor
// recurrence renormalised once per block keeps the oscillator exact to float precision without
// a sine per sample or a table's phase spurs.
#include <cstddef>

#include "sdr/Liquid.h"

namespace ondivo::sdr {

class FrequencyShift {
 public:
  // A signal at +offsetHz comes out at 0 Hz.
  FrequencyShift(double rate, double offsetHz);
  void SetOffset(double offsetHz);
  // In place is allowed (in == out).
  void Process(const Iq* in, size_t n, Iq* out);

 private:
  double mRate;
  std::complex<double> mPhasor{1.0, 0.0};
  std::complex<double> mStep{1.0, 0.0};
};

}  // namespace ondivo::sdr
