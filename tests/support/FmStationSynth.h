#pragma once
// A broadcast FM station synthesized as IQ, for receiver tests: a tone on each channel, the
// stereo multiplex (90 % audio, 9 % pilot) or mono without pilot, 75 kHz peak deviation, a
// known offset from the tuned centre, and complex Gaussian noise at a set carrier-to-noise
// ratio in 200 kHz. No pre-emphasis, so tones of equal amplitude have equal deviation.
#include <cmath>
#include <complex>
#include <cstddef>
#include <numbers>
#include <random>
#include <vector>

namespace ondivo::test {

struct FmStation {
  double OffsetHz = 0;
  double LeftHz = 1000, RightHz = 3000;
  double LeftAmplitude = 1, RightAmplitude = 1;  // of full deviation's audio share
  bool Stereo = true;
  bool Carrier = true;            // false: noise only
  double CarrierToNoiseDb = 200;  // in 200 kHz
  double PilotHz = 19000;
};

inline std::vector<std::complex<float>> SynthesizeIq(const FmStation& s, double rate,
                                                     double seconds, unsigned seed = 1) {
  constexpr double kTwoPi = 2 * std::numbers::pi;
  constexpr double kDeviation = 75e3, kAudio = 0.9, kPilot = 0.09;
  const size_t n = static_cast<size_t>(seconds * rate);
  std::vector<std::complex<float>> iq(n);
  std::mt19937 random(seed);
  const double noisePower = std::pow(10.0, -s.CarrierToNoiseDb / 10) * rate / 200e3;
  std::normal_distribution<double> noise(0.0, std::sqrt(noisePower / 2));
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double left = s.LeftAmplitude * std::sin(kTwoPi * s.LeftHz * t);
    const double right = s.RightAmplitude * std::sin(kTwoPi * s.RightHz * t);
    const double pilotPhase = kTwoPi * s.PilotHz * t;
    double mpx = kAudio * (left + right) / 2;
    if (s.Stereo)
      mpx += kAudio * (left - right) / 2 * std::sin(2 * pilotPhase) + kPilot * std::sin(pilotPhase);
    phase += kTwoPi * kDeviation * mpx / rate;
    std::complex<double> x = s.Carrier ? std::polar(1.0, phase + kTwoPi * s.OffsetHz * t) : 0.0;
    x += std::complex<double>(noise(random), noise(random));
    iq[i] = std::complex<float>(x);
  }
  return iq;
}

}  // namespace ondivo::test
