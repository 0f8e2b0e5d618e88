#pragma once
// The receiver tests synthesize their stations with the emulated SDR's own synthesizer.
#include "sim/FmStationSynth.h"

namespace ondivo::test {
using sim::FmStation;
using sim::SynthesizeIq;
}  // namespace ondivo::test
