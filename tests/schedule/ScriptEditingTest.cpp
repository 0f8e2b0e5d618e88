#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "schedule/ScriptEditing.h"

namespace ondivo {
namespace {

constexpr int HM(int hour, int minute) {
  return hour * 60 + minute;
}

tScript ScriptAt(std::initializer_list<int> minutes) {
  tScript script;
  script.SetTitle("Morning");
  for (int m : minutes) script.Add(std::make_unique<zMuteOn>(TimeOfDay(m / 60, m % 60)));
  return script;
}

int MinuteAt(const ScriptEditing& editing, size_t index) {
  return editing.Program()[index].Hour() * 60 + editing.Program()[index].Minute();
}

ScriptEditing::tDefaults Defaults() {
  return {bFM, true, 4};
}

TEST(ScriptEditingTest, RangesReachToTheNeighboursOrTheEndsOfTheDay) {
  const ScriptEditing two(ScriptAt({HM(7, 0), HM(8, 0)}), Defaults());
  EXPECT_EQ(two.RangeOf(0), (tTimeRange{HM(0, 0), HM(7, 59)}));
  EXPECT_EQ(two.RangeOf(1), (tTimeRange{HM(7, 1), HM(23, 59)}));
  const ScriptEditing apart(ScriptAt({HM(7, 0), HM(9, 0)}), Defaults());
  EXPECT_EQ(apart.RangeOf(0).End, HM(8, 59));
  // Minute 59 rolls into the next hour.
  const ScriptEditing three(ScriptAt({HM(6, 59), HM(8, 30), HM(10, 0)}), Defaults());
  EXPECT_EQ(three.RangeOf(1), (tTimeRange{HM(7, 0), HM(9, 59)}));
  EXPECT_EQ(ScriptEditing(ScriptAt({HM(12, 0)}), Defaults()).RangeOf(0),
            (tTimeRange{HM(0, 0), HM(23, 59)}));
}

TEST(ScriptEditingTest, TypedTimesArePulledBackIntoTheRange) {
  const tTimeRange range{HM(7, 30), HM(9, 15)};
  EXPECT_EQ(range.Pull(6, 45), HM(7, 45));  // hour below: the begin hour, minute still checked
  EXPECT_EQ(range.Pull(7, 10), HM(7, 30));  // minute below the begin minute
  EXPECT_EQ(range.Pull(8, 5), HM(8, 5));    // in between any minute goes
  EXPECT_EQ(range.Pull(9, 40), HM(9, 15));  // minute above the end minute
  EXPECT_EQ(range.Pull(11, 0), HM(9, 0));   // hour above: the end hour
  EXPECT_EQ((tTimeRange{HM(7, 10), HM(7, 20)}).Pull(7, 59), HM(7, 20));
}

TEST(ScriptEditingTest, AddAppendsAfterTheLastOrAtNowAndRefusesAFullProgram) {
  ScriptEditing editing(tScript{}, Defaults());
  const double now = TimeOfDay(6, 44, 59);
  ASSERT_EQ(editing.Add(akPreset, now), 0u);
  EXPECT_DOUBLE_EQ(editing.Program()[0].Time, TimeOfDay(6, 44));  // rounded down to the minute
  EXPECT_EQ(static_cast<const zPreset&>(editing.Program()[0]).Preset, 4);
  EXPECT_TRUE(static_cast<const zPreset&>(editing.Program()[0]).Stereo);
  ASSERT_EQ(editing.Add(akJumpTo, now), 1u);
  EXPECT_EQ(MinuteAt(editing, 1), HM(6, 45));
  EXPECT_EQ(static_cast<const zJumpTo&>(editing.Program()[1]).Band, bFM);

  ScriptEditing last(ScriptAt({HM(23, 58)}), Defaults());
  EXPECT_FALSE(last.Full());
  ASSERT_EQ(last.Add(akOff, now), 1u);
  EXPECT_TRUE(last.Full());
  EXPECT_EQ(last.Add(akOff, now), std::nullopt);
  EXPECT_EQ(last.Program().Count(), 2u);
}

TEST(ScriptEditingTest, InsertTakesTheMinuteAfterThePredecessorWhenItIsFree) {
  ScriptEditing editing(ScriptAt({HM(7, 0), HM(7, 1), HM(8, 0)}), Defaults());
  EXPECT_EQ(editing.InsertBefore(1, akBeep), std::nullopt);  // 07:01 right after 07:00
  EXPECT_EQ(editing.Program().Count(), 3u);
  ASSERT_EQ(editing.InsertBefore(2, akBeep), 2u);
  EXPECT_EQ(editing.Program()[2].Kind, akBeep);
  EXPECT_EQ(MinuteAt(editing, 2), HM(7, 2));
  // On the first action: one minute before it, but never at 00:00.
  ASSERT_EQ(editing.InsertBefore(0, akVolume), 0u);
  EXPECT_EQ(MinuteAt(editing, 0), HM(6, 59));
  for (int first : {HM(0, 0), HM(0, 1)}) {
    ScriptEditing early(ScriptAt({first}), Defaults());
    EXPECT_EQ(early.InsertBefore(0, akOff), std::nullopt) << first;
  }
  ScriptEditing room(ScriptAt({HM(0, 2)}), Defaults());
  ASSERT_EQ(room.InsertBefore(0, akOff), 0u);
  EXPECT_EQ(MinuteAt(room, 0), HM(0, 1));
}

TEST(ScriptEditingTest, MovesRetimeTheActionAndKeepTheOrder) {
  ScriptEditing editing(ScriptAt({HM(7, 0), HM(8, 0), HM(9, 0)}), Defaults());
  // Upwards: the last onto the second takes 07:01.
  ASSERT_EQ(editing.Move(2, 1), 1u);
  EXPECT_EQ(MinuteAt(editing, 1), HM(7, 1));
  EXPECT_EQ(MinuteAt(editing, 2), HM(8, 0));
  // Downwards: the first onto the last goes before it, one minute after its new predecessor.
  ASSERT_EQ(editing.Move(0, 2), 1u);
  EXPECT_EQ(MinuteAt(editing, 0), HM(7, 1));
  EXPECT_EQ(MinuteAt(editing, 1), HM(7, 2));
  // Below the last: one minute after it.
  ASSERT_EQ(editing.Move(0, 3), 2u);
  EXPECT_EQ(MinuteAt(editing, 2), HM(8, 1));
  EXPECT_EQ(MinuteAt(editing, 0), HM(7, 2));
  // In place: nothing changes.
  EXPECT_EQ(editing.Move(1, 1), 1u);
  EXPECT_EQ(editing.Move(2, 3), 2u);
  EXPECT_EQ(MinuteAt(editing, 1), HM(8, 0));
  EXPECT_EQ(MinuteAt(editing, 2), HM(8, 1));
}

TEST(ScriptEditingTest, MovesWithoutAFreeMinuteChangeNothing) {
  const tScript original = ScriptAt({HM(0, 0), HM(7, 0), HM(7, 1), HM(23, 59)});
  ScriptEditing editing(original, Defaults());
  EXPECT_EQ(editing.Move(2, 0), std::nullopt);  // onto the first at 00:00
  EXPECT_EQ(editing.Move(3, 2), std::nullopt);  // between 07:00 and 07:01
  EXPECT_EQ(editing.Move(0, 4), std::nullopt);  // below the last at 23:59
  EXPECT_FALSE(editing.DiffersFrom(original, "Morning"));
  ScriptEditing single(ScriptAt({HM(7, 0)}), Defaults());
  EXPECT_EQ(single.Move(0, 1), std::nullopt);
}

TEST(ScriptEditingTest, DeleteSelectsTheNextOrTheLastAction) {
  ScriptEditing editing(ScriptAt({HM(7, 0), HM(8, 0), HM(9, 0)}), Defaults());
  EXPECT_EQ(editing.Delete(1), 1u);
  EXPECT_EQ(MinuteAt(editing, 1), HM(9, 0));
  EXPECT_EQ(editing.Delete(1), 0u);
  EXPECT_EQ(editing.RangeOf(0), (tTimeRange{HM(0, 0), HM(23, 59)}));
  EXPECT_EQ(editing.Delete(0), std::nullopt);
  EXPECT_TRUE(editing.Program().Empty());
  EXPECT_EQ(editing.Delete(0), std::nullopt);
}

TEST(ScriptEditingTest, DiffersFromTheCurrentScriptInTitleCountKindTimeOrField) {
  tScript current = ScriptAt({HM(7, 0)});
  current.Add(std::make_unique<zBeep>(TimeOfDay(8, 0)));
  ScriptEditing editing(current, Defaults());
  EXPECT_FALSE(editing.DiffersFrom(current, "  Morning "));  // OK stores the trimmed title
  EXPECT_TRUE(editing.DiffersFrom(current, "Evening"));

  static_cast<zBeep&>(editing.Program()[1]).Frequency = 800;
  EXPECT_TRUE(editing.DiffersFrom(current, "Morning"));
  EXPECT_EQ(static_cast<const zBeep&>(current[1]).Frequency, 5000);  // the editor holds a copy
  static_cast<zBeep&>(editing.Program()[1]).Frequency = 5000;
  editing.Program()[0].Time = TimeOfDay(7, 1);
  EXPECT_TRUE(editing.DiffersFrom(current, "Morning"));
  editing.Program()[0].Time = TimeOfDay(7, 0);
  ASSERT_FALSE(editing.DiffersFrom(current, "Morning"));
  ASSERT_TRUE(editing.Add(akOff, 0.0));
  EXPECT_TRUE(editing.DiffersFrom(current, "Morning"));
}

// A script without a file is offered beside the last one, else in the documents folder; a bare
// name (no folder) never sends it to the working directory.
TEST(ScriptEditingTest, NoNameIsOfferedBesideTheLastFileOrInTheDocuments) {
  EXPECT_EQ(OfferedScriptPath("/home/u/scripts/wake.ovs", "/home/u/Documents"),
            "/home/u/scripts/NoName.Ovs");
  EXPECT_EQ(OfferedScriptPath("", "/home/u/Documents"), "/home/u/Documents/NoName.Ovs");
  EXPECT_EQ(OfferedScriptPath("wake.ovs", "/home/u/Documents"), "/home/u/Documents/NoName.Ovs");
}

}  // namespace
}  // namespace ondivo
