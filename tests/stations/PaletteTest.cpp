#include "stations/Palette.h"

#include <gtest/gtest.h>

namespace ondivo {
namespace {

TEST(PaletteTest, MapsAndFallbacks) {
  const RgbColor fallback{1, 2, 3};
  EXPECT_EQ(PaletteColor(0, fallback), (RgbColor{0, 0, 0}));
  EXPECT_EQ(PaletteColor(7, fallback), (RgbColor{192, 192, 192}));
  EXPECT_EQ(PaletteColor(13, fallback), (RgbColor{255, 0, 255}));
  EXPECT_EQ(PaletteColor(15, fallback), (RgbColor{255, 255, 255}));
  EXPECT_EQ(PaletteColor(16, fallback), fallback);
  EXPECT_EQ(PaletteColor(-1, fallback), fallback);

  const int expected[] = {15, 7, 9, 11, 10, 14, 12, 13};
  for (int c = 0; c < 8; ++c) EXPECT_EQ(DisplayColorIndex(c, -1), expected[c]);
  EXPECT_EQ(DisplayColorIndex(8, -1), -1);

  // Every display colour has a dim companion.
  for (int c = 0; c < 8; ++c) EXPECT_NE(DimColorIndex(DisplayColorIndex(c, -1), -1), -1);
  EXPECT_EQ(DimColorIndex(15, -1), 8);
  EXPECT_EQ(DimColorIndex(9, -1), 1);
  EXPECT_EQ(DimColorIndex(0, -1), -1);
  EXPECT_EQ(DimColorIndex(8, -1), -1);
}

}  // namespace
}  // namespace ondivo
