#pragma once
// The reception state of one channel told from a look's wideband IQ alone, so a seek can
// confirm what the spectrum marked without retuning and waiting for a fresh measurement. The
// same rule as the receiver's (margin over the floor, carrier on tune), on a few milliseconds
// of signal: the carrier's offset is the plain mean of the discriminator, which a few
// milliseconds of audio leave near zero. A look is too short to lock the pilot, so a station
// reads sMono here; the receiver tells stereo once tuned.
#include <cstddef>

#include "radio/RadioTypes.h"
#include "sdr/Liquid.h"

namespace ondivo::sdr {

tSignal LookReception(const Iq* iq, size_t n, double rate, double offsetHz);

}  // namespace ondivo::sdr
