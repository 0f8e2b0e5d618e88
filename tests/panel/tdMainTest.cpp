#include "panel/tdMain.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <set>

#include "panel/HelpWindow.h"
#include "tests/support/PanelRig.h"
#include "tests/support/PanelWindow.h"

namespace ondivo {
namespace {

using test::PanelWindow;
using test::RadioTrackIni;

template <typename T>
T* Child(tdMain& w, const char* name) {
  return w.findChild<T*>(name);
}

TEST(tdMainTuningTest, DraggingOverAPresetSelectsNothingAndReleasingOnlyReadsTheStatus) {
  PanelWindow p(
      RadioTrackIni("[Frequency]\nFrequency=M 090.000\n[Presets]\nList=5,\n"
                    "Station05=M 098.000 Radio Forum\n"));
  ASSERT_TRUE(p.Create());
  QSlider* slider = p.window->FrequencySlider();
  const QString statusBefore = p.window->StatusLabel()->text();
  slider->setSliderDown(true);
  slider->setValue(98000);
  EXPECT_DOUBLE_EQ(p.card.Frequency(), 98.0);
  EXPECT_EQ(p.window->State().CurrentPreset, 0);
  EXPECT_EQ(p.window->StatusLabel()->text(), statusBefore);  // no status read while dragging
  EXPECT_EQ(p.window->windowTitle(), "Ondivo - 98. MHz");
  slider->setSliderDown(false);
  EXPECT_EQ(p.window->StatusLabel()->text(), "Stereo");
  EXPECT_EQ(p.window->State().CurrentPreset, 0);
  p.window->Run(cmIncFreq);
  p.window->Run(cmDecFreq);
  EXPECT_EQ(p.window->State().CurrentPreset, 5);
  EXPECT_EQ(p.window->windowTitle(), "Ondivo - Radio Forum (98. MHz)");
}

TEST(tdMainTuningTest, AMShowsTwelveScaleLabelsAndHidesScanAndStep) {
  PanelWindow p("[Configuration]\nHardware=4\nPort=2\nVolumeLine=1\n", mRadioMan);
  ASSERT_TRUE(p.Create());
  p.window->AMButton()->click();
  ASSERT_EQ(p.card.Band(), bAM);
  int shown = 0;
  for (QLabel* label : p.window->ScaleLabelWidgets()) shown += label->isHidden() ? 0 : 1;
  EXPECT_EQ(shown, 12);
  EXPECT_EQ(p.window->ScaleLabelWidgets()[11]->text(), "1620");
  for (const char* name :
       {"btScanPrev", "btScanNext", "sStep", "btSpinStepUp", "Step", "LStep", "LScan"}) {
    QWidget* w = p.window->findChild<QWidget*>(name);
    ASSERT_NE(w, nullptr) << name;
    EXPECT_TRUE(w->isHidden()) << name;
  }
  EXPECT_EQ(Child<QToolButton>(*p.window, "btJump")->x(), 71);
  p.window->FMButton()->click();
  EXPECT_EQ(p.card.Band(), bFM);
  shown = 0;
  for (QLabel* label : p.window->ScaleLabelWidgets()) shown += label->isHidden() ? 0 : 1;
  EXPECT_EQ(shown, 8);
  EXPECT_EQ(Child<QToolButton>(*p.window, "btJump")->x(), 196);
}

TEST(tdMainTuningTest, TheAMButtonIsDisabledOnAnFMOnlyCard) {
  PanelWindow p(RadioTrackIni());
  ASSERT_TRUE(p.Create());
  EXPECT_FALSE(p.window->AMButton()->isEnabled());
  EXPECT_TRUE(p.window->FMButton()->isEnabled());
}

TEST(tdMainTuningTest, KeysRunTheirCommands) {
  PanelWindow p(RadioTrackIni("[Frequency]\nFrequency=M 098.000\nTuneStep=4\n"));
  ASSERT_TRUE(p.Create());
  QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, "+");
  QApplication::sendEvent(p.window.get(), &plus);
  EXPECT_NEAR(p.card.Frequency(), 98.1, 1e-9);
  QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, Qt::NoModifier, ",");
  QApplication::sendEvent(p.window.get(), &comma);  // "Step -"
  EXPECT_NEAR(p.window->State().CurrentStep, 0.075, 1e-12);
  QKeyEvent one(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1");
  QApplication::sendEvent(p.window.get(), &one);
  EXPECT_EQ(p.window->Settings().DisplayType, 1);
}

void CollectActions(QMenu* menu, std::set<QAction*>& out) {
  for (QAction* a : menu->actions()) {
    out.insert(a);
    if (a->menu()) CollectActions(a->menu(), out);
  }
}

TEST(tdMainDisplayTest, ModeOneHidesEveryButtonWhileTheTrayMenuReachesEveryCommand) {
  PanelWindow p(RadioTrackIni());
  ASSERT_TRUE(p.Create());
  p.window->Run(cmMinimal);
  for (QToolButton* b : p.window->centralWidget()->findChildren<QToolButton*>()) {
    EXPECT_FALSE(b->isVisibleTo(p.window.get())) << b->objectName().toStdString();
  }
  EXPECT_FALSE(p.window->TunerGroup()->isEnabled());
  EXPECT_EQ(p.window->centralWidget()->size(), QSize(306, 74));
  // Every menu of the bar stands on it, none behind the overflow button.
  QMenuBar* bar = p.window->menuBar();
  for (QAction* menu : bar->actions()) {
    EXPECT_LE(bar->actionGeometry(menu).right(), bar->width()) << menu->text().toStdString();
  }
  std::set<QAction*> reachable;
  CollectActions(p.window->TrayMenu(), reachable);
  for (const tPanelCommand& c : kPanelCommands) {
    EXPECT_TRUE(reachable.count(p.window->Action(c.Id))) << c.Caption;
  }
  EXPECT_TRUE(p.window->Action(cmIncFreq)->isEnabled());
  p.window->Action(cmIncFreq)->trigger();
  EXPECT_NEAR(p.card.Frequency(), 87.025, 1e-9);
  p.window->Action(cmComplete)->trigger();
  EXPECT_EQ(p.window->centralWidget()->size(), QSize(623, 121));
  EXPECT_TRUE(p.window->Action(cmComplete)->isChecked());
}

TEST(tdMainDialogsTest, EscapeClosesTheHelpWindow) {
  PanelWindow p(RadioTrackIni());
  ASSERT_TRUE(p.Create());
  p.window->Run(cmHelp);
  auto* help = p.window->findChild<HelpWindow*>();
  ASSERT_NE(help, nullptr);
  ASSERT_TRUE(help->isVisible());
  QApplication::processEvents();  // the window system makes it the active window
  QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
  EXPECT_FALSE(help->isVisible());
}

TEST(tdMainDisplayTest, ADisplayTypeOutOfRangeStartsComplete) {
  PanelWindow p(RadioTrackIni("[DisplayMode]\nDisplayType=9\n"));
  ASSERT_TRUE(p.Create());
  EXPECT_EQ(p.window->Settings().DisplayType, 0);
  EXPECT_FALSE(p.window->TunerGroup()->isHidden());
  EXPECT_FALSE(p.window->ButtonRows()->isHidden());
}

TEST(tdMainDisplayTest, ColourAndStyleSettingsReachTheReadout) {
  PanelWindow p(RadioTrackIni("ColorText=0\nStyle=3\n"), mRadioTrack, test::SilentLandscape());
  ASSERT_TRUE(p.Create());
  EXPECT_EQ(p.window->StatusLabel()->text(), "?????");
  EXPECT_EQ(p.window->StatusLabel()->palette().color(QPalette::WindowText), QColor(128, 128, 128));
  EXPECT_EQ(p.window->Readout().TextBright, 15);
  EXPECT_EQ(p.window->Readout().Look.Style, ds7Seg);
}

TEST(tdMainCloseTest, NotExitSavesNothingAndAHiddenPanelStaysHidden) {
  const std::string ini = RadioTrackIni("ShutDown=2\n");
  PanelWindow p(ini);
  ASSERT_TRUE(p.Create());
  p.window->Do_Hide();
  ASSERT_TRUE(p.window->State().Hidden);
  p.exitAnswer = tExitAnswer::NotExit;
  EXPECT_FALSE(p.window->close());
  ASSERT_EQ(p.exitShown.size(), 1u);
  EXPECT_TRUE(p.exitShown[0]);  // "&Yes" is enabled for a RadioTrack
  EXPECT_FALSE(p.window->Saved());
  EXPECT_EQ(p.Ini(), ini);
  EXPECT_TRUE(p.window->State().Hidden);
  EXPECT_FALSE(p.window->State().DialogOpen);
  EXPECT_TRUE(p.card.On());
}

TEST(tdMainCloseTest, NotExitBringsAShownPanelBack) {
  PanelWindow p(RadioTrackIni());
  ASSERT_TRUE(p.Create());
  ASSERT_TRUE(p.window->isVisible());
  EXPECT_FALSE(p.window->close());
  EXPECT_TRUE(p.window->isVisible());
}

TEST(tdMainCloseTest, NoSwitchesOffAndSavesTheStation) {
  PanelWindow p(RadioTrackIni("[Frequency]\nFrequency=M 098.000\n"));
  ASSERT_TRUE(p.Create());
  p.window->Run(cmIncFreq);
  p.exitAnswer = tExitAnswer::SwitchOff;
  EXPECT_TRUE(p.window->close());
  EXPECT_FALSE(p.card.On());
  EXPECT_NE(p.Ini().find("Frequency=M 098.025"), std::string::npos) << p.Ini();
}

TEST(tdMainCloseTest, SerialModelsCannotKeepPlaying) {
  PanelWindow p("[Configuration]\nHardware=4\nPort=2\nVolumeLine=1\n", mRadioMan);
  ASSERT_TRUE(p.Create());
  p.window->close();
  ASSERT_EQ(p.exitShown.size(), 1u);
  EXPECT_FALSE(p.exitShown[0]);
}

TEST(tdMainCloseTest, ASessionEndWithLeaveInCurrentStateSwitchesOffAndSaves) {
  PanelWindow p(RadioTrackIni("ShutDown=1\n"));
  ASSERT_TRUE(p.Create());
  p.window->SessionEnd();
  PanelWindow::Settle();
  EXPECT_TRUE(p.exitShown.empty());
  EXPECT_FALSE(p.card.On());
  EXPECT_TRUE(p.window->Saved());
  EXPECT_NE(p.Ini().find("ShutDown=1"), std::string::npos);
}

TEST(tdMainCloseTest, AnUnreadableIniIsKeptAsBakAndSaidOnce) {
  PanelWindow p("");
  std::filesystem::create_directory(p.dir / "Ondivo.ini");  // reads as unreadable
  p.setupAnswer = tConfiguration{};
  p.setupAnswer->Hardware = 1;
  p.setupAnswer->Port = 1;
  p.setupAnswer->ShutDown = 0;
  ASSERT_TRUE(p.Create());
  EXPECT_TRUE(p.window->close());
  EXPECT_TRUE(std::filesystem::is_directory(p.dir / "Ondivo.ini.bak"));
  EXPECT_TRUE(std::filesystem::is_regular_file(p.dir / "Ondivo.ini"));
  EXPECT_EQ(p.prompts.Messages().size(), 1u);
}

TEST(tdMainStartTest, AFirstRunCancelledWritesNothing) {
  PanelWindow p("");
  EXPECT_FALSE(p.Create());
  ASSERT_EQ(p.setupShown.size(), 1u);
  EXPECT_EQ(p.setupShown[0].Port, 1);  // the model's default port is offered
  EXPECT_EQ(test::CountEntries(p.dir.Path()), 0u);
  EXPECT_FALSE(p.window->State().DialogOpen);
}

TEST(tdMainStartTest, TheConfigureSwitchOpensSetupOnACompleteFile) {
  PanelWindow p(RadioTrackIni());
  // The switch arrives through the services; rebuild the window with it set.
  tConfiguration answer;
  answer.Hardware = 1;
  answer.Port = 2;
  tMainServices s;
  s.Card = &p.card;
  s.Prompts = &p.prompts;
  s.ConfigDir = p.dir.Path();
  s.ConfigureSwitch = true;
  int shown = 0;
  s.RunSetup = [&](QWidget*, const tConfiguration&, TRadioCard& radio) {
    ++shown;
    return std::optional(tSetupValues::FromPanel(answer, radio, nullptr));
  };
  tdMain window(std::move(s));
  ASSERT_TRUE(window.Create());
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(p.card.Port(), 2);
}

TEST(tdMainStartTest, TheTipOfTheDayReportsWhetherItStaysOn) {
  PanelWindow p(RadioTrackIni("TipOfTheDay=1\n"));
  p.tipsAnswer = false;
  ASSERT_TRUE(p.Create());
  ASSERT_EQ(p.tipsShown.size(), 1u);
  EXPECT_EQ(p.tipsShown[0].filename(), "Ondivo.txt");
  EXPECT_FALSE(p.window->Settings().TipOfTheDay);
}

TEST(tdMainDialogsTest, JumpToTunesWhatTheDialogChose) {
  PanelWindow p("[Configuration]\nHardware=4\nPort=2\nVolumeLine=1\n", mRadioMan);
  ASSERT_TRUE(p.Create());
  p.jumpAnswer = tJumpTarget{bAM, 0.999};
  p.window->Run(cmJump);
  EXPECT_EQ(p.jumpShown, 1);
  EXPECT_TRUE(p.dialogOpenDuringJump);
  EXPECT_FALSE(p.window->State().DialogOpen);
  EXPECT_EQ(p.card.Band(), bAM);
  EXPECT_NEAR(p.card.Frequency(), 0.999, 1e-9);
  EXPECT_EQ(p.window->windowTitle(), "Ondivo - 999 kHz");
  p.window->MutableState().Scanning = true;
  p.window->Run(cmJump);
  EXPECT_EQ(p.jumpShown, 1);
}

TEST(tdMainDialogsTest, SettingsChangingToASerialModelSwitchesTheCardAndWaits) {
  PanelWindow p(RadioTrackIni("[Frequency]\nFrequency=M 098.000\n"));
  ASSERT_TRUE(p.Create());
  tConfiguration chosen = p.window->Settings();
  chosen.Hardware = 4;  // RadioMan
  chosen.Port = 3;
  chosen.Style = 0;
  chosen.CheckIfTuned = true;
  p.setupAnswer = chosen;
  p.window->Run(cmSetup);
  EXPECT_EQ(p.card.Model(), mRadioMan);
  EXPECT_EQ(p.card.Port(), 3);
  EXPECT_TRUE(p.card.On());
  EXPECT_EQ(p.waits, std::vector<int>{600});
  EXPECT_TRUE(p.window->AMButton()->isEnabled());
  EXPECT_EQ(p.window->Readout().Look.Style, ds16Seg);
  EXPECT_TRUE(p.window->Settings().CheckIfTuned);
  EXPECT_EQ(p.window->Settings().Hardware, 4);
}

TEST(tdMainTrayTest, ClicksAreIgnoredWhileADialogIsOpen) {
  PanelWindow p(RadioTrackIni("[Audio]\nVolume=128\n"));  // at volume 0 there is nothing to unmute
  ASSERT_TRUE(p.Create());
  const bool muted = p.window->State().Muted;
  p.window->PGTrayIcon951Click();
  EXPECT_NE(p.window->State().Muted, muted);
  p.window->MutableState().DialogOpen = true;
  p.window->PGTrayIcon951Click();
  p.window->PGTrayIcon951DblClick();
  EXPECT_NE(p.window->State().Muted, muted);
  EXPECT_FALSE(p.window->State().Hidden);
  p.window->MutableState().DialogOpen = false;
  p.window->PGTrayIcon951DblClick();
  EXPECT_TRUE(p.window->State().Hidden);
  EXPECT_TRUE(p.window->ShowAction()->isEnabled());
  EXPECT_FALSE(p.window->HideAction()->isEnabled());
  p.window->PGTrayIcon951DblClick();
  EXPECT_FALSE(p.window->State().Hidden);
}

}  // namespace
}  // namespace ondivo

