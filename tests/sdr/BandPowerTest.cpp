// The wideband look at the band: which channels of a synthesized window hold stations, and
// the reception state a look's IQ tells of one channel.
#include "sdr/BandPower.h"

#include <gtest/gtest.h>

#include "sdr/LookReception.h"
#include "sdr/ReceptionState.h"
#include "tests/support/FmStationSynth.h"

namespace ondivo::sdr {
namespace {

constexpr double kRate = 2.4e6;
constexpr double kCentre = 100e6;
constexpr size_t kSamples = 8 * BandPower::kBins;

// A window with stations, 45 dB of noise below a unit carrier, each at its amplitude.
std::vector<Iq> Window(const std::vector<std::pair<double, float>>& offsetsAndAmplitudes) {
  std::vector<Iq> iq =
      test::SynthesizeIq({.Carrier = false, .CarrierToNoiseDb = 45}, kRate, kSamples / kRate);
  for (const auto& [offset, amplitude] : offsetsAndAmplitudes) {
    const auto carrier = test::SynthesizeIq({.OffsetHz = offset}, kRate, kSamples / kRate);
    for (size_t i = 0; i < kSamples; ++i) iq[i] += amplitude * carrier[i];
  }
  return iq;
}

std::vector<double> StationsIn(const std::vector<std::pair<double, float>>& offsetsAndAmplitudes) {
  const std::vector<Iq> iq = Window(offsetsAndAmplitudes);
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

TEST(BandPowerTest, ALookTellsAStationOnItsChannelAndNotBesideItOrInTheNoise) {
  const std::vector<Iq> iq = Window({{300e3, 1.0f}, {-400e3, 0.1f}});
  const auto at = [&](double offset) { return LookReception(iq.data(), iq.size(), kRate, offset); };
  EXPECT_EQ(at(300e3), sMono);  // too short a look to lock the pilot
  EXPECT_EQ(at(-400e3), sMono);
  // The strong station's spill stands far above the floor here, but its carrier is off-tune.
  EXPECT_EQ(at(400e3), sNone);
  EXPECT_EQ(at(250e3), sNone);
  EXPECT_EQ(at(-300e3), sNone);  // the mirror of a station is nothing
  EXPECT_EQ(at(800e3), sNone);
}

TEST(BandPowerTest, ALookIsLongEnoughThatAStationsBassDoesNotPutItOffTune) {
  // Loud 50 Hz on a mono station, the look starting anywhere in its cycle.
  const auto iq = test::SynthesizeIq(
      {.OffsetHz = 300e3, .LeftHz = 50, .RightHz = 50, .Stereo = false, .CarrierToNoiseDb = 45},
      kRate, (kLookSamples + kRate / 50) / kRate);
  for (size_t start = 0; start < kRate / 50; start += 6000)
    EXPECT_EQ(LookReception(iq.data() + start, kLookSamples, kRate, 300e3), sMono) << start;
}

}  // namespace
}  // namespace ondivo::sdr
