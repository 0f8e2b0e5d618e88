#pragma once

#include <array>
#include <cstdint>

#include "radio/RadioTypes.h"

namespace ondivo {

// The capability records in model order, as every card component starts with them (the V4L2
// model's until a device is opened).
std::array<tDevCap, kModelCount> DefaultDevCaps();

// The port index a card of this model is configured with: the stored one when the model has
// it, else the model's default (a stored port of another model, or a damaged file).
int32_t PortInUse(const tDevCap& cap, int32_t storedPort);

// Nearest multiple of step to value, halves to even (as the card's volume arithmetic rounds).
int32_t NearestMultiple(int32_t value, int32_t step);

}  // namespace ondivo
