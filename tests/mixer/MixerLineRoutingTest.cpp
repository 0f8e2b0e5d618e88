#include <gtest/gtest.h>

#include "radio/RadioCard.h"
#include "tests/support/EmulatedSoundCardFixture.h"
#include "tests/support/HardwareDoubles.h"

namespace ondivo {
namespace {

using sim::DefaultEmulatedCard;
using sim::EmulatedCardState;

// A RadioTrack whose audio is wired into the emulated sound card, as a user sets it up.
class MixerLineRoutingTest : public test::EmulatedSoundCardTestBase {
 protected:
  void StartRadio(EmulatedCardState card, tVolumeLine line) {
    StartCard(std::move(card));
    CardHardware hardware{bus, bus};
    mixer = ConnectSoundCard(hardware, soundCard->DeviceName());
    ASSERT_NE(mixer, nullptr);
    mixer->OnControlChange = [this](TMixer&, tMixerControlType c) { mixerChanges.push_back(c); };
    radio = std::make_unique<TRadioCard>(std::move(hardware));
    radio->SetModel(mRadioTrack);
    radio->SetPort(1);
    radio->SetVolumeLine(line);
    radio->OnMixerChange = [this](int32_t volume, bool mute) { reports.push_back({volume, mute}); };
    radio->SwitchOn();
  }

  test::RecordingBus bus;
  TMixer* mixer = nullptr;
  std::unique_ptr<TRadioCard> radio;
  std::vector<tMixerControlType> mixerChanges;
  std::vector<std::pair<int32_t, bool>> reports;
};

TEST_F(MixerLineRoutingTest, AFullRangeLineCarriesVolume200ThereAndBack) {
  EmulatedCardState card = DefaultEmulatedCard();
  card.At(mcLineInVolume).Maximum = 65535;
  StartRadio(card, vlLineIn);
  ASSERT_EQ(radio->VolumeLine(), vlLineIn);
  radio->SetVolume(200);
  EXPECT_EQ(CardControl(mcLineInVolume).Value, (std::array<long, 2>{51000, 51000}));
  EXPECT_EQ(radio->Volume(), 200);

  // Moved away and back from another program: the card reads the line as 200 again.
  ASSERT_EQ(Amixer({"sset", "Line", "0"}), 0);
  mixer->HandleEvents();
  EXPECT_EQ(radio->Volume(), 0);
  ASSERT_EQ(Amixer({"sset", "Line", "51000"}), 0);
  mixer->HandleEvents();
  EXPECT_EQ(radio->Volume(), 200);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back(), std::make_pair(200, false));
}

TEST_F(MixerLineRoutingTest, MuteFromAnotherProgramReachesThePanel) {
  StartRadio(DefaultEmulatedCard(), vlLineIn);
  ASSERT_EQ(Amixer({"sset", "Line", "mute"}), 0);
  mixer->HandleEvents();
  EXPECT_TRUE(radio->Muted());
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(reports[0].second);
}

TEST_F(MixerLineRoutingTest, AMicrophoneChangeWhileLineInIsRoutedRaisesNoMixerChange) {
  StartRadio(DefaultEmulatedCard(), vlLineIn);
  ASSERT_EQ(Amixer({"sset", "Mic", "10"}), 0);
  mixer->HandleEvents();
  EXPECT_EQ(mixerChanges, std::vector{mcMicVolume});  // the mixer heard it
  EXPECT_TRUE(reports.empty());                       // the routed line did not change
}

TEST_F(MixerLineRoutingTest, ACardWithoutCdAndPcSpeakerRoutesLineInNormally) {
  StartRadio(sim::WithoutControls(DefaultEmulatedCard(),
                                  {mcCdVolume, mcCdMute, mcSpeakerVolume, mcSpeakerMute}),
             vlLineIn);
  EXPECT_EQ(radio->VolumeLine(), vlLineIn);
  radio->Mute();
  EXPECT_EQ(CardControl(mcLineInMute).Value[0], 0);  // switch off
  radio->Unmute();
  EXPECT_EQ(CardControl(mcLineInMute).Value[0], 1);
  EXPECT_FALSE(radio->Muted());
}

}  // namespace
}  // namespace ondivo
