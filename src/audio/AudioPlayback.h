#pragma once
// The playback thread: takes frames from the ring and hands them to the sink, which blocks at
// the sound card's pace. It starts (and restarts after running dry) only once the ring holds
// its target fill, so a late block costs one short gap rather than a stutter of tiny ones.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioSink.h"
#include "audio/FrameRing.h"
#include "platform/Delay.h"

namespace ondivo {

class AudioPlayback {
 public:
  // waits: how the thread waits for the ring to fill (a short sleep when null).
  AudioPlayback(FrameRing& ring, AudioSink& sink, unsigned rate, size_t targetFill,
                Delay* waits = nullptr);
  ~AudioPlayback();
  AudioPlayback(const AudioPlayback&) = delete;
  AudioPlayback& operator=(const AudioPlayback&) = delete;

  // Opens the sink (throws eAudioSink) and starts the thread.
  void Start();
  // Stops at once; what is left in the ring is dropped.
  void Stop();
  // Plays out what the ring holds, then stops (the producer has finished).
  void Finish();
  // Why the sink failed, once it has; the thread has ended then.
  std::string Failure() const;

 private:
  void Run();
  void End(bool drain);
  FrameRing& mRing;
  AudioSink& mSink;
  unsigned mRate;
  size_t mTargetFill;
  SleepingDelay mSleeping;
  Delay& mWaits;
  std::vector<float> mBuffer;
  std::atomic<bool> mStop{false}, mDrain{false};
  mutable std::mutex mFailureMutex;
  std::string mFailure;
  std::thread mThread;
};

}  // namespace ondivo
