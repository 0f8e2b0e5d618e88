#pragma once
// One decimating FIR step: inputs are appended to a history and the dot product runs once per
// output, so blocks of any length work. The taps come from liquid-dsp's Kaiser-window design
// (unity gain at 0 Hz); the dot product is our own, written on four-float vectors, because the
// distribution's liquid-dsp is built without SIMD and this loop was half the receiver's time.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <numeric>
#include <vector>

#include "sdr/Liquid.h"

namespace ondivo::sdr {

template <typename Sample>  // float or Iq
class FirDecimator {
 public:
  FirDecimator(double inRate, unsigned factor, double passHz, double stopHz, float stopbandDb)
      : mFactor(factor) {
    const unsigned designed =
        estimate_req_filter_len(static_cast<float>((stopHz - passHz) / inRate), stopbandDb) |
        1u;  // odd: a whole-sample delay
    std::vector<float> taps(designed);
    liquid_firdes_kaiser(designed, static_cast<float>((passHz + stopHz) / 2 / inRate), stopbandDb,
                         0.0f, taps.data());
    const float sum = std::accumulate(taps.begin(), taps.end(), 0.0f);
    // Oldest sample first, each tap repeated per float of a sample, zero-padded at the old end
    // to whole vectors of eight floats.
    mLength = designed;
    while ((mLength * kFloats) % 8 != 0) ++mLength;
    mTaps.assign(mLength * kFloats, 0.0f);
    for (unsigned k = 0; k < designed; ++k)
      for (size_t f = 0; f < kFloats; ++f) mTaps[(mLength - 1 - k) * kFloats + f] = taps[k] / sum;
    mHistory.assign((mLength + kSpan) * kFloats, 0.0f);
    mEnd = mLength - 1;  // a zero history, so the first output is already a valid one
  }

  unsigned Factor() const { return mFactor; }
  size_t MaxOutput(size_t n) const { return n / mFactor + 1; }

  size_t Process(const Sample* in, size_t n, Sample* out) {
    size_t written = 0;
    for (size_t i = 0; i < n;) {
      if (mEnd == mLength + kSpan) {  // history full: keep the last mLength - 1 samples
        std::memmove(mHistory.data(), &mHistory[(kSpan + 1) * kFloats],
                     (mLength - 1) * kFloats * sizeof(float));
        mEnd = mLength - 1;
      }
      const size_t take =
          std::min({n - i, static_cast<size_t>(mFactor - mPhase), mLength + kSpan - mEnd});
      std::memcpy(&mHistory[mEnd * kFloats], in + i, take * sizeof(Sample));
      i += take;
      mEnd += take;
      mPhase += static_cast<unsigned>(take);
      if (mPhase == mFactor) {
        out[written++] = Dot(&mHistory[(mEnd - mLength) * kFloats]);
        mPhase = 0;
      }
    }
    return written;
  }

 private:
  static constexpr size_t kFloats = sizeof(Sample) / sizeof(float);
  static constexpr size_t kSpan = 4096;  // samples appended between moves of the history
  typedef float Vector __attribute__((vector_size(16)));

  static Vector Load(const float* p) {
    Vector v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }

  Sample Dot(const float* x) const {
    Vector a = {0, 0, 0, 0}, b = a;
    const float* h = mTaps.data();
    for (size_t k = 0; k < mTaps.size(); k += 8) {
      a += Load(x + k) * Load(h + k);
      b += Load(x + k + 4) * Load(h + k + 4);
    }
    a += b;
    if constexpr (kFloats == 2)
      return Sample(a[0] + a[2], a[1] + a[3]);  // lanes hold re, im, re, im
    else
      return a[0] + a[1] + a[2] + a[3];
  }

  unsigned mFactor;
  unsigned mPhase = 0;
  size_t mLength = 0;  // taps, in samples
  size_t mEnd = 0;     // samples in the history
  std::vector<float> mTaps, mHistory;
};

}  // namespace ondivo::sdr
