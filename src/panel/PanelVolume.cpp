#include "panel/PanelVolume.h"

#include <cmath>

#include "radio/RadioCard.h"

namespace ondivo {

tVolumeOffer VolumeOffer(const TRadioCard& card) {
  const tDevCap cap = card.GetDevCap(card.Model());
  tVolumeOffer offer;
  offer.Usable = cap.CanVolume || cap.CanMute || card.SoundCard();
  if (!offer.Usable) return offer;
  offer.MuteEnabled = cap.CanMute;
  offer.MixerEnabled = card.SoundCard();
  const tVolumeLine line = card.VolumeLine();
  if (line == vlNative) {
    offer.VolumeEnabled = cap.CanVolume;
  } else if (IsMixerLine(line)) {
    offer.VolumeEnabled = card.SoundCard();
  }
  return offer;
}

tVolumeSlider VolumeSlider(const TRadioCard& card, int currentMaximum) {
  tVolumeSlider slider;
  slider.Step = card.VolumeStep();
  const bool hasRange = card.MaxVolume() >= slider.Step && card.MaxVolume() > 0;
  slider.Maximum = hasRange ? card.MaxVolume() : currentMaximum;
  if (slider.Maximum <= 0) slider.Maximum = kDesignedVolumeMaximum;
  if (slider.Step <= 0) slider.Step = 1;
  slider.Value = card.Volume();
  return slider;
}

std::string VolumeHint(int value, int maximum) {
  if (maximum <= 0) return "0%";
  return std::to_string(std::lround(value * 100.0 / maximum)) + "%";
}

bool SoundOff(const TRadioCard& card, const tPanelState& state) {
  return state.Muted || (card.Volume() == 0 && card.VolumeLine() != vlNone);
}

bool PanelVolume::StepsVolume() const {
  return card_.GetDevCap(card_.Model()).CanVolume || IsMixerLine(card_.VolumeLine());
}

void PanelVolume::FollowCardMute() {
  state_.Muted = card_.Muted() || card_.Volume() == 0;
}

bool PanelVolume::Up() {
  if (!StepsVolume()) return false;
  card_.VolumeUp();
  FollowCardMute();
  return true;
}

bool PanelVolume::Down() {
  if (!StepsVolume()) return false;
  card_.VolumeDown();
  FollowCardMute();
  return true;
}

bool PanelVolume::ToZero() {
  if (!StepsVolume()) return false;
  // The card's own sweep to zero exists only on the card; a line is simply set to 0.
  if (IsMixerLine(card_.VolumeLine())) {
    card_.SetVolume(0);
  } else {
    card_.VolumeToZero();
  }
  state_.Muted = true;
  return true;
}

bool PanelVolume::ToggleMute() {
  if (!card_.GetDevCap(card_.Model()).CanMute) return false;
  if (card_.Volume() == 0 && card_.VolumeLine() != vlNone) return false;
  // The panel says muted only once the card is: a radio device that is gone stays as it was.
  const bool muting = !state_.Muted;
  if (muting) {
    card_.Mute();
  } else {
    card_.Unmute();
  }
  state_.Muted = muting;
  return true;
}

void PanelVolume::SliderMoved(int value) {
  card_.SetVolume(value);
  FollowCardMute();
}

void PanelVolume::RestoreStored(int32_t volume, bool startMuted) {
  card_.StoreVolume(volume);
  if (card_.VolumeLine() != vlNative || !card_.GetDevCap(card_.Model()).CanVolume) return;
  // A card that only steps its volume plays while it steps: a muted start stays silent and
  // leaves the card where it is.
  if (startMuted) return;
  card_.VolumeToZero();
  card_.SetVolume(volume);
}

bool PanelVolume::MixerChanged(bool muted) {
  if (card_.VolumeLine() == vlNone) return false;
  if (!muted) card_.UnmuteCard();
  state_.Muted = muted;
  return true;
}

}  // namespace ondivo
