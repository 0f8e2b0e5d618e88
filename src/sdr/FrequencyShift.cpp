#include "sdr/FrequencyShift.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ondivo::sdr {

FrequencyShift::FrequencyShift(double rate, double offsetHz) : mRate(rate) {
  SetOffset(offsetHz);
}

void FrequencyShift::SetOffset(double offsetHz) {
  mStep = std::polar(1.0, -2.0 * std::numbers::pi * offsetHz / mRate);
}

void FrequencyShift::Process(const Iq* in, size_t n, Iq* out) {
  // Eight float phasors a step apart advance by eight steps at a time: no serial dependency
  // from one sample to the next, so the loop runs several samples per cycle. They run for a
  // short chunk (float error grows ~1e-7 rad per step); the double phasor carries the phase
  // across chunks and blocks.
  constexpr size_t kLanes = 8, kChunk = 256;
  const std::complex<double> stepLanes = std::pow(mStep, static_cast<int>(kLanes));
  const float sr = static_cast<float>(stepLanes.real()), si = static_cast<float>(stepLanes.imag());
  for (size_t start = 0; start < n; start += kChunk) {
    const size_t end = std::min(n, start + kChunk);
    float pr[kLanes], pi[kLanes];
    std::complex<double> p = mPhasor;
    for (size_t k = 0; k < kLanes; ++k, p *= mStep) {
      pr[k] = static_cast<float>(p.real());
      pi[k] = static_cast<float>(p.imag());
    }
    size_t i = start;
    for (; i + kLanes <= end; i += kLanes) {
      for (size_t k = 0; k < kLanes; ++k) {
        const float xr = in[i + k].real(), xi = in[i + k].imag();
        out[i + k] = {xr * pr[k] - xi * pi[k], xr * pi[k] + xi * pr[k]};
        const float r = pr[k] * sr - pi[k] * si;
        pi[k] = pr[k] * si + pi[k] * sr;
        pr[k] = r;
      }
    }
    for (size_t k = 0; i < end; ++i, ++k) {
      const float xr = in[i].real(), xi = in[i].imag();
      out[i] = {xr * pr[k] - xi * pi[k], xr * pi[k] + xi * pr[k]};
    }
    mPhasor *= std::pow(mStep, static_cast<int>(end - start));
    mPhasor /= std::abs(mPhasor);
  }
}

}  // namespace ondivo::sdr
