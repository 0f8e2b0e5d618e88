#include "sim/EmulatedPlayback.h"

#include <cstring>
#include <optional>
#include <string>

#include "platform/ReadWholeFile.h"
#include "stations/FrequencyText.h"

namespace ondivo::sim {

namespace {

constexpr size_t kMaxRecording = 64u << 20;

uint32_t Little(const std::string& bytes, size_t at, size_t width) {
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i) {
    value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
  }
  return value;
}

// A RIFF/WAVE file of 16-bit PCM. A data chunk whose length was never filled in (a recording
// still open) runs to the end of the file.
std::optional<PlayedSound> ParseWav(const std::string& bytes) {
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
    return std::nullopt;
  }
  PlayedSound sound;
  bool haveFormat = false;
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    const size_t size = Little(bytes, at + 4, 4);
    const size_t body = at + 8;
    if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
      if (Little(bytes, body, 2) != 1 || Little(bytes, body + 14, 2) != 16) return std::nullopt;
      sound.Channels = static_cast<int>(Little(bytes, body + 2, 2));
      sound.Rate = static_cast<int>(Little(bytes, body + 4, 4));
      haveFormat = true;
    } else if (id == "data" && haveFormat) {
      const size_t end = size == 0 || body + size > bytes.size() ? bytes.size() : body + size;
      sound.Samples.resize((end - body) / 2);
      std::memcpy(sound.Samples.data(), bytes.data() + body, sound.Samples.size() * 2);
      return sound;
    }
    at = body + size + (size & 1);
  }
  return std::nullopt;
}

}  // namespace

std::vector<PlayedSound> ReadPlayedSounds(const std::filesystem::path& first) {
  std::vector<PlayedSound> played;
  for (int n = 0;; ++n) {
    std::filesystem::path path = first;
    if (n > 0) path += "." + PadNumber(n, 4);
    std::string bytes;
    if (ReadWholeFile(path, kMaxRecording, bytes) != tWholeFileRead::Read) break;
    auto sound = ParseWav(bytes);
    if (!sound) break;
    played.push_back(std::move(*sound));
  }
  return played;
}

}  // namespace ondivo::sim
