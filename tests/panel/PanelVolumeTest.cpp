#include "panel/PanelVolume.h"

#include <gtest/gtest.h>

#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"
#include "tests/support/HardwareDoubles.h"
#include "tests/support/V4l2Rig.h"

namespace ondivo {
namespace {

using test::FakeMixer;
using test::RecordingBus;

std::unique_ptr<FakeMixer> LineInAndCd() {
  auto mixer = std::make_unique<FakeMixer>();
  for (auto c : {mcLineInVolume, mcCdVolume}) mixer->controls[c] = {0, 65535, {0, 0}};
  for (auto c : {mcLineInMute, mcCdMute}) mixer->controls[c] = {0, 1, {0, 0}};
  return mixer;
}

// A switched-on card, with a sound card unless told otherwise: a port card on a recording bus,
// or (mV4l2) a kernel radio device that can mute but has no volume of its own.
struct VolumeRig {
  explicit VolumeRig(tModel model, tVolumeLine line, bool soundCard = true) {
    if (model == mV4l2) {
      test::V4l2Rig::Setup setup;
      setup.Device.Volume = false;
      setup.Mixer = soundCard;
      setup.Line = line;
      card = &v4l2.Build(setup);
      mixer = v4l2.Mixer;
    } else {
      auto owned = soundCard ? LineInAndCd() : nullptr;
      mixer = owned.get();
      portCard = std::make_unique<TRadioCard>(test::BusHardware(bus, std::move(owned)));
      card = portCard.get();
      card->SetModel(model);
      card->SetPort(card->GetDevCap(model).DefaultPort);
      card->SetVolumeLine(line);
      card->SwitchOn();
    }
    volume = std::make_unique<PanelVolume>(*card, state);
  }
  int32_t LineIn() const { return mixer->controls.at(mcLineInVolume).value[0]; }
  bool LineInMuted() const { return mixer->controls.at(mcLineInMute).value[0] != 0; }

