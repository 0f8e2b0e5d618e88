#pragma once
// Locks to the 19 kHz pilot in the multiplex and hands the stereo decoder the 38 kHz
// reference, sin(2θ) where the pilot is sin(θ): the subcarrier crosses zero rising with it.
// A second-order loop (about 20 Hz natural frequency, so it settles within tens of
// milliseconds); the phase error is smoothed before the loop because the audio mixed down by
// the reference lands 4 kHz and more from 0 Hz, and that ripple would otherwise jitter the
// reference and leak into the difference channel.
#include <complex>
#include <cstddef>

namespace ondivo::sdr {

class PilotPll {
 public:
  // The pilot is nominally 8–10 % of the peak deviation; the multiplex is scaled to 1.0 there.
  explicit PilotPll(double rate, double pilotHz = 19000.0);
  // Writes one 38 kHz reference value per multiplex sample and, where carrier57 is given,
  // the pilot's third harmonic as a phasor, exp(j3θ), for the RDS subcarrier.
  void Process(const float* mpx, size_t n, float* reference38,
               std::complex<float>* carrier57 = nullptr);
  bool Locked() const { return mLocked; }
  // The pilot's amplitude as measured in phase with the loop (0 without pilot).
  float PilotLevel() const { return 2 * mInPhase; }
  void Reset();

 private:
  // The oscillator is a unit phasor turned each sample by the nominal step and the loop's
  // small correction (a sine and cosine per sample cost more than the rest of the loop).
  float mCos = 1, mSin = 0;
  float mCentreCos, mCentreSin;  // the nominal step, 19 kHz at this rate
  double mFrequency = 0;         // offset from the nominal step, rad per sample
  double mKp, mKi, mFreqLimit;
  float mErrorPole, mLockPole;
  float mError1 = 0, mError2 = 0;
  float mInPhase = 0;
  bool mLocked = false;
};

}  // namespace ondivo::sdr
