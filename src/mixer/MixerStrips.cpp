#include "mixer/MixerStrips.h"

#include <algorithm>

#include "mixer/Mixer.h"

namespace ondivo {

namespace {

constexpr std::array<tStripControls, 4> kStripControls = {{
    {"Master", mcMasterVolume, mcMasterMute, true},
    {"Line in", mcLineInVolume, mcLineInMute, true},
    {"Compact Disc", mcCdVolume, mcCdMute, true},
    {"Microphone", mcMicVolume, mcMicMute, false},
}};

}  // namespace

tBalance BalanceOf(int32_t left, int32_t right) {
  tBalance b;
  b.Volume = std::max(left, right);
  if (b.Volume != 0) {
    b.Pan = static_cast<int32_t>(int64_t{kPanHalfRange} * (int64_t{right} - left) / b.Volume);
  }
  return b;
}

MixerValues ChannelsOf(int32_t volume, int32_t pan) {
  const int64_t v = volume;
  if (pan < 0) return {volume, static_cast<int32_t>(v * (pan + kPanHalfRange) / kPanHalfRange)};
  return {static_cast<int32_t>(v * (kPanHalfRange - pan) / kPanHalfRange), volume};
}

const tStripControls& StripControls(tMixerStrip strip) {
  return kStripControls[static_cast<size_t>(strip)];
}

std::optional<tMixerStrip> StripOf(tMixerControlType control) {
  for (const tMixerStrip strip : kMixerStrips) {
    const tStripControls& c = StripControls(strip);
    if (c.Volume == control || c.Mute == control) return strip;
  }
  return std::nullopt;
}

std::optional<tMixerStrip> RoutedStrip(tVolumeLine line) {
  switch (line) {
    case vlLineIn:
      return tMixerStrip::LineIn;
    case vlMicIn:
      return tMixerStrip::Mic;
    case vlCd:
      return tMixerStrip::Cd;
    default:
      return std::nullopt;
  }
}

tStripView StripView(const TMixer& mixer, tMixerStrip strip) {
  const tStripControls& c = StripControls(strip);
  tStripView view;
  if (mixer.HasControl(c.Volume)) {
    view.VolumeEnabled = true;
    view.PanEnabled = c.Panning;
    view.Minimum = mixer.ControlMin(c.Volume);
    view.Maximum = mixer.ControlMax(c.Volume);
    view.Balance =
        BalanceOf(mixer.GetControlValue(c.Volume, 0), mixer.GetControlValue(c.Volume, 1));
  }
  if (mixer.HasControl(c.Mute)) {
    view.MuteEnabled = true;
    view.MuteDown = mixer.GetControlValue(c.Mute, 0) != mixer.ControlMin(c.Mute);
  }
  return view;
}

tToneView ToneView(const TMixer& mixer, tMixerControlType control) {
  tToneView view;
  if (!mixer.HasControl(control)) return view;
  view.Enabled = true;
  view.Minimum = mixer.ControlMin(control);
  view.Maximum = mixer.ControlMax(control);
  view.Value = mixer.GetControlValue(control, 0);
  return view;
}

void WriteBalance(TMixer& mixer, tMixerStrip strip, int32_t volume, int32_t pan) {
  const tStripControls& c = StripControls(strip);
  if (!mixer.HasControl(c.Volume)) return;
  const MixerValues channels = ChannelsOf(volume, c.Panning ? pan : 0);
  mixer.SetControlValues(c.Volume, channels[0], channels[1]);
}

void WriteMute(TMixer& mixer, tMixerStrip strip, bool down) {
  const tMixerControlType mute = StripControls(strip).Mute;
  if (!mixer.HasControl(mute)) return;
  mixer.SetControlValue(mute, 0, down ? mixer.ControlMax(mute) : mixer.ControlMin(mute));
}

void WriteTone(TMixer& mixer, tMixerControlType control, int32_t value) {
  if (!mixer.HasControl(control)) return;
  mixer.SetControlValues(control, value, value);
}

}  // namespace ondivo
