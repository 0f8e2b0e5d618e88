#pragma once
// The reception state of one channel told from a look's wideband IQ alone, so a seek can
// confirm what the spectrum marked without retuning and waiting for a fresh measurement. The
// same rule as the receiver's (margin over the floor, carrier on tune) on what the look holds:
// the carrier's offset is the plain mean of the discriminator, as the receiver's tuning meter
// takes it, so a look needs about as much signal as that meter averages (some 20 ms) for
// the audio's bass to cancel. A look is too short to lock the pilot, so a station reads sMono
// here; the receiver tells stereo once tuned.
#include <cstddef>

#include "radio/RadioTypes.h"
#include "sdr/BandPower.h"
#include "sdr/Liquid.h"

namespace ondivo::sdr {

// The IQ a seek's look takes: 27 ms at 2.4 Msps, longer at lower rates.
inline constexpr size_t kLookSamples = 32 * BandPower::kBins;

tSignal LookReception(const Iq* iq, size_t n, double rate, double offsetHz);

}  // namespace ondivo::sdr
