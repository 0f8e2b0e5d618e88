#include "radio/RadioCard.h"

#include <gtest/gtest.h>

#include "radio/RadioErrors.h"
#include "tests/support/HardwareDoubles.h"

namespace ondivo {
namespace {

using test::RecordingBus;

struct Card {
  RecordingBus bus;
  TRadioCard card;
  explicit Card(tModel model = mRadioTrack, tVolumeLine line = vlNative)
      : card(CardHardware{&bus, &bus, {}, false, nullptr}) {
    card.SetModel(model);
    card.SetVolumeLine(line);
  }
};

TEST(RadioCardModelsTest, CapabilityTableMatchesTheSevenModels) {
  const auto caps = DefaultDevCaps();
  EXPECT_EQ(TRadioCard::ModelCount(), 8);  // the seven, then the V4L2 radio devices
  EXPECT_EQ(caps[0].Name, "Radiotrack");
  EXPECT_EQ(caps[6].Name, "Radio Plus 108");
  EXPECT_EQ(caps[6].Maker, "Zoltrix");
  EXPECT_EQ(caps[4].Maker, "Justy");
  for (tModel m : {mRadioTrack, mRA300, mZoltrix}) {
    const auto& cap = caps[static_cast<size_t>(m)];
    EXPECT_EQ(cap.Connection, kPortConnection);
    EXPECT_EQ(cap.VolumeStep, 16);
    EXPECT_EQ(cap.Ports[1], 0x30C);
    EXPECT_EQ(cap.Ports[2], 0x20C);
    EXPECT_FALSE(cap.HasJapaneseFM);
  }
  for (tModel m : {mWizard, mRadioMan, mRadionMaru, mRajikoma}) {
    const auto& cap = caps[static_cast<size_t>(m)];
    EXPECT_EQ(cap.Connection, kSerialConnection);
    EXPECT_EQ(cap.PortCount, 8);
    EXPECT_EQ(cap.Ports[8], 8);
    EXPECT_TRUE(cap.MuteOnExitForced);
    EXPECT_DOUBLE_EQ(cap.FMStep, 0.05);
  }
  EXPECT_TRUE(caps[3].HasAM);
  EXPECT_TRUE(caps[5].HasAM);
  EXPECT_FALSE(caps[2].HasAM);
  EXPECT_FALSE(caps[4].HasAM);
  EXPECT_DOUBLE_EQ(caps[6].FMStep, 0.005);
  EXPECT_TRUE(caps[6].StereoSwitch);
}

TEST(RadioCardModelsTest, HardwareIndexConversions) {
  EXPECT_EQ(HardwareIndexFromModel(mRadioTrack), 1);
  EXPECT_EQ(HardwareIndexFromModel(mZoltrix), 7);
  EXPECT_EQ(ModelFromHardwareIndex(0), mRadioTrack);
  EXPECT_EQ(ModelFromHardwareIndex(4), mRadioMan);
  EXPECT_EQ(ModelFromHardwareIndex(99), mRadioTrack);
}

TEST(RadioCardSnapTest, ClampsAndRoundsToTheGridTiesToEven) {
  EXPECT_DOUBLE_EQ(TRadioCard::SnapFrequency(200.0, 0.025, 87.0, 108.0), 108.0);
  EXPECT_DOUBLE_EQ(TRadioCard::SnapFrequency(86.0, 0.025, 87.0, 108.0), 87.0);
  EXPECT_DOUBLE_EQ(TRadioCard::SnapFrequency(87.01, 0.025, 87.0, 108.0), 87.0);
  EXPECT_DOUBLE_EQ(TRadioCard::SnapFrequency(87.02, 0.025, 87.0, 108.0), 87.025);
  // Exact halves go to the even step.
  EXPECT_DOUBLE_EQ(TRadioCard::SnapFrequency(1.25, 0.5, 0.0, 10.0), 1.0);
  EXPECT_DOUBLE_EQ(TRadioCard::SnapFrequency(1.75, 0.5, 0.0, 10.0), 2.0);
  EXPECT_DOUBLE_EQ(TRadioCard::SnapFrequency(0.999, 0.009, 0.531, 1.62), 0.999);
  // Every grid point snaps to itself.
  for (int n = 0; n <= 840; ++n) {
    const double f = 87.0 + 0.025 * n;
    EXPECT_NEAR(TRadioCard::SnapFrequency(f, 0.025, 87.0, 108.0), f, 1e-9) << n;
  }
}

TEST(RadioCardTuningTest, FrequencyIsSnappedAndClampedIntoTheBand) {
  Card c;
  c.card.SetPort(1);
  c.card.SwitchOn();
  c.card.SetFrequency(200.0);
  EXPECT_DOUBLE_EQ(c.card.Frequency(), 108.0);
  c.card.SetFrequency(86.0);
  EXPECT_DOUBLE_EQ(c.card.Frequency(), 87.0);
  c.card.SetFrequency(87.01);
  EXPECT_DOUBLE_EQ(c.card.Frequency(), 87.0);
  c.card.SetFrequency(87.02);
  EXPECT_DOUBLE_EQ(c.card.Frequency(), 87.025);
  EXPECT_DOUBLE_EQ(c.card.LastFM(), 87.025);
}

TEST(RadioCardTuningTest, NothingIsTunedWhileOffOrOnAMissingBand) {
  Card c;
  c.card.SetPort(1);
  c.card.SetFrequency(100.0);  // off: refused
  EXPECT_DOUBLE_EQ(c.card.Frequency(), 0.0);
  EXPECT_TRUE(c.bus.events.empty());
  c.card.SwitchOn();
  c.card.SetBand(bAM);  // no AM on a RadioTrack: not even Band changes
  EXPECT_EQ(c.card.Band(), bFM);
  c.card.Tune(false, bAM, 0.999);
  EXPECT_EQ(c.card.Band(), bFM);
  EXPECT_DOUBLE_EQ(c.card.LastAM(), 0.531);
}

TEST(RadioCardTuningTest, BandSwitchTunesTheRememberedFrequency) {
  Card c(mRadioMan);
  c.card.SetPort(0);  // no serial port: tuning is kept in the component only
  c.card.SwitchOn();
  c.card.SetLastAM(0.999);
  c.card.SetLastFM(101.1);
  c.card.SetBand(bAM);
  EXPECT_EQ(c.card.Band(), bAM);
  EXPECT_DOUBLE_EQ(c.card.Frequency(), 0.999);
  EXPECT_DOUBLE_EQ(c.card.BandMin(), 0.531);
  EXPECT_DOUBLE_EQ(c.card.BandStep(), 0.009);
  c.card.SetBand(bFM);
  EXPECT_DOUBLE_EQ(c.card.Frequency(), 101.1);
  EXPECT_EQ(c.card.GetSignal(), sNone);  // port 0
}

TEST(RadioCardTuningTest, JapaneseRangeOnlyWhereTheModelHasIt) {
  Card c(mWizard);
  c.card.SetJapaneseFM(true);
  EXPECT_TRUE(c.card.JapaneseFM());
  EXPECT_DOUBLE_EQ(c.card.BandMin(), 76.0);
  EXPECT_DOUBLE_EQ(c.card.BandMax(), 91.0);
  c.card.SetModel(mZoltrix);  // no Japanese range: cleared
  EXPECT_FALSE(c.card.JapaneseFM());
  c.card.SetJapaneseFM(true);
  EXPECT_FALSE(c.card.JapaneseFM());
  EXPECT_DOUBLE_EQ(c.card.BandMin(), 87.0);
}

TEST(RadioCardSetupTest, ModelAndPortRefusedWhileOn) {
  Card c;
  c.card.SetPort(2);
  c.card.SwitchOn();
  EXPECT_THROW(c.card.SetModel(mRA300), eCantSetup);
  EXPECT_THROW(c.card.SetPort(1), eCantSetup);
  c.card.SwitchOff();
  EXPECT_NO_THROW(c.card.SetModel(mRA300));
}

TEST(RadioCardSetupTest, PortOutsideTheModelsListIsRefused) {
  Card c;
  EXPECT_THROW(c.card.SetPort(-1), ePortNotFound);
  EXPECT_THROW(c.card.SetPort(3), ePortNotFound);
  EXPECT_NO_THROW(c.card.SetPort(0));
  c.card.SetModel(mWizard);
  EXPECT_NO_THROW(c.card.SetPort(8));
  EXPECT_THROW(c.card.SetPort(9), ePortNotFound);
}

TEST(RadioCardSetupTest, ModelRemembersThePortLastChosenForIt) {
  Card c;
  // The port cards start with no port value matching their list: the port stays unchosen.
  EXPECT_EQ(c.card.Port(), 0);
  c.card.SetPort(2);
  EXPECT_EQ(c.card.GetDevCap(mRadioTrack).SelectedPort, 0x20C);
  c.card.SetModel(mWizard);
  EXPECT_EQ(c.card.Port(), 2);  // COM2 proposed
  c.card.SetPort(5);
  c.card.SetModel(mRadioTrack);
  EXPECT_EQ(c.card.Port(), 2);
  c.card.SetModel(mWizard);
  EXPECT_EQ(c.card.Port(), 5);
}

TEST(RadioCardSetupTest, StereoFollowsTheModelsSwitch) {
  Card c(mZoltrix);
  EXPECT_TRUE(c.card.Stereo());
  c.card.SetModel(mRadioTrack);
  EXPECT_FALSE(c.card.Stereo());
  c.card.SetStereo(true);
  EXPECT_FALSE(c.card.Stereo());
}

TEST(RadioCardSetupTest, MutedStartupAndMuteOnExitFollowTheModel) {
  Card c(mWizard);
  c.card.SetMuteOnExit(false);
  EXPECT_TRUE(c.card.MuteOnExit());  // forced for serial radios
  c.card.SetModel(mRadioTrack);
  c.card.SetMuteOnExit(false);
  EXPECT_FALSE(c.card.MuteOnExit());
  c.card.SetMutedStartup(true);
  EXPECT_TRUE(c.card.Muted());
  EXPECT_TRUE(c.card.StartMuted());
  c.card.SetMutedStartup(false);
  EXPECT_FALSE(c.card.Muted());
}

TEST(RadioCardVolumeLineTest, NativeLineSnapsVolumeToTheCardsStep) {
  Card c(mRadioTrack, vlNone);
  c.card.StoreVolume(100);
  c.card.SetVolumeLine(vlNative);
  EXPECT_EQ(c.card.Volume(), 96);
  EXPECT_EQ(c.card.MaxVolume(), 256);
  EXPECT_EQ(c.card.VolumeStep(), 16);
  c.card.SetVolumeLine(vlNone);
  EXPECT_EQ(c.card.MaxVolume(), 0);
  EXPECT_EQ(c.card.VolumeStep(), 0);
}

TEST(RadioCardVolumeLineTest, SerialRadioHasNoNativeVolume) {
  Card c(mWizard, vlNative);
  EXPECT_EQ(c.card.MaxVolume(), 0);
  c.card.SetPort(0);
  c.card.SwitchOn();
  c.card.StoreVolume(32);
  c.card.SetVolume(200);
  EXPECT_EQ(c.card.Volume(), 32);
}

TEST(RadioCardVolumeLineTest, MixerLineWithoutASoundCardFallsBackToTheCard) {
  Card c(mRadioTrack, vlLineIn);
  EXPECT_EQ(c.card.VolumeLine(), vlNative);
  c.card.SetModel(mWizard);
  c.card.SetVolumeLine(vlCd);
  EXPECT_EQ(c.card.VolumeLine(), vlNative);
}

TEST(RadioCardPortZeroTest, NoOperationWritesAByte) {
  for (tModel model : {mRadioTrack, mRA300, mZoltrix}) {
    Card c(model);
    c.card.SetPort(0);
    c.card.SwitchOn();
    c.card.SetFrequency(100.0);
    EXPECT_EQ(c.card.GetSignal(), sNone);
    c.card.Mute();
    c.card.Unmute();
    c.card.VolumeUp();
    c.card.VolumeDown();
    c.card.SetVolume(128);
    c.card.VolumeToZero();
    c.card.UnmuteCard();
    c.card.SwitchOff();
    EXPECT_TRUE(c.bus.events.empty()) << static_cast<int>(model);
    EXPECT_DOUBLE_EQ(c.card.Frequency(), 100.0);
  }
}

TEST(RadioCardSignalTest, AMBandAlwaysReportsNoSignal) {
  Card c(mRadioMan);
  c.card.SetPort(0);
  c.card.SwitchOn();
  c.card.SetBand(bAM);
  EXPECT_EQ(c.card.GetSignal(), sNone);
}

}  // namespace
}  // namespace ondivo
