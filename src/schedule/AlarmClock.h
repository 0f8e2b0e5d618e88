#pragma once

#include <functional>
#include <string>

#include "schedule/AlarmSetting.h"
#include "schedule/TimeOfDaySource.h"

namespace ondivo {

// Whether the alarm is armed and whether a clock tick fires it.
//
// An alarm fires at most once per arming. Its time counts from the minute it was armed: a time
// still ahead today (the minute of arming included) fires today, one already passed waits for
// the next day. When no tick fell into the alarm's minute (the machine slept, the clock was set
// forward), the alarm fires in the first tick after it and the missed minute is logged: an alarm
// clock that stays silent because the laptop was asleep at 06:30 fails its one job. A clock set
// back (up to kSetBackMinutes) is not taken for a day gone by.
class AlarmClock {
 public:
  static constexpr int kSetBackMinutes = 3 * 60;

  bool On() const { return on_; }
  void Arm(const tTimeOfDay& now);
  void Disarm() { on_ = false; }

  // The clock tick outside programming mode: the preset to recall when the alarm is due, 0
  // otherwise. A due alarm is disarmed here; one without a station never fires.
  int Check(const tAlarmSetting& alarm, const tTimeOfDay& now);
  // A tick in programming mode: the alarm is neither fired nor disarmed, and its minute passes
  // unless programming mode ends within it.
  void Hold(const tTimeOfDay& now);

  // Start-up arming with "LaunchAlarm": only for a station the card can receive.
  static bool ArmsAtStart(bool launchAlarm, int station, bool receivable) {
    return launchAlarm && station != 0 && receivable;
  }

  // Where a missed alarm minute is told; stderr unless set.
  std::function<void(const std::string&)> Log;

 private:
  bool on_ = false;
  int seen_ = 0;           // minute of day up to which the ticks have looked for the alarm
  bool seenOpen_ = false;  // seen_ itself was held in programming mode and may still fire
};

// "HH:MM" of a minute of the day.
std::string FormatMinuteOfDay(int minuteOfDay);

}  // namespace ondivo
