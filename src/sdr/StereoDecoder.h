#pragma once
// The stereo half of the receiver: the difference signal demodulated coherently on 38 kHz,
// and the matrix that turns sum and difference into left and right.
#include <cstddef>

namespace ondivo::sdr {

class DifferenceDemodulator {
 public:
  // discriminatorResponse38: the discriminator's gain at 38 kHz against 0 Hz, made good here
  // so that the difference channel leaves as strong as the sum (separation depends on it).
  DifferenceDemodulator(double rate, double discriminatorResponse38);
  // (L−R)/2 at baseband, plus products at 76 kHz that the audio filter removes.
  void Process(const float* mpx, const float* reference38, size_t n, float* difference);

 private:
  float mGain;
};

class StereoMatrix {
 public:
  explicit StereoMatrix(double rate);
  // Stereo while the pilot is locked and stereo is allowed; the change fades over a few ms.
  void SetStereo(bool stereo) { mTarget = stereo ? 1.0f : 0.0f; }
  void Process(const float* sum, const float* difference, size_t n, float* left, float* right);

 private:
  float mTarget = 0, mBlend = 0, mStep;
};

}  // namespace ondivo::sdr
