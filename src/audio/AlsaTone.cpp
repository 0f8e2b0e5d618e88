#include "audio/AlsaTone.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstdio>

#include "audio/ToneWave.h"

namespace ondivo {

namespace {

// Tones come one a second, so more waiting than this means the device has stalled.
constexpr size_t kMaxWaiting = 8;
constexpr unsigned kLatencyUs = 100000;
// How long one wait for the device lasts before the thread looks whether it is to stop.
constexpr int kPollMs = 50;

// Writes all samples unless told to stop; false when stopped or the device failed.
bool WriteAll(snd_pcm_t* pcm, const std::vector<int16_t>& samples,
              const std::function<bool()>& stopping) {
  size_t done = 0;
  while (done < samples.size()) {
    if (stopping()) return false;
    const snd_pcm_sframes_t written =
        snd_pcm_writei(pcm, samples.data() + done, samples.size() - done);
    if (written >= 0) {
      done += static_cast<size_t>(written);
    } else if (written == -EAGAIN) {
      snd_pcm_wait(pcm, kPollMs);
    } else if (snd_pcm_recover(pcm, static_cast<int>(written), 1) < 0) {
      return false;  // the device went away; the rest of this tone is lost
    }
  }
  return true;
}

}  // namespace

AlsaTone::AlsaTone(std::string device, std::function<void()> fallback)
    : device_(std::move(device)), fallback_(std::move(fallback)), worker_([this] { Work(); }) {}

AlsaTone::~AlsaTone() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting_.clear();
  }
  wake_.notify_all();
  worker_.join();
}

void AlsaTone::Play(int frequencyHz, int durationMs) {
  {
    const std::lock_guard lock(mutex_);
    if (waiting_.size() >= kMaxWaiting) return;
    waiting_.push_back({frequencyHz, durationMs});
  }
  wake_.notify_all();
}

void AlsaTone::Flush() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return waiting_.empty() && !sounding_; });
}

void AlsaTone::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    if (stopping_) break;
    const Request tone = waiting_.front();
    waiting_.pop_front();
    sounding_ = true;
    lock.unlock();
    Sound(tone);
    lock.lock();
    sounding_ = false;
    idle_.notify_all();
  }
  sounding_ = false;
  idle_.notify_all();
}

void AlsaTone::Sound(const Request& tone) {
  const std::vector<int16_t> samples = ToneWave(tone.FrequencyHz, tone.DurationMs, kSampleRate);
  if (samples.empty()) return;
  snd_pcm_t* pcm = nullptr;
  // Opened without blocking, so a device another program holds fails at once instead of
  // keeping the tones waiting.
  int result = snd_pcm_open(&pcm, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  if (result >= 0) {
    result = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                                kSampleRate, 1, kLatencyUs);
  }
  if (result < 0) {
    if (pcm) snd_pcm_close(pcm);
    ReportFallback(result);
    if (fallback_) fallback_();
    return;
  }
  if (WriteAll(pcm, samples, [this] { return Stopping(); })) {
    // Let what is buffered play out; in non-blocking mode draining is waited for by polling.
    result = snd_pcm_drain(pcm);
    while ((result >= 0 || result == -EAGAIN) && snd_pcm_state(pcm) == SND_PCM_STATE_DRAINING &&
           !Stopping()) {
      result = snd_pcm_wait(pcm, kPollMs);
    }
  }
  snd_pcm_drop(pcm);
  snd_pcm_close(pcm);
}

bool AlsaTone::Stopping() {
  const std::lock_guard lock(mutex_);
  return stopping_;
}

// Said once: a machine without a sound device would otherwise repeat it every second.
void AlsaTone::ReportFallback(int error) {
  {
    const std::lock_guard lock(mutex_);
    if (fallbackReported_) return;
    fallbackReported_ = true;
  }
  std::fprintf(stderr, "ondivo: tones cannot play on \"%s\" (%s); the default beep sounds\n",
               device_.c_str(), snd_strerror(error));
}

}  // namespace ondivo
