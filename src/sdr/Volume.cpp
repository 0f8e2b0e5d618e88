#include "sdr/Volume.h"

#include <algorithm>

namespace ondivo::sdr {

namespace {
constexpr double kGlideSeconds = 0.005;
}

Volume::Volume(double rate) : mStep(static_cast<float>(1.0 / (kGlideSeconds * rate))) {}

void Volume::Process(const float* left, const float* right, size_t n, float* frames) {
  const float target = mMute ? 0.0f : mGain;
  for (size_t i = 0; i < n; ++i) {
    if (mApplied != target)
      mApplied = mApplied < target ? std::min(target, mApplied + mStep)
                                   : std::max(target, mApplied - mStep);
    frames[2 * i] = left[i] * mApplied;
    frames[2 * i + 1] = right[i] * mApplied;
  }
}

}  // namespace ondivo::sdr
