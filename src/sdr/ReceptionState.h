#pragma once
// What the receiver reports as the reception state of the tuned channel.
#include "radio/RadioTypes.h"

namespace ondivo::sdr {

// A channel this far above the noise floor holds a station: about where an FM receiver's
// threshold lies, below which the sound breaks up into noise anyway.
inline constexpr double kStationMarginDb = 10.0;

// sStereo while the pilot is locked, sMono for a station without it, sNone otherwise. The
// pilot only counts on a station: noise alone must never read as stereo.
inline tSignal ReceptionState(bool pilotLocked, double marginDb) {
  if (marginDb < kStationMarginDb) return tSignal::sNone;
  return pilotLocked ? tSignal::sStereo : tSignal::sMono;
}

}  // namespace ondivo::sdr
