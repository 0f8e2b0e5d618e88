#pragma once
// How far the carrier sits from the channel's centre: the discriminator's output averaged
// over some 20 ms (the audio has no DC, so what remains is the carrier's offset).
#include <cmath>
#include <cstddef>

namespace ondivo::sdr {

class TuningMeter {
 public:
  TuningMeter(double rate, double peakDeviationHz)
      : mPole(static_cast<float>(1.0 - std::exp(-1.0 / (0.02 * rate)))),
        mDeviation(peakDeviationHz) {}
  void Process(const float* mpx, size_t n) {
    for (size_t i = 0; i < n; ++i) mMean += mPole * (mpx[i] - mMean);
  }
  double OffsetHz() const { return mMean * mDeviation; }
  void Reset() { mMean = 0; }

 private:
  float mPole, mMean = 0;
  double mDeviation;
};

}  // namespace ondivo::sdr
