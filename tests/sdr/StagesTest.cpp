// The stages after the channel filter, each alone at the intermediate or audio rate: a tone
// in, its level (and where it matters its phase) out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "sdr/AudioResampler.h"
#include "sdr/Deemphasis.h"
#include "sdr/FmDiscriminator.h"
#include "sdr/PilotPll.h"
#include "sdr/StereoDecoder.h"
#include "sdr/Volume.h"

namespace ondivo::sdr {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kRate = 240e3;

std::vector<float> Tone(double hz, double rate, size_t n, double amplitude = 1, double phase = 0) {
  std::vector<float> x(n);
  for (size_t i = 0; i < n; ++i)
    x[i] = static_cast<float>(amplitude * std::sin(kTwoPi * hz * i / rate + phase));
  return x;
}

// Amplitude of the tone at hz (least squares over whole periods' worth of samples).
double Amplitude(const float* x, size_t n, double hz, double rate) {
  double s = 0, c = 0;
  for (size_t i = 0; i < n; ++i) {
    s += x[i] * std::sin(kTwoPi * hz * i / rate);
    c += x[i] * std::cos(kTwoPi * hz * i / rate);
  }
  return 2 * std::hypot(s, c) / n;
}

TEST(FmDiscriminatorTest, ScalesDeviationAndFollowsItsOwnResponseAt38kHz) {
  FmDiscriminator discriminator(kRate, 75e3);
  // A carrier 37.5 kHz off reads as half the peak deviation.
  std::vector<Iq> iq(240);
  for (size_t i = 0; i < iq.size(); ++i)
    iq[i] = std::polar(1.0f, static_cast<float>(kTwoPi * 37.5e3 * i / kRate));
  std::vector<float> out(iq.size());
  discriminator.Process(iq.data(), iq.size(), out.data());
  EXPECT_NEAR(out[100], 0.5f, 1e-4f);

  // A 38 kHz modulating tone (analog phase, integrated exactly) comes out sinc-weakened.
  constexpr double kF = 38e3, kDev = 0.3 * 75e3;
  const size_t n = 2400;
  iq.resize(n);
  out.resize(n);
  for (size_t i = 0; i < n; ++i)
    iq[i] = std::polar(1.0f, static_cast<float>(-kDev / kF * std::cos(kTwoPi * kF * i / kRate)));
  FmDiscriminator fresh(kRate, 75e3);
  fresh.Process(iq.data(), n, out.data());
  const double gain = Amplitude(out.data() + 1, n - 1, kF, kRate) / 0.3;
  EXPECT_NEAR(gain, FmDiscriminator::Response(kRate, kF), 2e-3);
  EXPECT_LT(gain, 0.97);  // the loss the stereo decoder has to make good
}

TEST(PilotPllTest, LocksInPhaseWithThePilotDespiteAudioAndClockError) {
  // Pilot 1.5 Hz off nominal (an 80 ppm clock), arbitrary phase, loud audio beside it.
  constexpr double kPilotHz = 19001.5, kPhase = 2.0;
  const size_t n = static_cast<size_t>(0.1 * kRate);
  std::vector<float> mpx = Tone(kPilotHz, kRate, n, 0.08, kPhase);
  const auto audio = Tone(4000, kRate, n, 0.8);
  for (size_t i = 0; i < n; ++i) mpx[i] += audio[i];
  PilotPll pll(kRate);
  std::vector<float> reference(n);
  pll.Process(mpx.data(), n, reference.data());
  EXPECT_TRUE(pll.Locked());
  EXPECT_NEAR(pll.PilotLevel(), 0.08, 0.01);
  // Over the last 5 ms the reference is sin(2θ) of the pilot's own phase.
  double worst = 0;
  for (size_t i = n - 1200; i < n; ++i)
    worst = std::max(
        worst, std::abs(reference[i] - std::sin(2 * (kTwoPi * kPilotHz * i / kRate + kPhase))));
  EXPECT_LT(worst, 0.02);

  PilotPll noPilot(kRate);
  noPilot.Process(audio.data(), n, reference.data());
  EXPECT_FALSE(noPilot.Locked());
}

TEST(StereoDecoderTest, DifferenceComesBackLevelWithTheSum) {
  // A multiplex with (L−R)/2 = 0.4 on the subcarrier, as the discriminator weakened it.
  const size_t n = 4800;
  const double response = FmDiscriminator::Response(kRate, 38e3);
  std::vector<float> mpx(n), reference(n), diff(n), left(n), right(n);
  for (size_t i = 0; i < n; ++i) {
    const double t = i / kRate;
    reference[i] = static_cast<float>(std::sin(kTwoPi * 38e3 * t));
    mpx[i] = static_cast<float>(0.4 * response * std::sin(kTwoPi * 1000 * t) * reference[i]);
  }
  DifferenceDemodulator demodulator(kRate, response);
  demodulator.Process(mpx.data(), reference.data(), n, diff.data());
  EXPECT_NEAR(Amplitude(diff.data(), n, 1000, kRate), 0.4, 1e-3);

  StereoMatrix matrix(kRate);
  matrix.SetStereo(true);
  std::vector<float> sum(n, 0.25f);
  matrix.Process(sum.data(), diff.data(), n, left.data(), right.data());
  EXPECT_NEAR(left[n - 1] + right[n - 1], 0.5f, 1e-6f);
  EXPECT_NEAR(left[n - 1] - right[n - 1], 2 * diff[n - 1], 1e-6f);
  matrix.SetStereo(false);
  matrix.Process(sum.data(), diff.data(), n, left.data(), right.data());
  EXPECT_EQ(left[n - 1], right[n - 1]);
}

TEST(DeemphasisTest, FollowsTheFirstOrderCurveForBothTimeConstants) {
  for (double tau : {kDeemphasisEurope, kDeemphasisAmericas}) {
    for (double hz : {1000.0, 10000.0, 15000.0}) {
      auto left = Tone(hz, kRate, 4800);
      auto right = left;
      Deemphasis deemphasis(kRate, tau);
      deemphasis.Process(left.data(), right.data(), left.size());
      const double x = kTwoPi * hz * tau;
      const double expectedDb = -10 * std::log10(1 + x * x);
      const double gotDb = 20 * std::log10(Amplitude(left.data() + 2400, 2400, hz, kRate));
      EXPECT_NEAR(gotDb, expectedDb, 0.15) << tau << " s at " << hz << " Hz";
      EXPECT_EQ(left, right);
    }
  }
}

TEST(AudioResamplerTest, FlatTo15kHzAndStopsThePilotAndAliases) {
  auto through = [](double hz) {
    AudioResampler resampler(kRate, 48000);
    const auto x = Tone(hz, kRate, 24000);
    std::vector<float> l(resampler.MaxOutput(x.size())), r(l.size());
    const size_t m = resampler.Process(x.data(), x.data(), x.size(), l.data(), r.data());
    EXPECT_NEAR(static_cast<double>(m), 4800, 1);
    const double out = hz < 24000 ? hz : 48000 - std::fmod(hz, 48000);
    return 20 * std::log10(Amplitude(l.data() + 2400, 2400, out, 48000) + 1e-12);
  };
  EXPECT_NEAR(through(1000), 0, 0.1);
  EXPECT_NEAR(through(14000), 0, 0.1);
  EXPECT_LT(through(19000), -55);
  EXPECT_LT(through(38000), -55);  // would fold onto 10 kHz
}

TEST(VolumeTest, GainAndMuteGlideWithoutAStep) {
  constexpr double kAudio = 48000;
  const std::vector<float> one(480, 1.0f);
  std::vector<float> frames(2 * one.size());
  Volume volume(kAudio);
  volume.SetGain(0.5f);
  volume.Process(one.data(), one.data(), one.size(), frames.data());
  EXPECT_FLOAT_EQ(frames[frames.size() - 1], 0.5f);
  volume.SetMute(true);
  volume.Process(one.data(), one.data(), one.size(), frames.data());
  EXPECT_GT(frames[0], 0.49f);  // no jump at the first sample
  EXPECT_EQ(frames[frames.size() - 2], 0.0f);
  for (size_t i = 2; i < frames.size(); i += 2) ASSERT_LE(frames[i - 2] - frames[i], 0.005f);
}

}  // namespace
}  // namespace ondivo::sdr
