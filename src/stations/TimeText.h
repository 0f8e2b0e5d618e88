#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/LocaleFormat.h"

namespace ondivo {

// A time of day is a fraction of a day (hour/24 + minute/1440 + second/86400); any whole-day
// part is ignored.
double TimeOfDay(int hour, int minute, int second = 0);
int HourOf(double time);    // 0..23
int MinuteOf(double time);  // 0..59
int SecondOf(double time);  // 0..59

// Hours and minutes (and optional seconds) joined by the locale's time separator, with an
// optional AM/PM marker; gives the time of day or nothing.
std::optional<double> ParseTimeText(std::string_view text, const LocaleFormat& locale);
bool IsTimeText(std::string_view text, const LocaleFormat& locale);

// The time in the locale's long time pattern (Qt-style: h hh H HH m mm s ss AP ap, quoted
// literals); a time-zone field is left out.
std::string FormatLongTime(double time, const LocaleFormat& locale);

}  // namespace ondivo
