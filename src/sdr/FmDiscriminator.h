#pragma once
// FM discriminator: the phase step between neighbouring samples, scaled so that the peak
// deviation comes out as 1.0. Averaging the frequency over one sample makes its response fall
// as sin(pi f/rate)/(pi f/rate); Response() tells by how much, so the stereo decoder can
// bring the 38 kHz subcarrier back level with the baseband.
#include <cstddef>

#include "sdr/Liquid.h"

namespace ondivo::sdr {

class FmDiscriminator {
 public:
  FmDiscriminator(double rate, double peakDeviationHz);
  void Process(const Iq* in, size_t n, float* out);
  // Gain at frequency f relative to 0 Hz.
  static double Response(double rate, double f);

 private:
  float mScale;
  Iq mPrevious{1.0f, 0.0f};
};

}  // namespace ondivo::sdr
