#include "audio/AlsaAudioSink.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace ondivo {

namespace {
constexpr unsigned kLatencyUs = 100000;
constexpr size_t kChunkFrames = 1024;
}  // namespace

AlsaAudioSink::AlsaAudioSink(std::string device) : mDevice(std::move(device)) {}

AlsaAudioSink::~AlsaAudioSink() {
  if (mPcm) snd_pcm_close(mPcm);
}

void AlsaAudioSink::Open(unsigned rate, unsigned channels) {
  Close();
  mChannels = channels;
  int error = snd_pcm_open(&mPcm, mDevice.c_str(), SND_PCM_STREAM_PLAYBACK, 0);
  if (error < 0) {
    mPcm = nullptr;
    throw eAudioSink("Can't open the sound output \"" + mDevice + "\": " + snd_strerror(error));
  }
  error = snd_pcm_set_params(mPcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, channels,
                             rate, 1, kLatencyUs);
  snd_pcm_uframes_t period = 0;
  if (error >= 0) error = snd_pcm_get_params(mPcm, &mBufferFrames, &period);
  if (error < 0) {
    snd_pcm_close(mPcm);
    mPcm = nullptr;
    throw eAudioSink("Can't set up the sound output \"" + mDevice + "\": " + snd_strerror(error));
  }
  mConverted.resize(kChunkFrames * channels);
  mSilence.assign(mBufferFrames / 2 * channels, 0);
}

void AlsaAudioSink::Write(const float* frames, size_t count) {
  if (!mPcm) return;
  for (size_t done = 0; done < count;) {
    const size_t n = std::min(kChunkFrames, count - done);
    const float* from = frames + done * mChannels;
    for (size_t i = 0; i < n * mChannels; ++i)
      mConverted[i] =
          static_cast<int16_t>(std::lrint(std::clamp(from[i], -1.0f, 32767.0f / 32768) * 32768));
    WriteConverted(mConverted.data(), n);
    done += n;
  }
}

void AlsaAudioSink::WriteConverted(const int16_t* samples, size_t frames) {
  while (frames > 0) {
    const snd_pcm_sframes_t written = snd_pcm_writei(mPcm, samples, frames);
    if (written < 0) {
      Recover(static_cast<int>(written));
      continue;
    }
    samples += written * mChannels;
    frames -= static_cast<size_t>(written);
  }
}

void AlsaAudioSink::Recover(int error) {
  if (error == -EPIPE) {
    ++mUnderruns;
    error = snd_pcm_prepare(mPcm);
    // Half a buffer of silence first: the restart then has the headroom the underrun lacked.
    if (error >= 0 && !mSilence.empty())
      error = static_cast<int>(snd_pcm_writei(mPcm, mSilence.data(), mSilence.size() / mChannels));
  } else {
    error = snd_pcm_recover(mPcm, error, 1);
  }
  if (error < 0)
    throw eAudioSink("The sound output \"" + mDevice + "\" failed: " + snd_strerror(error));
}

void AlsaAudioSink::Close() {
  if (!mPcm) return;
  snd_pcm_drain(mPcm);
  snd_pcm_close(mPcm);
  mPcm = nullptr;
}

}  // namespace ondivo
