#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "panel/PanelState.h"

namespace ondivo {

class TRadioCard;

// The designed range of the volume slider, kept when the card offers no volume range.
inline constexpr int kDesignedVolumeMaximum = 255;

// What the volume group offers for the card as it is configured.
struct tVolumeOffer {
  // False: the group is disabled and shows the notice instead of the slider and the Mixer
  // button.
  bool Usable = false;
  bool MuteEnabled = false;   // btMute and both "Mute" items
  bool MixerEnabled = false;  // btMixer and both "Mixer" items
  // Both "Up", both "Down" and the slider; nothing leaves them as they were (no volume line).
  std::optional<bool> VolumeEnabled;
};
tVolumeOffer VolumeOffer(const TRadioCard& card);

// The slider's range and position. A card without a volume range leaves the slider's
// maximum as it was (the slider refuses a maximum below its increment).
struct tVolumeSlider {
  int Maximum = kDesignedVolumeMaximum;
  int Step = 1;
  int Value = 0;
};
tVolumeSlider VolumeSlider(const TRadioCard& card, int currentMaximum);

// The slider's hint: the volume in per cent of the slider's maximum, rounded ("50%").
std::string VolumeHint(int value, int maximum);

// The indicator shows sound off when muted, or at volume 0 on any volume line.
bool SoundOff(const TRadioCard& card, const tPanelState& state);

// The volume and mute commands of the panel on the card and the panel's mute state. Each
// returns false when it did nothing, so the caller knows whether to refresh.
class PanelVolume {
 public:
  PanelVolume(TRadioCard& card, tPanelState& state) : card_(card), state_(state) {}

  // One volume step. Cards with their own volume step on the card; a volume routed to a mixer
  // line steps the line, whether or not the card has a volume of its own (the items are
  // enabled there, so they act).
  bool Up();
  bool Down();
  // "Reset": the volume to 0, on the card or on the routed line (the panel ignores it while a
  // scan runs).
  bool ToZero();
  // Mute on or off; at volume 0 on a volume line there is nothing to unmute.
  bool ToggleMute();
  // The slider was moved to value.
  void SliderMoved(int value);
  // At start: the stored volume is the card's. A card with its own volume control is at
  // whatever level it was left, so it is driven to silence and raised to the stored volume,
  // unless the start is muted.
  void RestoreStored(int32_t volume, bool startMuted);
  // The routed line was changed from outside (the card already holds the new volume); false
  // when the panel has no volume line and ignores it.
  bool MixerChanged(bool muted);

 private:
  bool StepsVolume() const;
  void FollowCardMute();

  TRadioCard& card_;
  tPanelState& state_;
};

}  // namespace ondivo
