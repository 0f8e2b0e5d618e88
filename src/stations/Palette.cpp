#include "stations/Palette.h"

#include <array>
#include <cstddef>

namespace ondivo {

RgbColor PaletteColor(int index, RgbColor fallback) {
  static constexpr std::array<RgbColor, 16> kPalette = {{
      {0, 0, 0},        // black
      {128, 0, 0},      // maroon
      {0, 128, 0},      // green
      {128, 128, 0},    // olive
      {0, 0, 128},      // navy
      {128, 0, 128},    // purple
      {0, 128, 128},    // teal
      {192, 192, 192},  // silver
      {128, 128, 128},  // gray
      {255, 0, 0},      // red
      {0, 255, 0},      // lime
      {255, 255, 0},    // yellow
      {0, 0, 255},      // blue
      {255, 0, 255},    // fuchsia
      {0, 255, 255},    // aqua
      {255, 255, 255},  // white
  }};
  if (index < 0 || index >= static_cast<int>(kPalette.size())) return fallback;
  return kPalette[static_cast<size_t>(index)];
}

int DisplayColorIndex(int choice, int fallback) {
  static constexpr std::array<int, 8> kIndex = {15, 7, 9, 11, 10, 14, 12, 13};
  if (choice < 0 || choice >= static_cast<int>(kIndex.size())) return fallback;
  return kIndex[static_cast<size_t>(choice)];
}

int DimColorIndex(int index, int fallback) {
  switch (index) {
    case 7:
    case 15:
      return 8;
    case 9:
      return 1;
    case 10:
      return 2;
    case 11:
      return 3;
    case 12:
      return 4;
    case 13:
      return 5;
    case 14:
      return 6;
    default:
      return fallback;
  }
}

}  // namespace ondivo
