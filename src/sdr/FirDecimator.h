#pragma once
// One decimating FIR step on liquid-dsp's filter: inputs are written into the filter's window
// and the dot product runs once per output, so blocks of any length work and no input sample
// is copied twice. Kaiser-window design from the pass and stop edges, unity gain at 0 Hz.
#include <algorithm>
#include <cstddef>
#include <numeric>
#include <type_traits>
#include <vector>

#include "sdr/Liquid.h"

namespace ondivo::sdr {

template <typename Sample>
class FirDecimator {
 public:
  FirDecimator(double inRate, unsigned factor, double passHz, double stopHz, float stopbandDb)
      : mFactor(factor) {
    unsigned length = estimate_req_filter_len(static_cast<float>((stopHz - passHz) / inRate),
                                              stopbandDb) |
                      1u;  // odd: a whole-sample delay
    std::vector<float> taps(length);
    liquid_firdes_kaiser(length, static_cast<float>((passHz + stopHz) / 2 / inRate), stopbandDb,
                         0.0f, taps.data());
    const float sum = std::accumulate(taps.begin(), taps.end(), 0.0f);
    for (float& t : taps) t /= sum;
    mFilter.reset(Ops::Create(taps.data(), length));
  }

  unsigned Factor() const { return mFactor; }
  size_t MaxOutput(size_t n) const { return n / mFactor + 1; }

  size_t Process(const Sample* in, size_t n, Sample* out) {
    size_t written = 0;
    for (size_t i = 0; i < n;) {
      const size_t take = std::min<size_t>(n - i, mFactor - mPhase);
      Ops::Write(mFilter.get(), const_cast<Sample*>(in + i), static_cast<unsigned>(take));
      i += take;
      mPhase += static_cast<unsigned>(take);
      if (mPhase == mFactor) {
        Ops::Execute(mFilter.get(), &out[written++]);
        mPhase = 0;
      }
    }
    return written;
  }

 private:
  struct Complex {
    static constexpr auto Create = firfilt_crcf_create;
    static constexpr auto Write = firfilt_crcf_write;
    static constexpr auto Execute = firfilt_crcf_execute;
    using Ptr = LiquidPtr<firfilt_crcf, firfilt_crcf_destroy>;
  };
  struct Real {
    static constexpr auto Create = firfilt_rrrf_create;
    static constexpr auto Write = firfilt_rrrf_write;
    static constexpr auto Execute = firfilt_rrrf_execute;
    using Ptr = LiquidPtr<firfilt_rrrf, firfilt_rrrf_destroy>;
  };
  using Ops = std::conditional_t<std::is_same_v<Sample, Iq>, Complex, Real>;

  typename Ops::Ptr mFilter;
  unsigned mFactor;
  unsigned mPhase = 0;
};

}  // namespace ondivo::sdr
