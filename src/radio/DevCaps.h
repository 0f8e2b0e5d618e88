#pragma once

#include <array>
#include <cstdint>

#include "radio/RadioTypes.h"

namespace ondivo {

// The seven capability records in model order, as every card component starts with them.
std::array<tDevCap, kModelCount> DefaultDevCaps();

// Nearest multiple of step to value, halves to even (as the card's volume arithmetic rounds).
int32_t NearestMultiple(int32_t value, int32_t step);

}  // namespace ondivo