namespace ondivo {
namespace {

TEST(tdMainClockTest, CheckIfTunedReadsTheStatusEverySecondTick) {
  test::PanelWindow p(test::RadioTrackIni("CheckIfTuned=1\n[Frequency]\nFrequency=M 090.000\n"));
  ASSERT_TRUE(p.Create());
  ASSERT_EQ(p.window->StatusLabel()->text(), "?????");
  p.card.Tune(false, bFM, 93.0);  // behind the panel's back: only a status query shows it
  p.window->ClockTimer();
  p.window->ClockTimer();
  EXPECT_EQ(p.window->StatusLabel()->text(), "Stereo");
}

}  // namespace
}  // namespace ondivo

namespace ondivo {
namespace {

TEST(tdMainPresetsTest, PagesTurnAndAPresetButtonTunesItsStation) {
  test::PanelWindow p(test::RadioTrackIni(
      "[Presets]\nList=12,100,\nStation12=M 101.100 Sports Call\nStation00=M 088.100 Classic\n"));
  ASSERT_TRUE(p.Create());
  auto* button2 = p.window->findChild<QToolButton*>("btRadio02");
  auto* button10 = p.window->findChild<QToolButton*>("btRadio10");
  ASSERT_NE(button2, nullptr);
  button2->click();  // preset 2 is empty: nothing happens
  EXPECT_EQ(p.window->State().CurrentPreset, 0);
  p.window->btNextPrevBottomClick();
  EXPECT_EQ(button2->text(), "12");
  EXPECT_EQ(button2->toolTip(), "Sports Call (101.1 MHz)");
  button2->click();
  EXPECT_NEAR(p.card.Frequency(), 101.1, 1e-9);
  EXPECT_EQ(p.window->State().CurrentPreset, 12);
  EXPECT_EQ(p.window->windowTitle(), "Ondivo - Sports Call (101.1 MHz)");
  for (int i = 0; i < 12; ++i) p.window->btNextPrevBottomClick();
  EXPECT_EQ(p.window->State().Page, 10);
  EXPECT_EQ(button10->text(), "00");
  button10->click();
  EXPECT_EQ(p.window->State().CurrentPreset, 100);
  p.window->btNextPrevTopClick();
  EXPECT_EQ(p.window->State().Page, 9);
}

}  // namespace
}  // namespace ondivo
