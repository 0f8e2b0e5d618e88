#pragma once

#include <cstdint>
#include <vector>

namespace ondivo {

// The samples of one beep: a sine of frequencyHz lasting durationMs at sampleRate, mono 16 bit,
// at half of full scale, faded in and out over a few milliseconds so it starts and stops
// without a click. Empty for a frequency or duration that is not positive, or a pitch above
// what the rate can carry.
std::vector<int16_t> ToneWave(int frequencyHz, int durationMs, int sampleRate);

}  // namespace ondivo
