#include "panel/PanelModel.h"

#include <gtest/gtest.h>

#include "panel/PanelReadout.h"
#include "panel/ScanStepper.h"
#include "tests/support/PanelRig.h"

namespace ondivo {
namespace {

using test::PanelRig;

TEST(PanelModelTuningTest, TuneRightAtTheTopStaysAndDisablesTuneRight) {
  PanelRig rig(mRadioTrack);
  rig.Model().TuneTo(bFM, false, 108.0);
  rig.Model().TuneNext();
  EXPECT_DOUBLE_EQ(rig.card.Frequency(), 108.0);
  const tPanelReadout r = ReadPanel(rig.card, rig.state, rig.bank, rig.settings, rig.locale);
  EXPECT_FALSE(r.CanTuneNext);
  EXPECT_TRUE(r.CanTunePrev);
}

TEST(PanelModelTuningTest, FineTuningMovesByTheStepOnFMAndByOneChannelOnAM) {
  PanelRig rig(mRadioMan);
  rig.Model().ApplyTuneStepSetting(2);
  rig.Model().TuneTo(bFM, false, 98.0);
  rig.Model().TunePrev();
  EXPECT_NEAR(rig.card.Frequency(), 97.9, 1e-9);
  rig.Model().TuneTo(bAM, false, 0.999);
  rig.Model().TuneNext();
  EXPECT_NEAR(rig.card.Frequency(), 1.008, 1e-9);
}

TEST(PanelModelTuningTest, ABandTheCardLacksIsIgnored) {
  PanelRig rig(mRadioTrack);
  rig.Model().TuneTo(bFM, false, 98.0);
  const tTuneResult r = rig.Model().TuneTo(bAM, false, 0.999);
  EXPECT_FALSE(r.Tuned);
  EXPECT_EQ(rig.card.Band(), bFM);
}

TEST(PanelModelTuningTest, TuningAPresetFrequencySelectsItUnlessDragging) {
  PanelRig rig(mRadioTrack);
  rig.bank.Store(23, "Forum", 98.0, bFM);
  rig.Model().TuneTo(bFM, true, 98.0);
  EXPECT_EQ(rig.state.CurrentPreset, 0);
  rig.Model().TuneTo(bFM, false, 98.0);
  EXPECT_EQ(rig.state.CurrentPreset, 23);
  EXPECT_EQ(rig.state.Page, 3);
}

TEST(PanelModelStepTest, TuneStepSettingIsClampedToOneMegahertz) {
  PanelRig rig(mRadioMan);  // 0.05 MHz minimal step, k = 20
  rig.Model().ApplyTuneStepSetting(500);
  EXPECT_DOUBLE_EQ(rig.state.CurrentStep, 0.05);
  rig.Model().ApplyTuneStepSetting(4);
  EXPECT_NEAR(rig.state.CurrentStep, 0.2, 1e-12);
  EXPECT_EQ(rig.Model().TuneStepSetting(), 4);
}

TEST(PanelModelStepTest, StepButtonsStopAtTheEndsOfTheSlider) {
  PanelRig rig(mRadioMan);
  rig.Model().ApplyTuneStepSetting(19);
  EXPECT_TRUE(rig.Model().StepUp());
  EXPECT_FALSE(rig.Model().StepUp());
  EXPECT_EQ(rig.Model().TuneStepSetting(), 20);
  rig.Model().ApplyTuneStepSetting(2);
  EXPECT_TRUE(rig.Model().StepDown());
  EXPECT_FALSE(rig.Model().StepDown());
  rig.Model().SetStepFromSlider(7);
  EXPECT_NEAR(rig.state.CurrentStep, 0.35, 1e-12);
}

TEST(PanelModelRestoreTest, KHundredsStartsOnAMWithoutACurrentPreset) {
  PanelRig rig(mRadioMan);
  rig.LoadIni("[Frequency]\nFrequency=K 000.999\n");
  rig.Model().RememberLastFrequency();
  rig.Model().RestoreStation();
  EXPECT_EQ(rig.card.Band(), bAM);
  EXPECT_NEAR(rig.card.Frequency(), 0.999, 1e-9);
}

TEST(PanelModelRestoreTest, EightySevenAloneStartsOnFMWithTheCardsOwnFrequency) {
  PanelRig rig(mRadioMan);
  const double own = rig.card.LastFM();
  rig.LoadIni("[Frequency]\nFrequency=87\n");
  rig.Model().RememberLastFrequency();
  rig.Model().RestoreStation();
  EXPECT_EQ(rig.card.Band(), bFM);
  EXPECT_DOUBLE_EQ(rig.card.Frequency(), own);
}

TEST(PanelModelRestoreTest, ACurrentPresetWinsOverTheLastFrequency) {
  PanelRig rig(mRadioTrack);
  rig.LoadIni(
      "[Frequency]\nFrequency=M 090.000\n[Presets]\nCurrent=12\nList=12,\n"
      "Station12=M 101.100 Sports\n");
  rig.state.CurrentPreset = rig.settings.Current;
  rig.Model().RememberLastFrequency();
  rig.Model().RestoreStation();
  EXPECT_NEAR(rig.card.Frequency(), 101.1, 1e-9);
  EXPECT_EQ(rig.state.CurrentPreset, 12);
  EXPECT_EQ(rig.state.Page, 2);
}

TEST(PanelModelRestoreTest, AnAMPresetOnAnFMOnlyCardFallsBackToTheDefaultFM) {
  PanelRig rig(mRadioTrack);
  rig.bank.Store(3, "Gold", 0.999, bAM);
  rig.state.CurrentPreset = 3;
  rig.Model().RestoreStation();
  EXPECT_EQ(rig.card.Band(), bFM);
  EXPECT_DOUBLE_EQ(rig.card.Frequency(), 87.0);
}

TEST(PanelModelRestoreTest, WithoutLastStationAJapaneseCardStartsAtSeventySix) {
  PanelRig rig(mRajikoma);
  rig.settings.LastStation = false;
  rig.settings.JapaneseFM = true;
  rig.card.SetJapaneseFM(true);
  rig.Model().RestoreStation();
  EXPECT_DOUBLE_EQ(rig.card.Frequency(), 76.0);
}

TEST(PanelModelPresetTest, APresetOutsideTheBandTunesTheLowerLimitAndIsNotSelected) {
  PanelRig rig(mRadioTrack);
  rig.bank.Store(5, "Tokyo", 76.1, bFM);
  EXPECT_FALSE(rig.Model().RecallPreset(5, true));
  EXPECT_DOUBLE_EQ(rig.card.Frequency(), 87.0);
  EXPECT_EQ(rig.state.CurrentPreset, 0);
}

TEST(PanelModelStereoTest, TheSwitchRetunesWithTheNewChoiceOnlyOnCardsThatHaveOne) {
  PanelRig zoltrix(mZoltrix);
  zoltrix.Model().TuneTo(bFM, false, 98.0);
  const bool before = zoltrix.state.StereoSwitch;
  zoltrix.Model().ToggleStereo();
  EXPECT_NE(zoltrix.state.StereoSwitch, before);
  EXPECT_EQ(zoltrix.card.Stereo(), zoltrix.state.StereoSwitch);
  PanelRig radioTrack(mRadioTrack);
  radioTrack.Model().ToggleStereo();
  EXPECT_FALSE(radioTrack.state.StereoSwitch);
}

TEST(ScanStepperTest, ScanUpWithNoStationEndsAtTheTopShowingNothing) {
  PanelRig rig(mRadioTrack, test::SilentLandscape());
  rig.Model().ApplyTuneStepSetting(4);  // 0.1 MHz
  rig.Model().TuneTo(bFM, false, 107.9);
  ScanStepper scan(rig.Model(), tScanDirection::Up);
  ASSERT_TRUE(scan.CanStart());
  scan.Begin();
  EXPECT_EQ(scan.Step(), tScanStep::Edge);
  scan.End();
  EXPECT_DOUBLE_EQ(rig.card.Frequency(), 108.0);
  EXPECT_EQ(rig.state.Status, sNone);
  EXPECT_FALSE(rig.state.Scanning);
  EXPECT_FALSE(ScanStepper(rig.Model(), tScanDirection::Up).CanStart());
}

TEST(ScanStepperTest, ScanStopsOnTheFirstStationOfTheLandscape) {
  PanelRig rig(mRadioTrack);
  rig.Model().ApplyTuneStepSetting(2);  // 0.05 MHz
  rig.Model().TuneTo(bFM, false, 97.5);
  ScanStepper scan(rig.Model(), tScanDirection::Up);
  scan.Begin();
  tScanStep step;
  int steps = 0;
  while ((step = scan.Step()) == tScanStep::Continue) ++steps;
  EXPECT_EQ(step, tScanStep::Found);
  EXPECT_NEAR(rig.card.Frequency(), 98.0, 0.031);  // "Radio Forum", stereo
  EXPECT_GT(steps, 5);
}

TEST(ScanStepperTest, StopRequestedEndsTheScanBeforeTheNextStep) {
  PanelRig rig(mRadioTrack, test::SilentLandscape());
  rig.Model().TuneTo(bFM, false, 90.0);
  ScanStepper scan(rig.Model(), tScanDirection::Down);
  scan.Begin();
  EXPECT_EQ(scan.Step(), tScanStep::Continue);
  rig.state.StopRequested = true;
  EXPECT_EQ(scan.Step(), tScanStep::Stopped);
  EXPECT_NEAR(rig.card.Frequency(), 89.975, 1e-9);
}

TEST(ScanStepperTest, AStepThatDoesNotMoveTheCardEndsTheScan) {
  PanelRig rig(mRadioTrack, test::SilentLandscape());
  rig.Model().TuneTo(bFM, false, 90.0);
  rig.card.SwitchOff();  // as closing does, or a card that failed to switch on
  ScanStepper scan(rig.Model(), tScanDirection::Up);
  scan.Begin();
  EXPECT_EQ(scan.Step(), tScanStep::Stopped);
  EXPECT_DOUBLE_EQ(rig.card.Frequency(), 90.0);
}

TEST(ScanStepperTest, NoScanOnAM) {
  PanelRig rig(mRadioMan);
  rig.Model().TuneTo(bAM, false, 0.999);
  EXPECT_FALSE(ScanStepper(rig.Model(), tScanDirection::Up).CanStart());
}

}  // namespace
}  // namespace ondivo
