#include "sdr/BandPower.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace ondivo::sdr {

namespace {
constexpr double kFloorPercentile = 0.2;  // stations rarely fill a fifth of a window
constexpr double kDcHz = 10e3;            // the device's own spike at the centre is no station
}  // namespace

struct BandPower::Plan {
  fftwf_complex* In;
  fftwf_complex* Out;
  fftwf_plan Forward;
  Plan()
      : In(fftwf_alloc_complex(kBins)),
        Out(fftwf_alloc_complex(kBins)),
        Forward(fftwf_plan_dft_1d(kBins, In, Out, FFTW_FORWARD, FFTW_ESTIMATE)) {}
  ~Plan() {
    fftwf_destroy_plan(Forward);
    fftwf_free(In);
    fftwf_free(Out);
  }
};

BandPower::BandPower() : mPlan(std::make_unique<Plan>()), mWindow(kBins) {
  for (size_t i = 0; i < kBins; ++i)
    mWindow[i] = static_cast<float>(0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / kBins));
}

BandPower::~BandPower() = default;

Spectrum BandPower::Measure(const Iq* iq, size_t n, double rate, double centreHz) {
  const size_t frames = n / kBins;
  if (frames == 0) throw std::invalid_argument("spectrum: fewer samples than one frame");
  std::vector<double> power(kBins, 0.0);
  for (size_t f = 0; f < frames; ++f) {
    for (size_t i = 0; i < kBins; ++i) {
      const Iq x = iq[f * kBins + i] * mWindow[i];
      mPlan->In[i][0] = x.real();
      mPlan->In[i][1] = x.imag();
    }
    fftwf_execute(mPlan->Forward);
    for (size_t k = 0; k < kBins; ++k)
      power[(k + kBins / 2) % kBins] +=
          mPlan->Out[k][0] * mPlan->Out[k][0] + mPlan->Out[k][1] * mPlan->Out[k][1];
  }
  Spectrum s{centreHz, rate / kBins, std::vector<float>(kBins), 0};
  for (size_t k = 0; k < kBins; ++k)
    s.PowerDb[k] = static_cast<float>(10 * std::log10(power[k] / frames + 1e-30));
  std::vector<float> sorted(s.PowerDb);
  const auto at = sorted.begin() + static_cast<std::ptrdiff_t>(kFloorPercentile * kBins);
  std::nth_element(sorted.begin(), at, sorted.end());
  s.FloorDb = *at;
  return s;
}

std::vector<double> BandPower::Stations(const Spectrum& s, double fromHz, double toHz,
                                        double marginDb) {
  const double half = static_cast<double>(s.PowerDb.size()) / 2 * s.BinHz;
  const double low = std::max(fromHz, s.CentreHz - half + kLeakageHz + kChannelHalfWidthHz);
  const double high = std::min(toHz, s.CentreHz + half - kLeakageHz - kChannelHalfWidthHz);
  // The mean power in ±kChannelHalfWidthHz of a channel, in dB above the floor.
  const auto level = [&](double channel) {
    double sum = 0;
    int count = 0;
    for (double f = channel - kChannelHalfWidthHz; f <= channel + kChannelHalfWidthHz;
         f += s.BinHz) {
      if (std::abs(f - s.CentreHz) < kDcHz) continue;
      const auto bin = static_cast<std::ptrdiff_t>(
          std::lround((f - s.CentreHz) / s.BinHz + s.PowerDb.size() / 2.0));
      if (bin < 0 || bin >= static_cast<std::ptrdiff_t>(s.PowerDb.size())) continue;
      sum += std::pow(10.0, s.PowerDb[static_cast<size_t>(bin)] / 10);
      ++count;
    }
    return count ? 10 * std::log10(sum / count) - s.FloorDb : 0.0;
  };
  std::vector<double> stations;
  const int reach = static_cast<int>(std::lround(kLeakageHz / kRasterHz));
  for (auto n = static_cast<long>(std::ceil(low / kRasterHz)); n * kRasterHz <= high; ++n) {
    const double channel = static_cast<double>(n) * kRasterHz;
    const double here = level(channel);
    if (here < marginDb) continue;
    bool strongest = true;
    for (int k = -reach; k <= reach && strongest; ++k) {
      const double there = k == 0 ? here : level(channel + k * kRasterHz);
      // Ties go to the lower channel, so a flat top yields one station.
      strongest = there < here || (there == here && k >= 0);
    }
    if (strongest) stations.push_back(channel);
  }
  return stations;
}

}  // namespace ondivo::sdr
