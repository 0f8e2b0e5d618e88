#pragma once
// The emulated sound card's stream output: a PCM for sound that plays on and on (an SDR
// receiver's), which keeps only the last seconds of what it was given in a ring file of fixed
// size, so a long listening session costs a few hundred kilobytes rather than hundreds of
// megabytes. The file is this header, then Capacity frames of interleaved 16-bit samples; the
// frame numbered n lies at slot n % Capacity.
#include <cstdint>
#include <filesystem>
#include <optional>

#include "sim/EmulatedPlayback.h"

namespace ondivo::sim {

struct EmulatedStreamHeader {
  char Magic[8] = {'O', 'N', 'D', 'S', 'T', 'R', 'M', '1'};
  uint32_t Rate = 0;
  uint32_t Channels = 0;
  uint32_t Capacity = 0;  // frames the file keeps
  uint32_t Reserved = 0;
  uint64_t Written = 0;  // frames given since the PCM was opened; updated after the samples
};

// Seconds of sound the stream file keeps.
inline constexpr unsigned kStreamSeconds = 4;

// The last frames the stream output was given, oldest first; nothing when the file holds no
// stream. Read while sound still arrives, the oldest frames may already be newer ones: measure
// the end.
std::optional<PlayedSound> ReadStreamedSound(const std::filesystem::path& path);
// How many frames the stream output was given since it was opened (0 without a stream).
uint64_t StreamedFrames(const std::filesystem::path& path);

}  // namespace ondivo::sim
