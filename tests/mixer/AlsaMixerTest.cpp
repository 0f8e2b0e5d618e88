#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "mixer/MixerErrors.h"
#include "tests/support/EmulatedSoundCardFixture.h"

namespace ondivo {
namespace {

using sim::DefaultEmulatedCard;
using sim::EmulatedCardState;
using sim::WithoutControls;

class AlsaMixerTest : public test::EmulatedSoundCardTestBase {
 protected:
  // Records OnControlChange and the card-side change handler separately.
  void Watch(TMixer& mixer) {
    mixer.OnControlChange = [this](TMixer&, tMixerControlType c) { changes.push_back(c); };
    mixer.SetChangeHandler([this](tMixerControlType c) { handled.push_back(c); });
  }
  std::vector<tMixerControlType> changes;
  std::vector<tMixerControlType> handled;
};

TEST_F(AlsaMixerTest, FindsEveryControlWithTheRangeTheCardReports) {
  EmulatedCardState card = DefaultEmulatedCard();
  for (int i = 0; i < 16; ++i) {
    auto& c = card.Controls[static_cast<size_t>(i)];
    if (!sim::IsSwitchControl(i)) c.Minimum = i, c.Maximum = 100 + i, c.Value = {i + 1, i + 2};
  }
  card.At(mcLineInMute).Value = {0, 0};  // switch off: muted
  StartCard(card);
  auto mixer = OpenMixer();
  EXPECT_TRUE(mixer->Active());
  EXPECT_EQ(mixer->CardName(), "Ondivo Emulated Sound Card");
  for (int i = 0; i < 16; ++i) {
    const auto control = static_cast<tMixerControlType>(i);
    SCOPED_TRACE(i);
    EXPECT_TRUE(mixer->HasControl(control));
    if (sim::IsSwitchControl(i)) {
      EXPECT_EQ(mixer->ControlMin(control), 0);
      EXPECT_EQ(mixer->ControlMax(control), 1);
    } else {
      EXPECT_EQ(mixer->ControlMin(control), i);
      EXPECT_EQ(mixer->ControlMax(control), 100 + i);
    }
  }
  EXPECT_EQ(mixer->GetControlValue(mcLineInVolume, 0), 11);
  EXPECT_EQ(mixer->GetControlValue(mcLineInVolume, 1), 12);
  // Playback switches are turned round: on (sound) reads 0, off reads the maximum.
  EXPECT_EQ(mixer->GetControlValue(mcMasterMute, 0), 0);
  EXPECT_EQ(mixer->GetControlValue(mcLineInMute, 0), 1);
}

TEST_F(AlsaMixerTest, AmixerInAnotherProcessRaisesTheChangeOfThatControl) {
  StartCard();
  auto mixer = OpenMixer();
  Watch(*mixer);
  ASSERT_EQ(Amixer({"sset", "Line", "40%"}), 0);
  mixer->HandleEvents();
  ASSERT_EQ(changes, std::vector{mcLineInVolume});
  EXPECT_EQ(handled, changes);
  const auto& line = CardControl(mcLineInVolume);
  EXPECT_EQ(mixer->GetControlValue(mcLineInVolume, 0), line.Value[0]);
  EXPECT_EQ(mixer->GetControlValue(mcLineInVolume, 1), line.Value[1]);
  EXPECT_NEAR(line.Value[0], 12, 1);  // 40 % of 0..31

  changes.clear();
  ASSERT_EQ(Amixer({"sset", "Line", "mute"}), 0);
  mixer->HandleEvents();
  EXPECT_EQ(changes, std::vector{mcLineInMute});
  EXPECT_EQ(mixer->GetControlValue(mcLineInMute, 0), mixer->ControlMax(mcLineInMute));
}

TEST_F(AlsaMixerTest, OwnWritesReachTheCardAndAreNotReportedBack) {
  StartCard();
  auto mixer = OpenMixer();
  Watch(*mixer);
  mixer->SetControlValues(mcCdVolume, 5, 9);
  mixer->SetControlValue(mcCdMute, 0, 1);
  EXPECT_EQ(CardControl(mcCdVolume).Value, (std::array<long, 2>{5, 9}));
  EXPECT_EQ(CardControl(mcCdMute).Value, (std::array<long, 2>{0, 0}));  // muted: switch off
  mixer->HandleEvents();
  EXPECT_TRUE(changes.empty());
  // Another handle on the same card hears them.
  auto other = OpenMixer();
  EXPECT_EQ(other->GetControlValue(mcCdVolume, 1), 9);
  EXPECT_EQ(other->GetControlValue(mcCdMute, 0), 1);
}

TEST_F(AlsaMixerTest, TheMixerDialogHearsWhatTheRadioCardsMixerWrites) {
  StartCard();
  auto radioMixer = OpenMixer();
  auto dialogMixer = OpenMixer();
  Watch(*dialogMixer);
  radioMixer->SetControlValues(mcLineInVolume, 30, 2);
  radioMixer->SetControlValue(mcMicMute, 0, 1);
  dialogMixer->HandleEvents();
  EXPECT_EQ(changes, (std::vector{mcLineInVolume, mcMicMute}));
  EXPECT_EQ(dialogMixer->GetControlValue(mcLineInVolume, 1), 2);
  EXPECT_EQ(dialogMixer->GetControlValue(mcMicMute, 0), 1);
}

TEST_F(AlsaMixerTest, SettingTheCachedValueWritesNothing) {
  StartCard();
  auto mixer = OpenMixer();
  const uint64_t before = CardControl(mcLineInVolume).Writes;
  mixer->SetControlValue(mcLineInVolume, 0, mixer->GetControlValue(mcLineInVolume, 0));
  mixer->SetControlValue(mcLineInVolume, 1, mixer->GetControlValue(mcLineInVolume, 1));
  EXPECT_EQ(CardControl(mcLineInVolume).Writes, before);
  mixer->SetControlValue(mcLineInVolume, 0, 3);
  EXPECT_EQ(CardControl(mcLineInVolume).Writes, before + 1);
}

TEST_F(AlsaMixerTest, MonoControlsReadTheSameIntoBothChannels) {
  EmulatedCardState card = DefaultEmulatedCard();
  card.At(mcMicVolume).Value = {17, 0};
  StartCard(card);
  auto mixer = OpenMixer();
  EXPECT_EQ(mixer->GetControlValue(mcMicVolume, 0), 17);
  EXPECT_EQ(mixer->GetControlValue(mcMicVolume, 1), 17);
  EXPECT_EQ(mixer->GetControlValue(mcBass, 1), mixer->GetControlValue(mcBass, 0));
  // Either channel sets the one value.
  mixer->SetControlValue(mcMicVolume, 1, 4);
  EXPECT_EQ(CardControl(mcMicVolume).Value[0], 4);
  EXPECT_EQ(mixer->GetControlValue(mcMicVolume, 0), 4);
  // A stereo switch mutes both channels at once.
  mixer->SetControlValue(mcLineInMute, 0, 1);
  EXPECT_EQ(CardControl(mcLineInMute).Value, (std::array<long, 2>{0, 0}));
}

TEST_F(AlsaMixerTest, ValuesOutsideTheRangeAreClampedNotDropped) {
  StartCard();
  auto mixer = OpenMixer();
  mixer->SetControlValues(mcWaveVolume, -5, 400);
  EXPECT_EQ(CardControl(mcWaveVolume).Value, (std::array<long, 2>{0, 31}));
  EXPECT_EQ(mixer->GetControlValue(mcWaveVolume, 1), 31);
}

TEST_F(AlsaMixerTest, ACardWithoutCdAndPcSpeakerOpensWithThoseAbsent) {
  StartCard(WithoutControls(DefaultEmulatedCard(),
                            {mcCdVolume, mcCdMute, mcSpeakerVolume, mcSpeakerMute}));
  auto mixer = OpenMixer();
  for (auto c : {mcCdVolume, mcCdMute, mcSpeakerVolume, mcSpeakerMute}) {
    EXPECT_FALSE(mixer->HasControl(c));
    EXPECT_EQ(mixer->GetControlValue(c, 0), 0);
  }
  EXPECT_FALSE(mixer->LineAvailable(vlCd));
  EXPECT_TRUE(mixer->LineAvailable(vlLineIn));
  mixer->SetControlValue(mcCdVolume, 0, 3);  // ignored, no error
}

TEST_F(AlsaMixerTest, AnotherPlaybackElementServesAsMasterWhenThereIsNoMaster) {
  EmulatedCardState card = DefaultEmulatedCard();
  card.At(mcMasterVolume).Name = "Speaker Playback Volume";
  card.At(mcMasterMute).Name = "Speaker Playback Switch";
  card.At(mcMasterVolume).Value = {7, 8};
  StartCard(card);
  auto mixer = OpenMixer();
  EXPECT_EQ(mixer->GetControlValue(mcMasterVolume, 1), 8);
  EXPECT_TRUE(mixer->HasControl(mcMasterMute));
}

TEST_F(AlsaMixerTest, ACardWithoutPlaybackMasterIsRefusedWithItsName) {
  StartCard(WithoutControls(DefaultEmulatedCard(), {mcMasterVolume, mcMasterMute}));
  try {
    OpenMixer();
    FAIL() << "opened a card without master";
  } catch (const eMixerLineNotFound& e) {
    EXPECT_STREQ(e.what(), "Can't find audio output mixer line for Ondivo Emulated Sound Card");
  }
}

TEST_F(AlsaMixerTest, AlsaFailuresRaiseMultimediaErrorsNamingTheCall) {
  StartCard();
  try {
    OpenAlsaMixer("no_such_card");
    FAIL();
  } catch (const eMMError& e) {
    EXPECT_STREQ(e.what(),
                 "Multimedia System Error 2 - Device ID out of range in snd_mixer_attach");
    EXPECT_EQ(e.SystemErrno(), ENOENT);
  }
  auto mixer = OpenMixer();
  ASSERT_TRUE(soundCard->Change([](EmulatedCardState& s) { s.FailErrno = EBUSY; }));
  try {
    mixer->SetControlValue(mcLineInVolume, 0, 1);
    FAIL();
  } catch (const eMMError& e) {
    EXPECT_EQ(e.Code(), kMMSysErrAllocated);
    EXPECT_STREQ(e.what(),
                 "Multimedia System Error 4 - Device already allocated in "
                 "snd_mixer_selem_set_playback_volume");
  }
}

TEST_F(AlsaMixerTest, ClosingAndReopeningFollowsActiveAndTheDeviceId) {
  StartCard();
  auto mixer = OpenMixer();
  EXPECT_FALSE(mixer->PollDescriptors().empty());
  mixer->SetActive(false);
  EXPECT_FALSE(mixer->HasControl(mcMasterVolume));
  EXPECT_TRUE(mixer->PollDescriptors().empty());
  mixer->SetActive(true);
  EXPECT_TRUE(mixer->HasControl(mcMasterVolume));
  // hw:7 does not exist here: the error propagates and the mixer stays closed.
  EXPECT_THROW(mixer->SetMidiDeviceID(7), eMMError);
  EXPECT_FALSE(mixer->Active());
  EXPECT_EQ(mixer->DeviceName(), "hw:7");
}

}  // namespace
}  // namespace ondivo
