// The front panel on a kernel radio device, wired as --simulate wires it: the emulated receiver
// at /dev/radio0 with stereo, RDS and hardware seek, its RDS on a clock the test moves.
#include <gtest/gtest.h>
#include <linux/videodev2.h>

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QToolButton>
#include <functional>
#include <memory>

#include "panel/tdMain.h"
#include "radio/DeviceMessages.h"
#include "radio/RdsDecoder.h"
#include "sim/EmulatedV4l2Radio.h"
#include "tests/support/PanelRig.h"
#include "tests/support/PanelWindow.h"

namespace ondivo {
namespace {

using sim::EmulatedV4l2Radio;

std::string V4l2Ini(const std::string& more = "") {
  return "[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\n"
         "[Frequency]\nFrequency=M 097.100\nTuneStep=2\n" +
         more;
}

// Runs the event loop until done or a generous deadline; wakes on events, never sleeps blind.
bool RunUntil(const std::function<bool()>& done) {
  QDeadlineTimer deadline(5000);
  while (!done() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  return done();
}

class tdMainV4l2Test : public ::testing::Test {
 protected:
  test::PanelWindow& Open(const std::string& ini, EmulatedV4l2Radio::Options options = {},
                          sim::StationLandscape landscape = {}) {
    p_ = std::make_unique<test::PanelWindow>(ini, mRadioTrack, landscape);
    options.NowMs = [this] { return nowMs_; };
    device_ = sim::PlugSimulatedV4l2Radio(p_->card, landscape, {}, options).Device;
    return *p_;
  }
  std::string Label() const { return p_->window->StationLabel()->text().toStdString(); }
  std::string Hint() const { return p_->window->StationLabel()->toolTip().toStdString(); }
  // Broadcast time goes on while the event loop runs, until done.
  bool Listen(const std::function<bool()>& done) {
    return RunUntil([&] {
      nowMs_ += 500;
      return done();
    });
  }
  bool ListenUntilNamed(const std::string& name) {
    return Listen([&] { return Label() == name; });
  }
  size_t CountMessages(const std::string& text) const {
    const auto m = p_->prompts.Messages();
    return static_cast<size_t>(std::count(m.begin(), m.end(), text));
  }

  int64_t nowMs_ = 1000;
  std::unique_ptr<test::PanelWindow> p_;
  EmulatedV4l2Radio* device_ = nullptr;
};

TEST_F(tdMainV4l2Test, PlaysTunesAndShowsTheServiceNameWithTheRadioTextAsHint) {
  test::PanelWindow& p = Open(V4l2Ini());
  ASSERT_TRUE(p.Create());
  EXPECT_EQ(p.card.Model(), mV4l2);
  EXPECT_EQ(p.card.GetDevCap(mV4l2).Name, "Ondivo emulated radio");
  EXPECT_DOUBLE_EQ(device_->FrequencyMHz(), 97.1);
  EXPECT_EQ(p.window->StatusLabel()->text(), "Stereo");
  EXPECT_EQ(Label(), "") << "no name before the first groups";
  EXPECT_EQ(Hint(), "Name of the radio station");

  ASSERT_TRUE(ListenUntilNamed("CHILL OU"));
  ASSERT_TRUE(Listen([&] { return Hint() == "You are listening to Chill Out on 97.10 MHz"; }));
  EXPECT_EQ(p.window->windowTitle(), "Ondivo - 97.1 MHz") << "the title names presets only";
  EXPECT_EQ(p.window->NameToStore(5), "CHILL OU");

  // Another station: the old name goes at once, the new one comes with its groups.
  p.window->Run(cmIncFreq);
  EXPECT_DOUBLE_EQ(device_->FrequencyMHz(), 97.2);
  EXPECT_EQ(Label(), "");
  EXPECT_EQ(Hint(), "Name of the radio station");
  EXPECT_EQ(p.window->StatusLabel()->text(), "?????");
  p.window->TuneTo(bFM, false, 98.0);
  ASSERT_TRUE(ListenUntilNamed("RADIO FO"));
  EXPECT_TRUE(p.prompts.Messages().empty());
}

TEST_F(tdMainV4l2Test, ScanSeeksInOneStepToTheNextStationEitherWay) {
  test::PanelWindow& p = Open(V4l2Ini());
  ASSERT_TRUE(p.Create());
  int steps = 0;
  p.window->OnScanStep = [&] { ++steps; };
  p.window->Run(cmScanRight);  // stepping 0.1 MHz would take nine steps
  EXPECT_EQ(steps, 1);
  EXPECT_DOUBLE_EQ(p.card.Frequency(), 98.0);  // Radio Forum
  EXPECT_DOUBLE_EQ(device_->FrequencyMHz(), 98.0);
  EXPECT_EQ(p.window->StatusLabel()->text(), "Stereo");
  EXPECT_FALSE(p.window->State().Scanning);
  steps = 0;
  p.window->Run(cmScanLeft);
  p.window->Run(cmScanLeft);
  EXPECT_EQ(steps, 2);
  EXPECT_DOUBLE_EQ(p.card.Frequency(), 96.25);  // Parliament Live, mono
  EXPECT_EQ(p.window->StatusLabel()->text(), "Mono");
  nowMs_ += 5000;
  test::PanelWindow::Settle();
  EXPECT_EQ(Label(), "") << "a mono station without RDS";
}

TEST_F(tdMainV4l2Test, HaltScanningEndsASeekingScanBetweenSeeks) {
  EmulatedV4l2Radio::Options options;
  options.HardwareSeek = EmulatedV4l2Radio::Seek::BoundedLimits;  // 1 MHz a call
  test::PanelWindow& p = Open(V4l2Ini(), options, test::SilentLandscape());
  ASSERT_TRUE(p.Create());
  p.window->TuneTo(bFM, false, 88.0);
  int steps = 0;
  p.window->OnScanStep = [&] {
    if (++steps == 3) {
      QMetaObject::invokeMethod(p.window->StopScanButton(), &QToolButton::click,
                                Qt::QueuedConnection);
    }
  };
  p.window->Run(cmScanRight);
  EXPECT_EQ(steps, 4);  // the posted click ran in the fourth turn, before a fourth seek
  EXPECT_DOUBLE_EQ(p.card.Frequency(), 91.0);
  EXPECT_FALSE(p.window->State().Scanning);
  EXPECT_TRUE(p.window->StopScanButton()->isHidden());
  EXPECT_EQ(p.window->StatusLabel()->text(), "?????");
}

TEST_F(tdMainV4l2Test, ANamedPresetKeepsItsNameAnUnnamedOneShowsTheServiceName) {
  test::PanelWindow& p =
      Open(V4l2Ini("[Presets]\nCurrent=0\nList=1,2,\nStation01=M 097.100 My Chill\n"
                   "Station02=M 104.300\n"));
  ASSERT_TRUE(p.Create());
  EXPECT_EQ(p.window->State().CurrentPreset, 1) << "the start frequency is preset 1";
  ASSERT_TRUE(Listen([&] { return Hint() == "You are listening to Chill Out on 97.10 MHz"; }));
  EXPECT_EQ(Label(), "My Chill");

  p.window->btRadioClick(2);
  EXPECT_DOUBLE_EQ(device_->FrequencyMHz(), 104.3);
  EXPECT_EQ(p.window->State().CurrentPreset, 2);
  EXPECT_EQ(p.window->NameToStore(2), "") << "no name yet, and the preset has none";
  ASSERT_TRUE(ListenUntilNamed("BLUES AV"));
  EXPECT_EQ(p.window->windowTitle(), "Ondivo - 104.3 MHz");
  EXPECT_EQ(p.window->NameToStore(2), "BLUES AV");

  p.window->btRadioClick(1);
  EXPECT_EQ(Label(), "My Chill");
  EXPECT_EQ(p.window->NameToStore(1), "My Chill") << "before the station's own name is in";
}

TEST_F(tdMainV4l2Test, RenamingOffersTheServiceNameOnlyForThePresetOfTheStationPlaying) {
  test::PanelWindow& p =
      Open(V4l2Ini("[Presets]\nCurrent=0\nList=1,2,\nStation01=M 097.100 My Chill\n"
                   "Station02=M 104.300 Blues\n"));
  ASSERT_TRUE(p.Create());
  ASSERT_EQ(p.window->State().CurrentPreset, 1);
  ASSERT_TRUE(Listen([&] { return p.card.Rds() && !p.card.Rds()->ProgramService().empty(); }));

  p.window->btMenuPopup(2);  // preset 2's button, while 97.1 plays
  p.window->Popup_Rename();
  p.window->Stations_Rename();  // preset 1, the station playing
  EXPECT_EQ(p.askNameShown, (std::vector<std::string>{"Blues", "CHILL OU"}));
}

TEST_F(tdMainV4l2Test, UnplugWhileIdleIsToldOnceAndTheRadioComesBackThroughSetup) {
  test::PanelWindow& p = Open(V4l2Ini());
  ASSERT_TRUE(p.Create());
  ASSERT_TRUE(ListenUntilNamed("CHILL OU"));

  device_->Unplug();  // the RDS descriptor hangs up: the panel hears of it without a command
  ASSERT_TRUE(RunUntil([&] { return CountMessages(kDeviceLostMessage) == 1; }));
  EXPECT_TRUE(p.card.DeviceLost());
  EXPECT_EQ(Label(), "");
  EXPECT_EQ(p.window->StatusLabel()->text(), "?????");

  // Everything still answers, and nothing is told twice.
  p.window->Run(cmIncFreq);
  p.window->Run(cmScanRight);
  p.window->Run(cmMuteOnOff);
  p.window->Run(cmMuteOnOff);
  p.window->btRadioClick(1);
  p.window->ClockTimer();
  test::PanelWindow::Settle();
  EXPECT_EQ(p.prompts.Messages().size(), 1u);
  EXPECT_FALSE(p.window->State().Scanning);
  EXPECT_TRUE(p.window->Action(cmScanLeft)->isEnabled());

  // Plugged in again, Setup with the same choice switches it on.
  device_->Replug();
  tConfiguration same = p.window->Settings();
  p.setupAnswer = same;
  p.window->Run(cmSetup);
  test::PanelWindow::Settle();
  EXPECT_FALSE(p.card.DeviceLost());
  EXPECT_EQ(device_->Opens(), 2);
  EXPECT_EQ(p.prompts.Messages().size(), 1u);
  p.window->TuneTo(bFM, false, 97.1);
  EXPECT_EQ(p.window->StatusLabel()->text(), "Stereo");
  ASSERT_TRUE(ListenUntilNamed("CHILL OU"));
}

TEST_F(tdMainV4l2Test, UnplugMidScanOnADeviceWithoutRdsEndsTheScanAndIsTold) {
  EmulatedV4l2Radio::Options options;
  options.Rds = false;
  options.HardwareSeek = EmulatedV4l2Radio::Seek::None;  // the stepping scan
  test::PanelWindow& p = Open(V4l2Ini(), options, test::SilentLandscape());
  ASSERT_TRUE(p.Create());
  int steps = 0;
  p.window->OnScanStep = [&] {
    if (++steps == 3) device_->Unplug();
  };
  p.window->Run(cmScanRight);
  EXPECT_EQ(steps, 3) << "the step that met the unplug was the last";
  EXPECT_FALSE(p.window->State().Scanning);
  EXPECT_TRUE(p.window->StopScanButton()->isHidden());
  EXPECT_TRUE(p.prompts.Messages().empty()) << "told after the scan has ended";
  test::PanelWindow::Settle();
  EXPECT_EQ(p.prompts.Messages(), std::vector<std::string>{kDeviceLostMessage});
  EXPECT_EQ(p.window->StatusLabel()->text(), "?????");
}

TEST_F(tdMainV4l2Test, ABusyDeviceIsToldAtStartAndOnARequestAndThePanelGoesOn) {
  test::PanelWindow& p = Open(V4l2Ini());
  device_->SetBusy(true);
  ASSERT_TRUE(p.Create());
  test::PanelWindow::Settle();
  EXPECT_EQ(p.prompts.Messages(), std::vector<std::string>{kDeviceBusyMessage});

  device_->SetBusy(false);
  p.setupAnswer = p.window->Settings();
  p.window->Run(cmSetup);
  EXPECT_FALSE(p.card.DeviceLost());
  device_->FailNext(VIDIOC_S_FREQUENCY, EBUSY);
  p.window->Run(cmIncFreq);
  test::PanelWindow::Settle();
  EXPECT_EQ(p.prompts.Messages().size(), 2u);
  EXPECT_EQ(p.prompts.Messages().back(), kDeviceBusyMessage);
  p.window->TuneTo(bFM, false, 98.0);
  EXPECT_DOUBLE_EQ(device_->FrequencyMHz(), 98.0);
  EXPECT_EQ(p.window->StatusLabel()->text(), "Stereo");
}

TEST_F(tdMainV4l2Test, ADeviceNodeThatIsNotThereIsNamed) {
  test::PanelWindow& p = Open("[Configuration]\nHardware=8\nPort=3\nVolumeLine=1\n");
  ASSERT_TRUE(p.Create());
  EXPECT_EQ(p.prompts.Messages(), std::vector<std::string>{DeviceOpenMessage("/dev/radio2")});
  p.window->Run(cmIncFreq);
  p.window->Run(cmScanRight);
  test::PanelWindow::Settle();
  EXPECT_EQ(p.prompts.Messages().size(), 1u);
}

}  // namespace
}  // namespace ondivo
