#include "sim/EmulatedStream.h"

#include <cstring>
#include <fstream>

namespace ondivo::sim {

namespace {
std::optional<EmulatedStreamHeader> ReadHeader(std::ifstream& in) {
  EmulatedStreamHeader header;
  const EmulatedStreamHeader expected;
  if (!in.read(reinterpret_cast<char*>(&header), sizeof header) ||
      std::memcmp(header.Magic, expected.Magic, sizeof header.Magic) != 0 || header.Channels == 0 ||
      header.Channels > 2 || header.Capacity == 0 || header.Capacity > 192000 * kStreamSeconds) {
    return std::nullopt;
  }
  return header;
}
}  // namespace

uint64_t StreamedFrames(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const auto header = ReadHeader(in);
  return header ? header->Written : 0;
}

std::optional<PlayedSound> ReadStreamedSound(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const auto found = ReadHeader(in);
  if (!found) return std::nullopt;
  const EmulatedStreamHeader& header = *found;
  std::vector<int16_t> ring(static_cast<size_t>(header.Capacity) * header.Channels);
  if (!in.read(reinterpret_cast<char*>(ring.data()),
               static_cast<std::streamsize>(ring.size() * sizeof(int16_t)))) {
    return std::nullopt;
  }
  PlayedSound sound;
  sound.Rate = static_cast<int>(header.Rate);
  sound.Channels = static_cast<int>(header.Channels);
  const uint64_t kept = std::min<uint64_t>(header.Written, header.Capacity);
  for (uint64_t n = header.Written - kept; n < header.Written; ++n) {
    const auto* frame = ring.data() + (n % header.Capacity) * header.Channels;
    sound.Samples.insert(sound.Samples.end(), frame, frame + header.Channels);
  }
  return sound;
}

}  // namespace ondivo::sim
