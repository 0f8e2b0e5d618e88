#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "controls/DisplayLayout.h"

namespace ondivo {
namespace {

TEST(DisplayLayoutTest, FrontPanelDotsHaveOnePixelGaps) {
  const DisplayLayout layout = ComputeDisplayLayout(ds5x7Dot, 33, 47, 2, 5);
  ASSERT_EQ(layout.shapes.size(), 35u);
  EXPECT_EQ(layout.shapes[0].points[0], (SegPoint{2, 2}));
  for (int row = 0; row < 7; ++row) {
    for (int column = 0; column < 5; ++column) {
      const SegPoint p = layout.shapes[row * 5 + column].points[0];
      EXPECT_EQ(p, (SegPoint{2 + column * 6, 2 + row * 6})) << row << "," << column;
    }
  }
  // The last dot still ends inside the drawn area of (W - 2) x (H - 2).
  const SegPoint last = layout.shapes[34].points[0];
  EXPECT_LE(last.x + 5, 31);
  EXPECT_LE(last.y + 5, 45);
}

TEST(DisplayLayoutTest, NegativeGapsTruncateTowardZero) {
  // 33 - 4 - 30 = -1 and 47 - 4 - 42 = 1: both gaps are 0, so the dots touch.
  DisplayLayout layout = ComputeDisplayLayout(ds5x7Bulb, 33, 47, 2, 6);
  EXPECT_EQ(layout.shapes[1].points[0].x - layout.shapes[0].points[0].x, 6);
  EXPECT_EQ(layout.shapes[5].points[0].y - layout.shapes[0].points[0].y, 6);
  // -7 div 4 is -1 (not -2) and -13 div 6 is -2 (not -3).
  layout = ComputeDisplayLayout(ds5x7Dot, 20 + 4 - 7, 28 + 4 - 13, 2, 4);
  EXPECT_EQ(layout.shapes[1].points[0].x - layout.shapes[0].points[0].x, 4 - 1);
  EXPECT_EQ(layout.shapes[5].points[0].y - layout.shapes[0].points[0].y, 4 - 2);
}

TEST(DisplayLayoutTest, SevenSegmentBarsMeetWithoutOverlapping) {
  const DisplayLayout layout = ComputeDisplayLayout(ds7Seg, 120, 200, 10, 15);
  ASSERT_EQ(layout.shapes.size(), 7u);
  const auto top = [&](int k) { return layout.shapes[k].points[1].y; };
  const auto bottom = [&](int k) { return layout.shapes[k].points[4].y; };
  // The verticals run from the top bar down to the middle bar, and from there to the bottom bar.
  EXPECT_EQ(top(0), 10);
  EXPECT_EQ(layout.shapes[3].points[1].y, bottom(0));
  EXPECT_EQ(bottom(3), top(1));
  EXPECT_EQ(bottom(5), layout.shapes[2].points[1].y);
  EXPECT_EQ(layout.shapes[2].points[4].y, 200 - 10);
  // Right bars start where the left ones are mirrored.
  EXPECT_EQ(layout.shapes[4].points[0].x, 120 - 10 - 15);
}

TEST(DisplayLayoutTest, SixteenSegmentDiagonalsRunBetweenTheirCorners) {
  const DisplayLayout layout = ComputeDisplayLayout(ds16Seg, 120, 200, 10, 15);
  ASSERT_EQ(layout.shapes.size(), 16u);
  // Upper left diagonal: falling from (M + s + h, M + s + h) to (W2 - s, H2 - s).
  EXPECT_EQ(layout.shapes[3].points[0], (SegPoint{32, 32}));
  EXPECT_EQ(layout.shapes[3].points[3], (SegPoint{45, 85}));
  // Lower left diagonal: rising from its lower end (M + s + h, H - M - s - h) to (W2 - s, H2 + s).
  EXPECT_EQ(layout.shapes[10].points[0], (SegPoint{32, 168}));
  EXPECT_EQ(layout.shapes[10].points[3], (SegPoint{45, 115}));
}

TEST(DisplayLayoutTest, DegenerateSizesStillGiveEveryShape) {
  const TDigitStyle styles[] = {ds7Seg, ds16Seg, ds5x7Dot, ds5x7Bulb};
  const int sizes[][4] = {{120, 200, 70, 15},
                          {120, 200, 10, 0},
                          {120, 200, 10, -8},
                          {1, 1, 10, 15},
                          {0, 0, 0, 0},
                          {120, 200, INT_MAX, INT_MAX},
                          {120, 200, INT_MIN, INT_MIN},
                          {-5, -5, 3, 3}};
  for (TDigitStyle style : styles) {
    for (const auto& s : sizes) {
      const DisplayLayout layout = ComputeDisplayLayout(style, s[0], s[1], s[2], s[3]);
      EXPECT_EQ(static_cast<int>(layout.shapes.size()), SegmentCount(style));
      for (const SegmentShape& shape : layout.shapes) {
        for (int i = 0; i < shape.count; ++i) {
          EXPECT_LT(std::abs(shape.points[i].x), 1 << 26);
          EXPECT_LT(std::abs(shape.points[i].y), 1 << 26);
        }
      }
    }
  }
}

}  // namespace
}  // namespace ondivo
