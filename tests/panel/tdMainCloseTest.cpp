// Closing the real panel inside the application's event loop, as the program runs: closing in
// the middle of a scan, and a configuration that cannot be written.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "panel/tdMain.h"
#include "tests/support/PanelRig.h"
#include "tests/support/PanelWindow.h"

namespace ondivo {
namespace {

using test::PanelWindow;
using test::RadioTrackIni;

constexpr int kLoopNotEnded = 99;

// Runs start in the event loop and returns the loop's exit code: the program's own, or
// kLoopNotEnded when the window did not close and so nothing ended the loop.
int RunEventLoop(PanelWindow& p, const std::function<void()>& start) {
  QTimer::singleShot(0, p.window.get(), [&p, start] {
    start();
    QTimer::singleShot(0, p.window.get(), [&p] {
      if (!p.window->Closing()) QCoreApplication::exit(kLoopNotEnded);
    });
  });
  return QApplication::exec();
}

// Where the config folder stays writable even for root but the file cannot be replaced.
void OccupyIniWithAFolder(PanelWindow& p) {
  std::filesystem::remove(p.dir / "Ondivo.ini");
  std::filesystem::create_directory(p.dir / "Ondivo.ini");
}

struct CloseMidScan {
  const char* name;
  const char* ini;
  std::optional<tExitAnswer> answer;  // the exit dialog's, for "Ask at shutdown"
  bool sessionEnd;
  bool playingAfter;
};

class tdMainCloseMidScanTest : public testing::TestWithParam<CloseMidScan> {};

TEST_P(tdMainCloseMidScanTest, TheScanEndsAndTheProgramQuits) {
  const CloseMidScan c = GetParam();
  PanelWindow p(RadioTrackIni(std::string(c.ini) + "[Frequency]\nFrequency=M 088.000\n"),
                mRadioTrack, test::SilentLandscape());
  ASSERT_TRUE(p.Create());
  if (c.answer) p.exitAnswer = *c.answer;
  int steps = 0, stepsAtClose = 0;
  p.window->OnScanStep = [&] {
    ++steps;
    if (steps == 3) {
      stepsAtClose = steps;
      if (c.sessionEnd) {
        p.window->SessionEnd();
      } else {  // the window manager's close arrives between two steps
        QMetaObject::invokeMethod(
            p.window.get(), [&p] { p.window->close(); }, Qt::QueuedConnection);
      }
    }
    if (steps > 50) {  // a scan that never ends: stop it so that the test can report
      ADD_FAILURE() << "the scan went on after the close";
      p.window->MutableState().StopRequested = true;
    }
  };
  EXPECT_EQ(RunEventLoop(p, [&p] { p.window->Run(cmScanRight); }), 0);
  EXPECT_LE(steps - stepsAtClose, 1);
  EXPECT_FALSE(p.window->State().Scanning);
  EXPECT_TRUE(p.window->Closing());
  EXPECT_TRUE(p.window->Saved());
  EXPECT_EQ(p.card.On(), c.playingAfter);
  EXPECT_EQ(p.exitShown.size(), c.answer ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EachShutDownSetting, tdMainCloseMidScanTest,
    testing::Values(CloseMidScan{"Mute", "ShutDown=0\n", std::nullopt, false, false},
                    CloseMidScan{"Leave", "ShutDown=1\n", std::nullopt, false, true},
                    CloseMidScan{"AskYes", "ShutDown=2\n", tExitAnswer::KeepPlaying, false, true},
                    CloseMidScan{"AskNo", "ShutDown=2\n", tExitAnswer::SwitchOff, false, false},
                    CloseMidScan{"SessionEnd", "ShutDown=1\n", std::nullopt, true, false}),
    [](const testing::TestParamInfo<CloseMidScan>& info) { return info.param.name; });

TEST(tdMainCloseTest, AFailedSaveKeepsThePanelOpenAndPlayingUntilASaveSucceeds) {
  PanelWindow p(RadioTrackIni("ShutDown=2\n"));
  ASSERT_TRUE(p.Create());
  OccupyIniWithAFolder(p);
  p.exitAnswer = tExitAnswer::SwitchOff;
  EXPECT_FALSE(p.window->close());
  ASSERT_EQ(p.exitShown.size(), 1u);
  const std::string message = "Unable to write to " + (p.dir / "Ondivo.ini").string();
  EXPECT_EQ(p.prompts.Messages(), std::vector<std::string>{message});
  EXPECT_TRUE(p.window->isVisible());  // back from behind the exit dialog
  EXPECT_FALSE(p.window->State().DialogOpen);
  EXPECT_TRUE(p.card.On());  // nothing happened to the radio
  EXPECT_FALSE(p.window->Saved());

  std::filesystem::remove(p.dir / "Ondivo.ini");  // the user made room
  EXPECT_TRUE(p.window->close());
  EXPECT_TRUE(p.window->Saved());
  EXPECT_FALSE(p.card.On());
  EXPECT_NE(p.Ini().find("ShutDown=2"), std::string::npos);
}

TEST(tdMainCloseTest, ASessionEndThatCannotSaveLogsItAndEndsWithoutAsking) {
  PanelWindow p(RadioTrackIni("ShutDown=1\n"));
  ASSERT_TRUE(p.Create());
  OccupyIniWithAFolder(p);
  testing::internal::CaptureStderr();
  const int code = RunEventLoop(p, [&p] { p.window->SessionEnd(); });
  const std::string logged = testing::internal::GetCapturedStderr();
  EXPECT_EQ(code, 1);
  EXPECT_TRUE(p.prompts.shown.empty());
  EXPECT_NE(logged.find("Unable to write to " + (p.dir / "Ondivo.ini").string()), std::string::npos)
      << logged;
  EXPECT_TRUE(p.window->Closing());
  EXPECT_FALSE(p.card.On());
}

}  // namespace
}  // namespace ondivo
