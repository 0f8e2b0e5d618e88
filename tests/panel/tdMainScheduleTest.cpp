// The panel's clock, alarm, sleep, beeper and programming mode on emulated hardware, with the
// time of day and the timers' clock set by the test: the handlers run as their timers would.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "panel/PanelPictures.h"
#include "panel/tdMain.h"
#include "schedule/Schedule.h"
#include "sim/EmulatedRadioTrack.h"
#include "sim/EmulatedZoltrix.h"
#include "stations/FrequencyText.h"
#include "tests/support/PanelWindow.h"

namespace ondivo {
namespace {

using std::chrono::milliseconds;
using test::PanelWindow;
using test::RadioTrackIni;

constexpr const char* kMorningPreset = "[Presets]\nList=5,\nStation05=M 101.100 Morning\n";

// Whether an indicator shows its "ON" picture.
bool Lit(tdMain& w, QLabel* indicator, const char* family) {
  const tConfiguration& s = w.Settings();
  const QImage on = IndicatorPixmap(LampName(family, s.ColorFlag, true), PanelColor(s.ColorPanel),
                                    w.devicePixelRatioF())
                        .toImage()
                        .convertToFormat(QImage::Format_ARGB32);
  return indicator->pixmap().toImage().convertToFormat(QImage::Format_ARGB32) == on;
}

sim::EmulatedRadioTrack& RadioTrackOf(PanelWindow& p) {
  return dynamic_cast<sim::EmulatedRadioTrack&>(*p.rig.Bus().CardAt(0x30C));
}

// Ticks once at each given second of hh:mm.
void TickAt(PanelWindow& p, int hour, int minute, std::initializer_list<int> seconds = {0}) {
  for (const int s : seconds) {
    p.timeOfDay.Set(hour, minute, s);
    p.window->ClockTimer();
  }
}

void Advance(PanelWindow& p, int ms) {
  p.timers.Advance(milliseconds(ms));
}

// Loads a script file through "Load script", which switches programming mode on.
void LoadScript(PanelWindow& p, const std::string& text) {
  const auto path = p.dir / "test.ovs";
  test::WriteBytes(path, text);
  if (!p.window->ScheduleState().Scripts.Script().Empty()) p.prompts.answers.push_back(true);
  p.prompts.files.push_back(path.string());
  p.window->Run(cmLoadScript);
}

TEST(tdMainAlarmTest, TheAlarmFiresOnceInItsFirstTickTunesItsPresetAndShowsOff) {
  PanelWindow p(RadioTrackIni(
      std::string("[Audio]\nVolume=128\n[Frequency]\nFrequency=M 090.000\n") + kMorningPreset));
  ASSERT_TRUE(p.Create());
  tdMain& w = *p.window;
  auto& radio = RadioTrackOf(p);
  w.Run(cmMuteOnOff);  // the alarm leaves the mute state as it is

  p.timeOfDay.Set(7, 0);
  p.alarmAnswer = tAlarmSetting{7, 30, 5};
  w.Run(cmAlarmOnOff);
  ASSERT_EQ(p.alarmShown.size(), 1u);
  EXPECT_EQ(p.alarmShown[0], (tAlarmSetting{6, 30, 0}));
  EXPECT_FALSE(w.State().DialogOpen);
  EXPECT_TRUE(Lit(w, w.AlarmIndicator(), "ALARM"));
  EXPECT_TRUE(w.Action(cmAlarmOnOff)->isChecked());

  TickAt(p, 7, 29, {58, 59});
  EXPECT_NEAR(*radio.TunedFrequency(), 90.0, 0.001);
  TickAt(p, 7, 30);
  EXPECT_NEAR(*radio.TunedFrequency(), 101.1, 0.001);
  EXPECT_EQ(w.State().CurrentPreset, 5);
  EXPECT_EQ(w.ClockLabel()->text(), "07:30:00");
  EXPECT_FALSE(Lit(w, w.AlarmIndicator(), "ALARM"));
  EXPECT_FALSE(w.Action(cmAlarmOnOff)->isChecked());
  EXPECT_TRUE(w.State().Muted);
  EXPECT_FALSE(radio.AudioOn());

  // Tuned away, the rest of the minute and of the day leave the station alone.
  w.Run(cmIncFreq);
  const double away = *radio.TunedFrequency();
  TickAt(p, 7, 30, {1, 30, 59});
  TickAt(p, 23, 59, {59});
  EXPECT_EQ(*radio.TunedFrequency(), away);

  // Armed, the command disarms without the dialog; the time chosen is kept for the file.
  w.Run(cmAlarmOnOff);
  ASSERT_TRUE(w.ScheduleState().Alarm.On());
  w.Run(cmAlarmOnOff);
  EXPECT_EQ(p.alarmShown.size(), 2u);
  EXPECT_FALSE(w.ScheduleState().Alarm.On());
  EXPECT_EQ(w.Settings().AlarmStation, 5);
  EXPECT_EQ(w.Settings().AlarmMinute, 30);
}

TEST(tdMainAlarmTest, WithoutPresetsTheAlarmSaysSoAndOpensNoDialog) {
  PanelWindow p(RadioTrackIni());
  ASSERT_TRUE(p.Create());
  p.alarmAnswer = tAlarmSetting{7, 30, 5};
  p.window->AlarmButton()->click();
  ASSERT_EQ(p.prompts.shown.size(), 1u);
  EXPECT_EQ(p.prompts.shown[0].text, "Favorites aren't defined");
  EXPECT_EQ(p.prompts.shown[0].title, "Warning");
  EXPECT_EQ(p.prompts.shown[0].icon, Prompter::Icon::Error);
  EXPECT_TRUE(p.alarmShown.empty());
  EXPECT_FALSE(p.window->ScheduleState().Alarm.On());
  EXPECT_FALSE(p.window->Action(cmAlarmOnOff)->isChecked());
}

TEST(tdMainAlarmTest, LaunchAlarmArmsOnlyForAPresetTheCardCanReceive) {
  const std::string alarm = "LaunchAlarm=1\n[Alarm]\nStation=5\nTime=06:30\n";
  PanelWindow fm(RadioTrackIni(alarm + kMorningPreset));
  ASSERT_TRUE(fm.Create());
  EXPECT_TRUE(fm.window->ScheduleState().Alarm.On());
  EXPECT_TRUE(Lit(*fm.window, fm.window->AlarmIndicator(), "ALARM"));

  // An AM preset on the FM-only RadioTrack.
  PanelWindow am(RadioTrackIni(alarm + "[Presets]\nList=5,\nStation05=K 000.999 Talk\n"));
  ASSERT_TRUE(am.Create());
  EXPECT_FALSE(am.window->ScheduleState().Alarm.On());
  EXPECT_FALSE(Lit(*am.window, am.window->AlarmIndicator(), "ALARM"));
}

TEST(tdMainSleepTest, SleepMutesAfterItsMinutesAndASecondCommandStopsItWithoutTheDialog) {
  PanelWindow p(RadioTrackIni("[Audio]\nVolume=128\n"));
  ASSERT_TRUE(p.Create());
  tdMain& w = *p.window;
  auto& radio = RadioTrackOf(p);
  p.sleepAnswer = 1;
  w.SleepButton()->click();
  EXPECT_EQ(p.sleepShown, std::vector{20});
  EXPECT_TRUE(Lit(w, w.SleepIndicator(), "SLEEP"));
  EXPECT_TRUE(w.Action(cmSleepOnOff)->isChecked());
  EXPECT_TRUE(w.SleepTimerForTests()->isActive());
  EXPECT_EQ(w.SleepTimerForTests()->interval(), 60'000);

  Advance(p, 59'999);  // a timer that fires early only waits for the rest
  w.TSleepTimer();
  EXPECT_TRUE(radio.Audible());
  EXPECT_EQ(w.SleepTimerForTests()->interval(), 1);
  Advance(p, 1);
  w.TSleepTimer();
  EXPECT_FALSE(radio.AudioOn());
  EXPECT_TRUE(w.State().Muted);
  EXPECT_TRUE(w.Action(cmMuteOnOff)->isChecked());
  EXPECT_FALSE(Lit(w, w.SleepIndicator(), "SLEEP"));
  EXPECT_FALSE(w.SleepTimerForTests()->isActive());

  w.Run(cmSleepOnOff);
  EXPECT_EQ(p.sleepShown, (std::vector{20, 1}));  // opens with the last delay chosen
  w.Run(cmSleepOnOff);
  EXPECT_EQ(p.sleepShown.size(), 2u);
  EXPECT_FALSE(w.ScheduleState().Sleep.On());
  EXPECT_FALSE(w.SleepTimerForTests()->isActive());
}

TEST(tdMainSleepTest, InProgrammingModeTheSleepComesBackOneIntervalLater) {
  PanelWindow p(RadioTrackIni("[Audio]\nVolume=128\n"));
  ASSERT_TRUE(p.Create());
  tdMain& w = *p.window;
  p.sleepAnswer = 1;
  w.Run(cmSleepOnOff);
  LoadScript(p, ";Later\nMute on.2300\n");
  ASSERT_TRUE(w.ScheduleState().Scripts.On());
  Advance(p, 60'000);
  w.TSleepTimer();
  EXPECT_TRUE(RadioTrackOf(p).Audible());
  EXPECT_TRUE(w.ScheduleState().Sleep.On());
  EXPECT_EQ(w.SleepTimerForTests()->interval(), 60'000);
  w.Run(cmProgr);
  Advance(p, 59'999);
  w.TSleepTimer();
  EXPECT_TRUE(RadioTrackOf(p).Audible());
  Advance(p, 1);
  w.TSleepTimer();
  EXPECT_FALSE(RadioTrackOf(p).AudioOn());
}

TEST(tdMainProgTest, ProgrammingModeShowsItselfBeepsWhileItLastsAndEndsAfterTheLastAction) {
  PanelWindow p(RadioTrackIni("[Audio]\nVolume=128\n"));
  ASSERT_TRUE(p.Create());
  tdMain& w = *p.window;
  EXPECT_EQ(w.ProgButton()->toolTip(), "Programming mode on/off (empty)");
  p.timeOfDay.Set(8, 0);
  w.Run(cmProgr);  // no script editor yet: nothing to switch on
  EXPECT_FALSE(w.ScheduleState().Scripts.On());

  LoadScript(p, ";Morning\nBeep.0700.3.880.300\nMute on.0805\n");
  ASSERT_TRUE(w.ScheduleState().Scripts.On());
  const std::string path = (p.dir / "test.ovs").string();
  EXPECT_EQ(w.ProgButton()->toolTip().toStdString(), "Programming mode on/off (" + path + ")");
  EXPECT_TRUE(Lit(w, w.ProgIndicator(), "PROG"));
  EXPECT_TRUE(w.Action(cmProgr)->isChecked());
  EXPECT_FALSE(w.AlarmButton()->isEnabled());
  EXPECT_FALSE(w.SleepButton()->isEnabled());

  // Three tones at one, two and three seconds; the fourth second ends the sequence.
  w.StartBeeps(3, 880, 300);
  for (int i = 0; i < 8; ++i) {
    Advance(p, 500);
    w.BeeperTimer();
  }
  ASSERT_EQ(p.tones.played.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(p.tones.played[i].atMs, 1000 * static_cast<int64_t>(i + 1));
    EXPECT_EQ(p.tones.played[i].frequency, 880);
    EXPECT_EQ(p.tones.played[i].duration, 300);
  }
  EXPECT_FALSE(w.BeeperForTests()->isActive());

  // A second load asks first; a corrupt file switches programming mode off and keeps the
  // script.
  LoadScript(p, ";Broken\nVolume.0700.21\n");
  ASSERT_FALSE(p.prompts.Messages().empty());
  EXPECT_EQ(p.prompts.Messages().back(), "The script files is corrupt");
  EXPECT_EQ(p.prompts.shown[p.prompts.shown.size() - 3].text,
            "If you load a new script, the\rcurrent script will be erased.\rAre you sure ?");
  EXPECT_FALSE(w.ScheduleState().Scripts.On());
  EXPECT_EQ(w.ScheduleState().Scripts.Script().Title(), "Morning");
  EXPECT_TRUE(w.AlarmButton()->isEnabled());

  // Switching programming mode off stops the tones at the next tick.
  LoadScript(p, ";Morning\nBeep.0700.3.880.300\nMute on.0805\n");
  w.StartBeeps(3, 880, 300);
  Advance(p, 1000);
  w.BeeperTimer();
  w.ProgButton()->click();
  Advance(p, 1000);
  w.BeeperTimer();
  EXPECT_EQ(p.tones.played.size(), 4u);
  EXPECT_FALSE(w.BeeperForTests()->isActive());

  // The last action at 08:05 has passed at 08:06: programming mode ends by itself.
  LoadScript(p, ";Morning\nBeep.0700.3.880.300\nMute on.0805\n");
  TickAt(p, 8, 6);
  EXPECT_FALSE(w.ScheduleState().Scripts.On());
  EXPECT_FALSE(w.State().Muted);
  EXPECT_FALSE(Lit(w, w.ProgIndicator(), "PROG"));
  EXPECT_TRUE(w.SleepButton()->isEnabled());
}

TEST(tdMainProgTest, EachActionKindDoesWhatItsCommandDoesOnTheCard) {
  PanelWindow p(
      "[Configuration]\nHardware=7\nPort=1\nVolumeLine=1\nShutDown=2\n"
      "[Audio]\nVolume=256\n" +
          std::string(kMorningPreset),
      mZoltrix);
  ASSERT_TRUE(p.Create());
  tdMain& w = *p.window;
  auto& radio = dynamic_cast<sim::EmulatedZoltrix&>(*p.rig.Bus().CardAt(0x30C));
  p.timeOfDay.Set(7, 0, 30);
  const std::string jump = FormatFrequencyKey(95.3, LocaleFormat{});
  LoadScript(p,
             ";All kinds\nMute on.0701\nMute off.0702\nBeep.0703.2.880.300\nVolume.0704.10\n"
             "Jump to.0705." +
                 jump + ".FM.MN\nPreset.0706.5.ST\nOff.0707\n");
  ASSERT_TRUE(w.ScheduleState().Scripts.On());

  TickAt(p, 7, 1);
  EXPECT_FALSE(radio.AudioOn());
  EXPECT_TRUE(w.State().Muted);
  TickAt(p, 7, 2, {0, 30});
  EXPECT_TRUE(radio.AudioOn());
  EXPECT_FALSE(w.Action(cmMuteOnOff)->isChecked());

  TickAt(p, 7, 3, {0, 1});  // once in the minute: the second tick does not start it again
  Advance(p, 1000);
  w.BeeperTimer();
  Advance(p, 1000);
  w.BeeperTimer();
  EXPECT_EQ(p.tones.played.size(), 2u);

  TickAt(p, 7, 4);
  EXPECT_EQ(w.VolumeSlider()->value(), 128);
  EXPECT_EQ(radio.Volume(), 128);
  EXPECT_EQ(w.VolumeSlider()->toolTip(), "50%");

  TickAt(p, 7, 5);
  EXPECT_NEAR(*radio.TunedFrequency(), 95.3, 0.001);
  EXPECT_FALSE(radio.StereoRequested());
  EXPECT_FALSE(w.Action(cmStereo)->isChecked());

  TickAt(p, 7, 6);
  EXPECT_NEAR(*radio.TunedFrequency(), 101.1, 0.001);
  EXPECT_TRUE(radio.StereoRequested());
  EXPECT_EQ(w.State().CurrentPreset, 5);

  // Off mutes and closes as the exit command does: "Ask at shutdown" asks first.
  p.exitAnswer = tExitAnswer::NotExit;
  TickAt(p, 7, 7);
  PanelWindow::Settle();
  ASSERT_EQ(p.exitShown.size(), 1u);
  EXPECT_FALSE(w.Closing());
  EXPECT_FALSE(radio.AudioOn());
  EXPECT_TRUE(w.Action(cmMuteOnOff)->isChecked());
  w.Run(cmProgr);
  LoadScript(p, ";Off\nOff.0708\n");
  p.exitAnswer = tExitAnswer::SwitchOff;
  TickAt(p, 7, 8);
  PanelWindow::Settle();
  EXPECT_EQ(p.exitShown.size(), 2u);
  EXPECT_TRUE(w.Closing());
  EXPECT_FALSE(p.card.On());
}

}  // namespace
}  // namespace ondivo
