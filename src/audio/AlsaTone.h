#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "audio/Tone.h"

namespace ondivo {

// Tones on an ALSA playback PCM. Each tone is written by a small thread of its own, so Play
// returns at once and the panel never waits for the sound card; tones asked for while one
// sounds follow it in order. Where the PCM cannot be opened the fallback (the desktop's
// default beep) sounds instead, and nothing fails.
class AlsaTone final : public Tone {
 public:
  static constexpr int kSampleRate = 48000;

  // fallback runs on the tone thread; whoever needs it on another thread passes it there.
  AlsaTone(std::string device, std::function<void()> fallback);
  // A tone that sounds is cut short and waiting ones are dropped.
  ~AlsaTone() override;
  AlsaTone(const AlsaTone&) = delete;
  AlsaTone& operator=(const AlsaTone&) = delete;

  void Play(int frequencyHz, int durationMs) override;
  // Waits until every tone asked for so far has been played out, or has fallen back to the
  // beep.
  void Flush();

 private:
  struct Request {
    int FrequencyHz;
    int DurationMs;
  };

  void Work();
  void Sound(const Request& tone);
  bool Stopping();
  void ReportFallback(int error);

  const std::string device_;
  const std::function<void()> fallback_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<Request> waiting_;
  bool sounding_ = false;
  bool stopping_ = false;
  bool fallbackReported_ = false;
  std::thread worker_;  // last: it starts once everything above exists
};

}  // namespace ondivo
