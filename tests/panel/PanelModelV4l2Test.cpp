// The panel's tuning logic on a kernel radio device: errors of the device are told, never
// thrown, and the scan lets the device seek.
#include <gtest/gtest.h>
#include <linux/videodev2.h>

#include <string>
#include <vector>

#include "panel/PanelModel.h"
#include "panel/PanelReadout.h"
#include "panel/ScanStepper.h"
#include "radio/DeviceMessages.h"
#include "radio/RdsDecoder.h"
#include "stations/PresetsBank.h"
#include "tests/support/V4l2Rig.h"

namespace ondivo {
namespace {

struct V4l2Panel {
  V4l2Panel() : V4l2Panel(test::V4l2Rig::Setup()) {}
  explicit V4l2Panel(test::V4l2Rig::Setup setup) : card(rig.Build(std::move(setup))) {
    model.OnDeviceTrouble = [this](const char* message) { told.emplace_back(message); };
    model.ApplyTuneStepSetting(2);
    state.StereoSwitch = card.Stereo();
  }
  // Half a minute of broadcast, read as it comes.
  void Listen() {
    for (int i = 0; i < 30; ++i) {
      rig.NowMs += 1000;
      card.HandleRdsEvents();
    }
  }
  test::V4l2Rig rig;
  TRadioCard& card;
  PresetsBank bank;
  tConfiguration settings;
  tPanelState state;
  LocaleFormat locale;
  PanelModel model{card, bank, settings, state, locale};
  std::vector<std::string> told;
};

TEST(PanelModelV4l2Test, AnUnplugIsToldOnceAndEveryLaterOperationIsHarmless) {
  V4l2Panel p;
  p.model.TuneTo(bFM, false, 97.1);
  EXPECT_EQ(p.state.Status, sStereo);
  p.rig.Device->Unplug();
  EXPECT_NO_THROW(p.model.TuneTo(bFM, false, 98.0));
  EXPECT_EQ(p.told, std::vector<std::string>{kDeviceLostMessage});
  EXPECT_EQ(p.state.Status, sNone);
  EXPECT_NO_THROW(p.model.RefreshStatus());
  EXPECT_NO_THROW(p.model.TuneNext());
  EXPECT_NO_THROW(p.model.ToggleStereo());
  EXPECT_NO_THROW(p.model.SeekStep(true));
  EXPECT_EQ(p.told.size(), 1u);
}

TEST(PanelModelV4l2Test, ABusyRequestIsToldEachTimeAndTheNextOneWorks) {
  V4l2Panel p;
  p.rig.Device->FailNext(VIDIOC_G_TUNER, EBUSY);
  EXPECT_EQ(p.model.RefreshStatus(), sNone);
  p.rig.Device->FailNext(VIDIOC_S_FREQUENCY, EBUSY);
  p.model.TuneTo(bFM, false, 97.1);
  EXPECT_EQ(p.told, (std::vector<std::string>{kDeviceBusyMessage, kDeviceBusyMessage}));
  EXPECT_EQ(p.model.TuneTo(bFM, false, 97.1).Status, sStereo);
  EXPECT_DOUBLE_EQ(p.rig.Device->FrequencyMHz(), 97.1);
}

TEST(PanelModelV4l2Test, TheScanSeeksStationToStationAndStopsWhenAsked) {
  V4l2Panel p;
  p.model.TuneTo(bFM, false, 99.6);
  ScanStepper up(p.model, tScanDirection::Up);
  ASSERT_TRUE(up.CanStart());
  up.Begin();
  EXPECT_EQ(up.Step(), tScanStep::Found);
  EXPECT_DOUBLE_EQ(p.card.Frequency(), 100.3);  // Top 100, 0.7 MHz on in one seek
  EXPECT_EQ(up.LastStatus(), sStereo);
  p.state.StopRequested = true;
  EXPECT_EQ(up.Step(), tScanStep::Stopped);
  EXPECT_DOUBLE_EQ(p.card.Frequency(), 100.3);
  up.End();

  // Nothing above the last station: the seek ends at the band edge.
  p.model.TuneTo(bFM, false, 107.6);
  ScanStepper last(p.model, tScanDirection::Up);
  last.Begin();
  EXPECT_EQ(last.Step(), tScanStep::Found);  // Edge of the Dial sits on 108.0 itself
  EXPECT_DOUBLE_EQ(p.card.Frequency(), 108.0);
  EXPECT_EQ(last.Step(), tScanStep::Edge);
  last.End();
}

TEST(PanelModelV4l2Test, TheStationLabelPrefersANamedPresetThenTheServiceName) {
  V4l2Panel p;
  p.model.TuneTo(bFM, false, 97.1);
  p.Listen();
  ASSERT_EQ(p.card.Rds()->ProgramService(), "CHILL OU");
  tPanelReadout r = ReadPanel(p.card, p.state, p.bank, p.settings, p.locale);
  EXPECT_EQ(r.StationName, "CHILL OU");
  EXPECT_EQ(r.StationNumber, "??");
  p.bank.Store(4, "Mine", 97.1, bFM);
  p.model.TuneTo(bFM, false, 97.1);
  p.Listen();
  r = ReadPanel(p.card, p.state, p.bank, p.settings, p.locale);
  EXPECT_EQ(r.StationName, "Mine");
  EXPECT_EQ(r.StationNumber, "4");
  EXPECT_FALSE(r.StationHint.empty());
}

}  // namespace
}  // namespace ondivo
