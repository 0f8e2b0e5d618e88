#pragma once
// What the emulated SDR's antenna hears: every FM station of the landscape inside the sampled
// window around the tuned centre, synthesized as IQ (stereo stations with pilot and a distinct
// tone on each channel and the RDS of the landscape's FM stations in stereo, mono stations
// without pilot or RDS), plus noise at a set level.
#include <complex>
#include <cstddef>
#include <vector>

#include "sim/FmStationSynth.h"
#include "sim/RdsGenerator.h"
#include "sim/StationLandscape.h"

namespace ondivo::sim {

class EmulatedSdrSignal {
 public:
  // Each carrier's amplitude, so a few stations together stay inside full scale.
  static constexpr double kCarrierAmplitude = 0.25;
  static constexpr double kLeftHz = 1000, kRightHz = 3000;

  EmulatedSdrSignal(const StationLandscape& landscape, double rate, double carrierToNoiseDb);

  void Tune(double centreHz);
  double Centre() const { return mCentre; }
  size_t StationsInWindow() const { return mCarriers.size(); }
  void Generate(std::complex<float>* out, size_t n);

 private:
  const StationLandscape& mLandscape;
  double mRate;
  double mCentre = 0;
  std::vector<FmCarrierSynth> mCarriers;
  IqNoise mNoise;
};

}  // namespace ondivo::sim
