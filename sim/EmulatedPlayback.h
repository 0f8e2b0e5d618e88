#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace ondivo::sim {

// One playback on the emulated sound card, from the PCM's opening to its closing: what a
// loudspeaker would have given out.
struct PlayedSound {
  int Rate = 0;
  int Channels = 0;
  std::vector<int16_t> Samples;  // interleaved
};

// The recordings the card's playback PCM left: first, then first.0001, first.0002 and on,
// oldest first. A recording that is not 16-bit PCM WAV ends the list.
std::vector<PlayedSound> ReadPlayedSounds(const std::filesystem::path& first);

}  // namespace ondivo::sim
