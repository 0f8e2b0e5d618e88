#pragma once
// Selects one FM channel around 0 Hz and decimates it to the intermediate rate. inRate must be
// an integer multiple of outRate. An even factor above 2 runs in two steps: a short filter
// decimates to twice the output rate (it only has to keep aliases out of the channel), then a
// sharp half-band-like step does the selectivity at the lower rate, which costs far less than
// one long filter at the input rate.
#include <cstddef>
#include <vector>

#include "sdr/FirDecimator.h"
#include "sdr/Liquid.h"

namespace ondivo::sdr {

class ChannelFilter {
 public:
  ChannelFilter(double inRate, double outRate, double widthHz);
  // Returns the number of output samples written; at most MaxOutput(n).
  size_t Process(const Iq* in, size_t n, Iq* out);
  size_t MaxOutput(size_t n) const { return n / mFactor + 2; }
  unsigned Factor() const { return mFactor; }

 private:
  unsigned mFactor;
  std::vector<FirDecimator<Iq>> mSteps;
  std::vector<Iq> mBetween;  // output of the first step when there are two
};

}  // namespace ondivo::sdr
