#include "sdr/Deemphasis.h"

namespace ondivo::sdr {

Deemphasis::Deemphasis(double rate, double tauSeconds) {
  const double k = 2 * rate * tauSeconds;
  mB = static_cast<float>(1 / (1 + k));
  mA = static_cast<float>((1 - k) / (1 + k));
}

void Deemphasis::Run(Channel& c, float* samples, size_t n) const {
  float x1 = c.x1, y1 = c.y1;
  for (size_t i = 0; i < n; ++i) {
    const float x = samples[i];
    y1 = mB * (x + x1) - mA * y1;
    x1 = x;
    samples[i] = y1;
  }
  c.x1 = x1;
  c.y1 = y1;
}

void Deemphasis::Process(float* left, float* right, size_t n) {
  Run(mLeft, left, n);
  Run(mRight, right, n);
}

}  // namespace ondivo::sdr
