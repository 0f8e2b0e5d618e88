#pragma once

#include <cstdint>

#include "controls/DisplayLayout.h"

namespace ondivo {

// Segment patterns by character code 0..127; bit k lights segment k. Codes outside that range
// show what the table shows for characters it has no pattern for.
uint8_t Seg7Glyph(int code);
uint16_t Seg16Glyph(int code);

// Whether segment or dot `index` of the style's layout is lit for the character.
bool SegmentLit(TDigitStyle style, int code, int index);

}  // namespace ondivo
