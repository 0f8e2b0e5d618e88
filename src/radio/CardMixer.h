#pragma once

#include <cstdint>

#include "radio/RadioTypes.h"

namespace ondivo {

// The part of the sound-card mixer the radio card needs to route its volume and mute to an
// input line: read and write the channel values of one control. The sound-card mixer component
// implements it; without a sound card the radio card has none.
class CardMixer {
 public:
  virtual ~CardMixer() = default;
  virtual bool HasControl(tMixerControlType control) const = 0;
  virtual int32_t Minimum(tMixerControlType control) const = 0;
  virtual int32_t Maximum(tMixerControlType control) const = 0;
  virtual int32_t Value(tMixerControlType control, int channel) const = 0;
  virtual void SetValue(tMixerControlType control, int channel, int32_t value) = 0;
};

}  // namespace ondivo
