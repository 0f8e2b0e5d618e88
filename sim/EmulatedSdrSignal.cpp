#include "sim/EmulatedSdrSignal.h"

#include <cmath>

namespace ondivo::sim {

EmulatedSdrSignal::EmulatedSdrSignal(const StationLandscape& landscape, double rate,
                                     double carrierToNoiseDb)
    : mLandscape(landscape), mRate(rate), mNoise(carrierToNoiseDb, rate, 1) {}

void EmulatedSdrSignal::Tune(double centreHz) {
  mCentre = centreHz;
  mCarriers.clear();
  for (const LandscapeStation& s : mLandscape.Stations()) {
    const double offset = s.Frequency * 1e6 - centreHz;
    // A station whose channel would fold over the window's edge is left out, as a real
    // front end's anti-alias filter would.
    if (s.Band != bFM || std::abs(offset) > mRate / 2 - 100e3) continue;
    mCarriers.emplace_back(
        FmStation{.OffsetHz = offset, .LeftHz = kLeftHz, .RightHz = kRightHz, .Stereo = s.Stereo},
        mRate);
  }
}

void EmulatedSdrSignal::Generate(std::complex<float>* out, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    std::complex<double> x = mNoise.Next();
    for (FmCarrierSynth& carrier : mCarriers) x += carrier.Next();
    out[i] = std::complex<float>(kCarrierAmplitude * x);
  }
}

}  // namespace ondivo::sim
