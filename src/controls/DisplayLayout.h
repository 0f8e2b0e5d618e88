#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace ondivo {

// How TDisplay draws its character.
enum class TDigitStyle : uint8_t { ds7Seg = 0, ds16Seg = 1, ds5x7Dot = 2, ds5x7Bulb = 3 };
using enum TDigitStyle;

struct SegPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const SegPoint&, const SegPoint&) = default;
};

// One segment (a polygon of up to six corners) or one dot of the 5 x 7 matrix (count 1: the
// top-left corner of a square of the segment width).
struct SegmentShape {
  std::array<SegPoint, 6> points{};
  int count = 0;
};

// Every segment or dot of a style for one control size, in drawing order: shape k is lit by
// bit k of the segment glyphs; dot k is column k % 5 of row k / 5.
struct DisplayLayout {
  TDigitStyle style = ds7Seg;
  int segWidth = 0;
  std::vector<SegmentShape> shapes;
};

int SegmentCount(TDigitStyle style);

// Pure geometry, no painting. Large margins or widths give negative lengths and gaps; the
// shapes then come out degenerate (crossed or inside out) and are still returned.
DisplayLayout ComputeDisplayLayout(TDigitStyle style, int width, int height, int margin,
                                   int segWidth);

}  // namespace ondivo
