#pragma once
// Measures tones in a stretch of audio: a Blackman-Harris windowed power spectrum (sidelobes
// below -92 dB), the power of a tone summed over its main lobe, and the power of everything
// else in a band with chosen tones left out.
#include <fftw3.h>

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <numbers>
#include <vector>

namespace ondivo::test {

class ToneSpectrum {
 public:
  ToneSpectrum(const std::vector<float>& samples, double rate) : mBinHz(rate / samples.size()) {
    const size_t n = samples.size();
    std::vector<double> in(n);
    for (size_t i = 0; i < n; ++i) {
      const double x = 2 * std::numbers::pi * i / n;
      const double w =
          0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
      in[i] = samples[i] * w;
    }
    std::vector<fftw_complex> out(n / 2 + 1);
    fftw_plan plan =
        fftw_plan_dft_r2c_1d(static_cast<int>(n), in.data(), out.data(), FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    mPower.resize(out.size());
    for (size_t k = 0; k < out.size(); ++k)
      mPower[k] = out[k][0] * out[k][0] + out[k][1] * out[k][1];
  }

  double ToneDb(double hz) const {
    double sum = 0;
    const long centre = std::lround(hz / mBinHz);
    for (long k = centre - kLobe; k <= centre + kLobe; ++k)
      if (k >= 0 && k < static_cast<long>(mPower.size())) sum += mPower[k];
    return 10 * std::log10(sum + 1e-300);
  }

  // Everything in [loHz, hiHz] outside the main lobes of the tones named.
  double OtherDb(double loHz, double hiHz, std::initializer_list<double> tones) const {
    double sum = 0;
    for (long k = std::lround(loHz / mBinHz); k <= std::lround(hiHz / mBinHz); ++k) {
      bool inTone = false;
      for (double t : tones) inTone = inTone || std::abs(k - std::lround(t / mBinHz)) <= kLobe;
      if (!inTone) sum += mPower[k];
    }
    return 10 * std::log10(sum + 1e-300);
  }

 private:
  static constexpr long kLobe = 5;
  double mBinHz;
  std::vector<double> mPower;
};

}  // namespace ondivo::test
