#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ondivo {

// Between the card's 0..256 volume scale and a mixer control's own range. A range of at least
// 257 from 0 keeps the card's long-standing arithmetic: writes use maximum div 256 per step and
// reads divide by maximum div 257, so 0..65535 writes 255 per step and 200 reads back as 200.
// Smaller ranges (ALSA's 0..31, 0..63, 0..127) and ranges that do not start at 0 are scaled in
// proportion, minimum included: every volume lands on the nearest control step and reads back
// within one step.
inline bool LineKeepsStepArithmetic(int32_t minimum, int32_t maximum) {
  return minimum == 0 && maximum / 257 >= 1;
}

inline int32_t LineValueForVolume(int32_t volume, int32_t minimum, int32_t maximum) {
  if (LineKeepsStepArithmetic(minimum, maximum)) return maximum / 256 * volume;
  const double range = static_cast<double>(maximum) - minimum;
  if (!(range > 0)) return minimum;
  return static_cast<int32_t>(minimum + std::llround(volume * range / 256.0));
}

inline int32_t VolumeForLineValue(int32_t value, int32_t minimum, int32_t maximum) {
  long long volume = 0;
  if (LineKeepsStepArithmetic(minimum, maximum)) {
    volume = std::llround(static_cast<double>(value) / (maximum / 257));
  } else {
    const double range = static_cast<double>(maximum) - minimum;
    if (range > 0) volume = std::llround((static_cast<double>(value) - minimum) * 256.0 / range);
  }
  // A control set to its very top by another program reads 257 by the step arithmetic.
  return static_cast<int32_t>(std::clamp(volume, 0LL, 256LL));
}

}  // namespace ondivo
