#pragma once
// How far the channel at 0 Hz stands above the noise floor, from averaged power spectra of the
// wideband IQ: the mean power density inside the channel against the median density well
// outside it (the median shrugs off neighbouring stations and the DC spike). One spectrum per
// few milliseconds is plenty, so this costs little beside the filters.
#include <cstddef>
#include <memory>
#include <vector>

#include "sdr/Liquid.h"

namespace ondivo::sdr {

class ChannelLevel {
 public:
  // The rate must leave room outside the channel: at least about three channel widths.
  ChannelLevel(double rate, double channelWidthHz);
  ~ChannelLevel();
  ChannelLevel(const ChannelLevel&) = delete;
  ChannelLevel& operator=(const ChannelLevel&) = delete;

  void Process(const Iq* in, size_t n);
  // Channel over floor in dB; meaningful once HasMeasurement().
  double MarginDb() const;
  bool HasMeasurement() const { return mFrames > 0; }
  // Forgets what was measured (after a retune).
  void Reset();

 private:
  void Analyse(const Iq* frame);
  struct Plan;
  size_t mSize, mHop;
  size_t mUntilNext = 0;
  size_t mFrames = 0;
  double mBinHz, mChannelHalfWidth;
  std::vector<float> mWindow, mAverage;
  mutable std::vector<float> mScratch;  // MarginDb's working copy, kept to avoid allocating
  std::vector<Iq> mFrame;
  std::unique_ptr<Plan> mPlan;
};

}  // namespace ondivo::sdr
