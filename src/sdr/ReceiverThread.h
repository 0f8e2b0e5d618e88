#pragma once
// The receiver on its own thread: reads IQ, runs the FM receiver, and writes the sound into
// the ring the playback thread empties. The card object talks to it only through the control
// surface below, from any thread; nothing here touches the panel.
//
// After a retune the samples still in flight from the old frequency are dropped, the pilot
// and level measurements start afresh, and the reception state is published once enough of
// the new channel was measured (Reception() is empty until then; 120 ms in all).
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/FrameRing.h"
#include "radio/RadioTypes.h"
#include "sdr/FmReceiver.h"
#include "sdr/IqSource.h"
#include "sdr/RdsBlockQueue.h"

namespace ondivo::sdr {

class ReceiverThread {
 public:
  // setup.IqRate is taken from the source.
  ReceiverThread(IqSource& source, FrameRing& ring, FmReceiverSetup setup, size_t targetFill);
  ~ReceiverThread();
  ReceiverThread(const ReceiverThread&) = delete;
  ReceiverThread& operator=(const ReceiverThread&) = delete;

  void Start();
  // Asks the thread to stop and joins it.
  void Stop();
  // Joins once the source has ended or failed.
  void Finish();

  // The control surface.
  void Tune(double stationOffsetHz);
  void SetGain(float gain) { mGain = gain; }
  void SetMute(bool mute) { mMute = mute; }
  void SetStereoAllowed(bool allowed) { mStereo = allowed; }
  std::optional<tSignal> Reception() const;
  // How many blocks of IQ the thread has taken in: a waiter can tell a slow receiver (still
  // counting) from a stalled device.
  uint64_t BlocksRead() const { return mBlocksRead.load(); }
  // RDS: a descriptor readable while blocks wait, and the blocks received since the last
  // Tune (older ones are dropped). One reader thread.
  int RdsDescriptor() const { return mRds.Descriptor(); }
  size_t TakeRds(RdsBlock* out, size_t max) { return mRds.Take(out, max, mGeneration.load()); }
  // A look at the whole window for the spectrum: `count` IQ samples taken once the last Tune
  // settled. Snapshot() is empty until they have all arrived.
  void RequestSnapshot(size_t count);
  std::vector<Iq> Snapshot();
  // Why reading failed, once it has (the thread has ended then).
  std::string Failure() const;

 private:
  void Run();
  void Publish(tSignal state, unsigned generation);
  void Collect(const Iq* iq, size_t n, unsigned generation);
  IqSource& mSource;
  FrameRing& mRing;
  FmReceiverSetup mSetup;
  size_t mTargetFill;
  std::atomic<bool> mStop{false};
  std::atomic<double> mOffset;
  std::atomic<unsigned> mGeneration{0};
  std::atomic<uint64_t> mBlocksRead{0};
  std::atomic<float> mGain{1.0f};
  std::atomic<bool> mMute{false}, mStereo{true};
  // The state and the retune it was measured after, packed so they are read together.
  std::atomic<unsigned> mPublished{0};
  RdsBlockQueue mRds;
  std::atomic<bool> mSnapshotPending{false};
  std::mutex mSnapshotMutex;
  std::vector<Iq> mSnapshot;
  size_t mSnapshotWanted = 0;
  unsigned mSnapshotGeneration = 0;
  mutable std::mutex mFailureMutex;
  std::string mFailure;
  std::thread mThread;
};

}  // namespace ondivo::sdr
