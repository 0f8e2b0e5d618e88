// The clock, the alarm, the sleep function, the beeper and programming mode: the three timers,
// the commands and how their state is shown. The decisions are Schedule's; this file carries
// them out on the panel, through the same handlers the user's commands run.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <cmath>

#include "audio/Tone.h"
#include "panel/ModalScope.h"
#include "panel/PanelPictures.h"
#include "panel/Prompter.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"
#include "schedule/Schedule.h"
#include "schedule/ScriptEditorContext.h"
#include "schedule/ScriptFile.h"
#include "stations/TimeText.h"

namespace ondivo {

namespace {

constexpr const char* kFavoritesNotDefined = "Favorites aren't defined";

QTimer* MakeTimer(QObject* owner, Qt::TimerType type) {
  auto* timer = new QTimer(owner);
  timer->setTimerType(type);
  return timer;
}

}  // namespace

void tdMain::ConnectSchedule() {
  const TimeOfDaySource& time = services_.Time ? *services_.Time : SystemClockTimeOfDay();
  const MonotonicClock& timers = services_.Timers ? *services_.Timers : SystemSteadyClock();
  schedule_ = std::make_unique<Schedule>(time, timers);
  clock_ = MakeTimer(this, Qt::CoarseTimer);
  clock_->setInterval(1000);
  connect(clock_, &QTimer::timeout, this, &tdMain::ClockTimer);
  // One-shots set to what their countdown has left; they run again when it is not yet over.
  tSleep_ = MakeTimer(this, Qt::PreciseTimer);
  tSleep_->setSingleShot(true);
  connect(tSleep_, &QTimer::timeout, this, &tdMain::TSleepTimer);
  beeper_ = MakeTimer(this, Qt::PreciseTimer);
  beeper_->setSingleShot(true);
  connect(beeper_, &QTimer::timeout, this, &tdMain::BeeperTimer);
}

tAlarmSetting tdMain::AlarmSetting() const {
  return {settings_.AlarmHour, settings_.AlarmMinute, settings_.AlarmStation};
}

void tdMain::Rearm(QTimer* timer, std::chrono::milliseconds remaining) {
  timer->start(static_cast<int>(remaining.count()));
}

void tdMain::ArmAlarmAtStart() {
  const int station = settings_.AlarmStation;
  const bool receivable =
      PresetsBank::IsPresetNumber(station) && CanReceivePreset(card_, bank_.Preset(station));
  if (AlarmClock::ArmsAtStart(settings_.LaunchAlarm, station, receivable)) {
    schedule_->Alarm.Arm(schedule_->TimeNow());
  } else {
    schedule_->Alarm.Disarm();
  }
  ShowAlarmState();
}

void tdMain::ClockTimer() {
  const tClockTick tick = schedule_->Tick(settings_.CheckIfTuned, state_.Scanning, AlarmSetting());
  if (tick.ReadSignal) GuardDevice([this] { ShowTuningStatus(model_->RefreshStatus()); });
  const double time = TimeOfDay(tick.Time.Hour, tick.Time.Minute, tick.Time.Second);
  hhmmss_->setText(QString::fromStdString(FormatLongTime(time, services_.Locale)));
  if (tick.ScriptAction > 0)
    Enter(tDuringScan::Ignored, [&] { RunScriptAction(tick.ScriptAction); });
  if (tick.ProgrammingEnded) ShowProgState();
  if (tick.AlarmStation > 0) {
    // The alarm tunes its station as a preset button would; the mute state stays as it is.
    if (bank_.Preset(tick.AlarmStation).Assigned) {
      Enter(tDuringScan::Ignored, [&] { FavMenu(tick.AlarmStation); });
    }
    ShowAlarmState();
  }
}

void tdMain::Actions_Alarm() {
  AlarmClock& alarm = schedule_->Alarm;
  if (bank_.AssignedCount() == 0) {
    prompts_.Message(kFavoritesNotDefined, Prompter::Icon::Error);
  } else if (alarm.On()) {
    alarm.Disarm();
  } else if (services_.RunAlarm) {
    std::optional<tAlarmSetting> chosen;
    {
      ModalScope scope(*this);
      chosen = services_.RunAlarm(this, AlarmSetting(), bank_, card_, state_.CurrentPreset);
    }
    if (chosen) {
      settings_.AlarmHour = chosen->Hour;
      settings_.AlarmMinute = chosen->Minute;
      settings_.AlarmStation = static_cast<uint8_t>(chosen->Station);
      alarm.Arm(schedule_->TimeNow());
    }
  }
  ShowAlarmState();
}

void tdMain::Actions_Sleep() {
  SleepTimer& sleep = schedule_->Sleep;
  if (sleep.On()) {
    sleep.Stop();
    tSleep_->stop();
  } else if (services_.RunSleep) {
    std::optional<int> minutes;
    {
      ModalScope scope(*this);
      minutes = services_.RunSleep(this, sleep.Minutes());
    }
    if (minutes) {
      sleep.Start(*minutes, schedule_->MonotonicNow());
      Rearm(tSleep_, sleep.Remaining(schedule_->MonotonicNow()));
    }
  }
  ShowSleepState();
}

void tdMain::TSleepTimer() {
  SleepTimer& sleep = schedule_->Sleep;
  const tMonotonic now = schedule_->MonotonicNow();
  switch (sleep.Expire(now, schedule_->Scripts.On())) {
    case SleepTimer::tExpiry::NotYet:
      if (sleep.On()) Rearm(tSleep_, sleep.Remaining(now));
      return;
    case SleepTimer::tExpiry::Held:
      Rearm(tSleep_, sleep.Remaining(now));
      return;
    case SleepTimer::tExpiry::Mute:
      tSleep_->stop();
      SetMuted(true);
      ShowSleepState();
      return;
  }
}

void tdMain::StartBeeps(int count, int frequency, int duration) {
  BeepSequence& beeper = schedule_->Beeper;
  beeper.Start(count, frequency, duration, schedule_->MonotonicNow());
  Rearm(beeper_, beeper.Remaining(schedule_->MonotonicNow()));
}

void tdMain::BeeperTimer() {
  BeepSequence& beeper = schedule_->Beeper;
  const tMonotonic now = schedule_->MonotonicNow();
  switch (beeper.Tick(now, schedule_->Scripts.On())) {
    case BeepSequence::tStep::Wait:
      Rearm(beeper_, beeper.Remaining(now));
      return;
    case BeepSequence::tStep::Sound:
      if (services_.Tones) {
        services_.Tones->Play(beeper.Frequency(), beeper.Duration());
      } else {
        QApplication::beep();
      }
      Rearm(beeper_, beeper.Remaining(now));
      return;
    case BeepSequence::tStep::Stop:
      beeper_->stop();
      return;
  }
}

void tdMain::Actions_Prog() {
  ScriptRunner& scripts = schedule_->Scripts;
  if (scripts.On()) {
    scripts.SwitchOff();
  } else if (services_.RunScriptEditor) {
    bool edited = false;
    {
      ModalScope scope(*this);
      edited = services_.RunScriptEditor(
          this, {scripts, bank_, card_, state_.Muted, schedule_->TimeOfDay(),
                 schedule_->Monotonic(), services_.Tones, services_.Locale});
    }
    if (edited) scripts.Edited();
  }
  ShowProgState();
}

void tdMain::File_LoadScript() {
  ScriptRunner& scripts = schedule_->Scripts;
  if (!scripts.Script().Empty() && !prompts_.Ask(kLoadScriptQuestion, "Warning")) return;
  const auto path = prompts_.OpenFile("Load script", ScriptFileFilters(), "ovs");
  if (!path) return;
  scripts.SwitchOff();
  std::unique_ptr<tScript> loaded;
  const tFileRead result = ReadScriptFile(*path, services_.Locale, loaded);
  if (result == kScriptRead && loaded) {
    scripts.Load(*path, std::move(*loaded));
  } else {
    prompts_.Message(std::string(ScriptFileReadMessage(result)), Prompter::Icon::Error);
  }
  ShowProgState();
}

void tdMain::SetMuted(bool muted) {
  if (state_.Muted != muted) Volume_Mute();
}

void tdMain::ApplyScriptStereo(bool stereo) {
  // The switch is set so that the stereo command turns it into the action's choice; a card
  // without the switch keeps its setting and the panel its button.
  if (!card_.GetDevCap(card_.Model()).StereoSwitch) return;
  state_.StereoSwitch = !stereo;
  Actions_Stereo();
}

void tdMain::RunScriptAction(int index) {
  ScriptRunner& scripts = schedule_->Scripts;
  if (!scripts.TakeAction(index)) return;
  const zAction& action = scripts.Script()[static_cast<size_t>(index - 1)];
  switch (action.Kind) {
    case akMuteOn:
      SetMuted(true);
      break;
    case akMuteOff:
      SetMuted(false);
      break;
    case akBeep: {
      const auto& beep = static_cast<const zBeep&>(action);
      StartBeeps(beep.Times, beep.Frequency, beep.Duration);
      break;
    }
    case akVolume: {
      // The slider's own change handling sets the card, the mute state and the hint.
      const int volume = static_cast<const zVolume&>(action).Volume;
      sVolume_->setValue(static_cast<int>(std::lround(volume * sVolume_->maximum() / 20.0)));
      break;
    }
    case akJumpTo: {
      const auto& jump = static_cast<const zJumpTo&>(action);
      TuneTo(jump.Band, false, jump.Frequency);
      ApplyScriptStereo(jump.Stereo);
      break;
    }
    case akPreset: {
      const auto& preset = static_cast<const zPreset&>(action);
      if (!PresetsBank::IsPresetNumber(preset.Preset) || !bank_.Preset(preset.Preset).Assigned) {
        break;  // a preset cleared since the script was written is skipped
      }
      FavMenu(preset.Preset);
      ApplyScriptStereo(preset.Stereo);
      break;
    }
    case akOff:
      SetMuted(true);
      File_Exit();
      break;
    case akNone:
      break;
  }
}

void tdMain::ShowAlarmState() {
  const bool on = schedule_->Alarm.On();
  btAlarm_->setIcon(Lamp(LampName("BT", settings_.ColorGenericButton, on)));
  icAlarm_->setPixmap(IndicatorPixmap(LampName("ALARM", settings_.ColorFlag, on),
                                      PanelColor(settings_.ColorPanel), devicePixelRatioF()));
  Action(cmAlarmOnOff)->setChecked(on);
}

void tdMain::ShowSleepState() {
  const bool on = schedule_->Sleep.On();
  btSleep_->setIcon(Lamp(LampName("BT", settings_.ColorGenericButton, on)));
  icSleep_->setPixmap(IndicatorPixmap(LampName("SLEEP", settings_.ColorFlag, on),
                                      PanelColor(settings_.ColorPanel), devicePixelRatioF()));
  Action(cmSleepOnOff)->setChecked(on);
}

void tdMain::ShowProgState() {
  const ScriptRunner& scripts = schedule_->Scripts;
  const bool on = scripts.On();
  btProg_->setIcon(Lamp(LampName("BT", settings_.ColorGenericButton, on)));
  icProg_->setPixmap(IndicatorPixmap(LampName("PROG", settings_.ColorFlag, on),
                                     PanelColor(settings_.ColorPanel), devicePixelRatioF()));
  Action(cmProgr)->setChecked(on);
  btProg_->setToolTip(QString::fromStdString(scripts.Hint()));
  btAlarm_->setEnabled(!on);
  btSleep_->setEnabled(!on);
}

}  // namespace ondivo
