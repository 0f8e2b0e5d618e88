// The scan on the real panel: where it stops, what it shows, and what the panel refuses while
// it runs.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

#include "panel/tdMain.h"
#include "tests/support/PanelRig.h"
#include "tests/support/PanelWindow.h"

namespace ondivo {
namespace {

using test::PanelWindow;
using test::RadioTrackIni;

TEST(tdMainScanTest, ScanUpWithNoStationStopsAtTheTopShowingQuestionMarks) {
  PanelWindow p(RadioTrackIni("[Frequency]\nFrequency=M 107.900\nTuneStep=4\n"), mRadioTrack,
                test::SilentLandscape());
  ASSERT_TRUE(p.Create());
  ASSERT_NEAR(p.card.Frequency(), 107.9, 1e-9);
  int steps = 0;
  p.window->OnScanStep = [&] { ++steps; };
  p.window->Run(cmScanRight);
  EXPECT_EQ(steps, 1);
  EXPECT_DOUBLE_EQ(p.card.Frequency(), 108.0);
  EXPECT_EQ(p.window->StatusLabel()->text(), "?????");
  EXPECT_FALSE(p.window->State().Scanning);
  EXPECT_TRUE(p.window->StopScanButton()->isHidden());
  EXPECT_FALSE(p.window->Action(cmScanRight)->isEnabled());
  EXPECT_FALSE(p.window->Action(cmIncFreq)->isEnabled());
  EXPECT_FALSE(p.window->Action(cmStopScan)->isEnabled());
}

TEST(tdMainScanTest, ScanStopsOnTheFirstStationAndShowsWhatTheCardReports) {
  PanelWindow p(RadioTrackIni("[Frequency]\nFrequency=M 093.200\nTuneStep=2\n"));
  ASSERT_TRUE(p.Create());
  ASSERT_TRUE(p.window->isVisible());
  bool statusShownDuringScan = true;
  p.window->OnScanStep = [&] { statusShownDuringScan = p.window->StatusLabel()->isVisible(); };
  p.window->Run(cmScanLeft);
  EXPECT_FALSE(statusShownDuringScan);           // the scan icon stands in its place
  EXPECT_NEAR(p.card.Frequency(), 93.0, 0.031);  // "Rock Harbour", stereo
  const QString shown = p.window->StatusLabel()->text();
  EXPECT_EQ(shown, "Stereo");
  EXPECT_EQ(shown.toStdString(), StatusFlag(p.card.GetSignal(), 7).Text);
  EXPECT_TRUE(p.window->StatusLabel()->isVisible());
}

TEST(tdMainScanTest, HaltScanningPostedDuringTheScanEndsItAndANestedScanIsRefused) {
  PanelWindow p(RadioTrackIni("[Frequency]\nFrequency=M 088.000\n"), mRadioTrack,
                test::SilentLandscape());
  ASSERT_TRUE(p.Create());
  int steps = 0;
  double nestedFrom = 0;
  p.window->OnScanStep = [&] {
    ++steps;
    EXPECT_TRUE(p.window->State().Scanning);
    EXPECT_TRUE(p.window->Action(cmStopScan)->isEnabled());
    if (steps == 3) {
      nestedFrom = p.card.Frequency();
      p.window->Run(cmScanLeft);  // refused while a scan runs
      EXPECT_DOUBLE_EQ(p.card.Frequency(), nestedFrom);
      QMetaObject::invokeMethod(p.window->StopScanButton(), &QToolButton::click,
                                Qt::QueuedConnection);
    }
  };
  p.window->Run(cmScanRight);
  EXPECT_EQ(steps, 4);  // the posted click ran in the fourth turn and ended the loop
  EXPECT_FALSE(p.window->State().Scanning);
  EXPECT_LT(p.card.Frequency(), 88.1);
  EXPECT_GT(p.card.Frequency(), 88.0);
}

// Everything that would move the tuner, from the menus, the keys and the panel's own controls,
// is refused while a scan runs; the scan goes on undisturbed and ends in FM.
TEST(tdMainScanTest, NothingTunesWhileScanning) {
  PanelWindow p(
      "[Configuration]\nHardware=4\nPort=2\nVolumeLine=1\n"
      "[Frequency]\nFrequency=M 098.500\nTuneStep=2\n",
      mRadioMan, test::SilentLandscape());
  ASSERT_TRUE(p.Create());
  ASSERT_TRUE(p.window->AMButton()->isEnabled());  // the RadioMan has AM
  const auto button = [&](const char* name) { return p.window->findChild<QToolButton*>(name); };
  const auto slider = [&](const char* name) { return p.window->findChild<QSlider*>(name); };
  const double stepBefore = p.window->State().CurrentStep;
  std::vector<double> stepped;  // the frequency at each turn of the scan loop
  p.window->OnScanStep = [&] {
    stepped.push_back(p.card.Frequency());
    if (stepped.size() == 3) p.window->Run(cmStopScan);
    if (stepped.size() != 2) return;
    for (tCommandId id : {cmDecFreq, cmIncFreq, cmDecStep, cmIncStep, cmJump}) p.window->Run(id);
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, "+");
    QApplication::sendEvent(p.window.get(), &plus);
    for (const char* name : {"btTunePrev", "btTuneNext", "btSpinStepUp", "btSpinStepDown", "btAM"})
      emit button(name)->clicked();  // as a click would, were the button enabled
    emit slider("sStep")->valueChanged(7);
    p.window->AMButton()->click();
    EXPECT_FALSE(p.window->AMButton()->isEnabled());
    EXPECT_DOUBLE_EQ(p.card.Frequency(), stepped.back());
    EXPECT_EQ(p.card.Band(), bFM);
    EXPECT_TRUE(p.window->StopScanButton()->isVisible());
    EXPECT_FALSE(button("btScanNext")->isVisible());  // the scan buttons stay under Stop
  };
  p.window->Run(cmScanRight);
  ASSERT_EQ(stepped.size(), 3u);
  EXPECT_NEAR(stepped[1] - stepped[0], stepBefore, 1e-9);
  EXPECT_NEAR(stepped[2] - stepped[1], stepBefore, 1e-9);  // one unchanged step on
  EXPECT_DOUBLE_EQ(p.window->State().CurrentStep, stepBefore);
  EXPECT_EQ(p.jumpShown, 0);
  EXPECT_EQ(p.card.Band(), bFM);
  EXPECT_TRUE(p.window->FMButton()->isChecked());
  EXPECT_FALSE(p.window->AMButton()->isChecked());
  EXPECT_TRUE(p.window->AMButton()->isEnabled());
  EXPECT_TRUE(button("btScanNext")->isVisible());
}

}  // namespace
}  // namespace ondivo
