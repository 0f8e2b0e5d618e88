#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "radio/RadioTypes.h"

namespace ondivo {

// Which ALSA simple-mixer elements carry which of the sixteen controls. A source line's volume
// is its element's playback volume and its mute the element's playback switch (inverted); the
// first name of a row the card has wins.
struct AlsaElementRow {
  tMixerControlType volume;
  std::optional<tMixerControlType> mute;  // none for the tone controls
  std::array<std::string_view, 3> names;  // empty entries unused
};

inline constexpr std::string_view kAlsaMasterName = "Master";

inline constexpr std::array<AlsaElementRow, 8> kAlsaElementRows{{
    // ALSA names "Tone Control - Bass" and "Bass Playback Volume" both "Bass".
    {mcTreble, std::nullopt, {"Treble", {}, {}}},
    {mcBass, std::nullopt, {"Bass", {}, {}}},
    {mcMidiVolume, mcMidiMute, {"Synth", "MIDI", "FM"}},
    {mcWaveVolume, mcWaveMute, {"PCM", "Wave", {}}},
    {mcCdVolume, mcCdMute, {"CD", {}, {}}},
    {mcLineInVolume, mcLineInMute, {"Line", {}, {}}},
    {mcMicVolume, mcMicMute, {"Mic", {}, {}}},
    {mcSpeakerVolume, mcSpeakerMute, {"PC Speaker", "Beep", "PC Beep"}},
}};

// True when name is one of the source or tone elements above (so it cannot be the master).
bool IsAlsaSourceElement(std::string_view name);

// The element to use as the playback master: "Master", else the first of the given
// playback-volume elements that is not a source or tone element. Empty when there is none.
std::optional<std::string_view> ChooseAlsaMaster(const std::vector<std::string_view>& volumes);

}  // namespace ondivo
