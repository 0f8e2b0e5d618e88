// The wideband look at the band: which channels of a synthesized window hold stations.
#include "sdr/BandPower.h"

#include <gtest/gtest.h>

#include "sdr/ReceptionState.h"
#include "tests/support/FmStationSynth.h"

namespace ondivo::sdr {
namespace {

constexpr double kRate = 2.4e6;
constexpr double kCentre = 100e6;
constexpr size_t kSamples = 8 * BandPower::kBins;

// Stations in a window 45 dB of noise below a unit carrier, each at its amplitude.
std::vector<double> StationsIn(const std::vector<std::pair<double, float>>& offsetsAndAmplitudes) {
  std::vector<Iq> iq =
      test::SynthesizeIq({.Carrier = false, .CarrierToNoiseDb = 45}, kRate, kSamples / kRate);
  for (const auto& [offset, amplitude] : offsetsAndAmplitudes) {
    const auto carrier = test::SynthesizeIq({.OffsetHz = offset}, kRate, kSamples / kRate);
    for (size_t i = 0; i < kSamples; ++i) iq[i] += amplitude * carrier[i];
  }
  BandPower analyser;
  const Spectrum spectrum = analyser.Measure(iq.data(), kSamples, kRate, kCentre);
  return BandPower::Stations(spectrum, kCentre - kRate / 2, kCentre + kRate / 2, kStationMarginDb);
}

TEST(BandPowerTest, StrongAndWeakStationsAndNothingBesideThem) {
  // The strong station stands 45 dB above the noise, so its spill 100 kHz away is still far
  // above the margin; the weak one 25 dB. An empty window holds nothing.
  EXPECT_EQ(StationsIn({{300e3, 1.0f}, {-400e3, 0.1f}}),
            (std::vector<double>{kCentre - 400e3, kCentre + 300e3}));
  EXPECT_EQ(StationsIn({{-50e3, 1.0f}}), std::vector<double>{kCentre - 50e3});
  EXPECT_TRUE(StationsIn({}).empty());
}

}  // namespace
}  // namespace ondivo::sdr
