#include "mixer/MixerStrips.h"

#include <gtest/gtest.h>

#include "mixer/Mixer.h"
#include "sim/EmulatedSoundCard.h"
#include "tests/support/EmulatedSoundCardFixture.h"

namespace ondivo {
namespace {

TEST(MixerStripsTest, BalanceFromChannelsTruncatesTowardZero) {
  tBalance b = BalanceOf(30000, 15000);
  EXPECT_EQ(b.Volume, 30000);
  EXPECT_EQ(b.Pan, -50);
  b = BalanceOf(10, 30);
  EXPECT_EQ(b.Volume, 30);
  EXPECT_EQ(b.Pan, 66);  // 100 x 20 / 30 = 66.6
  b = BalanceOf(30, 10);
  EXPECT_EQ(b.Pan, -66);
  EXPECT_EQ(BalanceOf(31, 31).Pan, 0);
  b = BalanceOf(0, 0);  // silence has no position
  EXPECT_EQ(b.Volume, 0);
  EXPECT_FALSE(b.Pan.has_value());
}

TEST(MixerStripsTest, ChannelsFromBalanceKeepTheLouderSide) {
  EXPECT_EQ(ChannelsOf(20000, -50), (MixerValues{20000, 10000}));
  EXPECT_EQ(ChannelsOf(20000, 50), (MixerValues{10000, 20000}));
  EXPECT_EQ(ChannelsOf(31, 0), (MixerValues{31, 31}));
  EXPECT_EQ(ChannelsOf(31, -100), (MixerValues{31, 0}));
  EXPECT_EQ(ChannelsOf(31, 100), (MixerValues{0, 31}));
  EXPECT_EQ(ChannelsOf(31, -33), (MixerValues{31, 20}));         // 31 x 67 / 100 = 20.77
  EXPECT_EQ(ChannelsOf(65535, 1), (MixerValues{64879, 65535}));  // no overflow
}

TEST(MixerStripsTest, EachLineHasItsStripAndTheRoutedOneIsNamed) {
  EXPECT_EQ(StripOf(mcLineInMute), tMixerStrip::LineIn);
  EXPECT_EQ(StripOf(mcCdVolume), tMixerStrip::Cd);
  EXPECT_EQ(StripOf(mcMasterMute), tMixerStrip::Master);
  EXPECT_EQ(StripOf(mcMicVolume), tMixerStrip::Mic);
  EXPECT_FALSE(StripOf(mcBass).has_value());
  EXPECT_FALSE(StripOf(mcWaveVolume).has_value());
  EXPECT_EQ(RoutedStrip(vlLineIn), tMixerStrip::LineIn);
  EXPECT_EQ(RoutedStrip(vlMicIn), tMixerStrip::Mic);
  EXPECT_EQ(RoutedStrip(vlCd), tMixerStrip::Cd);
  EXPECT_FALSE(RoutedStrip(vlNative).has_value());
  EXPECT_FALSE(RoutedStrip(vlNone).has_value());
  EXPECT_FALSE(StripControls(tMixerStrip::Mic).Panning);
}

class MixerStripsCardTest : public test::EmulatedSoundCardTestBase {};

TEST_F(MixerStripsCardTest, StripsReadAndWriteTheRealCardAndLeaveMissingControlsAlone) {
  sim::EmulatedCardState card = sim::WithoutControls(sim::DefaultEmulatedCard(), {mcBass});
  sim::EmulatedControl& line = card.At(mcLineInVolume);
  line.Maximum = 65535;
  line.Value = {30000, 15000};
  card.At(mcCdMute).Value = {0, 0};  // switch off: muted
  StartCard(card);
  auto mixer = OpenMixer();

  const tStripView view = StripView(*mixer, tMixerStrip::LineIn);
  EXPECT_TRUE(view.VolumeEnabled);
  EXPECT_EQ(view.Maximum, 65535);
  EXPECT_EQ(view.Balance.Volume, 30000);
  EXPECT_EQ(view.Balance.Pan, -50);
  EXPECT_TRUE(StripView(*mixer, tMixerStrip::Cd).MuteDown);
  EXPECT_FALSE(StripView(*mixer, tMixerStrip::Master).MuteDown);
  EXPECT_FALSE(StripView(*mixer, tMixerStrip::Mic).PanEnabled);

  WriteBalance(*mixer, tMixerStrip::LineIn, 20000, -50);
  EXPECT_EQ(CardControl(mcLineInVolume).Value, (std::array<long, 2>{20000, 10000}));
  WriteMute(*mixer, tMixerStrip::Master, true);
  EXPECT_EQ(CardControl(mcMasterMute).Value[0], 0);  // ALSA's switch: off = muted

  EXPECT_FALSE(ToneView(*mixer, mcBass).Enabled);
  const uint64_t writes = CardWrites();
  WriteTone(*mixer, mcBass, 10);
  EXPECT_EQ(CardWrites(), writes) << "no other control takes the missing bass's value";
  WriteTone(*mixer, mcTreble, 12);
  EXPECT_EQ(CardControl(mcTreble).Value[0], 12);
}

}  // namespace
}  // namespace ondivo
