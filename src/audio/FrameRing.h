#pragma once
// A bounded single-producer single-consumer ring of interleaved audio frames, lock-free: the
// receiver thread writes, the playback thread reads, and neither ever waits for the other.
// Each index is written by one side only and published with release/acquire, so a reader sees
// the samples before it sees the index that covers them.
#include <atomic>
#include <cstddef>
#include <vector>

namespace ondivo {

class FrameRing {
 public:
  // Capacity is rounded up to a power of two frames.
  FrameRing(size_t capacityFrames, unsigned channels);

  // Producer side: copies as many frames as fit and returns how many (the rest are dropped:
  // a stalled sound card must not stall the receiver).
  size_t Write(const float* frames, size_t count);
  // Consumer side: copies up to count frames out and returns how many.
  size_t Read(float* frames, size_t count);
  // Frames waiting; exact on either side, a snapshot elsewhere.
  size_t Fill() const;
  size_t Capacity() const { return mCapacity; }
  unsigned Channels() const { return mChannels; }

 private:
  size_t mCapacity, mMask;
  unsigned mChannels;
  std::vector<float> mData;
  // On their own cache lines, so the two threads do not contend for one.
  alignas(64) std::atomic<size_t> mWrite{0};
  alignas(64) std::atomic<size_t> mRead{0};
};

}  // namespace ondivo
