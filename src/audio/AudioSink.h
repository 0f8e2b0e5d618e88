#pragma once
// Where demodulated sound goes: interleaved float frames in [-1, 1]. The real one is ALSA
// playback; tests and the simulation use the emulated sound card's playback PCM, whose samples
// land in a file.
#include <cstddef>
#include <stdexcept>
#include <string>

namespace ondivo {

// Opening or writing failed; what() says which output and why, for the user.
class eAudioSink : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class AudioSink {
 public:
  virtual ~AudioSink() = default;
  virtual void Open(unsigned rate, unsigned channels) = 0;
  // Blocks until all frames are queued with the output; an underrun is recovered inside.
  virtual void Write(const float* frames, size_t count) = 0;
  // Plays out what is queued and closes.
  virtual void Close() = 0;
};

}  // namespace ondivo
