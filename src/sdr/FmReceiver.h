#pragma once
// The FM broadcast receiver, IQ in and stereo frames out, composed of its stages in the order
// the signal flows:
//   shift → channel filter → discriminator (→ tuning meter) → pilot PLL → L−R on 38 kHz → matrix
//   → de-emphasis → resample to the sound card → volume
// with the channel level measured on the shifted wideband IQ and the RDS blocks recovered
// from the multiplex beside the stereo decoder. Not thread-safe: one thread
// runs Process and the setters; the receiver thread puts its own control surface in front.
#include <cstddef>
#include <vector>

#include "sdr/AudioResampler.h"
#include "sdr/ChannelFilter.h"
#include "sdr/ChannelLevel.h"
#include "sdr/Deemphasis.h"
#include "sdr/FmDiscriminator.h"
#include "sdr/FrequencyShift.h"
#include "sdr/PilotPll.h"
#include "sdr/RdsReceiver.h"
#include "sdr/ReceptionState.h"
#include "sdr/StereoDecoder.h"
#include "sdr/TuningMeter.h"
#include "sdr/Volume.h"

namespace ondivo::sdr {

struct FmReceiverSetup {
  double IqRate = 2.4e6;
  double StationOffsetHz = 0;  // where the station sits relative to the tuned centre
  double AudioRate = 48000;
  double DeemphasisSeconds = kDeemphasisEurope;
  size_t MaxBlock = 65536;  // IQ samples per Process call at most
};

inline constexpr double kChannelWidthHz = 200e3;
inline constexpr double kPeakDeviationHz = 75e3;
inline constexpr double kPilotHz = 19e3;

class FmReceiver {
 public:
  explicit FmReceiver(const FmReceiverSetup& setup);
  // The intermediate rate this IQ rate decimates to: an integer fraction near 240 kHz.
  static double IntermediateRate(double iqRate);

  // Returns the stereo frames written to out (interleaved); at most MaxFrames().
  size_t Process(const Iq* iq, size_t n, float* out);
  size_t MaxFrames() const { return mMaxFrames; }

  void SetStationOffset(double hz) { mShift.SetOffset(hz); }
  void SetStereoAllowed(bool allowed) { mStereoAllowed = allowed; }
  void SetGain(float gain) { mVolume.SetGain(gain); }
  void SetMute(bool mute) { mVolume.SetMute(mute); }
  void SetRateCorrection(double correction) { mResampler.SetCorrection(correction); }
  // The RDS blocks found by the last Process call.
  const std::vector<RdsBlock>& RdsBlocks() const { return *mRdsBlocks; }
  bool RdsSynced() const { return mRds.Synced(); }
  // After a retune: forget the pilot, RDS and the level measured on the old channel.
  void ResetMeasurements();

  bool PilotLocked() const { return mPll.Locked(); }
  double MarginDb() const { return mLevel.MarginDb(); }
  double CarrierOffsetHz() const { return mTuning.OffsetHz(); }
  tSignal State() const;

 private:
  FmReceiverSetup mSetup;
  double mIntermediateRate;
  FrequencyShift mShift;
  ChannelLevel mLevel;
  ChannelFilter mChannel;
  FmDiscriminator mDiscriminator;
  TuningMeter mTuning;
  PilotPll mPll;
  RdsReceiver mRds;
  const std::vector<RdsBlock>* mRdsBlocks;
  DifferenceDemodulator mDifference;
  StereoMatrix mMatrix;
  Deemphasis mDeemphasis;
  AudioResampler mResampler;
  Volume mVolume;
  bool mStereoAllowed = true;
  size_t mMaxFrames;
  std::vector<Iq> mShifted, mChannelIq, mCarrier57;
  std::vector<float> mMpx, mReference, mDiff, mLeft, mRight, mAudioLeft, mAudioRight;
};

}  // namespace ondivo::sdr
