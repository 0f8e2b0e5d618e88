#include "platform/TextConvert.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ondivo {
namespace {

TEST(TextConvertTest, ParseIntegerTakesOnlyPlainDecimals) {
  EXPECT_EQ(ParseInteger("42"), 42);
  EXPECT_EQ(ParseInteger("-7"), -7);
  EXPECT_EQ(ParseInteger("+7"), 7);
  EXPECT_EQ(ParseInteger("007"), 7);
  for (const char* bad : {"", " 1", "1 ", "1.0", "0x10", "++1", "+", "-", "99999999999999999999"}) {
    EXPECT_FALSE(ParseInteger(bad)) << bad;
  }
}

TEST(TextConvertTest, ParseRealUsesOnlyTheGivenSeparator) {
  EXPECT_DOUBLE_EQ(*ParseReal("088.500", '.'), 88.5);
  EXPECT_DOUBLE_EQ(*ParseReal("088,500", ','), 88.5);
  EXPECT_DOUBLE_EQ(*ParseReal(" -1.5e2 ", '.'), -150);
  EXPECT_DOUBLE_EQ(*ParseReal("5.", '.'), 5);
  EXPECT_DOUBLE_EQ(*ParseReal(".5", '.'), 0.5);
  for (const char* bad : {"088,500", "1,000.5", "", ".", "e5", "1e", "inf", "nan", "0x1p3", "1e999",
                          "12a", "1.2.3"}) {
    EXPECT_FALSE(ParseReal(bad, '.')) << bad;
  }
  EXPECT_FALSE(ParseReal("088.500", ','));
}

TEST(TextConvertTest, FormatFixedRoundsAsWrittenInDecimal) {
  EXPECT_EQ(FormatFixed(88.5, 3, '.', 3), "088.500");
  EXPECT_EQ(FormatFixed(0.531, 3, ',', 3), "000,531");
  EXPECT_EQ(FormatFixed(87.9505, 3, '.', 3), "087.951");  // 87.95049999... in binary
  EXPECT_EQ(FormatFixed(87.9504, 3, '.', 3), "087.950");
  EXPECT_EQ(FormatFixed(99.9996, 3, '.', 3), "100.000");
  EXPECT_EQ(FormatFixed(0.0004, 3, '.', 1), "0.000");
  EXPECT_EQ(FormatFixed(-0.0004, 3, '.', 1), "0.000");
  EXPECT_EQ(FormatFixed(-88.5, 3, '.', 3), "-088.500");
  EXPECT_EQ(FormatFixed(1619.5, 0, '.', 1), "1620");
  EXPECT_EQ(FormatFixed(1234.0, 3, '.', 3), "1234.000");
  EXPECT_EQ(FormatFixed(NAN, 3, '.', 3), "000.000");
  EXPECT_EQ(FormatFixed(1e20, 0, '.', 1), "100000000000000000000");
}

TEST(AsciiTextTest, TrimCaseAndScrubTouchAsciiOnlyWhateverTheProcessLocale) {
  EXPECT_EQ(TrimText(" \t\r\n a b \x01"), "a b");
  EXPECT_EQ(TrimText("   "), "");
  EXPECT_EQ(UpperCaseAscii("Mute on\xe9"), "MUTE ON\xe9");
  EXPECT_TRUE(EqualsIgnoringCase("mute ON", "Mute on"));
  EXPECT_FALSE(EqualsIgnoringCase("\xe9", "\xc9"));  // Latin-1 letters are not folded
  EXPECT_FALSE(EqualsIgnoringCase("Mute", "Mute "));
  // Folded to lower case, as the organizer always sorted: "_" comes before every letter.
  EXPECT_TRUE(LessIgnoringCase("_under", "Zeta"));
  EXPECT_TRUE(LessIgnoringCase("abc", "ABCD"));
  EXPECT_FALSE(LessIgnoringCase("ABC", "abc"));
  EXPECT_EQ(ScrubControlCharacters(std::string("a\r\nb\tc\x7f\0d\xe9", 10)), "a  b c  d\xe9");
}

TEST(AsciiTextTest, ThirtyTwoBitRangeIsTestedBeforeNarrowing) {
  EXPECT_EQ(ToInt32(2147483647), 2147483647);
  EXPECT_EQ(ToInt32(-2147483648LL), INT32_MIN);
  EXPECT_FALSE(ToInt32(2147483648LL));
  EXPECT_FALSE(ToInt32(4294967297LL));  // would wrap to 1
  EXPECT_EQ(ParseInt32("-12"), -12);
  EXPECT_FALSE(ParseInt32("4294967297"));
  EXPECT_FALSE(ParseInt32("99999999999999999999"));
}

}  // namespace
}  // namespace ondivo
