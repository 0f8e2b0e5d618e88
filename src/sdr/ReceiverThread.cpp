#include "sdr/ReceiverThread.h"

#include <algorithm>
#include <vector>

namespace ondivo::sdr {

namespace {
constexpr double kSettleSeconds = 0.02;    // in flight from before the retune: dropped
constexpr double kMeasureSeconds = 0.1;    // then measured before the state is told
constexpr double kMaxCorrection = 500e-6;  // clocks differ by far less; more would be heard
constexpr double kCorrectionGain = 1e-3;   // per unit of relative fill error
constexpr float kFillSmoothing = 0.05f;

unsigned Pack(tSignal state, unsigned generation) {
  return (generation << 3) | 4u | static_cast<unsigned>(state);
}
}  // namespace

ReceiverThread::ReceiverThread(IqSource& source, FrameRing& ring, FmReceiverSetup setup,
                               size_t targetFill)
    : mSource(source),
      mRing(ring),
      mSetup(setup),
      mTargetFill(targetFill),
      mOffset(setup.StationOffsetHz) {
  mSetup.IqRate = source.Rate();
}

ReceiverThread::~ReceiverThread() {
  Stop();
}

void ReceiverThread::Start() {
  mStop = false;
  mThread = std::thread([this] { Run(); });
}

void ReceiverThread::Stop() {
  mStop = true;
  Finish();
}

void ReceiverThread::Finish() {
  if (mThread.joinable()) mThread.join();
}

void ReceiverThread::Tune(double stationOffsetHz) {
  mOffset = stationOffsetHz;
  ++mGeneration;
}

std::optional<tSignal> ReceiverThread::Reception() const {
  const unsigned packed = mPublished.load();
  if (!(packed & 4u) || (packed >> 3) != (mGeneration.load() & (~0u >> 3))) return std::nullopt;
  return static_cast<tSignal>(packed & 3u);
}

std::string ReceiverThread::Failure() const {
  const std::lock_guard lock(mFailureMutex);
  return mFailure;
}

void ReceiverThread::RequestSnapshot(size_t count) {
  const std::lock_guard lock(mSnapshotMutex);
  mSnapshot.clear();
  mSnapshot.reserve(count);
  mSnapshotWanted = count;
  mSnapshotGeneration = mGeneration.load();
  mSnapshotPending = true;
}

std::vector<Iq> ReceiverThread::Snapshot() {
  const std::lock_guard lock(mSnapshotMutex);
  if (mSnapshotPending || mSnapshot.size() < mSnapshotWanted) return {};
  return mSnapshot;
}

void ReceiverThread::Collect(const Iq* iq, size_t n, unsigned generation) {
  const std::lock_guard lock(mSnapshotMutex);
  if (generation != mSnapshotGeneration) return;
  const size_t take = std::min(n, mSnapshotWanted - mSnapshot.size());
  mSnapshot.insert(mSnapshot.end(), iq, iq + take);
  if (mSnapshot.size() == mSnapshotWanted) mSnapshotPending = false;
}

void ReceiverThread::Publish(tSignal state, unsigned generation) {
  mPublished = Pack(state, generation & (~0u >> 3));
}

void ReceiverThread::Run() {
  try {
    FmReceiver receiver(mSetup);
    std::vector<Iq> iq(mSetup.MaxBlock);
    std::vector<float> frames(receiver.MaxFrames() * mRing.Channels());
    const auto settle = static_cast<size_t>(kSettleSeconds * mSetup.IqRate);
    const auto measure = static_cast<size_t>(kMeasureSeconds * mSetup.IqRate);
    unsigned generation = mGeneration.load() - 1;  // so the first block starts a measurement
    size_t toDrop = 0, measured = 0;
    float fill = static_cast<float>(mTargetFill);
    while (!mStop) {
      const size_t n = mSource.Read(iq.data(), iq.size());
      if (n == 0) return;
      ++mBlocksRead;
      if (const unsigned g = mGeneration.load(); g != generation) {
        generation = g;
        receiver.SetStationOffset(mOffset);
        receiver.ResetMeasurements();
        toDrop = settle;
        measured = 0;
      }
      receiver.SetGain(mGain);
      receiver.SetMute(mMute);
      receiver.SetStereoAllowed(mStereo);
      const size_t skip = std::min(n, toDrop);
      toDrop -= skip;
      if (mSnapshotPending && skip < n) Collect(iq.data() + skip, n - skip, generation);
      const size_t got = receiver.Process(iq.data() + skip, n - skip, frames.data());
      measured += n - skip;
      if (measured >= measure) Publish(receiver.State(), generation);
      for (const RdsBlock& block : receiver.RdsBlocks()) mRds.Push(block, generation);
      mRing.Write(frames.data(), got);
      // Keep the ring near its target: a fuller ring means the sound card is slower than the
      // SDR's clock, so make a little less sound per IQ sample, and the other way round.
      fill += kFillSmoothing * (static_cast<float>(mRing.Fill()) - fill);
      const double error = (fill - static_cast<double>(mTargetFill)) / mTargetFill;
      receiver.SetRateCorrection(
          std::clamp(-kCorrectionGain * error, -kMaxCorrection, kMaxCorrection));
    }
  } catch (const std::exception& e) {
    const std::lock_guard lock(mFailureMutex);
    mFailure = e.what();
  }
}

}  // namespace ondivo::sdr
