#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "radio/RadioTypes.h"

namespace ondivo {

// The part of the sound-card mixer the radio card needs to route its volume and mute to an
// input line. The sound-card mixer component implements it; without a sound card the radio card
// has none.
//
// Contract:
// - Values are per channel (0 = left, 1 = right; a mono control reads the same on both) in the
//   control's own range Minimum()..Maximum(), as the sound card reports it (0..31, 0..65535, ...).
//   The radio card scales its 0..256 volume onto whatever range is reported, small ones and
//   ones that do not start at 0 included (radio/MixerLineScale.h).
// - Mute controls use the mixer's convention: Maximum() = muted, Minimum() = not muted
//   (an ALSA playback switch is the inverse: switch on = sound; the backend turns it round).
// - A control the card lacks reports HasControl() false; its values read 0 and writes to it are
//   ignored.
// - Changes made from outside (another program, the user's mixer) are reported through the
//   change handler with the control's index; writes made through SetValue are not reported back.
class CardMixer {
 public:
  using ChangeHandler = std::function<void(tMixerControlType control)>;

  virtual ~CardMixer() = default;
  virtual bool HasControl(tMixerControlType control) const = 0;
  virtual int32_t Minimum(tMixerControlType control) const = 0;
  virtual int32_t Maximum(tMixerControlType control) const = 0;
  virtual int32_t Value(tMixerControlType control, int channel) const = 0;
  virtual void SetValue(tMixerControlType control, int channel, int32_t value) = 0;

  // The radio card attaches itself here; one handler at a time, an empty one detaches.
  void SetChangeHandler(ChangeHandler handler) { changeHandler_ = std::move(handler); }

  // True when the line has both its volume and its mute control, so it can carry the radio.
  bool LineAvailable(tVolumeLine line) const;

 protected:
  // Implementations call this for every change made from outside.
  void NotifyChange(tMixerControlType control) const {
    if (changeHandler_) changeHandler_(control);
  }

 private:
  ChangeHandler changeHandler_;
};

// The volume and mute controls of a sound-card input line.
struct MixerLineControls {
  tMixerControlType volume;
  tMixerControlType mute;
};

// The controls of vlLineIn, vlMicIn and vlCd; nothing for vlNone and vlNative.
constexpr std::optional<MixerLineControls> LineControlsOf(tVolumeLine line) {
  switch (line) {
    case vlLineIn:
      return MixerLineControls{mcLineInVolume, mcLineInMute};
    case vlMicIn:
      return MixerLineControls{mcMicVolume, mcMicMute};
    case vlCd:
      return MixerLineControls{mcCdVolume, mcCdMute};
    default:
      return std::nullopt;
  }
}

inline bool CardMixer::LineAvailable(tVolumeLine line) const {
  const auto controls = LineControlsOf(line);
  return controls && HasControl(controls->volume) && HasControl(controls->mute);
}

}  // namespace ondivo
