#pragma once

// What a listener would measure of a sound the emulated card played: its pitch and how long it
// is heard.
#include <algorithm>
#include <cstdlib>

#include "sim/EmulatedPlayback.h"

namespace ondivo::test {

// The pitch from the rising zero crossings, placed between samples.
inline double MeasuredFrequency(const sim::PlayedSound& sound) {
  double first = -1;
  double last = -1;
  int crossings = 0;
  for (size_t i = 1; i < sound.Samples.size(); ++i) {
    const double a = sound.Samples[i - 1];
    const double b = sound.Samples[i];
    if (a < 0 && b >= 0) {
      const double at = static_cast<double>(i - 1) + a / (a - b);
      if (first < 0) first = at;
      last = at;
      ++crossings;
    }
  }
  return crossings < 2 ? 0 : (crossings - 1) * sound.Rate / (last - first);
}

inline int Peak(const sim::PlayedSound& sound, size_t from, size_t to) {
  int peak = 0;
  for (size_t i = from; i < std::min(to, sound.Samples.size()); ++i) {
    peak = std::max(peak, std::abs(int{sound.Samples[i]}));
  }
  return peak;
}

// How long the tone is heard: from the first to the last sample above a tenth of its peak.
inline double HeardMs(const sim::PlayedSound& sound) {
  const int peak = Peak(sound, 0, sound.Samples.size());
  size_t first = sound.Samples.size();
  size_t last = 0;
  for (size_t i = 0; i < sound.Samples.size(); ++i) {
    if (std::abs(int{sound.Samples[i]}) * 10 >= peak) {
      first = std::min(first, i);
      last = i;
    }
  }
  return first > last ? 0 : 1000.0 * static_cast<double>(last - first + 1) / sound.Rate;
}

}  // namespace ondivo::test
