#include "sdr/RdsReceiver.h"

namespace ondivo::sdr {

namespace {
// Two groups without a block: try the other eye.
constexpr uint64_t kSlipAfterBits = 8 * rds::kBlockBits;
}  // namespace

RdsReceiver::RdsReceiver(double mpxRate, size_t maxBlock)
    : mDemodulator(mpxRate), mBits(mDemodulator.MaxBits(maxBlock)), mNextSlip(kSlipAfterBits) {
  mBlocks.reserve(mBits.size() / rds::kBlockBits + 1);
}

void RdsReceiver::Reset() {
  mDemodulator.Reset();
  mSync.Reset();
  mNextSlip = kSlipAfterBits;
}

const std::vector<RdsBlock>& RdsReceiver::Process(const float* mpx, const Iq* carrier57, size_t n) {
  mBlocks.clear();
  const size_t bits = mDemodulator.Process(mpx, carrier57, n, mBits.data());
  for (size_t i = 0; i < bits; ++i) {
    RdsBlock block;
    if (mSync.Push(mBits[i], block)) mBlocks.push_back(block);
  }
  if (mSync.Synced()) {
    mNextSlip = kSlipAfterBits;
  } else if (mSync.BitsWithoutSync() >= mNextSlip) {
    mDemodulator.SlipHalfBit();
    mNextSlip += kSlipAfterBits;
  }
  return mBlocks;
}

}  // namespace ondivo::sdr
