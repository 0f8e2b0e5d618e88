#include "stations/TimeText.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/TextConvert.h"
#include "stations/FrequencyText.h"

namespace ondivo {
namespace {

constexpr int64_t kMsPerDay = 86'400'000;

// Milliseconds since midnight, rounded so that 7/24 + 5/1440 is exactly 07:05:00.
int64_t MillisecondsOf(double time) {
  if (!std::isfinite(time)) return 0;
  const double fraction = std::fabs(time - std::trunc(time));
  return std::llround(fraction * static_cast<double>(kMsPerDay)) % kMsPerDay;
}

}  // namespace

double TimeOfDay(int hour, int minute, int second) {
  return hour / 24.0 + minute / 1440.0 + second / 86400.0;
}

int HourOf(double time) {
  return static_cast<int>(MillisecondsOf(time) / 3'600'000);
}
int MinuteOf(double time) {
  return static_cast<int>(MillisecondsOf(time) / 60'000 % 60);
}
int SecondOf(double time) {
  return static_cast<int>(MillisecondsOf(time) / 1000 % 60);
}

std::optional<double> ParseTimeText(std::string_view text, const LocaleFormat& locale) {
  text = TrimText(text);
  int meridiem = 0;  // 0 none, 1 AM, 2 PM
  for (const auto& [marker, value] : {std::pair{"AM", 1}, std::pair{"PM", 2}}) {
    if (text.size() >= 2 && EqualsIgnoringCase(text.substr(text.size() - 2), marker)) {
      meridiem = value;
      text = TrimText(text.substr(0, text.size() - 2));
      break;
    }
    if (text.size() >= 2 && EqualsIgnoringCase(text.substr(0, 2), marker)) {
      meridiem = value;
      text = TrimText(text.substr(2));
      break;
    }
  }
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (parts.size() < 4) {
    const size_t end = text.find(locale.TimeSeparator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  int values[3] = {0, 0, 0};
  for (size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty() || parts[i].size() > 2 || parts[i][0] == '+' || parts[i][0] == '-') {
      return std::nullopt;
    }
    const auto value = ParseInteger(parts[i]);
    if (!value) return std::nullopt;
    values[i] = static_cast<int>(*value);
  }
  int hour = values[0];
  if (meridiem != 0) {
    if (hour < 1 || hour > 12) return std::nullopt;
    hour = hour % 12 + (meridiem == 2 ? 12 : 0);
  }
  if (hour > 23 || values[1] > 59 || values[2] > 59) return std::nullopt;
  return TimeOfDay(hour, values[1], values[2]);
}

bool IsTimeText(std::string_view text, const LocaleFormat& locale) {
  return ParseTimeText(text, locale).has_value();
}

std::string FormatLongTime(double time, const LocaleFormat& locale) {
  const std::string& pattern = locale.LongTimeFormat;
  const int hour = HourOf(time);
  const bool twelveHour = UpperCaseAscii(pattern).find("AP") != std::string::npos ||
                          pattern.find('A') != std::string::npos ||
                          pattern.find('a') != std::string::npos;
  std::string out;
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    if (c == '\'') {
      const size_t close = pattern.find('\'', i + 1);
      if (close == i + 1) {
        out.push_back('\'');
      } else {
        out.append(pattern, i + 1, (close == std::string::npos ? pattern.size() : close) - (i + 1));
      }
      i = close == std::string::npos ? pattern.size() : close + 1;
      continue;
    }
    const int width = run >= 2 ? 2 : 1;
    switch (c) {
      case 'h':
        out += PadNumber(twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour, width);
        break;
      case 'H':
        out += PadNumber(hour, width);
        break;
      case 'm':
        out += PadNumber(MinuteOf(time), width);
        break;
      case 's':
        out += PadNumber(SecondOf(time), width);
        break;
      case 'z':
        break;  // no milliseconds on a clock that ticks once a second
      case 't':
        break;
      case 'A':
      case 'a': {
        const bool lower = c == 'a';
        const bool pm = hour >= 12;
        out += lower ? (pm ? "pm" : "am") : (pm ? "PM" : "AM");
        if (i + 1 < pattern.size() && (pattern[i + 1] == 'P' || pattern[i + 1] == 'p')) ++i;
        run = 1;
        break;
      }
      default:
        out.append(run, c);
        break;
    }
    i += run;
  }
  // Dropping a time zone can leave a trailing blank.
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace ondivo
