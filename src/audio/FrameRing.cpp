#include "audio/FrameRing.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace ondivo {

FrameRing::FrameRing(size_t capacityFrames, unsigned channels)
    : mCapacity(std::bit_ceil(std::max<size_t>(capacityFrames, 2))),
      mMask(mCapacity - 1),
      mChannels(channels),
      mData(mCapacity * channels) {}

size_t FrameRing::Write(const float* frames, size_t count) {
  const size_t write = mWrite.load(std::memory_order_relaxed);
  const size_t read = mRead.load(std::memory_order_acquire);
  const size_t n = std::min(count, mCapacity - (write - read));
  const size_t at = write & mMask;
  const size_t first = std::min(n, mCapacity - at);
  std::memcpy(&mData[at * mChannels], frames, first * mChannels * sizeof(float));
  std::memcpy(mData.data(), frames + first * mChannels, (n - first) * mChannels * sizeof(float));
  mWrite.store(write + n, std::memory_order_release);
  return n;
}

size_t FrameRing::Read(float* frames, size_t count) {
  const size_t read = mRead.load(std::memory_order_relaxed);
  const size_t write = mWrite.load(std::memory_order_acquire);
  const size_t n = std::min(count, write - read);
  const size_t at = read & mMask;
  const size_t first = std::min(n, mCapacity - at);
  std::memcpy(frames, &mData[at * mChannels], first * mChannels * sizeof(float));
  std::memcpy(frames + first * mChannels, mData.data(), (n - first) * mChannels * sizeof(float));
  mRead.store(read + n, std::memory_order_release);
  return n;
}

size_t FrameRing::Fill() const {
  // Read index first: it never passes the write index, so the difference cannot wrap.
  const size_t read = mRead.load(std::memory_order_acquire);
  return mWrite.load(std::memory_order_acquire) - read;
}

}  // namespace ondivo
