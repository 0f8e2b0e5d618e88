#include "sdr/RdsDemodulator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sdr/RdsCode.h"

namespace ondivo::sdr {

namespace {
constexpr double kLowRate = 16000;  // about 13 samples a bit
constexpr double kPassHz = 2400;    // the RDS spectrum ends here
constexpr double kStopHz = 4500;    // L−R reaches 53 kHz, 4 kHz from the subcarrier
constexpr float kStopbandDb = 50;
constexpr double kCostasHz = 10;         // pulls in what the pilot loop leaves free
constexpr double kTimingGain = 0.03;     // per bit; settles within some 30 bits
constexpr double kMaxClockError = 1e-3;  // transmitters are within a few ppm
constexpr float kLevelSmoothing = 0.02f;
}  // namespace

RdsDemodulator::RdsDemodulator(double mpxRate)
    : mFactor(static_cast<unsigned>(std::max(1.0, std::floor(mpxRate / kLowRate)))),
      mLowRate(mpxRate / mFactor),
      mDecimator(mpxRate, mFactor, kPassHz, kStopHz, kStopbandDb),
      mMixed(kChunk),
      mLow(mDecimator.MaxOutput(kChunk)),
      mPeriod(mLowRate / rds::kBitRate),
      mNext(mPeriod) {
  const double wn = 2 * std::numbers::pi * kCostasHz / mLowRate;
  mCostasKp = 2 * 0.707 * wn;
  mCostasKi = wn * wn;
  // One cycle of a sine over a bit: the biphase symbol, and so its matched filter.
  const auto length = static_cast<size_t>(std::lround(mPeriod));
  mShape.resize(length);
  for (size_t k = 0; k < length; ++k)
    mShape[k] = static_cast<float>(std::sin(2 * std::numbers::pi * (k + 0.5) / length) / length);
  mLine.assign(2 * length, Iq{});
}

size_t RdsDemodulator::MaxBits(size_t n) const {
  return static_cast<size_t>(static_cast<double>(n) / mFactor / mPeriod / (1 - kMaxClockError)) + 2;
}

void RdsDemodulator::Reset() {
  mDecimator = FirDecimator<Iq>(mLowRate * mFactor, mFactor, kPassHz, kStopHz, kStopbandDb);
  mRotation = {1, 0};
  mLoopFrequency = 0;
  std::fill(mLine.begin(), mLine.end(), Iq{});
  std::fill(std::begin(mOutputs), std::end(mOutputs), 0.0f);
  mCount = 0;
  mNext = mPeriod;
  mPeriodCorrection = 0;
  mLevel = 0;
}

size_t RdsDemodulator::Process(const float* mpx, const Iq* carrier57, size_t n, uint8_t* bits) {
  size_t written = 0;
  for (size_t start = 0; start < n; start += kChunk) {
    const size_t count = std::min(kChunk, n - start);
    // Times exp(j3θ)* rotated by a quarter turn: a subcarrier sent as sin(3θ) lands on I.
    for (size_t i = 0; i < count; ++i) {
      const Iq c = carrier57[start + i];
      mMixed[i] = mpx[start + i] * Iq(c.imag(), c.real());
    }
    const size_t low = mDecimator.Process(mMixed.data(), count, mLow.data());
    for (size_t i = 0; i < low; ++i) Symbol(mLow[i], bits, written);
  }
  return written;
}

float RdsDemodulator::At(double t) const {
  const auto i = static_cast<uint64_t>(t);
  const auto f = static_cast<float>(t - static_cast<double>(i));
  return mOutputs[i % kHistory] * (1 - f) + mOutputs[(i + 1) % kHistory] * f;
}

void RdsDemodulator::Symbol(Iq z, uint8_t* bits, size_t& written) {
  // Matched filter on the phase-corrected sample.
  const size_t length = mShape.size();
  const Iq r = z * mRotation;
  mLine[mLinePos] = mLine[mLinePos + length] = r;
  mLinePos = (mLinePos + 1) % length;
  Iq y{};
  for (size_t k = 0; k < length; ++k) y += mShape[k] * mLine[mLinePos + k];

  // Costas loop: I·Q is sin(2φ)/2 of the phase left, whatever the bit.
  const float power = std::norm(y);
  if (power > 0) {
    const double error = y.real() * y.imag() / power;
    mLoopFrequency += mCostasKi * error;
    const auto step = static_cast<float>(mCostasKp * error + mLoopFrequency);
    mRotation *= Iq(1 - 0.5f * step * step, -step);
    mRotation /= std::abs(mRotation);
  }

  mOutputs[mCount % kHistory] = y.real();
  ++mCount;
  // Early-late: the strobe moves towards the larger of the samples a quarter bit either side.
  const double spread = mPeriod / 4;
  while (mNext + spread + 1 < static_cast<double>(mCount)) {
    if (mNext - spread < static_cast<double>(mCount) - kHistory + 1) {  // fell behind: catch up
      mNext = static_cast<double>(mCount) - spread - 1;
      continue;
    }
    const float centre = At(mNext);
    mLevel += kLevelSmoothing * (std::abs(centre) - mLevel);
    double error = 0;
    if (mLevel > 0)
      error = (centre > 0 ? 1 : -1) * (At(mNext + spread) - At(mNext - spread)) / mLevel;
    error = std::clamp(error, -1.0, 1.0);
    const double maxCorrection = kMaxClockError * mPeriod;
    mPeriodCorrection = std::clamp(mPeriodCorrection + kTimingGain * kTimingGain / 4 * error,
                                   -maxCorrection, maxCorrection);
    mNext += mPeriod + mPeriodCorrection + kTimingGain * error * mPeriod / 4;
    // Differential decoding: a data 1 is a change of the transmitted symbol.
    const bool symbol = centre > 0;
    bits[written++] = symbol != mLastSymbol;
    mLastSymbol = symbol;
  }
}

}  // namespace ondivo::sdr
