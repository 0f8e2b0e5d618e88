#pragma once

namespace ondivo {

inline constexpr int kMinutesPerDay = 24 * 60;

// A wall-clock time of day, to the second.
struct tTimeOfDay {
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int MinuteOfDay() const { return Hour * 60 + Minute; }
  bool operator==(const tTimeOfDay&) const = default;
};

// Where the clock, the alarm and the script dispatch read the time of day: tests hand in one
// they set themselves and run a whole day of ticks without waiting.
class TimeOfDaySource {
 public:
  virtual ~TimeOfDaySource() = default;
  virtual tTimeOfDay Now() const = 0;
};

// The local time of the system.
class SystemTimeOfDay final : public TimeOfDaySource {
 public:
  tTimeOfDay Now() const override;
};

const TimeOfDaySource& SystemClockTimeOfDay();

}  // namespace ondivo
