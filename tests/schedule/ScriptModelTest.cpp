#include <gtest/gtest.h>

#include "schedule/Script.h"
#include "schedule/ScriptActions.h"

namespace ondivo {
namespace {

TEST(ParseActionKeywordTest, MatchesTheSevenKeywordsIgnoringCaseOnly) {
  EXPECT_EQ(ParseActionKeyword("Mute on"), akMuteOn);
  EXPECT_EQ(ParseActionKeyword("mute ON"), akMuteOn);
  EXPECT_EQ(ParseActionKeyword("MUTE OFF"), akMuteOff);
  EXPECT_EQ(ParseActionKeyword("beep"), akBeep);
  EXPECT_EQ(ParseActionKeyword("Volume"), akVolume);
  EXPECT_EQ(ParseActionKeyword("jump to"), akJumpTo);
  EXPECT_EQ(ParseActionKeyword("Preset"), akPreset);
  EXPECT_EQ(ParseActionKeyword("oFf"), akOff);
  // Exact equality: no trimming, no prefixes, no empty text.
  EXPECT_EQ(ParseActionKeyword("Mute on "), akNone);
  EXPECT_EQ(ParseActionKeyword("Mute"), akNone);
  EXPECT_EQ(ParseActionKeyword("Jump  to"), akNone);
  EXPECT_EQ(ParseActionKeyword(""), akNone);
  EXPECT_EQ(ParseActionKeyword(std::string_view("Off\0", 4)), akNone);
}

TEST(ParseActionKeywordTest, KeywordsReadBackToTheirKinds) {
  for (int code = 1; code <= kActionKindCount; ++code) {
    const auto kind = static_cast<tActionKind>(code);
    EXPECT_EQ(ParseActionKeyword(ActionKeyword(kind)), kind);
  }
  EXPECT_EQ(ActionKeyword(akNone), "");
  EXPECT_EQ(ActionKeyword(static_cast<tActionKind>(8)), "");
}

TEST(ScriptActionsTest, ConstructorsSetKindAndDefaults) {
  const double t = TimeOfDay(7, 5);
  const auto beep = CreateAction(akBeep, t, bFM, true);
  ASSERT_EQ(beep->Kind, akBeep);
  const auto& b = static_cast<const zBeep&>(*beep);
  EXPECT_EQ(b.Times, 1);
  EXPECT_EQ(b.Frequency, 5000);
  EXPECT_EQ(b.Duration, 300);
  EXPECT_EQ(static_cast<const zVolume&>(*CreateAction(akVolume, t, bFM, true)).Volume, 0);

  const zJumpTo fm(t, bFM, true);
  EXPECT_EQ(fm.Kind, akJumpTo);
  EXPECT_EQ(fm.Band, bFM);
  EXPECT_TRUE(fm.Stereo);
  EXPECT_DOUBLE_EQ(fm.Frequency, 76.0);
  const zJumpTo am(t, bAM, false);
  EXPECT_EQ(am.Band, bAM);
  EXPECT_FALSE(am.Stereo);
  EXPECT_DOUBLE_EQ(am.Frequency, 0.531);

  const zPreset preset(t, true);
  EXPECT_EQ(preset.Preset, 0);
  EXPECT_TRUE(preset.Stereo);
  EXPECT_FALSE(zPreset(t, false).Stereo);

  EXPECT_EQ(CreateAction(akMuteOn, t, bFM, false)->Kind, akMuteOn);
  EXPECT_EQ(CreateAction(akMuteOff, t, bFM, false)->Kind, akMuteOff);
  EXPECT_EQ(CreateAction(akOff, t, bFM, false)->Kind, akOff);
  EXPECT_EQ(CreateAction(akNone, t, bFM, false), nullptr);
  EXPECT_EQ(zAction(t).Kind, akNone);
}

TEST(ScriptActionsTest, OnlyHourAndMinuteOfTheTimeCount) {
  zMuteOn action(TimeOfDay(23, 59));
  EXPECT_EQ(action.Hour(), 23);
  EXPECT_EQ(action.Minute(), 59);
  // A date part and seconds are ignored.
  action.Time = 45000.0 + TimeOfDay(7, 5) + 59.0 / 86400.0;
  EXPECT_EQ(action.Hour(), 7);
  EXPECT_EQ(action.Minute(), 5);
  action.Time = TimeOfDay(0, 0);
  EXPECT_EQ(action.Hour(), 0);
  EXPECT_EQ(action.Minute(), 0);
  // Every minute of the day survives the round trip through the fraction.
  for (int m = 0; m < 1440; ++m) {
    action.Time = TimeOfDay(m / 60, m % 60);
    ASSERT_EQ(action.Hour() * 60 + action.Minute(), m);
  }
}

TEST(ScriptActionsTest, EqualityComparesKindTimeAndEveryField) {
  const double t = TimeOfDay(6, 45);
  zBeep a(t), b(t + 10.0 / 86400.0);  // seconds apart, same minute
  EXPECT_TRUE(a == b);
  b.Duration = 301;
  EXPECT_FALSE(a == b);
  EXPECT_FALSE(zMuteOn(t) == zMuteOff(t));
  EXPECT_FALSE(zMuteOn(t) == zMuteOn(TimeOfDay(6, 46)));
  zJumpTo j1(t, bFM, true), j2(t, bFM, true);
  j1.Frequency = 101.5;
  j2.Frequency = 101500 * 0.001;  // the same station to the nearest kHz
  EXPECT_TRUE(j1 == j2);
  j2.Frequency = 101.501;
  EXPECT_FALSE(j1 == j2);
  j2.Frequency = 101.5;
  j2.Stereo = false;
  EXPECT_FALSE(j1 == j2);
  zPreset p1(t, true), p2(t, true);
  p2.Preset = 3;
  EXPECT_FALSE(p1 == p2);
}

tScript MorningScript() {
  tScript script;
  script.SetTitle("Morning");
  script.Add(std::make_unique<zMuteOff>(TimeOfDay(6, 45)));
  auto preset = std::make_unique<zPreset>(TimeOfDay(6, 46), true);
  preset->Preset = 3;
  script.Add(std::move(preset));
  script.Add(std::make_unique<zOff>(TimeOfDay(8, 0)));
  return script;
}

TEST(ScriptTest, CopiesAreDeepAndCompareEqual) {
  const tScript original = MorningScript();
  tScript copy = original.Copy();
  EXPECT_TRUE(copy == original);
  static_cast<zPreset&>(copy[1]).Preset = 4;
  EXPECT_EQ(static_cast<const zPreset&>(original[1]).Preset, 3);
  EXPECT_FALSE(copy == original);
  tScript retitled = original.Copy();
  retitled.SetTitle("Evening");
  EXPECT_FALSE(retitled == original);
}

TEST(ScriptTest, MoveFromTransfersEveryActionInOrder) {
  tScript source = MorningScript();
  const zAction* first = &source[0];
  tScript target;
  target.Add(std::make_unique<zMuteOn>(TimeOfDay(5, 0)));
  target.MoveFrom(source);
  EXPECT_TRUE(source.Empty());
  ASSERT_EQ(target.Count(), 4u);
  EXPECT_EQ(&target[1], first);  // the same object, not a copy
  EXPECT_EQ(target[3].Kind, akOff);
  target.MoveFrom(target);  // moving into itself changes nothing
  EXPECT_EQ(target.Count(), 4u);
}

TEST(ScriptTest, InsertExtractAndBoundsChecks) {
  tScript script = MorningScript();
  script.Insert(0, std::make_unique<zMuteOn>(TimeOfDay(6, 0)));
  EXPECT_EQ(script[0].Kind, akMuteOn);
  auto taken = script.Extract(1);
  EXPECT_EQ(taken->Kind, akMuteOff);
  EXPECT_EQ(script.Count(), 3u);
  EXPECT_THROW(script.Extract(3), std::out_of_range);
  EXPECT_THROW(script.Insert(5, std::make_unique<zOff>(0.5)), std::out_of_range);
  EXPECT_THROW(script.Add(nullptr), std::invalid_argument);
  EXPECT_THROW(script[3], std::out_of_range);
  script.Clear();
  EXPECT_TRUE(script.Empty());
}

}  // namespace
}  // namespace ondivo
