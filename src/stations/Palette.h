#pragma once

#include <cstdint>

namespace ondivo {

struct RgbColor {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  bool operator==(const RgbColor&) const = default;
};

// Index 0..15 of the standard 16-colour palette to its colour; any other index gives fallback.
RgbColor PaletteColor(int index, RgbColor fallback);

// Display colour choice 0..7 (white, silver, red, yellow, lime, aqua, blue, fuchsia) to its
// palette index; any other choice gives fallback.
int DisplayColorIndex(int choice, int fallback);

// A bright palette index to its dim companion for unlit text; any other index gives fallback.
int DimColorIndex(int index, int fallback);

}  // namespace ondivo
