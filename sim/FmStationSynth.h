#pragma once
// A broadcast FM station synthesized as IQ: a tone on each channel, the stereo multiplex
// (90 % audio, 9 % pilot) or mono without pilot, 75 kHz peak deviation, a known offset from
// the tuned centre, and complex Gaussian noise at a set carrier-to-noise ratio in 200 kHz.
// With an RDS bit source it also sends RDS on 57 kHz, in phase with the pilot's third
// harmonic, at the usual 3 % of deviation (about 2.2 kHz): differentially coded, each bit
// one cycle of a sine at the bit rate (the biphase symbol: up in the first half, down in the
// second), on a bit clock that may be set off by some ppm. No pre-emphasis, so tones of equal
// amplitude have equal deviation. The receiver tests use it
// directly; the emulated SDR device streams the station landscape through it.
#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <numbers>
#include <vector>

namespace ondivo::sim {

struct FmStation {
  double OffsetHz = 0;
  double LeftHz = 1000, RightHz = 3000;
  double LeftAmplitude = 1, RightAmplitude = 1;  // of full deviation's audio share
  bool Stereo = true;
  bool Carrier = true;            // false: noise only
  double CarrierToNoiseDb = 200;  // in 200 kHz
  double PilotHz = 19000;
  std::function<bool(uint64_t)> RdsBit = nullptr;  // bit N before differential coding; none: no RDS
  double RdsLevel = 0.03;                          // of full deviation
  double RdsClockPpm = 0;                          // the transmitter's bit clock off by this much
  double RdsStartBits = 0;                         // where in its bit stream the first sample falls
};

// One station's carrier of unit amplitude, sample after sample, continuous across calls.
class FmCarrierSynth {
 public:
  FmCarrierSynth(const FmStation& station, double rate)
      : mStation(station),
        mRate(rate),
        mLeftStep(Step(station.LeftHz, rate)),
        mRightStep(Step(station.RightHz, rate)),
        mPilotStep(Step(station.PilotHz, rate)) {}

  std::complex<double> Next() {
    constexpr double kTwoPi = 2 * std::numbers::pi;
    constexpr double kDeviation = 75e3, kAudio = 0.9, kPilot = 0.09;
    const FmStation& s = mStation;
    const double t = static_cast<double>(mIndex++) / mRate;
    // The tones and the pilot are phasors turned each sample (sines per sample made the
    // emulated device slower than real time), set back onto the unit circle now and then.
    const double left = s.LeftAmplitude * mLeft.imag();
    const double right = s.RightAmplitude * mRight.imag();
    const double pilot = mPilot.imag(), pilotCos = mPilot.real();
    mLeft *= mLeftStep;
    mRight *= mRightStep;
    mPilot *= mPilotStep;
    if (mIndex % 4096 == 0) {
      mLeft /= std::abs(mLeft);
      mRight /= std::abs(mRight);
      mPilot /= std::abs(mPilot);
    }
    double mpx = kAudio * (left + right) / 2;
    if (s.Stereo) mpx += kAudio * (left - right) / 2 * (2 * pilot * pilotCos) + kPilot * pilot;
    if (s.RdsBit) mpx += s.RdsLevel * RdsSymbol(t) * pilot * (3 - 4 * pilot * pilot);  // sin 3x
    mPhase += kTwoPi * kDeviation * mpx / mRate;
    if (!s.Carrier) return 0.0;
    return std::polar(1.0, mPhase + kTwoPi * s.OffsetHz * t);
  }

 private:
  static std::complex<double> Step(double hz, double rate) {
    return std::polar(1.0, 2 * std::numbers::pi * hz / rate);
  }

  // The biphase symbol of the differentially coded bit under way at time t.
  double RdsSymbol(double t) {
    constexpr double kBitRate = 1187.5;
    const double position =
        t * kBitRate * (1 + mStation.RdsClockPpm * 1e-6) + mStation.RdsStartBits;
    const auto bit = static_cast<uint64_t>(position);
    // The sine is turned sample by sample and set afresh at each bit (a sine per sample would
    // make the emulated device's synthesis half again as slow).
    if (mRdsBits <= bit) {
      for (; mRdsBits <= bit; ++mRdsBits) mRdsLevel ^= mStation.RdsBit(mRdsBits);
      const double step =
          2 * std::numbers::pi * (1 + mStation.RdsClockPpm * 1e-6) * kBitRate / mRate;
      mRdsStep = std::polar(1.0, step);
      mRdsPhasor = std::polar(1.0, 2 * std::numbers::pi * (position - static_cast<double>(bit)));
    } else {
      mRdsPhasor *= mRdsStep;
    }
    return mRdsLevel ? mRdsPhasor.imag() : -mRdsPhasor.imag();
  }

  FmStation mStation;
  double mRate;
  uint64_t mIndex = 0;
  double mPhase = 0;
  std::complex<double> mLeft{1, 0}, mRight{1, 0}, mPilot{1, 0};
  std::complex<double> mLeftStep, mRightStep, mPilotStep;
  uint64_t mRdsBits = 0;  // bits coded so far
  bool mRdsLevel = false;
  std::complex<double> mRdsPhasor, mRdsStep;
};

// Complex Gaussian noise whose power in 200 kHz stands carrierToNoiseDb below a unit carrier.
// Box-Muller on a splitmix64 stream: both parts from one pair of uniforms, several times
// cheaper than the standard library's distribution, which dominated the emulated device.
class IqNoise {
 public:
  IqNoise(double carrierToNoiseDb, double rate, unsigned seed)
      : mState(seed),
        mSigma(std::sqrt(std::pow(10.0, -carrierToNoiseDb / 10) * rate / 200e3 / 2)) {}

  std::complex<double> Next() {
    const double u1 = (static_cast<double>(Bits() >> 11) + 0.5) * 0x1.0p-53;  // never 0
    const double u2 = static_cast<double>(Bits() >> 11) * 0x1.0p-53;
    return std::polar(mSigma * std::sqrt(-2 * std::log(u1)), 2 * std::numbers::pi * u2);
  }

 private:
  uint64_t Bits() {
    uint64_t z = (mState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint64_t mState;
  double mSigma;
};

inline std::vector<std::complex<float>> SynthesizeIq(const FmStation& s, double rate,
                                                     double seconds, unsigned seed = 1) {
  std::vector<std::complex<float>> iq(static_cast<size_t>(seconds * rate));
  FmCarrierSynth carrier(s, rate);
  IqNoise noise(s.CarrierToNoiseDb, rate, seed);
  for (auto& x : iq) {
    const std::complex<double> c = carrier.Next();
    x = std::complex<float>(c + noise.Next());
  }
  return iq;
}

}  // namespace ondivo::sim
