#include "controls/DisplayLayout.h"

#include <algorithm>
#include <initializer_list>

namespace ondivo {

namespace {

SegmentShape Shape(std::initializer_list<SegPoint> corners) {
  SegmentShape shape;
  for (const SegPoint& p : corners) shape.points[shape.count++] = p;
  return shape;
}

// Bars with ends pointed at mid-thickness.
SegmentShape HorizontalBar(int x, int y, int length, int s, int h) {
  return Shape({{x, y + h},
                {x + h, y},
                {x + length - h, y},
                {x + length, y + h},
                {x + length - h, y + s},
                {x + h, y + s}});
}

SegmentShape VerticalBar(int x, int y, int length, int s, int h) {
  return Shape({{x, y + h},
                {x + h, y},
                {x + s, y + h},
                {x + s, y + length - h},
                {x + h, y + length},
                {x, y + length - h}});
}

void Layout7(DisplayLayout& out, int w, int hgt, int m, int s) {
  const int h = s / 2;
  const int h2 = hgt / 2;
  const int across = w - 2 * m - s;
  const int down = h2 - s - h - m;
  out.shapes = {
      HorizontalBar(m + h, m, across, s, h),           HorizontalBar(m + h, h2 - h, across, s, h),
      HorizontalBar(m + h, hgt - m - s, across, s, h), VerticalBar(m, m + s, down, s, h),
      VerticalBar(w - m - s, m + s, down, s, h),       VerticalBar(m, h2 + h, down, s, h),
      VerticalBar(w - m - s, h2 + h, down, s, h),
  };
}

void Layout16(DisplayLayout& out, int w, int hgt, int m, int s) {
  const int h = s / 2;
  const int w2 = w / 2;
  const int h2 = hgt / 2;
  const int half = w2 - m - s;
  const int v = h2 - s - m;

  const auto top = [&](int x, int y) {
    return Shape({{x, y}, {x + s, y + s}, {x + half - s, y + s}, {x + half, y}});
  };
  const auto bottom = [&](int x, int y) {
    return Shape({{x, y + s}, {x + s, y}, {x + half - s, y}, {x + half, y + s}});
  };
  const auto left = [&](int x, int y) {
    return Shape({{x, y}, {x + s, y + s}, {x + s, y + v - s}, {x, y + v}});
  };
  const auto right = [&](int x, int y) {
    return Shape({{x + s, y}, {x, y + s}, {x, y + v - s}, {x + s, y + v}});
  };
  const auto falling = [&](int x1, int y1, int x2, int y2) {
    return Shape({{x1, y1}, {x1 + h, y1}, {x2, y2 - s}, {x2, y2}, {x2 - h, y2}, {x1, y1 + s}});
  };
  // From the lower end (x1, y1) up to (x2, y2).
  const auto rising = [&](int x1, int y1, int x2, int y2) {
    return Shape({{x1, y1}, {x1, y1 - s}, {x2 - h, y2}, {x2, y2}, {x2, y2 + s}, {x1 + h, y1}});
  };

  out.shapes = {
      top(m + h, m),
      top(w2 + h, m),
      left(m, m + h),
      falling(m + s + h, m + s + h, w2 - s, h2 - s),
      VerticalBar(w2 - h, m + h, v, s, h),
      rising(w2 + s, h2 - s, w - m - s - h, m + s + h),
      right(w - m - s, m + h),
      HorizontalBar(m + h, h2 - h, half, s, h),
      HorizontalBar(w2 + h, h2 - h, half, s, h),
      left(m, h2 + h),
      rising(m + s + h, hgt - m - s - h, w2 - s, h2 + s),
      VerticalBar(w2 - h, h2 + h, v, s, h),
      falling(w2 + s, h2 + s, w - m - s - h, hgt - m - s - h),
      right(w - m - s, h2 + h),
      bottom(m + h, hgt - m - s),
      bottom(w2 + h, hgt - m - s),
  };
}

void Layout5x7(DisplayLayout& out, int w, int hgt, int m, int s) {
  const int columnGap = (w - 2 * m - 5 * s) / 4;
  const int rowGap = (hgt - 2 * m - 7 * s) / 6;
  out.shapes.clear();
  out.shapes.reserve(35);
  for (int row = 0; row < 7; ++row) {
    for (int column = 0; column < 5; ++column) {
      out.shapes.push_back(Shape({{m + column * (s + columnGap), m + row * (s + rowGap)}}));
    }
  }
}

}  // namespace

int SegmentCount(TDigitStyle style) {
  switch (style) {
    case ds7Seg:
      return 7;
    case ds16Seg:
      return 16;
    case ds5x7Dot:
    case ds5x7Bulb:
      return 35;
  }
  return 0;
}

DisplayLayout ComputeDisplayLayout(TDigitStyle style, int width, int height, int margin,
                                   int segWidth) {
  // Far beyond any real control; keeps the arithmetic below clear of overflow.
  constexpr int kLimit = 1 << 20;
  width = std::clamp(width, 0, kLimit);
  height = std::clamp(height, 0, kLimit);
  margin = std::clamp(margin, -kLimit, kLimit);
  segWidth = std::clamp(segWidth, -kLimit, kLimit);
  DisplayLayout out;
  out.style = style;
  out.segWidth = segWidth;
  switch (style) {
    case ds7Seg:
      Layout7(out, width, height, margin, segWidth);
      break;
    case ds16Seg:
      Layout16(out, width, height, margin, segWidth);
      break;
    case ds5x7Dot:
    case ds5x7Bulb:
      Layout5x7(out, width, height, margin, segWidth);
      break;
  }
  return out;
}

}  // namespace ondivo
