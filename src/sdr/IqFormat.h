#pragma once
// Sample formats SDR devices and recordings hand over, converted to complex float in [-1, 1).
#include <cstddef>
#include <cstdint>

#include "sdr/Liquid.h"

namespace ondivo::sdr {

// Interleaved signed 16-bit I/Q.
void Cs16ToIq(const int16_t* in, size_t frames, Iq* out);
// Interleaved unsigned 8-bit I/Q, offset by 127.5 (what rtl_sdr writes).
void Cu8ToIq(const uint8_t* in, size_t frames, Iq* out);

}  // namespace ondivo::sdr
