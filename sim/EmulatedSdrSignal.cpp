#include "sim/EmulatedSdrSignal.h"

#include <cmath>
#include <memory>

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
    FmStation station{
        .OffsetHz = offset, .LeftHz = kLeftHz, .RightHz = kRightHz, .Stereo = s.Stereo};
    if (s.Stereo) {
      auto rds = std::make_shared<const RdsGenerator>(LandscapeRds(s));
      station.RdsBit = [rds](uint64_t n) { return rds->BitAt(n); };
    }
    mCarriers.emplace_back(station, mRate);
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