  RecordingBus bus;
  test::V4l2Rig v4l2;
  FakeMixer* mixer = nullptr;
  std::unique_ptr<TRadioCard> portCard;
  TRadioCard* card = nullptr;
  tPanelState state;
  std::unique_ptr<PanelVolume> volume;
};

TEST(PanelVolumeTest, TheGroupIsOfferedByWhatTheCardAndTheSoundCardCanDo) {
  // A radio that mutes but has no volume: mute yes, no volume items on its own route.
  VolumeRig serial(mV4l2, vlNative, false);
  tVolumeOffer offer = VolumeOffer(*serial.card);
  EXPECT_TRUE(offer.Usable);
  EXPECT_TRUE(offer.MuteEnabled);
  EXPECT_FALSE(offer.MixerEnabled);
  EXPECT_EQ(offer.VolumeEnabled, false);

  // The same radio routed to line in: the line carries the volume.
  VolumeRig routed(mV4l2, vlLineIn);
  offer = VolumeOffer(*routed.card);
  EXPECT_TRUE(offer.MixerEnabled);
  EXPECT_EQ(offer.VolumeEnabled, true);

  VolumeRig native(mRadioTrack, vlNative, false);
  EXPECT_EQ(VolumeOffer(*native.card).VolumeEnabled, true);
  EXPECT_FALSE(VolumeOffer(*native.card).MixerEnabled);
}

TEST(PanelVolumeTest, AModelWithNeitherVolumeNorMuteAndNoSoundCardOffersNothing) {
  test::V4l2Rig rig;  // a kernel radio device without volume and mute controls
  test::V4l2Rig::Setup setup;
  setup.Device.Volume = false;
  setup.Device.Mute = false;
  const TRadioCard& card = rig.Build(setup);
  const tVolumeOffer offer = VolumeOffer(card);
  EXPECT_FALSE(offer.Usable);
  EXPECT_FALSE(offer.MuteEnabled);
  EXPECT_FALSE(offer.MixerEnabled);
  EXPECT_FALSE(offer.VolumeEnabled.has_value());
}

TEST(PanelVolumeTest, SliderTakesTheCardRangeOrKeepsItsOwnAndTheHintIsPerCent) {
  VolumeRig native(mRadioTrack, vlNative, false);
  tVolumeSlider s = VolumeSlider(*native.card, kDesignedVolumeMaximum);
  EXPECT_EQ(s.Maximum, 256);
  EXPECT_EQ(s.Step, 16);
  VolumeRig line(mRadioTrack, vlLineIn);
  s = VolumeSlider(*line.card, 256);
  EXPECT_EQ(s.Maximum, 256);
  EXPECT_EQ(s.Step, 1);
  VolumeRig serial(mV4l2, vlNative, false);  // no volume range at all
  s = VolumeSlider(*serial.card, kDesignedVolumeMaximum);
  EXPECT_EQ(s.Maximum, kDesignedVolumeMaximum);
  EXPECT_EQ(s.Step, 1);

  EXPECT_EQ(VolumeHint(128, 256), "50%");
  EXPECT_EQ(VolumeHint(0, 256), "0%");
  EXPECT_EQ(VolumeHint(256, 256), "100%");
  EXPECT_EQ(VolumeHint(16, 256), "6%");
  EXPECT_EQ(VolumeHint(0, 0), "0%");  // never a division by zero
}

TEST(PanelVolumeTest, OnALineAtVolumeZeroTheSoundIsOffAndMuteDoesNothingUntilRaised) {
  VolumeRig rig(mRadioTrack, vlLineIn);
  rig.volume->SliderMoved(0);
  EXPECT_EQ(rig.card->Volume(), 0);
  EXPECT_TRUE(rig.state.Muted);
  EXPECT_TRUE(SoundOff(*rig.card, rig.state));
  const bool lineMuted = rig.LineInMuted();
  EXPECT_FALSE(rig.volume->ToggleMute());
  EXPECT_TRUE(rig.state.Muted);
  EXPECT_EQ(rig.LineInMuted(), lineMuted);

  EXPECT_TRUE(rig.volume->Up());
  EXPECT_EQ(rig.card->Volume(), 1);
  EXPECT_FALSE(rig.state.Muted);
  EXPECT_FALSE(SoundOff(*rig.card, rig.state));
  EXPECT_TRUE(rig.volume->ToggleMute());
  EXPECT_TRUE(rig.state.Muted);
  EXPECT_TRUE(rig.LineInMuted());
  EXPECT_TRUE(rig.volume->ToggleMute());
  EXPECT_FALSE(rig.LineInMuted());
  EXPECT_FALSE(rig.state.Muted);
}

TEST(PanelVolumeTest, AMuteOrUnmuteTheCardFailsLeavesThePanelsMuteStateAsItWas) {
  for (const bool startMuted : {false, true}) {
    test::V4l2Rig rig;
    TRadioCard& card = rig.Build();  // a radio device with volume and mute, on its own route
    card.SetVolume(128);
    tPanelState state;
    PanelVolume volume(card, state);
    if (startMuted) {
      ASSERT_TRUE(volume.ToggleMute());
    }
    ASSERT_EQ(state.Muted, startMuted);
    rig.Device->Unplug();
    EXPECT_THROW(volume.ToggleMute(), eDeviceLost);
    EXPECT_EQ(state.Muted, startMuted) << "the radio never heard it";
  }
}

TEST(PanelVolumeTest, UpDownAndResetActOnTheLineForAModelWithoutAVolumeOfItsOwn) {
  VolumeRig rig(mV4l2, vlLineIn);
  rig.volume->SliderMoved(100);
  ASSERT_EQ(rig.LineIn(), 255 * 100);
  EXPECT_TRUE(rig.volume->Up());
  EXPECT_EQ(rig.card->Volume(), 101);
  EXPECT_EQ(rig.LineIn(), 255 * 101);
  EXPECT_TRUE(rig.volume->Down());
  EXPECT_TRUE(rig.volume->Down());
  EXPECT_EQ(rig.LineIn(), 255 * 99);
  EXPECT_TRUE(rig.volume->ToZero());
  EXPECT_EQ(rig.card->Volume(), 0);
  EXPECT_EQ(rig.LineIn(), 0);
  EXPECT_TRUE(rig.state.Muted);

  // On its own route the same radio has no volume: the commands do nothing.
  VolumeRig own(mV4l2, vlNative, false);
  EXPECT_FALSE(own.volume->Up());
  EXPECT_FALSE(own.volume->Down());
  EXPECT_FALSE(own.volume->ToZero());
}

TEST(PanelVolumeTest, ResetSweepsTheCardToZeroAndMutes) {
  VolumeRig rig(mRadioTrack, vlNative, false);
  rig.volume->SliderMoved(128);
  ASSERT_EQ(rig.card->Volume(), 128);
  EXPECT_TRUE(rig.volume->ToZero());
  EXPECT_EQ(rig.card->Volume(), 0);
  EXPECT_TRUE(rig.state.Muted);
}

TEST(PanelVolumeTest, AMuteReportFromTheMixerFollowsWithoutTouchingTheVolume) {
  VolumeRig rig(mRadioTrack, vlLineIn);
  rig.volume->SliderMoved(160);
  rig.mixer->ChangeFromOutside(mcLineInMute, 0, 1);  // the card's handler reads it
  EXPECT_TRUE(rig.card->Muted());
  EXPECT_TRUE(rig.volume->MixerChanged(true));
  EXPECT_TRUE(rig.state.Muted);
  EXPECT_EQ(rig.card->Volume(), 160);
  rig.mixer->ChangeFromOutside(mcLineInMute, 0, 0);
  EXPECT_TRUE(rig.volume->MixerChanged(false));
  EXPECT_FALSE(rig.state.Muted);
  EXPECT_EQ(rig.card->Volume(), 160);

  VolumeRig none(mV4l2, vlNone);
  none.card->SetVolumeLine(vlNone);
  none.state.Muted = true;
  EXPECT_FALSE(none.volume->MixerChanged(false));
  EXPECT_TRUE(none.state.Muted);
}

}  // namespace
}  // namespace ondivo
