#pragma once
// Recovers the RDS data bits from the multiplex: the 57 kHz subcarrier is mixed to 0 Hz with
// the pilot's third harmonic (coherent, so no carrier search), decimated to about 16 kHz, held
// in phase by a slow Costas loop (the subcarrier may sit in phase or in quadrature with the
// harmonic, and a station without pilot leaves the oscillator free), matched-filtered with
// the biphase symbol (one sine cycle per bit), sampled once per bit by an early-late loop that
// follows the transmitter's bit clock, and differentially decoded.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sdr/FirDecimator.h"
#include "sdr/Liquid.h"

namespace ondivo::sdr {

class RdsDemodulator {
 public:
  explicit RdsDemodulator(double mpxRate);

  // carrier57 is the pilot loop's exp(j3θ) for each multiplex sample. Writes one data bit
  // (0 or 1) per bit recovered; at most MaxBits(n).
  size_t Process(const float* mpx, const Iq* carrier57, size_t n, uint8_t* bits);
  size_t MaxBits(size_t n) const;
  // Starts over (after a retune); the next bits come once the filters have filled again.
  void Reset();
  // Moves the bit sampling by half a bit: the way out when it settled on the symbols' middles
  // (a biphase signal has a second, weaker eye there).
  void SlipHalfBit() { mNext += mPeriod / 2; }
  // The bit clock the loop follows, relative to nominal (1 = 1187.5 bit/s).
  double ClockRatio() const { return mPeriod / (mPeriod + mPeriodCorrection); }

 private:
  static constexpr size_t kChunk = 4096;
  static constexpr size_t kHistory = 64;  // matched-filter outputs kept for interpolation

  void Symbol(Iq z, uint8_t* bits, size_t& written);
  float At(double t) const;

  unsigned mFactor;
  double mLowRate;
  FirDecimator<Iq> mDecimator;
  std::vector<Iq> mMixed, mLow;
  // Costas loop: the phasor removing what phase is left between subcarrier and harmonic.
  Iq mRotation{1, 0};
  double mLoopFrequency = 0;
  double mCostasKp, mCostasKi;
  // Matched filter over the rotated samples (twice the length, so a window is contiguous).
  std::vector<float> mShape;
  std::vector<Iq> mLine;
  size_t mLinePos = 0;
  // Bit timing, in low-rate samples counted since the start.
  float mOutputs[kHistory] = {};
  uint64_t mCount = 0;
  double mPeriod, mNext, mPeriodCorrection = 0;
  float mLevel = 0;
  bool mLastSymbol = false;
};

}  // namespace ondivo::sdr
