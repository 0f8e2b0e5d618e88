#include "schedule/AlarmClock.h"

#include <cstdio>

namespace ondivo {

namespace {

int Wrap(int minutes) {
  return ((minutes % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay;
}

}  // namespace

std::string FormatMinuteOfDay(int minuteOfDay) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", minuteOfDay / 60, minuteOfDay % 60);
  return text;
}

void AlarmClock::Arm(const tTimeOfDay& now) {
  on_ = true;
  seen_ = Wrap(now.MinuteOfDay() - 1);  // the minute of arming is still ahead
  seenOpen_ = false;
}

void AlarmClock::Hold(const tTimeOfDay& now) {
  seen_ = now.MinuteOfDay();
  seenOpen_ = true;
}

int AlarmClock::Check(const tAlarmSetting& alarm, const tTimeOfDay& now) {
  const int minute = now.MinuteOfDay();
  int from = seen_;  // the ticks have looked up to and including this minute
  if (seenOpen_ && minute == seen_) from = Wrap(seen_ - 1);
  int span = Wrap(minute - from);  // minutes this tick newly covers
  const int last = seen_;
  seen_ = minute;
  seenOpen_ = false;
  if (span > kMinutesPerDay - kSetBackMinutes) {  // the clock was set back: only this minute
    from = Wrap(minute - 1);
    span = 1;
  }
  if (!on_ || alarm.Station == 0) return 0;
  const int alarmMinute = alarm.Hour * 60 + alarm.Minute;
  const int ahead = Wrap(alarmMinute - from);
  if (ahead < 1 || ahead > span) return 0;
  if (alarmMinute != minute) {
    const std::string text = "no clock tick in the alarm minute " + FormatMinuteOfDay(alarmMinute) +
                             " (the clock went from " + FormatMinuteOfDay(last) + " to " +
                             FormatMinuteOfDay(minute) + "); the alarm goes off now";
    if (Log) {
      Log(text);
    } else {
      std::fprintf(stderr, "ondivo: %s\n", text.c_str());
    }
  }
  on_ = false;
  return alarm.Station;
}

}  // namespace ondivo
