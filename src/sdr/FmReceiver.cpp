#include "sdr/FmReceiver.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace ondivo::sdr {

double FmReceiver::IntermediateRate(double iqRate) {
  // The multiplex reaches 53 kHz (60 with RDS) and the channel filter needs room beyond
  // ±100 kHz: stay at or above 220 kHz.
  const double factor = std::max(1.0, std::floor(iqRate / 220e3));
  return iqRate / factor;
}

FmReceiver::FmReceiver(const FmReceiverSetup& setup)
    : mSetup(setup),
      mIntermediateRate(IntermediateRate(setup.IqRate)),
      mShift(setup.IqRate, setup.StationOffsetHz),
      mLevel(setup.IqRate, kChannelWidthHz),
      mChannel(setup.IqRate, mIntermediateRate, kChannelWidthHz),
      mDiscriminator(mIntermediateRate, kPeakDeviationHz),
      mTuning(mIntermediateRate, kPeakDeviationHz),
      mPll(mIntermediateRate, kPilotHz),
      mRds(mIntermediateRate, mChannel.MaxOutput(setup.MaxBlock)),
      mDifference(mIntermediateRate, FmDiscriminator::Response(mIntermediateRate, 2 * kPilotHz)),
      mMatrix(mIntermediateRate),
      mDeemphasis(mIntermediateRate, setup.DeemphasisSeconds),
      mResampler(mIntermediateRate, setup.AudioRate),
      mVolume(setup.AudioRate) {
  if (mIntermediateRate < 200e3)
    throw std::invalid_argument("FM receiver: the IQ rate must be at least 200 kHz");
  const size_t inner = mChannel.MaxOutput(setup.MaxBlock);
  mMaxFrames = mResampler.MaxOutput(inner);
  mShifted.resize(setup.MaxBlock);
  mChannelIq.resize(inner);
  mCarrier57.resize(inner);
  mRdsBlocks = &mRds.Process(nullptr, nullptr, 0);
  for (auto* buffer : {&mMpx, &mReference, &mDiff, &mLeft, &mRight}) buffer->resize(inner);
  mAudioLeft.resize(mMaxFrames);
  mAudioRight.resize(mMaxFrames);
}

void FmReceiver::ResetMeasurements() {
  mPll.Reset();
  mLevel.Reset();
  mTuning.Reset();
  mRds.Reset();
}

tSignal FmReceiver::State() const {
  return ReceptionState(mPll.Locked(), mLevel.HasMeasurement() ? mLevel.MarginDb() : 0.0,
                        mTuning.OffsetHz());
}

size_t FmReceiver::Process(const Iq* iq, size_t n, float* out) {
  if (n > mSetup.MaxBlock) throw std::length_error("FM receiver: block larger than set up");
  mShift.Process(iq, n, mShifted.data());
  mLevel.Process(mShifted.data(), n);
  const size_t m = mChannel.Process(mShifted.data(), n, mChannelIq.data());
  mDiscriminator.Process(mChannelIq.data(), m, mMpx.data());
  mTuning.Process(mMpx.data(), m);
  mPll.Process(mMpx.data(), m, mReference.data(), mCarrier57.data());
  mRdsBlocks = &mRds.Process(mMpx.data(), mCarrier57.data(), m);
  mDifference.Process(mMpx.data(), mReference.data(), m, mDiff.data());
  mMatrix.SetStereo(mStereoAllowed && mPll.Locked());
  mMatrix.Process(mMpx.data(), mDiff.data(), m, mLeft.data(), mRight.data());
  mDeemphasis.Process(mLeft.data(), mRight.data(), m);
  const size_t frames =
      mResampler.Process(mLeft.data(), mRight.data(), m, mAudioLeft.data(), mAudioRight.data());
  mVolume.Process(mAudioLeft.data(), mAudioRight.data(), frames, out);
  return frames;
}

}  // namespace ondivo::sdr
