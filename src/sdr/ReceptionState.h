#pragma once
// What the receiver reports as the reception state of the tuned channel.
#include <cmath>

#include "radio/RadioTypes.h"

namespace ondivo::sdr {

// A channel this far above the noise floor holds a station: about where an FM receiver's
// threshold lies, below which the sound breaks up into noise anyway.
inline constexpr double kStationMarginDb = 10.0;

// A carrier further than this from the channel's centre is off-tune: the 200 kHz channel
// filter already cuts into its sidebands (50 kHz off leaves 29 dB SNR where a tuned station
// has 45), and the step scan must stop on the station, not 25 kHz beside it.
inline constexpr double kOffTuneHz = 20e3;

// sStereo while the pilot is locked, sMono for a station without it, sNone otherwise, and for
// a station that is off-tune. The pilot only counts on a station: noise alone must never read
// as stereo.
inline tSignal ReceptionState(bool pilotLocked, double marginDb, double carrierOffsetHz) {
  if (marginDb < kStationMarginDb || std::abs(carrierOffsetHz) > kOffTuneHz) return tSignal::sNone;
  return pilotLocked ? tSignal::sStereo : tSignal::sMono;
}

}  // namespace ondivo::sdr
