#pragma once
// RDS blocks from the receiver thread to the panel: a bounded single-producer single-consumer
// ring, and an eventfd that is readable while blocks wait, so the panel watches it as it
// watches a kernel radio device's node. Each block carries the retune it was received after,
// so nothing heard on the old frequency reaches the decoder of the new one. Blocks that find
// the ring full are dropped (the panel reads several times a second; the ring holds seconds).
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/UniqueFd.h"
#include "sdr/RdsCode.h"

namespace ondivo::sdr {

class RdsBlockQueue {
 public:
  RdsBlockQueue();
  int Descriptor() const { return mEvent.get(); }
  // Receiver thread.
  void Push(const RdsBlock& block, unsigned generation);
  // Panel thread: clears the descriptor, then moves out up to `max` blocks, keeping those of
  // `generation` only. Returns how many were written.
  size_t Take(RdsBlock* out, size_t max, unsigned generation);

 private:
  static constexpr size_t kSize = 256;  // some 5 s of blocks
  struct Entry {
    RdsBlock Block;
    unsigned Generation = 0;
  };
  std::array<Entry, kSize> mEntries{};
  alignas(64) std::atomic<size_t> mWrite{0};
  alignas(64) std::atomic<size_t> mRead{0};
  UniqueFd mEvent;
};

}  // namespace ondivo::sdr
