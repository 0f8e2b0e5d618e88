#include "sdr/RdsBlockSync.h"

#include "radio/RdsDecoder.h"

namespace ondivo::sdr {

namespace {
constexpr uint32_t kWindowMask = (1u << rds::kBlockBits) - 1;
constexpr uint16_t kVersionB = 0x0800;

// A block number (0..4) as its position in the group: C' stands where C does.
int Position(int block) {
  return block == RdsDecoder::kCAlt ? RdsDecoder::kC : block;
}
}  // namespace

RdsBlockSync::RdsBlockSync() {
  // Every burst of up to kMaxBurst bits: first and last bit set, anything between.
  for (int length = 1; length <= kMaxBurst; ++length) {
    const uint32_t inner = length > 2 ? 1u << (length - 2) : 1;
    for (uint32_t middle = 0; middle < inner; ++middle) {
      const uint32_t pattern = length == 1 ? 1u : (1u | (middle << 1) | (1u << (length - 1)));
      for (int shift = 0; shift + length <= rds::kBlockBits; ++shift)
        mBursts[rds::Syndrome(pattern << shift)] = pattern << shift;
    }
  }
}

void RdsBlockSync::Reset() {
  mWindow = 0;
  mCount = 0;
  mSynced = false;
  mLostAt = 0;
  mBadRun = 0;
  mVersionB = false;
  mCandidate = -1;
}

RdsBlock RdsBlockSync::Take(int block, uint32_t word, uint8_t flags) {
  const auto information = static_cast<uint16_t>(word >> rds::kCheckBits);
  if (block == RdsDecoder::kB && !(flags & RdsDecoder::kBlockError))
    mVersionB = (information & kVersionB) != 0;
  return {static_cast<uint8_t>(information & 0xFF), static_cast<uint8_t>(information >> 8),
          static_cast<uint8_t>(block | flags)};
}

bool RdsBlockSync::Acquire(RdsBlock& out) {
  const uint16_t syndrome = rds::Syndrome(mWindow);
  for (int block = 0; block < static_cast<int>(rds::kOffsets.size()); ++block) {
    if (syndrome != rds::kOffsets[static_cast<size_t>(block)]) continue;
    const int position = Position(block);
    const uint64_t distance = mCount - mCandidateAt;
    const bool follows =
        mCandidate >= 0 && distance % rds::kBlockBits == 0 && distance <= 4u * rds::kBlockBits &&
        (mCandidate + static_cast<int>(distance / rds::kBlockBits)) % 4 == position;
    mCandidate = position;
    mCandidateAt = mCount;
    if (!follows) return false;
    mSynced = true;
    mBadRun = 0;
    mExpected = (position + 1) % 4;
    mBitsToBlock = rds::kBlockBits;
    out = Take(block, mWindow, 0);
    return true;
  }
  return false;
}

bool RdsBlockSync::Push(uint8_t bit, RdsBlock& out) {
  mWindow = ((mWindow << 1) | (bit & 1u)) & kWindowMask;
  ++mCount;
  if (!mSynced) return mCount >= rds::kBlockBits && Acquire(out);
  if (--mBitsToBlock > 0) return false;
  mBitsToBlock = rds::kBlockBits;
  int block = mExpected;
  if (block == RdsDecoder::kC && mVersionB) block = RdsDecoder::kCAlt;
  mExpected = (mExpected + 1) % 4;
  const uint16_t offset = rds::kOffsets[static_cast<size_t>(block)];
  const uint16_t syndrome = rds::Syndrome(mWindow);
  if (syndrome == offset) {
    mBadRun = 0;
    out = Take(block, mWindow, 0);
  } else if (const uint32_t burst = mBursts[syndrome ^ offset]) {
    mBadRun = 0;
    out = Take(block, mWindow ^ burst, RdsDecoder::kBlockCorrected);
  } else {
    out = Take(block, mWindow, RdsDecoder::kBlockError);
    if (++mBadRun >= kLossRun) {
      mSynced = false;
      mLostAt = mCount;
      mCandidate = -1;
    }
  }
  return true;
}

}  // namespace ondivo::sdr
