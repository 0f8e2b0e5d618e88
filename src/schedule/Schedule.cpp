#include "schedule/Schedule.h"

#include <ctime>

namespace ondivo {

tTimeOfDay SystemTimeOfDay::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_hour, local.tm_min, local.tm_sec};
}

const TimeOfDaySource& SystemClockTimeOfDay() {
  static const SystemTimeOfDay clock;
  return clock;
}

tClockTick Schedule::Tick(bool checkIfTuned, bool scanning, const tAlarmSetting& alarm) {
  tClockTick tick;
  if (checkIfTuned) {
    tick.ReadSignal = tunedCheckPhase_ && !scanning;
    tunedCheckPhase_ = !tunedCheckPhase_;
  }
  tick.Time = timeOfDay_.Now();
  if (scanning) return tick;
  if (Scripts.On()) {
    Alarm.Hold(tick.Time);
    const ScriptRunner::tDispatch due = Scripts.Dispatch(tick.Time.Hour, tick.Time.Minute);
    if (due.What == ScriptRunner::tDispatch::Run) tick.ScriptAction = due.Index;
    tick.ProgrammingEnded = due.What == ScriptRunner::tDispatch::End;
    return tick;
  }
  tick.AlarmStation = Alarm.Check(alarm, tick.Time);
  return tick;
}

}  // namespace ondivo
