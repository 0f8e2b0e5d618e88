#include "sdr/ChannelFilter.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace ondivo::sdr {

namespace {
constexpr float kStopbandDb = 70.0f;
}

ChannelFilter::ChannelFilter(double inRate, double outRate, double widthHz) {
  const double ratio = inRate / outRate;
  mFactor = static_cast<unsigned>(std::lround(ratio));
  if (mFactor < 1 || std::abs(ratio - mFactor) > 1e-9 * ratio)
    throw std::invalid_argument("channel filter: input rate must be a multiple of output rate");
  const double pass = widthHz / 2;
  // The sharp step: aliases of everything past its stop edge fall outside the channel.
  const double sharpStop = std::max(outRate - pass, pass + 0.1 * outRate);
  if (mFactor > 2 && mFactor % 2 == 0) {
    const double midRate = 2 * outRate;
    mSteps.emplace_back(inRate, mFactor / 2, pass, midRate - sharpStop, kStopbandDb);
    mSteps.emplace_back(midRate, 2, pass, sharpStop, kStopbandDb);
  } else {
    mSteps.emplace_back(inRate, mFactor, pass, sharpStop, kStopbandDb);
  }
}

size_t ChannelFilter::Process(const Iq* in, size_t n, Iq* out) {
  if (mSteps.size() == 1) return mSteps[0].Process(in, n, out);
  const size_t need = n / mSteps[0].Factor() + 1;
  if (mBetween.size() < need) mBetween.resize(need);  // grows only on a larger block than before
  const size_t mid = mSteps[0].Process(in, n, mBetween.data());
  return mSteps[1].Process(mBetween.data(), mid, out);
}

}  // namespace ondivo::sdr
