#include "sdr/AudioResampler.h"

#include <algorithm>
#include <cmath>

namespace ondivo::sdr {

namespace {
constexpr double kPassHz = 15000.0, kStopHz = 19000.0;
constexpr float kStopbandDb = 65.0f;
constexpr unsigned kBranches = 64;
}  // namespace

AudioResampler::Channel::Channel(double inRate, unsigned factor, double ratio)
    // The decimator only keeps what would fold below the pilot out; the resampler cuts at 19k.
    : Decimator(inRate, factor, kPassHz, inRate / factor - kStopHz, kStopbandDb) {
  const double midRate = inRate / factor;
  const float transition = static_cast<float>((kStopHz - kPassHz) / midRate);
  const unsigned semiLength = (estimate_req_filter_len(transition, kStopbandDb) + 1) / 2;
  const float cutoff = static_cast<float>((kPassHz + kStopHz) / 2 / midRate);
  Resampler.reset(
      resamp_rrrf_create(static_cast<float>(ratio), semiLength, cutoff, kStopbandDb, kBranches));
}

size_t AudioResampler::Channel::Process(const float* in, size_t n, float* out) {
  if (Decimated.size() < Decimator.MaxOutput(n)) Decimated.resize(Decimator.MaxOutput(n));
  const size_t m = Decimator.Process(in, n, Decimated.data());
  unsigned written = 0;
  resamp_rrrf_execute_block(Resampler.get(), Decimated.data(), static_cast<unsigned>(m), out,
                            &written);
  return written;
}

AudioResampler::AudioResampler(double inRate, double outRate)
    : mFactor(std::max(1u, static_cast<unsigned>(inRate / outRate))),
      mRatio(outRate * mFactor / inRate),
      mLeft(inRate, mFactor, mRatio),
      mRight(inRate, mFactor, mRatio) {}

size_t AudioResampler::Process(const float* left, const float* right, size_t n, float* outLeft,
                               float* outRight) {
  const size_t written = mLeft.Process(left, n, outLeft);
  mRight.Process(right, n, outRight);  // same ratio from the same state: the same count
  return written;
}

size_t AudioResampler::MaxOutput(size_t n) const {
  return static_cast<size_t>(std::ceil((n / mFactor + 1) * mRatio * 1.01)) + 2;
}

void AudioResampler::SetCorrection(double correction) {
  const float rate = static_cast<float>(mRatio * (1 + correction));
  resamp_rrrf_set_rate(mLeft.Resampler.get(), rate);
  resamp_rrrf_set_rate(mRight.Resampler.get(), rate);
}

}  // namespace ondivo::sdr
