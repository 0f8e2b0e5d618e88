#include "stations/FrequencyText.h"

#include <gtest/gtest.h>

namespace ondivo {
namespace {

const LocaleFormat kDot{'.', ':', "hh:mm:ss"};
const LocaleFormat kComma{',', ':', "hh:mm:ss"};

TEST(FrequencyTextTest, StorageFormFollowsTheSeparator) {
  EXPECT_EQ(FormatFrequencyKey(88.5, kDot), "088.500");
  EXPECT_EQ(FormatFrequencyKey(88.5, kComma), "088,500");
  EXPECT_EQ(FormatFrequencyKey(0.531, kDot), "000.531");
  EXPECT_EQ(FormatFrequencyKey(1.62, kComma), "001,620");
  EXPECT_EQ(FormatFrequencyKey(108.0, kDot), "108.000");
  EXPECT_EQ(FormatFrequencyKey(0, kDot), "000.000");
}

TEST(FrequencyTextTest, SameFrequencyMeansSameKilohertz) {
  EXPECT_TRUE(SameFrequency(87.95, 87.9504));
  EXPECT_FALSE(SameFrequency(87.95, 87.951));
  EXPECT_TRUE(SameFrequency(0.531, 0.5312));
  EXPECT_TRUE(SameFrequency(0, 0.0004));
  // Each step of an AM tuning grid stays distinct.
  for (int k = 531; k < 1620; k += 9) {
    EXPECT_FALSE(SameFrequency(k * 0.001, (k + 9) * 0.001)) << k;
  }
}

TEST(FrequencyTextTest, ShortFormAndStationLabel) {
  EXPECT_EQ(FormatFrequencyShort(bFM, 88.5, kDot), "88.5 MHz");
  EXPECT_EQ(FormatFrequencyShort(bFM, 101.35, kComma), "101,35 MHz");
  EXPECT_EQ(FormatFrequencyShort(bFM, 100.0, kDot), "100. MHz");
  EXPECT_EQ(FormatFrequencyShort(bAM, 0.531, kDot), "531 kHz");
  EXPECT_EQ(FormatFrequencyShort(bAM, 1.0, kDot), "1000 kHz");
  EXPECT_EQ(FormatFrequencyShort(bAM, 1.62, kComma), "1620 kHz");
  EXPECT_EQ(FormatFrequencyShort(static_cast<tBand>(7), 88.5, kDot), "");
  EXPECT_EQ(FormatStationLabel(bFM, 88.5, "Radio One", kDot), "Radio One (88.5 MHz)");
  EXPECT_EQ(FormatStationLabel(bAM, 0.54, "", kDot), "540 kHz");
}

TEST(FrequencyTextTest, PresetNumbersAndPadding) {
  EXPECT_EQ(FormatPresetNumber(1), "01");
  EXPECT_EQ(FormatPresetNumber(99), "99");
  EXPECT_EQ(FormatPresetNumber(100), "00");
  for (int n = 1; n <= 100; ++n) EXPECT_EQ(ParsePresetNumber(FormatPresetNumber(n)), n);
  EXPECT_EQ(ParsePresetNumber(std::string_view("btRadio00").substr(7)), 100);
  EXPECT_EQ(ParsePresetNumber("7"), 0);
  EXPECT_EQ(ParsePresetNumber("-1"), 0);
  EXPECT_EQ(PadNumber(7, 3), "007");
  EXPECT_EQ(PadNumber(100, 3), "100");
  EXPECT_EQ(PadNumber(12345, 3), "12345");
  EXPECT_EQ(PadNumber(-5, 3), "-05");
}

TEST(FrequencyTextTest, BandLettersAndWords) {
  EXPECT_EQ(BandLetter(bAM), "K");
  EXPECT_EQ(BandLetter(bFM), "M");
  EXPECT_EQ(ParseBandLetter("k"), bAM);
  EXPECT_EQ(ParseBandLetter("Kx"), bAM);
  for (const char* fm : {"X", "m", "", " K"}) EXPECT_EQ(ParseBandLetter(fm), bFM) << fm;
  EXPECT_EQ(BandWord(bAM), "AM");
  EXPECT_EQ(ParseBandWord("FM"), bFM);
  EXPECT_FALSE(ParseBandWord("fm"));
  EXPECT_TRUE(IsBandWord(" fm "));
  EXPECT_FALSE(IsBandWord("FMX"));
  EXPECT_TRUE(IsStereoWord("st"));
  EXPECT_TRUE(IsStereoWord(" MN\r"));
  EXPECT_FALSE(IsStereoWord("STEREO"));
}

TEST(FrequencyTextTest, ValidatorsTurnEveryConversionErrorIntoFalse) {
  EXPECT_TRUE(IsTimeHHMM("0000"));
  EXPECT_TRUE(IsTimeHHMM("2359"));
  EXPECT_TRUE(IsTimeHHMM("0705.rest"));
  for (const char* bad : {"2400", "1260", "123", "", "12:3", "-100", "１２３４"}) {
    EXPECT_FALSE(IsTimeHHMM(bad)) << bad;
  }
  EXPECT_TRUE(IsIntegerInRange("100", 1, 100));
  EXPECT_FALSE(IsIntegerInRange("101", 1, 100));
  EXPECT_FALSE(IsIntegerInRange("0", 1, 100));
  EXPECT_FALSE(IsIntegerInRange("", 0, 10));
  EXPECT_FALSE(IsIntegerInRange("-1", 0, 10));
  EXPECT_FALSE(IsIntegerInRange("18446744073709551617", 0, 10));
  EXPECT_FALSE(IsIntegerInRange("1 0", 0, 100));
  EXPECT_TRUE(IsRealNumber("088.500", kDot));
  EXPECT_FALSE(IsRealNumber("088.500", kComma));
  EXPECT_FALSE(IsRealNumber("088,500", kDot));
  EXPECT_FALSE(IsRealNumber("", kDot));
  EXPECT_FALSE(IsRealNumber("1e400", kDot));
}

TEST(FrequencyTextTest, SmallNamedConversions) {
  EXPECT_EQ(DotsForColons("07:05:00"), "07.05.00");
  EXPECT_EQ(VolumeLineFromName("Radio card"), vlNative);
  EXPECT_EQ(VolumeLineFromName("Line In"), vlLineIn);
  EXPECT_EQ(VolumeLineFromName("Microphone"), vlMicIn);
  EXPECT_EQ(VolumeLineFromName("Compact disk"), vlCd);
  EXPECT_EQ(VolumeLineFromName("line in"), vlNone);
  EXPECT_EQ(VolumeLineFromName(""), vlNone);
}

}  // namespace
}  // namespace ondivo
