#pragma once

namespace ondivo {

// Where the panel's tones go: a script's beep action sounds one tone per second through it.
// The real one writes a sine to the sound card; tests record what was asked.
class Tone {
 public:
  virtual ~Tone() = default;
  // Starts a tone and returns at once; the panel never waits for it to end.
  virtual void Play(int frequencyHz, int durationMs) = 0;
};

}  // namespace ondivo
