#pragma once

#include "platform/Clock.h"
#include "schedule/AlarmClock.h"
#include "schedule/Countdowns.h"
#include "schedule/ScriptRunner.h"
#include "schedule/TimeOfDaySource.h"

namespace ondivo {

// What one clock tick asks of the panel, in this order.
struct tClockTick {
  bool ReadSignal = false;  // query the card's reception state
  tTimeOfDay Time;          // what the clock label shows
  int AlarmStation = 0;     // the alarm went off: recall this preset (then show the alarm off)
  int ScriptAction = 0;     // programming mode: run this action (1-based)
  bool ProgrammingEnded = false;
};

// Everything time-driven behind the front panel, without widgets or timers: the clock tick's
// decisions, the alarm, programming mode, the sleep countdown and the beeper. The panel's
// timers call in and carry out what comes back.
class Schedule {
 public:
  Schedule(const TimeOfDaySource& timeOfDay, const MonotonicClock& monotonic)
      : timeOfDay_(timeOfDay), monotonic_(monotonic) {}

  // The clock tick. With the reception check on, the card is read every second tick. While a
  // scan runs, only the time is shown: the alarm and the script wait for its end (a late alarm
  // still goes off, as after a missed minute).
  tClockTick Tick(bool checkIfTuned, bool scanning, const tAlarmSetting& alarm);

  tTimeOfDay TimeNow() const { return timeOfDay_.Now(); }
  tMonotonic MonotonicNow() const { return monotonic_.Now(); }
  const TimeOfDaySource& TimeOfDay() const { return timeOfDay_; }
  const MonotonicClock& Monotonic() const { return monotonic_; }

  AlarmClock Alarm;
  ScriptRunner Scripts;
  SleepTimer Sleep;
  BeepSequence Beeper;

 private:
  const TimeOfDaySource& timeOfDay_;
  const MonotonicClock& monotonic_;
  bool tunedCheckPhase_ = false;
};

}  // namespace ondivo
