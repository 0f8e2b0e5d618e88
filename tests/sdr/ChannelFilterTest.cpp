// The stages before the discriminator: IQ conversion, frequency shift, channel filter and the
// channel level, each on short complex tones.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "sdr/ChannelFilter.h"
#include "sdr/ChannelLevel.h"
#include "sdr/FrequencyShift.h"
#include "sdr/IqFormat.h"
#include "tests/support/FmStationSynth.h"

namespace ondivo::sdr {
namespace {

std::vector<Iq> ComplexTone(double hz, double rate, size_t n) {
  std::vector<Iq> x(n);
  for (size_t i = 0; i < n; ++i)
    x[i] = std::polar(1.0f, static_cast<float>(2 * std::numbers::pi * hz * i / rate));
  return x;
}

double MeanPowerDb(const Iq* x, size_t n) {
  double sum = 0;
  for (size_t i = 0; i < n; ++i) sum += std::norm(x[i]);
  return 10 * std::log10(sum / n);
}

TEST(IqFormatTest, Cs16AndCu8ScaleToUnitRange) {
  const int16_t cs16[] = {-32768, 16384};
  const uint8_t cu8[] = {0, 255};
  Iq out[1];
  Cs16ToIq(cs16, 1, out);
  EXPECT_EQ(out[0], Iq(-1.0f, 0.5f));
  Cu8ToIq(cu8, 1, out);
  EXPECT_EQ(out[0], Iq(-1.0f, 1.0f));
}

TEST(FrequencyShiftTest, MovesTheOffsetToZeroAndKeepsPhaseAcrossOddBlocks) {
  // Low rate, long run: 10000 steps over uneven blocks, the result must stay one phasor.
  constexpr double kRate = 1000, kOffset = 123.4;
  auto x = ComplexTone(kOffset, kRate, 10000);
  FrequencyShift shift(kRate, kOffset);
  for (size_t start = 0; start < x.size(); start += 333)
    shift.Process(x.data() + start, std::min<size_t>(333, x.size() - start), x.data() + start);
  for (const Iq& v : x) ASSERT_LT(std::abs(v - Iq(1.0f, 0.0f)), 2e-3f);
}

TEST(ChannelFilterTest, PassesTheChannelAndStopsWhatWouldAliasIntoIt) {
  constexpr double kIn = 960e3, kOut = 240e3;
  auto through = [&](double hz) {
    ChannelFilter filter(kIn, kOut, 200e3);
    const auto x = ComplexTone(hz, kIn, 9600);
    std::vector<Iq> y(filter.MaxOutput(x.size()));
    const size_t m = filter.Process(x.data(), x.size(), y.data());
    EXPECT_EQ(m, 2400u);
    return MeanPowerDb(y.data() + 400, m - 400);  // past the filters' settling
  };
  EXPECT_NEAR(through(0), 0, 0.05);
  EXPECT_NEAR(through(-90e3), 0, 0.1);
  EXPECT_NEAR(through(90e3), 0, 0.1);
  EXPECT_LT(through(145e3), -60);   // would alias to -95 kHz
  EXPECT_LT(through(-340e3), -60);  // aliases through the first step onto -100 kHz
}

TEST(ChannelFilterTest, BlockBoundariesDoNotChangeTheOutput) {
  const auto x = ComplexTone(30e3, 2.4e6, 24000);
  ChannelFilter whole(2.4e6, 240e3, 200e3), pieces(2.4e6, 240e3, 200e3);
  std::vector<Iq> a(whole.MaxOutput(x.size())), b(a.size());
  const size_t na = whole.Process(x.data(), x.size(), a.data());
  size_t nb = 0;
  for (size_t start = 0; start < x.size(); start += 777)
    nb += pieces.Process(x.data() + start, std::min<size_t>(777, x.size() - start), b.data() + nb);
  ASSERT_EQ(na, 2400u);
  ASSERT_EQ(nb, na);
  for (size_t i = 0; i < na; ++i) ASSERT_LT(std::abs(a[i] - b[i]), 1e-5f);
}

TEST(ChannelLevelTest, MarginFollowsCarrierToNoiseAndIsNilOnNoise) {
  constexpr double kRate = 960e3;
  auto margin = [&](bool carrier, double cn) {
    ChannelLevel level(kRate, 200e3);
    const auto iq = test::SynthesizeIq({.Carrier = carrier, .CarrierToNoiseDb = cn}, kRate, 0.05);
    level.Process(iq.data(), iq.size());
    EXPECT_TRUE(level.HasMeasurement());
    return level.MarginDb();
  };
  EXPECT_NEAR(margin(true, 30), 30, 3);
  EXPECT_NEAR(margin(true, 12), 12, 3);
  EXPECT_NEAR(margin(false, 0), 0, 1.5);
}

}  // namespace
}  // namespace ondivo::sdr
