#pragma once
// liquid-dsp with std::complex<float> as its complex type, and owners for its objects.
#include <complex>
#include <memory>

#include <liquid/liquid.h>

namespace ondivo::sdr {

using Iq = std::complex<float>;

template <typename Object, int (*Destroy)(Object)>
struct LiquidDeleter {
  void operator()(Object q) const { Destroy(q); }
};
template <typename Object, int (*Destroy)(Object)>
using LiquidPtr = std::unique_ptr<std::remove_pointer_t<Object>, LiquidDeleter<Object, Destroy>>;

using ResamplerRrrf = LiquidPtr<resamp_rrrf, resamp_rrrf_destroy>;

}  // namespace ondivo::sdr
