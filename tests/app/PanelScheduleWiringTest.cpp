// The alarm, sleep and script editor dialogs and the tones as the executable's wiring hands them to
// the panel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/PanelWiring.h"
#include "audio/AlsaTone.h"
#include "panel/tdMain.h"
#include "schedule/Schedule.h"
#include "sim/SimulatedRig.h"
#include "tests/support/EmulatedSoundCardFixture.h"
#include "tests/support/HardwareDoubles.h"
#include "tests/support/PanelRig.h"
#include "tests/support/PlayedSoundMeasure.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestPanelWiring.h"

namespace ondivo {
namespace {

// Presses OK in the dialog that opens next, after checking its caption.
void PressOkIn(const QString& caption) {
  QTimer::singleShot(0, [caption] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), caption);
    QTest::mouseClick(dialog->findChild<QPushButton*>("btOk"), Qt::LeftButton);
  });
}

class PanelScheduleWiringTest : public test::EmulatedSoundCardTestBase {};

TEST_F(PanelScheduleWiringTest, AlarmAndSleepOpenTheRealDialogsAndTheToneIsTheWirings) {
  StartCard();
  test::PanelRig r(mRadioTrack);
  r.bank.Store(7, "Forum", 98.0, bFM);
  test::ScriptedPrompter prompts;
  const std::unique_ptr<Tone> tone = PanelTone(soundCard->DeviceName());
  tPanelWiring wiring;
  wiring.Card = &r.card;
  wiring.Prompts = &prompts;
  wiring.Tones = tone.get();
  const tMainServices services = PanelServices(wiring);

  PressOkIn("Alarm setting");
  EXPECT_EQ(services.RunAlarm(nullptr, {6, 30, 7}, r.bank, r.card, 0), (tAlarmSetting{6, 30, 7}));
  PressOkIn("Sleep");
  EXPECT_EQ(services.RunSleep(nullptr, 20), 20);

  ASSERT_EQ(services.Tones, tone.get());
}

// The panel built through the executable's wiring on an emulated RadioTrack, with free time.
struct WiredPanel {
  WiredPanel(const test::TempDir& dir, Tone* tone) : card(rig.Hardware()) {
    test::WriteBytes(dir / "Ondivo.ini", "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n");
    tPanelWiring wiring = test::EmulatedPanelWiring(card, prompts, dir.Path(), &rig);
    wiring.Tones = tone;
    tMainServices services = PanelServices(wiring);
    services.Time = &timeOfDay;
    services.Timers = &timers;
    panel = std::make_unique<tdMain>(std::move(services));
  }

  sim::SimulatedRig rig{mRadioTrack, false};
  TRadioCard card;
  test::ScriptedPrompter prompts;
  test::SetTimeOfDay timeOfDay;
  test::ManualClock timers;
  std::unique_ptr<tdMain> panel;
};

// A script's beep action, run by the panel on the wiring's tone, is heard on the sound card: two
// tones of 880 Hz lasting 300 ms.
TEST_F(PanelScheduleWiringTest, AScriptBeepActionSoundsOnTheSoundCard) {
  StartCard();
  const std::unique_ptr<Tone> tone = PanelTone(soundCard->DeviceName());
  WiredPanel p(dir, tone.get());
  test::WriteBytes(dir / "beep.ovs", ";Wake\nBeep.0700.2.880.300\n");
  p.prompts.files.push_back((dir / "beep.ovs").string());
  ASSERT_TRUE(p.panel->Create());

  p.timeOfDay.Set(6, 59, 59);
  p.panel->Run(cmLoadScript);
  p.timeOfDay.Set(7, 0, 0);
  p.panel->ClockTimer();
  for (int second = 0; second < 3; ++second) {
    p.timers.Advance(std::chrono::milliseconds(1000));
    p.panel->BeeperTimer();
  }
  static_cast<AlsaTone&>(*tone).Flush();
  const std::vector<sim::PlayedSound> played = soundCard->Played();
  ASSERT_EQ(played.size(), 2u);
  for (const sim::PlayedSound& sound : played) {
    EXPECT_NEAR(test::MeasuredFrequency(sound), 880, 8.8);
    EXPECT_NEAR(test::HeardMs(sound), 300, 10);
  }
}

// "Scripting" opens the real script editor through the executable's wiring: its OK hands the
// program to the panel, which switches programming mode on, and the station stays the panel's.
TEST_F(PanelScheduleWiringTest, ScriptingOpensTheEditorAndItsOkStartsTheEditedScript) {
  WiredPanel p(dir, nullptr);
  ASSERT_TRUE(p.panel->Create());
  const double station = p.card.Frequency();

  p.timeOfDay.Set(7, 30, 20);
  QTimer::singleShot(0, [] {
    QWidget* editor = QApplication::activeModalWidget();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), "Programming -");
    QTest::mouseClick(editor->findChild<QToolButton*>("Right"), Qt::LeftButton);
    QTest::mouseClick(editor->findChild<QPushButton*>("btOk"), Qt::LeftButton);
  });
  p.panel->Run(cmProgr);
  const ScriptRunner& scripts = p.panel->ScheduleState().Scripts;
  EXPECT_TRUE(scripts.On());
  ASSERT_EQ(scripts.Script().Count(), 1u);
  EXPECT_EQ(scripts.Script()[0].Kind, akMuteOn);
  EXPECT_EQ(scripts.Script()[0].Hour() * 60 + scripts.Script()[0].Minute(), 7 * 60 + 30);
  EXPECT_EQ(p.panel->ProgButton()->toolTip(), "Programming mode on/off (internal)");
  EXPECT_EQ(p.card.Frequency(), station);
  EXPECT_TRUE(p.prompts.shown.empty());
}

}  // namespace
}  // namespace ondivo
