#include "audio/ToneWave.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ondivo {

namespace {

constexpr double kAmplitude = 0.5 * 32767;
constexpr int kFadeMs = 5;

}  // namespace

std::vector<int16_t> ToneWave(int frequencyHz, int durationMs, int sampleRate) {
  if (frequencyHz <= 0 || durationMs <= 0 || sampleRate <= 0 || frequencyHz * 2 >= sampleRate) {
    return {};
  }
  const auto count = static_cast<size_t>(static_cast<int64_t>(durationMs) * sampleRate / 1000);
  // A short tone gets shorter fades, so it still reaches full loudness in its middle.
  const size_t fade = std::min(static_cast<size_t>(sampleRate) * kFadeMs / 1000, count / 4);
  std::vector<int16_t> samples(count);
  const double step = 2 * std::numbers::pi * frequencyHz / sampleRate;
  for (size_t i = 0; i < count; ++i) {
    double gain = 1;
    const size_t fromEdge = std::min(i, count - 1 - i);
    if (fromEdge < fade) {
      // A raised-cosine ramp: no corner at either end of it.
      gain = 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(fromEdge) /
                                  static_cast<double>(fade));
    }
    samples[i] = static_cast<int16_t>(std::lround(kAmplitude * gain * std::sin(step * i)));
  }
  return samples;
}

}  // namespace ondivo
