#pragma once
// Finds RDS blocks in the recovered bit stream and hands them out as the kernel would
// (RdsBlock, ready for RdsDecoder::Feed).
//
// Acquisition: every 26-bit window is divided by the code's generator; a remainder equal to
// an offset word marks a candidate block, and two candidates the right number of blocks apart
// and in the right order (A B C D, C' for C) mean sync. From then on a block is taken every
// 26 bits: intact, corrected, or flagged as an error (which RdsDecoder drops with its group).
// Sync is given up after kLossRun uncorrectable blocks in a row, and searched for again.
//
// Correction is limited to error bursts of up to kMaxBurst bits. The code could correct
// bursts of up to 5 (a cyclic code with 10 check bits corrects any burst of up to 10/2 bits),
// but every syndrome claimed for a correction is one that a block hit harder than that is
// "corrected" to: bursts of 5 claim some 370 of the 1023 non-zero syndromes, so about a third
// of the badly hit blocks would come out wrong with a clean flag. Two bits is the error a
// receiver actually meets near its threshold: one wrong symbol, which differential decoding
// turns into two adjacent wrong bits. That claims 51 syndromes, 5 % false corrections.
#include <array>
#include <cstdint>

#include "sdr/RdsCode.h"

namespace ondivo::sdr {

class RdsBlockSync {
 public:
  static constexpr int kMaxBurst = 2;
  static constexpr int kLossRun = 6;

  RdsBlockSync();
  // One data bit; true when it completed a block, written to `out`.
  bool Push(uint8_t bit, RdsBlock& out);
  bool Synced() const { return mSynced; }
  // Bits since sync was last held (or since the start): how long the search has gone on.
  uint64_t BitsWithoutSync() const { return mSynced ? 0 : mCount - mLostAt; }
  void Reset();

 private:
  bool Acquire(RdsBlock& out);
  RdsBlock Take(int block, uint32_t word, uint8_t flags);
  // The 26-bit error pattern that a syndrome stands for (0: none within kMaxBurst).
  std::array<uint32_t, 1024> mBursts{};
  uint32_t mWindow = 0;
  uint64_t mCount = 0;
  bool mSynced = false;
  uint64_t mLostAt = 0;
  int mExpected = 0;  // position in the group of the next block, 0..3
  int mBitsToBlock = 0;
  int mBadRun = 0;
  bool mVersionB = false;  // the last block B announced a version B group: C' follows
  int mCandidate = -1;     // acquisition: position in the group of the last candidate
  uint64_t mCandidateAt = 0;
};

}  // namespace ondivo::sdr
