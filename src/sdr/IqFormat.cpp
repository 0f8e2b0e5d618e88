#include "sdr/IqFormat.h"

namespace ondivo::sdr {

void Cs16ToIq(const int16_t* in, size_t frames, Iq* out) {
  constexpr float kScale = 1.0f / 32768.0f;
  for (size_t i = 0; i < frames; ++i) out[i] = {in[2 * i] * kScale, in[2 * i + 1] * kScale};
}

void Cu8ToIq(const uint8_t* in, size_t frames, Iq* out) {
  constexpr float kScale = 1.0f / 127.5f;
  for (size_t i = 0; i < frames; ++i)
    out[i] = {(in[2 * i] - 127.5f) * kScale, (in[2 * i + 1] - 127.5f) * kScale};
}

}  // namespace ondivo::sdr
