#pragma once
// Software volume and mute, and the interleaving into stereo frames for the sound card. Gain
// changes glide over a few milliseconds so that a step of the volume does not click.
#include <cstddef>

namespace ondivo::sdr {

class Volume {
 public:
  explicit Volume(double rate);
  void SetGain(float gain) { mGain = gain; }
  void SetMute(bool mute) { mMute = mute; }
  // Writes n interleaved left/right frames.
  void Process(const float* left, const float* right, size_t n, float* frames);

 private:
  float mGain = 1, mApplied = 0, mStep;
  bool mMute = false;
};

}  // namespace ondivo::sdr
