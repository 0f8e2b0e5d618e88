#pragma once

#include <cstdint>

namespace ondivo {

// The alarm's time of day and the preset it recalls (0: none), as the alarm dialog hands it
// over and back and as Ondivo.ini keeps it.
struct tAlarmSetting {
  int Hour = 6;
  int Minute = 30;
  int Station = 0;
  bool operator==(const tAlarmSetting&) const = default;
};

}  // namespace ondivo
