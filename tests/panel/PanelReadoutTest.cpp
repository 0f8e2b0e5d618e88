#include "panel/PanelReadout.h"

#include <gtest/gtest.h>

#include "tests/support/PanelRig.h"

namespace ondivo {
namespace {

using test::PanelRig;

std::string Digits(const tFrequencyDigits& d) {
  return std::string(d.Digits.begin(), d.Digits.end());
}

TEST(PanelReadoutDigitsTest, LeadingZerosBlankAndThePointFollowsTheThirdCharacter) {
  const LocaleFormat locale;
  const auto fm108 = FrequencyDigits(108.0, 87.0, 108.0, locale);
  EXPECT_EQ(Digits(fm108), "108000");
  EXPECT_TRUE(fm108.Point);
  const auto am999 = FrequencyDigits(0.999, kAMMin, kAMMax, locale);
  EXPECT_EQ(Digits(am999), "   999");
  EXPECT_FALSE(am999.Point);
  const auto am1620 = FrequencyDigits(1.620, kAMMin, kAMMax, locale);
  EXPECT_EQ(Digits(am1620), "  1620");
  EXPECT_TRUE(am1620.Point);  // it separates the thousands of kHz
  const auto fm985 = FrequencyDigits(98.5, 87.0, 108.0, locale);
  EXPECT_EQ(Digits(fm985), " 98500");
  EXPECT_TRUE(fm985.Point);
}

TEST(PanelReadoutDigitsTest, AFrequencyOutsideTheBandShowsTheNearestLimit) {
  const LocaleFormat comma{',', ':', "hh:mm:ss"};
  EXPECT_EQ(Digits(FrequencyDigits(120.0, 87.0, 108.0, comma)), "108000");
  EXPECT_EQ(Digits(FrequencyDigits(0.0, kAMMin, kAMMax, comma)), "   531");
}

TEST(PanelReadoutLookTest, TextColourZeroIsWhiteWithAGreyUnknownStatus) {
  EXPECT_EQ(BrightTextIndex(0), 15);
  const tStatusFlag none = StatusFlag(sNone, 0);
  EXPECT_EQ(none.Text, "?????");
  EXPECT_EQ(none.PaletteIndex, 8);
  EXPECT_EQ(StatusFlag(sStereo, 0).Text, "Stereo");
  EXPECT_EQ(StatusFlag(sMono, 0).PaletteIndex, 15);
  EXPECT_EQ(StatusFlag(sTuned, 2).PaletteIndex, 9);  // red text, bright
  EXPECT_EQ(StatusFlag(sNone, 2).PaletteIndex, 1);   // and its dim maroon
}

TEST(PanelReadoutLookTest, DigitStylesFollowTheStyleSettingAndUnknownOnesKeepDots) {
  EXPECT_EQ(DigitLook(0), (tDigitLook{ds16Seg, 3}));
  EXPECT_EQ(DigitLook(1), (tDigitLook{ds5x7Bulb, 6}));
  EXPECT_EQ(DigitLook(2), (tDigitLook{ds5x7Dot, 6}));
  EXPECT_EQ(DigitLook(3), (tDigitLook{ds7Seg, 4}));
  EXPECT_EQ(DigitLook(7), (tDigitLook{ds5x7Dot, 6}));
  EXPECT_EQ(DigitLook(-1), (tDigitLook{ds5x7Dot, 6}));
}

TEST(PanelReadoutScaleTest, StepSliderOfAFiftyKilohertzCardRunsFromOneToTwenty) {
  const tStepScale smallest = StepScale(0.05, 0.05);
  EXPECT_EQ(smallest.Min, 1);
  EXPECT_EQ(smallest.Max, 20);
  EXPECT_EQ(smallest.Value, 1);
  EXPECT_EQ(smallest.KHz, 50);
  const tStepScale largest = StepScale(1.0, 0.05);
  EXPECT_EQ(largest.Value, 20);
  EXPECT_EQ(largest.KHz, 1000);
}

TEST(PanelReadoutScaleTest, ScaleLabelsPerBand) {
  EXPECT_EQ(ScaleLabels(bAM, false).size(), 12u);
  EXPECT_EQ(ScaleLabels(bAM, false).front(), "531");
  EXPECT_EQ(ScaleLabels(bAM, false).back(), "1620");
  EXPECT_EQ(ScaleLabels(bFM, false),
            (std::vector<std::string>{"87", "90", "93", "96", "99", "102", "105", "108"}));
  EXPECT_EQ(ScaleLabels(bFM, true), (std::vector<std::string>{"76", "79", "82", "85", "88", "91"}));
}

TEST(PanelReadoutCardTest, SliderHintTitleAndStationOnFM) {
  PanelRig rig(mRadioMan);
  rig.bank.Store(7, "Classic", 98.5, bFM);
  rig.Model().TuneTo(bFM, false, 98.5);
  const tPanelReadout r = ReadPanel(rig.card, rig.state, rig.bank, rig.settings, rig.locale);
  EXPECT_EQ(r.SliderHint, "98.5 MHz");
  EXPECT_EQ(r.SliderValue, 98500);
  EXPECT_EQ(r.SliderMin, 87000);
  EXPECT_EQ(r.SliderMax, 108000);
  EXPECT_EQ(r.Title, "Ondivo - Classic (98.5 MHz)");
  EXPECT_EQ(r.TrayHint, "Classic (98.5 MHz)");
  EXPECT_EQ(r.StationNumber, "7");
  EXPECT_EQ(r.StationName, "Classic");
  EXPECT_EQ(r.BandText, "FM");
  EXPECT_EQ(r.UnitText, "MHz");
  EXPECT_TRUE(r.FMControlsVisible);
}

TEST(PanelReadoutCardTest, AMReadsInKilohertzWithoutTheFMControls) {
  PanelRig rig(mRadioMan);
  rig.Model().TuneTo(bAM, false, 1.080);
  const tPanelReadout r = ReadPanel(rig.card, rig.state, rig.bank, rig.settings, rig.locale);
  EXPECT_EQ(r.SliderHint, "1080 kHz");
  EXPECT_EQ(r.Title, "Ondivo - 1080 kHz");
  EXPECT_EQ(r.StationNumber, "??");
  EXPECT_EQ(r.UnitText, "kHz");
  EXPECT_EQ(r.SliderStep, 9);
  EXPECT_FALSE(r.FMControlsVisible);
  EXPECT_EQ(r.Scale.size(), 12u);
}

}  // namespace
}  // namespace ondivo
