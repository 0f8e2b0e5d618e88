#pragma once
// The RDS branch of the receiver: multiplex and the pilot's third harmonic in, blocks out.
// Composes the demodulator and the block sync, and gets the bit timing out of the biphase
// signal's second eye (half a bit off) when no block has been found for a while.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sdr/RdsBlockSync.h"
#include "sdr/RdsDemodulator.h"

namespace ondivo::sdr {

class RdsReceiver {
 public:
  RdsReceiver(double mpxRate, size_t maxBlock);
  // Returns the blocks found in these samples (valid until the next call).
  const std::vector<RdsBlock>& Process(const float* mpx, const Iq* carrier57, size_t n);
  bool Synced() const { return mSync.Synced(); }
  void Reset();

 private:
  RdsDemodulator mDemodulator;
  RdsBlockSync mSync;
  std::vector<uint8_t> mBits;
  std::vector<RdsBlock> mBlocks;
  uint64_t mNextSlip;
};

}  // namespace ondivo::sdr
