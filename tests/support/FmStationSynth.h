#pragma once
// The receiver tests synthesize their stations with the emulated SDR's own synthesizer.
#include <cstdint>
#include <string>

#include "sim/FmStationSynth.h"

namespace ondivo::test {
using sim::FmStation;
using sim::SynthesizeIq;

// Half a second at 240 ksps of nothing but noise, as 8-bit unsigned IQ a stick records: an
// empty band when the emulated device replays it wherever it is tuned.
inline std::string NoiseCaptureCu8() {
  std::string noise(2 * 240000, '\0');
  uint64_t state = 1;
  for (char& c : noise) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    c = static_cast<char>(120 + ((state >> 33) % 16));
  }
  return noise;
}
}  // namespace ondivo::test
