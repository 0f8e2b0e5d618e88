#include <gtest/gtest.h>

#include <cmath>

#include "settings/JumpToValues.h"

namespace ondivo {
namespace {

const tJumpBand kFM05{true, 87.0, 108.0, 0.05};
const tJumpBand kAM9{true, 0.531, 1.62, 0.009};
const tJumpBand kNoAM{false, 0.531, 1.62, 0};

TEST(JumpToValuesTest, TypedValuesSnapOntoTheGridAndIntoTheBand) {
  tJumpToValues values(kFM05, kAM9, bFM, 98.5);
  EXPECT_DOUBLE_EQ(values.Value(), 98.5);
  EXPECT_DOUBLE_EQ(values.Type(101.27), 101.25);
  EXPECT_EQ(values.SliderPosition(), 101250);
  EXPECT_DOUBLE_EQ(values.Type(120), 108.0);
  EXPECT_DOUBLE_EQ(values.Type(50), 87.0);
  EXPECT_DOUBLE_EQ(values.Snap(101.27), 101.25);
  EXPECT_DOUBLE_EQ(values.Type(std::nan("")), 87.0);
}

TEST(JumpToValuesTest, EachBandRemembersItsLastValue) {
  tJumpToValues values(kFM05, kAM9, bFM, 98.5);
  values.Type(101.27);
  ASSERT_TRUE(values.SetBand(bAM));
  EXPECT_DOUBLE_EQ(values.Value(), 0.531);  // AM starts at its lower limit
  EXPECT_DOUBLE_EQ(values.Slide(1000), 0.999);
  const tJumpSlider am = values.Slider();
  EXPECT_EQ(am.Min, 531);
  EXPECT_EQ(am.Max, 1620);
  EXPECT_EQ(am.Step, 9);
  ASSERT_TRUE(values.SetBand(bFM));
  EXPECT_DOUBLE_EQ(values.Value(), 101.25);  // not the card's 98.5
  const tJumpSlider fm = values.Slider();
  EXPECT_EQ(fm.Min, 87000);
  EXPECT_EQ(fm.Max, 108000);
  EXPECT_EQ(fm.Step, 50);
  values.SetBand(bAM);
  EXPECT_DOUBLE_EQ(values.Value(), 0.999);
}

TEST(JumpToValuesTest, ABandTheCardLacksCannotBeChosen) {
  tJumpToValues values(kFM05, kNoAM, bFM, 0);
  EXPECT_FALSE(values.HasBand(bAM));
  EXPECT_FALSE(values.SetBand(bAM));
  EXPECT_EQ(values.Band(), bFM);
  EXPECT_DOUBLE_EQ(values.Value(), 87.0);  // an untuned card starts at the lower limit
}

}  // namespace
}  // namespace ondivo
