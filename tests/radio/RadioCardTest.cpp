#include "radio/RadioCard.h"

#include <gtest/gtest.h>

#include <cmath>

#include "radio/RadioErrors.h"
#include "tests/support/HardwareDoubles.h"

namespace ondivo {
namespace {

using test::RecordingBus;

struct Card {
  RecordingBus bus;
  TRadioCard card;
  explicit Card(tModel model = mRadioTrack, tVolumeLine line = vlNative)
      : card(test::BusHardware(bus)) {
    card.SetModel(model);
    card.SetVolumeLine(line);
  }
};

TEST(RadioCardModelsTest, EveryCapabilityRecordIsTheModelsOwn) {
  using P = std::array<uint16_t, 9>;
  const P isa = {0, 0x30C, 0x20C, 0, 0, 0, 0, 0, 0};
  const P com = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  struct Row {
    const char* name;
    const char* maker;
    int32_t volumeStep;
    bool japanese, am;
    double fmStep, amStep;
    bool canVolume, forced, stereo;
    uint8_t connection;
    int32_t portCount;
    uint16_t defaultPort;
    P ports;
    int32_t span;
  };
  // name, maker, VolumeStep, HasJapaneseFM, HasAM, FMStep, AMStep, CanVolume,
  // MuteOnExitForced, StereoSwitch, Connection, PortCount, DefaultPort (= SelectedPort), Ports,
  // PortSpan. Every model has FM and can mute.
  const Row rows[] = {
      {"Radiotrack", "AimsLab", 16, false, false, 0.025, 0, true, false, false, 2, 2, 1, isa, 1},
      {"RA300", "Reveal", 16, false, false, 0.025, 0, true, false, false, 2, 2, 1, isa, 1},
      {"Wizard Radio", "Gemtek", 0, true, false, 0.05, 0, false, true, false, 1, 8, 2, com, 0},
      {"RadioMan", "Gemtek", 0, true, true, 0.05, 0.009, false, true, false, 1, 8, 2, com, 0},
      {"RadionMaru", "Justy", 0, true, false, 0.05, 0.009, false, true, false, 1, 8, 2, com, 0},
      {"Rajikoma", "Unit", 0, true, true, 0.05, 0.009, false, true, false, 1, 8, 2, com, 0},
      {"Radio Plus 108", "Zoltrix", 16, false, false, 0.005, 0, true, false, true, 2, 2, 1, isa, 4},
  };
  EXPECT_EQ(TRadioCard::ModelCount(), 9);  // the seven, the V4L2 radio devices, SDR receivers
  const auto caps = DefaultDevCaps();
  Card c;
  for (size_t m = 0; m < std::size(rows); ++m) {
    const Row& r = rows[m];
    tDevCap expected;
    expected.Name = r.name;
    expected.Maker = r.maker;
    expected.VolumeStep = r.volumeStep;
    expected.HasFM = true;
    expected.HasJapaneseFM = r.japanese;
    expected.HasAM = r.am;
    expected.FMStep = r.fmStep;
    expected.AMStep = r.amStep;
    expected.CanVolume = r.canVolume;
    expected.CanMute = true;
    expected.MuteOnExitForced = r.forced;
    expected.StereoSwitch = r.stereo;
    expected.Connection = r.connection;
    expected.PortCount = r.portCount;
    expected.DefaultPort = r.defaultPort;
    expected.SelectedPort = r.defaultPort;
    expected.Ports = r.ports;
    expected.PortSpan = r.span;
    EXPECT_EQ(caps[m], expected) << r.name;
    EXPECT_EQ(c.card.GetDevCap(static_cast<tModel>(m)), expected) << r.name;
  }
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

TEST(RadioCardTuningTest, NonFiniteFrequenciesAreRefused) {
  Card c;
  c.card.SetPort(1);
  c.card.SwitchOn();
  c.card.SetFrequency(100.0);
  c.bus.Clear();
  for (const double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    c.card.SetFrequency(bad);
    c.card.Tune(false, bFM, bad);
    c.card.SetLastFM(bad);
    c.card.SetLastAM(bad);
  }
  EXPECT_TRUE(c.bus.events.empty());
  EXPECT_DOUBLE_EQ(c.card.Frequency(), 100.0);
  EXPECT_DOUBLE_EQ(c.card.LastFM(), 100.0);
  EXPECT_DOUBLE_EQ(c.card.LastAM(), 0.531);
  c.card.SetBand(bFM);  // tunes the remembered FM frequency, which stayed sane
  EXPECT_DOUBLE_EQ(c.card.Frequency(), 100.0);

  Card z(mZoltrix);
  z.card.SetPort(1);
  z.card.SwitchOn();
  z.bus.Clear();
  z.card.SetFrequency(std::nan(""));
  EXPECT_TRUE(z.bus.events.empty());
}

TEST(RadioCardSetupTest, ForcedMuteOnExitHoldsWhateverWasSetBefore) {
  Card c(mRadioTrack);
  c.card.SetMuteOnExit(false);  // start-up sets it before the model is final
  c.card.SetModel(mRadioMan);
  EXPECT_TRUE(c.card.MuteOnExit());
  c.card.SetModel(mRA300);
  EXPECT_FALSE(c.card.MuteOnExit());
}

TEST(RadioCardSetupTest, AModelChangeLeavesNoBandOrVolumeScaleOfTheOldModel) {
  Card c(mRadioMan);
  c.card.SetPort(0);
  c.card.SwitchOn();
  c.card.SetLastFM(101.1);
  c.card.SetLastAM(0.999);
  c.card.SetBand(bAM);
  c.card.SwitchOff();
  c.card.SetModel(mZoltrix);  // no AM: back on FM with its grid
  EXPECT_EQ(c.card.Band(), bFM);
  EXPECT_DOUBLE_EQ(c.card.BandStep(), 0.005);
  EXPECT_DOUBLE_EQ(c.card.Frequency(), 101.1);
  EXPECT_DOUBLE_EQ(c.card.LastAM(), 0.999);

  Card w(mWizard, vlNative);
  EXPECT_EQ(w.card.MaxVolume(), 0);
  w.card.StoreVolume(100);
  w.card.SetModel(mRadioTrack);  // the card's own volume scale comes with it
  EXPECT_EQ(w.card.MaxVolume(), 256);
  EXPECT_EQ(w.card.VolumeStep(), 16);
  EXPECT_EQ(w.card.Volume(), 96);
  w.card.SetModel(mWizard);
  EXPECT_EQ(w.card.MaxVolume(), 0);

  Card am(mRadioMan);
  am.card.SetPort(0);
  am.card.SwitchOn();
  am.card.SetBand(bAM);
  am.card.SwitchOff();
  am.card.SetModel(mRajikoma);  // has AM: the band stays
  EXPECT_EQ(am.card.Band(), bAM);
}

TEST(RadioCardPortGrantTest, TheCardAsksForItsModelsPortSpanWheneverModelOrPortChanges) {
  Card c;  // RadioTrack, port 0: nothing to grant
  EXPECT_TRUE(c.bus.grants.empty());
  EXPECT_TRUE(c.card.PortGranted());
  c.card.SetPort(1);
  c.card.SetModel(mZoltrix);  // keeps index 1, now four ports
  c.card.SetPort(2);
  using G = std::vector<std::pair<uint16_t, int>>;
  EXPECT_EQ(c.bus.grants, (G{{0x30C, 1}, {0x30C, 4}, {0x20C, 4}}));
  EXPECT_TRUE(c.card.PortGranted());

  c.bus.grantAnswer = false;
  c.card.SetModel(mRA300);
  EXPECT_FALSE(c.card.PortGranted());
  c.card.SetModel(mWizard);  // a serial radio needs no port grant
  EXPECT_EQ(c.bus.grants.size(), 4u);
  EXPECT_TRUE(c.card.PortGranted());

  // Without port hardware a port card can never be granted its ports.
  NullPortIo none;
  TRadioCard bare(CardHardware{none, c.bus});
  bare.SetPort(1);
  EXPECT_FALSE(bare.PortGranted());
}

}  // namespace
}  // namespace ondivo
