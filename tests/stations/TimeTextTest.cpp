#include "stations/TimeText.h"

#include <gtest/gtest.h>

namespace ondivo {
namespace {

TEST(TimeTextTest, HourAndMinuteOfEveryMinuteOfTheDay) {
  for (int h = 0; h < 24; ++h) {
    for (int m = 0; m < 60; ++m) {
      const double t = h / 24.0 + m / 1440.0;
      ASSERT_EQ(HourOf(t), h);
      ASSERT_EQ(MinuteOf(t), m);
      ASSERT_EQ(MinuteOf(t + 3.0), m);  // a date part is ignored
    }
  }
  EXPECT_EQ(HourOf(TimeOfDay(23, 59, 59)), 23);
  EXPECT_EQ(SecondOf(TimeOfDay(23, 59, 59)), 59);
}

TEST(TimeTextTest, TimeTextUsesTheLocaleSeparator) {
  const LocaleFormat colon{'.', ':', "HH:mm:ss"};
  const LocaleFormat dot{',', '.', "HH.mm.ss"};
  EXPECT_TRUE(IsTimeText("07:05", colon));
  EXPECT_TRUE(IsTimeText("7:05:30", colon));
  EXPECT_TRUE(IsTimeText("11:30 pm", colon));
  EXPECT_EQ(HourOf(*ParseTimeText("12:15 AM", colon)), 0);
  EXPECT_EQ(HourOf(*ParseTimeText("1:15 PM", colon)), 13);
  EXPECT_TRUE(IsTimeText("07.05", dot));
  EXPECT_FALSE(IsTimeText("07:05", dot));
  for (const char* bad :
       {"", "7", "24:00", "12:60", "13:00 PM", "1:2:3:4", "a:b", "-1:30", "123:00", ":"}) {
    EXPECT_FALSE(IsTimeText(bad, colon)) << bad;
  }
}

TEST(TimeTextTest, LongTimeFollowsThePattern) {
  const double t = TimeOfDay(13, 5, 9);
  EXPECT_EQ(FormatLongTime(t, {'.', ':', "HH:mm:ss"}), "13:05:09");
  EXPECT_EQ(FormatLongTime(t, {'.', ':', "h:mm:ss AP"}), "1:05:09 PM");
  EXPECT_EQ(FormatLongTime(TimeOfDay(0, 1, 2), {'.', ':', "h:mm:ss ap t"}), "12:01:02 am");
  EXPECT_EQ(FormatLongTime(t, {'.', '.', "HH 'h' mm"}), "13 h 05");
}

}  // namespace
}  // namespace ondivo
