#pragma once
// Takes both channels from the intermediate rate to the sound card's rate, and is the audio
// low-pass: flat to 15 kHz, the pilot and everything above it stopped. An integer decimation
// first brings the rate near the sound card's with a short filter; a polyphase resampler
// (liquid-dsp) then does the sharp cut at that low rate and the remaining fractional ratio,
// which can be nudged to follow the sound card's clock. One long filter at the intermediate
// rate would cost several times as much per sample and half a second to design.
#include <cstddef>

#include <vector>

#include "sdr/FirDecimator.h"
#include "sdr/Liquid.h"

namespace ondivo::sdr {

class AudioResampler {
 public:
  AudioResampler(double inRate, double outRate);
  // Returns the frames written to each output; at most MaxOutput(n).
  size_t Process(const float* left, const float* right, size_t n, float* outLeft, float* outRight);
  size_t MaxOutput(size_t n) const;
  // Multiplies the nominal ratio by (1 + correction); a few hundred ppm at most in practice.
  void SetCorrection(double correction);

 private:
  struct Channel {
    Channel(double inRate, unsigned factor, double ratio);
    size_t Process(const float* in, size_t n, float* out);
    FirDecimator<float> Decimator;
    ResamplerRrrf Resampler;
    std::vector<float> Decimated;
  };
  unsigned mFactor;
  double mRatio;  // of the resampler, after the decimator
  Channel mLeft, mRight;
};

}  // namespace ondivo::sdr
