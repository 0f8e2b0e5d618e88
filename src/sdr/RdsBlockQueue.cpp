#include "sdr/RdsBlockQueue.h"

#include <sys/eventfd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace ondivo::sdr {

RdsBlockQueue::RdsBlockQueue() : mEvent(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (!mEvent) throw std::runtime_error(std::string("RDS: no eventfd: ") + std::strerror(errno));
}

void RdsBlockQueue::Push(const RdsBlock& block, unsigned generation) {
  const size_t write = mWrite.load(std::memory_order_relaxed);
  if (write - mRead.load(std::memory_order_acquire) == kSize) return;
  mEntries[write % kSize] = {block, generation};
  mWrite.store(write + 1, std::memory_order_release);
  const uint64_t one = 1;
  [[maybe_unused]] const auto ignored = ::write(mEvent.get(), &one, sizeof one);
}

size_t RdsBlockQueue::Take(RdsBlock* out, size_t max, unsigned generation) {
  // Cleared first: a block pushed from here on sets it again.
  uint64_t count;
  [[maybe_unused]] const auto ignored = ::read(mEvent.get(), &count, sizeof count);
  size_t read = mRead.load(std::memory_order_relaxed);
  const size_t write = mWrite.load(std::memory_order_acquire);
  size_t written = 0;
  for (; read != write && written < max; ++read) {
    const Entry& entry = mEntries[read % kSize];
    if (entry.Generation == generation) out[written++] = entry.Block;
  }
  mRead.store(read, std::memory_order_release);
  if (read != write) {  // more than max waited: stay readable
    const uint64_t one = 1;
    [[maybe_unused]] const auto again = ::write(mEvent.get(), &one, sizeof one);
  }
  return written;
}

}  // namespace ondivo::sdr
