#pragma once

#include <poll.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "radio/RadioTypes.h"

namespace ondivo {

// One of the sixteen controls as the sound card has it. Mute controls are reported in the
// mixer's convention (Maximum = muted), whatever the card stores.
struct MixerControlInfo {
  bool Present = false;
  int32_t Minimum = 0;
  int32_t Maximum = 0;
  int Channels = 0;  // 1 for a control that sets every channel at once, else 2
};

using MixerValues = std::array<int32_t, 2>;  // channel 0 = left, 1 = right

// A sound card's mixer as TMixer needs it. Every failure of the sound system is thrown as
// eMMError naming the failing call; a card without a playback master as eMixerLineNotFound.
class MixerBackend {
 public:
  virtual ~MixerBackend() = default;

  virtual void Open(const std::string& device) = 0;
  virtual void Close() = 0;
  // The card's own name, for messages.
  virtual std::string CardName() const = 0;

  virtual MixerControlInfo Describe(tMixerControlType control) const = 0;
  // Both channels; a one-channel control reads the same value twice.
  virtual MixerValues Read(tMixerControlType control) = 0;
  // Values already inside the control's range; a one-channel control takes channel 0.
  virtual void Write(tMixerControlType control, MixerValues values) = 0;

  // Descriptors that become readable when the card reports a change.
  virtual std::vector<pollfd> PollDescriptors() const = 0;
  // Takes every pending change report and names each control it touched (possibly twice).
  virtual void HandleEvents(const std::function<void(tMixerControlType)>& touched) = 0;
};

}  // namespace ondivo
