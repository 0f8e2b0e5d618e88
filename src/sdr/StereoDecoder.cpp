#include "sdr/StereoDecoder.h"

#include <algorithm>

namespace ondivo::sdr {

DifferenceDemodulator::DifferenceDemodulator(double /*rate*/, double discriminatorResponse38)
    : mGain(static_cast<float>(2.0 / discriminatorResponse38)) {}

void DifferenceDemodulator::Process(const float* mpx, const float* reference38, size_t n,
                                    float* difference) {
  for (size_t i = 0; i < n; ++i) difference[i] = mpx[i] * reference38[i] * mGain;
}

namespace {
constexpr double kFadeSeconds = 0.01;
}

StereoMatrix::StereoMatrix(double rate) : mStep(static_cast<float>(1.0 / (kFadeSeconds * rate))) {}

void StereoMatrix::Process(const float* sum, const float* difference, size_t n, float* left,
                           float* right) {
  for (size_t i = 0; i < n; ++i) {
    if (mBlend != mTarget)
      mBlend =
          mBlend < mTarget ? std::min(mTarget, mBlend + mStep) : std::max(mTarget, mBlend - mStep);
    const float d = difference[i] * mBlend;
    left[i] = sum[i] + d;
    right[i] = sum[i] - d;
  }
}

}  // namespace ondivo::sdr
