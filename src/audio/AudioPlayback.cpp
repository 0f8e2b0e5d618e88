#include "audio/AudioPlayback.h"

#include <algorithm>

namespace ondivo {

namespace {
constexpr size_t kPeriodFrames = 480;  // 10 ms at 48 kHz
constexpr int kPollMs = 2;
}  // namespace

AudioPlayback::AudioPlayback(FrameRing& ring, AudioSink& sink, unsigned rate, size_t targetFill,
                             Delay* waits)
    : mRing(ring),
      mSink(sink),
      mRate(rate),
      mTargetFill(std::min(targetFill, ring.Capacity())),
      mWaits(waits ? *waits : mSleeping),
      mBuffer(kPeriodFrames * ring.Channels()) {}

AudioPlayback::~AudioPlayback() {
  Stop();
}

void AudioPlayback::Start() {
  mSink.Open(mRate, mRing.Channels());
  mStop = mDrain = false;
  mThread = std::thread([this] { Run(); });
}

void AudioPlayback::Stop() {
  End(false);
}
void AudioPlayback::Finish() {
  End(true);
}

void AudioPlayback::End(bool drain) {
  if (!mThread.joinable()) return;
  (drain ? mDrain : mStop) = true;
  mThread.join();
  try {
    mSink.Close();
  } catch (const eAudioSink&) {
    // Closing after a failure: the failure was told already.
  }
}

std::string AudioPlayback::Failure() const {
  const std::lock_guard lock(mFailureMutex);
  return mFailure;
}

void AudioPlayback::Run() {
  bool filling = true;
  try {
    while (!mStop) {
      if (filling && mRing.Fill() < mTargetFill && !mDrain) {
        mWaits.Wait(kPollMs);
        continue;
      }
      filling = false;
      const size_t n = mRing.Read(mBuffer.data(), kPeriodFrames);
      if (n > 0) {
        mSink.Write(mBuffer.data(), n);
      } else if (mDrain) {
        return;
      } else {
        filling = true;  // ran dry: wait for the target fill again
      }
    }
  } catch (const eAudioSink& e) {
    const std::lock_guard lock(mFailureMutex);
    mFailure = e.what();
  }
}

}  // namespace ondivo
