#pragma once
// AudioSink on ALSA playback: the default PCM or a named one, 16-bit interleaved, about
// 100 ms of buffer. After an underrun the buffer is primed with silence before the sound
// resumes, so a slow moment costs one gap instead of a rattle of restarts.
#include <alsa/asoundlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "audio/AudioSink.h"

namespace ondivo {

class AlsaAudioSink final : public AudioSink {
 public:
  explicit AlsaAudioSink(std::string device = "default");
  ~AlsaAudioSink() override;
  AlsaAudioSink(const AlsaAudioSink&) = delete;
  AlsaAudioSink& operator=(const AlsaAudioSink&) = delete;

  void Open(unsigned rate, unsigned channels) override;
  void Write(const float* frames, size_t count) override;
  void Close() override;
  unsigned Underruns() const { return mUnderruns; }

 private:
  void WriteConverted(const int16_t* samples, size_t frames);
  void Recover(int error);
  std::string mDevice;
  snd_pcm_t* mPcm = nullptr;
  unsigned mChannels = 2;
  snd_pcm_uframes_t mBufferFrames = 0;
  unsigned mUnderruns = 0;
  std::vector<int16_t> mConverted, mSilence;
};

}  // namespace ondivo
