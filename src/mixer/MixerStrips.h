#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "mixer/MixerBackend.h"
#include "radio/RadioTypes.h"

namespace ondivo {

class TMixer;

// Half the range of a panning slider (-100..100).
inline constexpr int32_t kPanHalfRange = 100;

// A stereo control as a volume and a panning position. Silence has no position.
struct tBalance {
  int32_t Volume = 0;
  std::optional<int32_t> Pan;
};
// volume = the louder channel; pan = 100 x (R - L) / volume, truncated toward zero.
tBalance BalanceOf(int32_t left, int32_t right);
// The louder side takes the volume, the other side its share: pan < 0 keeps the left channel.
MixerValues ChannelsOf(int32_t volume, int32_t pan);

// The four channel strips of the mixer dialog, left to right.
enum class tMixerStrip : uint8_t { Master, LineIn, Cd, Mic };
inline constexpr std::array<tMixerStrip, 4> kMixerStrips = {
    tMixerStrip::Master, tMixerStrip::LineIn, tMixerStrip::Cd, tMixerStrip::Mic};

struct tStripControls {
  const char* Title;
  tMixerControlType Volume;
  tMixerControlType Mute;
  bool Panning;  // the microphone is mono
};
const tStripControls& StripControls(tMixerStrip strip);
// The strip whose volume or mute control this is.
std::optional<tMixerStrip> StripOf(tMixerControlType control);
// The strip the radio is routed to, whose title is bold.
std::optional<tMixerStrip> RoutedStrip(tVolumeLine line);

// What a strip shows, from the mixer's cached values.
struct tStripView {
  bool VolumeEnabled = false;  // the volume and the panning slider
  bool PanEnabled = false;
  int32_t Minimum = 0, Maximum = 255;
  tBalance Balance;
  bool MuteEnabled = false;
  bool MuteDown = false;
};
tStripView StripView(const TMixer& mixer, tMixerStrip strip);

// Bass or treble.
struct tToneView {
  bool Enabled = false;
  int32_t Minimum = 0, Maximum = 255, Value = 0;
};
tToneView ToneView(const TMixer& mixer, tMixerControlType control);

// The user's moves. Nothing is written to a control the card lacks.
void WriteBalance(TMixer& mixer, tMixerStrip strip, int32_t volume, int32_t pan);
void WriteMute(TMixer& mixer, tMixerStrip strip, bool down);
void WriteTone(TMixer& mixer, tMixerControlType control, int32_t value);

}  // namespace ondivo
