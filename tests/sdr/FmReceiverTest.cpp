// The receiver whole, on IQ synthesized here with a known offset and noise: what a listener
// hears (tones, noise, separation, de-emphasis) and what the panel reads (reception state).
#include "sdr/FmReceiver.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/FmStationSynth.h"
#include "tests/support/ToneAnalysis.h"

namespace ondivo::sdr {
namespace {

constexpr double kIqRate = 960e3;  // decimates by 4 to 240 kHz: both channel filter steps run
constexpr double kOffset = 250e3;  // station above the tuned centre, as the device tunes
constexpr double kAudioRate = 48000;
constexpr size_t kBlock = 9600;  // 10 ms

struct Reception {
  std::vector<float> Left, Right;
  double FirstLockSeconds = -1;
  tSignal State = tSignal::sNone;
};

Reception Receive(const test::FmStation& station, double seconds, bool stereoAllowed = true) {
  FmReceiver receiver({.IqRate = kIqRate, .StationOffsetHz = kOffset, .MaxBlock = kBlock});
  receiver.SetStereoAllowed(stereoAllowed);
  const auto iq = test::SynthesizeIq(station, kIqRate, seconds);
  std::vector<float> frames(receiver.MaxFrames() * 2);
  Reception r;
  for (size_t start = 0; start + kBlock <= iq.size(); start += kBlock) {
    const size_t got = receiver.Process(iq.data() + start, kBlock, frames.data());
    for (size_t i = 0; i < got; ++i) {
      r.Left.push_back(frames[2 * i]);
      r.Right.push_back(frames[2 * i + 1]);
    }
    if (r.FirstLockSeconds < 0 && receiver.PilotLocked())
      r.FirstLockSeconds = static_cast<double>(start + kBlock) / kIqRate;
  }
  r.State = receiver.State();
  return r;
}

// The last 100 ms (10 Hz bins: the test tones fall on bins).
std::vector<float> Tail(const std::vector<float>& x) {
  const size_t n = static_cast<size_t>(0.1 * kAudioRate);
  return {x.end() - static_cast<std::ptrdiff_t>(n), x.end()};
}

TEST(FmReceiverTest, StereoStationAtThirtyDbCarrierToNoise) {
  test::FmStation station{.OffsetHz = kOffset, .CarrierToNoiseDb = 30};
  const Reception r = Receive(station, 0.26);
  ASSERT_GT(r.FirstLockSeconds, 0);
  EXPECT_LE(r.FirstLockSeconds, 0.1);
  EXPECT_EQ(r.State, tSignal::sStereo);

  const test::ToneSpectrum left(Tail(r.Left), kAudioRate), right(Tail(r.Right), kAudioRate);
  const double leftSnr = left.ToneDb(1000) - left.OtherDb(50, 15000, {1000, 3000});
  const double rightSnr = right.ToneDb(3000) - right.OtherDb(50, 15000, {1000, 3000});
  const double leftSeparation = left.ToneDb(1000) - right.ToneDb(1000);
  const double rightSeparation = right.ToneDb(3000) - left.ToneDb(3000);
  RecordProperty("LeftSnrDb", std::to_string(leftSnr));
  RecordProperty("SeparationDb", std::to_string(std::min(leftSeparation, rightSeparation)));
  std::printf("lock %.0f ms, SNR L %.1f R %.1f dB, separation L %.1f R %.1f dB\n",
              r.FirstLockSeconds * 1000, leftSnr, rightSnr, leftSeparation, rightSeparation);
  EXPECT_GE(leftSnr, 40);
  EXPECT_GE(rightSnr, 40);
  EXPECT_GE(leftSeparation, 40);
  EXPECT_GE(rightSeparation, 40);
}

TEST(FmReceiverTest, MonoStationGivesEqualChannelsAndTheDeemphasisCurve) {
  // 1 kHz and 10 kHz at the same deviation; without pre-emphasis at the sender the receiver's
  // de-emphasis alone sets their ratio.
  test::FmStation station{.OffsetHz = kOffset,
                          .LeftHz = 1000,
                          .RightHz = 10000,
                          .Stereo = false,
                          .CarrierToNoiseDb = 30};
  const Reception r = Receive(station, 0.2);
  EXPECT_EQ(r.State, tSignal::sMono);
  EXPECT_LT(r.FirstLockSeconds, 0);
  const test::ToneSpectrum left(Tail(r.Left), kAudioRate), right(Tail(r.Right), kAudioRate);
  EXPECT_NEAR(left.ToneDb(1000), right.ToneDb(1000), 0.5);
  EXPECT_NEAR(left.ToneDb(10000), right.ToneDb(10000), 0.5);
  auto curveDb = [](double f) {
    const double x = 2 * std::numbers::pi * f * kDeemphasisEurope;
    return -10 * std::log10(1 + x * x);
  };
  EXPECT_NEAR(left.ToneDb(10000) - left.ToneDb(1000), curveDb(10000) - curveDb(1000), 1.0);
}

TEST(FmReceiverTest, ForcedMonoAndNoStation) {
  test::FmStation stereo{.OffsetHz = kOffset, .CarrierToNoiseDb = 30};
  const Reception forced = Receive(stereo, 0.2, /*stereoAllowed=*/false);
  EXPECT_EQ(forced.State, tSignal::sStereo);  // the state tells the pilot, not the switch
  const test::ToneSpectrum left(Tail(forced.Left), kAudioRate),
      right(Tail(forced.Right), kAudioRate);
  EXPECT_NEAR(left.ToneDb(1000), right.ToneDb(1000), 0.5);
  EXPECT_NEAR(left.ToneDb(3000), right.ToneDb(3000), 0.5);

  test::FmStation nothing{.Carrier = false, .CarrierToNoiseDb = 0};
  EXPECT_EQ(Receive(nothing, 0.12).State, tSignal::sNone);
}

TEST(FmReceiverTest, AStationBesideTheTunedFrequencyIsOffTune) {
  // 15 kHz off still counts (a cheap stick's crystal is some kHz out); 50 kHz off does not.
  test::FmStation near{.OffsetHz = kOffset + 15e3, .CarrierToNoiseDb = 30};
  EXPECT_EQ(Receive(near, 0.12).State, tSignal::sStereo);
  test::FmStation beside{.OffsetHz = kOffset - 50e3, .CarrierToNoiseDb = 30};
  EXPECT_EQ(Receive(beside, 0.12).State, tSignal::sNone);
}

}  // namespace
}  // namespace ondivo::sdr
