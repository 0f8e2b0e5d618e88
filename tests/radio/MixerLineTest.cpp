#include <gtest/gtest.h>

#include "radio/RadioCard.h"
#include "tests/support/HardwareDoubles.h"

namespace ondivo {
namespace {

using test::FakeMixer;
using test::RecordingBus;

// A card wired to a sound card whose mixer has line-in, microphone and CD controls.
struct MixedCard {
  RecordingBus bus;
  FakeMixer* mixer = nullptr;
  std::unique_ptr<TRadioCard> card;
  int events = 0;
  int32_t lastVolume = -1;
  bool lastMute = false;

  explicit MixedCard(tModel model, tVolumeLine line, int32_t max = 65535) {
    auto owned = std::make_unique<FakeMixer>();
    for (auto c : {mcLineInVolume, mcLineInMute, mcMicVolume, mcMicMute, mcCdVolume, mcCdMute}) {
      const bool isMute = c == mcLineInMute || c == mcMicMute || c == mcCdMute;
      owned->controls[c] = {0, isMute ? 1 : max, {0, 0}};
    }
    mixer = owned.get();
    card = std::make_unique<TRadioCard>(CardHardware{&bus, &bus, {}, true, std::move(owned)});
    card->SetModel(model);
    card->SetPort(model == mZoltrix || model == mRadioTrack ? 1 : 0);
    card->SetVolumeLine(line);
    card->OnMixerChange = [this](int32_t volume, bool mute) {
      ++events;
      lastVolume = volume;
      lastMute = mute;
    };
  }
};

TEST(MixerLineTest, SetVolumeScalesToTheLineAndReadsBackTheSame) {
  MixedCard m(mRadioTrack, vlLineIn);
  m.card->SwitchOn();
  m.bus.Clear();
  m.card->SetVolume(200);
  EXPECT_EQ(m.mixer->controls[mcLineInVolume].value[0], 255 * 200);
  EXPECT_EQ(m.mixer->controls[mcLineInVolume].value[1], 255 * 200);
  EXPECT_TRUE(m.bus.events.empty());  // the card itself is not touched
  m.card->MixerControlChange(mcLineInVolume);
  EXPECT_EQ(m.card->Volume(), 200);
  EXPECT_EQ(m.events, 1);
  EXPECT_EQ(m.lastVolume, 200);
}

TEST(MixerLineTest, StepsMoveTheLineByOne) {
  MixedCard m(mRadioTrack, vlMicIn);
  m.card->SwitchOn();
  m.card->SetVolume(256);
  m.card->VolumeUp();
  EXPECT_EQ(m.card->Volume(), 256);
  m.card->VolumeDown();
  EXPECT_EQ(m.card->Volume(), 255);
  EXPECT_EQ(m.mixer->controls[mcMicVolume].value[0], 255 * 255);
}

TEST(MixerLineTest, UnmuteUnmutesTheCardThenTheLine) {
  MixedCard m(mRadioTrack, vlCd);
  m.card->SetMutedStartup(true);
  m.card->SwitchOn();  // a port card on a mixer line ends switch-on with Unmute
  EXPECT_FALSE(m.card->StartMuted());
  EXPECT_FALSE(m.card->Muted());
  m.card->Mute();
  EXPECT_EQ(m.mixer->controls[mcCdMute].value[0], 1);
  EXPECT_TRUE(m.card->Muted());
  m.bus.Clear();
  m.card->Unmute();
  EXPECT_EQ(m.bus.Written(), (std::vector<uint8_t>{0x00, 0xD8}));
  EXPECT_EQ(m.mixer->controls[mcCdMute].value[0], 0);
  EXPECT_FALSE(m.card->Muted());
}

TEST(MixerLineTest, ChangesOnOtherLinesRaiseNoEvent) {
  MixedCard m(mRadioTrack, vlLineIn);
  m.card->SwitchOn();
  m.mixer->controls[mcMicVolume].value[0] = 1000;
  m.card->MixerControlChange(mcMicVolume);
  m.card->MixerControlChange(mcCdMute);
  EXPECT_EQ(m.events, 0);
  m.mixer->controls[mcLineInMute].value[0] = 1;
  m.card->MixerControlChange(mcLineInMute);
  EXPECT_EQ(m.events, 1);
  EXPECT_TRUE(m.lastMute);
}

TEST(MixerLineTest, ATinyLineRangeDoesNotDivideByZero) {
  MixedCard m(mRadioTrack, vlLineIn, 100);
  m.card->SwitchOn();
  m.card->SetVolume(50);
  m.mixer->controls[mcLineInVolume].value[0] = 60;
  EXPECT_NO_THROW(m.card->MixerControlChange(mcLineInVolume));
  EXPECT_EQ(m.card->Volume(), 50);
}

TEST(MixerLineTest, SwitchOffMutesTheLineWhenAsked) {
  MixedCard m(mRadioTrack, vlLineIn);
  m.card->SetMuteOnExit(true);
  m.card->SwitchOn();
  m.card->SwitchOff();
  EXPECT_EQ(m.mixer->controls[mcLineInMute].value[0], 1);
  MixedCard keep(mRadioTrack, vlLineIn);
  keep.card->SetMuteOnExit(false);
  keep.card->SwitchOn();
  keep.card->SwitchOff();
  EXPECT_EQ(keep.mixer->controls[mcLineInMute].value[0], 0);
}

TEST(MixerLineTest, ZoltrixSendsVolumeMinusOneAfterTuning) {
  MixedCard m(mZoltrix, vlLineIn);
  m.card->SwitchOn();
  m.card->SetVolume(100);
  m.bus.Clear();
  m.card->SetFrequency(99.0);
  const auto written = m.bus.Written();
  EXPECT_EQ(written.back(), 99);
}

TEST(MixerLineTest, MuteLineWorksBeforeSwitchOn) {
  MixedCard m(mRadioTrack, vlLineIn);
  m.card->MuteLine();
  EXPECT_EQ(m.mixer->controls[mcLineInMute].value[0], 1);
  EXPECT_TRUE(m.bus.events.empty());
}

}  // namespace
}  // namespace ondivo
