#include "sdr/PilotPll.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ondivo::sdr {

namespace {
constexpr double kNaturalHz = 20.0;
constexpr double kDamping = 0.707;
constexpr double kNominalPilot = 0.09;
constexpr double kErrorSmoothingHz = 300.0;
constexpr double kLockSmoothingSeconds = 0.02;
constexpr double kPullRangeHz = 50.0;
// Lock above 4 % of the deviation in phase, unlock below 3 %: the pilot is sent at 8–10 %.
constexpr float kLockLevel = 0.04f, kUnlockLevel = 0.03f;

float OnePole(double cornerHz, double rate) {
  return static_cast<float>(1.0 - std::exp(-2 * std::numbers::pi * cornerHz / rate));
}
}  // namespace

PilotPll::PilotPll(double rate, double pilotHz)
    : mCentreCos(static_cast<float>(std::cos(2 * std::numbers::pi * pilotHz / rate))),
      mCentreSin(static_cast<float>(std::sin(2 * std::numbers::pi * pilotHz / rate))) {
  const double wn = 2 * std::numbers::pi * kNaturalHz / rate;
  const double detectorGain = kNominalPilot / 2;  // error per radian at the nominal pilot
  mKp = 2 * kDamping * wn / detectorGain;
  mKi = wn * wn / detectorGain;
  mFreqLimit = 2 * std::numbers::pi * kPullRangeHz / rate;
  mErrorPole = OnePole(kErrorSmoothingHz, rate);
  mLockPole = static_cast<float>(1.0 - std::exp(-1.0 / (kLockSmoothingSeconds * rate)));
}

void PilotPll::Reset() {
  mCos = 1;
  mSin = 0;
  mFrequency = 0;
  mError1 = mError2 = mInPhase = 0;
  mLocked = false;
}

void PilotPll::Process(const float* mpx, size_t n, float* reference38,
                       std::complex<float>* carrier57) {
  for (size_t i = 0; i < n; ++i) {
    const float s = mSin, c = mCos;
    reference38[i] = 2 * s * c;
    if (carrier57) carrier57[i] = {c * (4 * c * c - 3), s * (3 - 4 * s * s)};
    // Pilot A·sin(θp) times cos(θ) averages to (A/2)·sin(θp − θ); times sin(θ) to (A/2)·cos.
    mError1 += mErrorPole * (mpx[i] * c - mError1);
    mError2 += mErrorPole * (mError1 - mError2);
    mInPhase += mLockPole * (mpx[i] * s - mInPhase);
    mFrequency = std::clamp(mFrequency + mKi * mError2, -mFreqLimit, mFreqLimit);
    // Turn by the nominal step and by d = the correction, exp(jd) ≈ 1 − d²/2 + jd (d stays
    // below 0.01 rad; what the approximation misses, the loop takes up as phase error).
    const float d = static_cast<float>(mFrequency + mKp * mError2);
    const float dr = 1 - 0.5f * d * d;
    const float tr = mCentreCos * dr - mCentreSin * d, ti = mCentreCos * d + mCentreSin * dr;
    float nc = c * tr - s * ti, ns = c * ti + s * tr;
    const float g = 1.5f - 0.5f * (nc * nc + ns * ns);  // back onto the unit circle
    mCos = nc * g;
    mSin = ns * g;
  }
  const float level = PilotLevel();
  mLocked = mLocked ? level > kUnlockLevel : level > kLockLevel;
}

}  // namespace ondivo::sdr
