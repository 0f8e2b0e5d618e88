#include "sdr/FmDiscriminator.h"

#include <cmath>
#include <numbers>

namespace ondivo::sdr {

FmDiscriminator::FmDiscriminator(double rate, double peakDeviationHz)
    : mScale(static_cast<float>(rate / (2 * std::numbers::pi * peakDeviationHz))) {}

void FmDiscriminator::Process(const Iq* in, size_t n, float* out) {
  Iq previous = mPrevious;
  for (size_t i = 0; i < n; ++i) {
    // x·conj(previous), written out: std::complex's operator* checks for NaN on every call.
    const float re = in[i].real() * previous.real() + in[i].imag() * previous.imag();
    const float im = in[i].imag() * previous.real() - in[i].real() * previous.imag();
    out[i] = std::atan2(im, re) * mScale;
    previous = in[i];
  }
  if (n > 0) mPrevious = previous;
}

double FmDiscriminator::Response(double rate, double f) {
  const double x = std::numbers::pi * f / rate;
  return x == 0 ? 1.0 : std::sin(x) / x;
}

}  // namespace ondivo::sdr
