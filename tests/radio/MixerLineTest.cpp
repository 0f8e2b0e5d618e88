#include <gtest/gtest.h>

#include <cstdlib>

#include "radio/MixerLineScale.h"
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

  explicit MixedCard(tModel model, tVolumeLine line, int32_t max = 65535, int32_t min = 0,
                     bool mutedStart = false) {
    auto owned = std::make_unique<FakeMixer>();
    for (auto c : {mcLineInVolume, mcLineInMute, mcMicVolume, mcMicMute, mcCdVolume, mcCdMute}) {
      const bool isMute = c == mcLineInMute || c == mcMicMute || c == mcCdMute;
      owned->controls[c] = {isMute ? 0 : min, isMute ? 1 : max, {0, 0}};
    }
    owned->log = &bus.events;  // port traffic and mixer writes on one timeline
    mixer = owned.get();
    card = std::make_unique<TRadioCard>(test::BusHardware(bus, std::move(owned)));
    card->SetMutedStartup(mutedStart);
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
  for (const auto& e : m.bus.events) EXPECT_EQ(e.kind, test::BusEvent::MixerSet);  // not the card
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
  m.card->SwitchOn();
  m.card->Mute();
  EXPECT_EQ(m.mixer->controls[mcCdMute].value[0], 1);
  EXPECT_TRUE(m.card->Muted());
  m.bus.Clear();
  m.card->Unmute();
  EXPECT_EQ(m.bus.events,
            (std::vector<test::BusEvent>{test::Out(0x30C, 0x00), test::Out(0x30C, 0xD8),
                                         test::MixerSet(mcCdMute, 0, 0)}));
  EXPECT_FALSE(m.card->Muted());
  EXPECT_FALSE(m.card->StartMuted());
}

TEST(MixerLineTest, AMutedStartKeepsTheLineMuted) {
  for (const tModel model : {mRadioTrack, mZoltrix}) {
    MixedCard m(model, vlLineIn, 65535, 0, true);
    m.card->MuteLine();  // start-up order for a muted start on a line
    m.card->SwitchOn();
    EXPECT_EQ(m.mixer->controls[mcLineInMute].value[0], 1) << static_cast<int>(model);
    EXPECT_TRUE(m.card->Muted());
    m.card->Unmute();  // the user's first unmute brings card and line up
    EXPECT_EQ(m.mixer->controls[mcLineInMute].value[0], 0);
    EXPECT_FALSE(m.card->Muted());
  }
  MixedCard playing(mRadioTrack, vlLineIn);
  playing.mixer->controls[mcLineInMute].value[0] = 1;
  playing.card->SwitchOn();
  EXPECT_EQ(playing.mixer->controls[mcLineInMute].value[0], 0);
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

TEST(MixerLineTest, SmallLineRangesLandOnTheNearestStepAndReadBackWithinOne) {
  struct Range {
    int32_t min, max;
  } ranges[] = {{0, 31}, {0, 63}, {0, 100}, {0, 127}, {0, 255}, {0, 256}, {-46, 0}, {5, 40}};
  for (const Range r : ranges) {
    MixedCard m(mRadioTrack, vlLineIn, r.max, r.min);
    m.card->SwitchOn();
    const double perVolume = (r.max - r.min) / 256.0;
    const double volumesPerStep = 256.0 / (r.max - r.min);
    for (int32_t v = 0; v <= 256; ++v) {
      m.card->SetVolume(v);
      const int32_t written = m.mixer->controls[mcLineInVolume].value[0];
      ASSERT_LE(std::abs(written - (r.min + v * perVolume)), 0.5) << r.max << " " << v;
      ASSERT_EQ(m.card->Volume(), v);
      m.card->MixerControlChange(mcLineInVolume);
      ASSERT_LE(std::abs(m.card->Volume() - v), volumesPerStep) << r.max << " " << v;
    }
    m.card->SetVolume(1);  // the lowest volume is not silence where the line has a step for it
    if (r.max - r.min >= 256) {
      EXPECT_GT(m.mixer->controls[mcLineInVolume].value[0], r.min);
    }
    m.card->SetVolume(256);
    EXPECT_EQ(m.mixer->controls[mcLineInVolume].value[0], r.max);
  }
}

TEST(MixerLineTest, LargeRangesKeepTheStepArithmetic) {
  EXPECT_EQ(LineValueForVolume(200, 0, 65535), 51000);
  EXPECT_EQ(VolumeForLineValue(51000, 0, 65535), 200);
  EXPECT_EQ(LineValueForVolume(256, 0, 65535), 65280);
  EXPECT_EQ(VolumeForLineValue(65280, 0, 65535), 256);
  EXPECT_EQ(VolumeForLineValue(65535, 0, 65535), 256);  // set to the top by another program
  EXPECT_EQ(LineValueForVolume(100, 0, 1000), 300);     // 1000 div 256 = 3
  EXPECT_EQ(VolumeForLineValue(300, 0, 1000), 100);     // 1000 div 257 = 3
  EXPECT_EQ(LineValueForVolume(100, 0, 0), 0);          // an empty range divides nothing
  EXPECT_EQ(VolumeForLineValue(5, 7, 7), 0);
}

TEST(MixerLineTest, TheCardHearsChangesFromOutsideThroughTheMixer) {
  MixedCard m(mRadioTrack, vlLineIn);
  m.card->SwitchOn();
  m.mixer->ChangeFromOutside(mcLineInVolume, 1, 255 * 128);
  EXPECT_EQ(m.events, 1);
  EXPECT_EQ(m.card->Volume(), 128);
  m.mixer->ChangeFromOutside(mcMicVolume, 0, 1000);
  EXPECT_EQ(m.events, 1);
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
  EXPECT_EQ(m.bus.events, std::vector<test::BusEvent>{test::MixerSet(mcLineInMute, 0, 1)});
}

}  // namespace
}  // namespace ondivo
