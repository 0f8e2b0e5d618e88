// The schedule's decisions driven by clocks the tests set: whole days of ticks in milliseconds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schedule/Schedule.h"
#include "tests/support/HardwareDoubles.h"

namespace ondivo {
namespace {

using std::chrono::milliseconds;

tTimeOfDay At(int secondOfDay) {
  secondOfDay %= 24 * 3600;
  return {secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60};
}

int Seconds(int hour, int minute, int second = 0) {
  return (hour * 60 + minute) * 60 + second;
}

class ScheduleTest : public testing::Test {
 protected:
  // One tick a second from `from` for `count` seconds; the seconds at which the alarm went off.
  std::vector<int> RunTicks(int from, int count, const tAlarmSetting& alarm) {
    std::vector<int> fired;
    for (int s = from; s < from + count; ++s) {
      clock.now = At(s);
      if (schedule.Tick(false, false, alarm).AlarmStation != 0) fired.push_back(s);
    }
    return fired;
  }
  void ArmAt(int second) {
    clock.now = At(second);
    schedule.Alarm.Arm(clock.now);
  }

  test::SetTimeOfDay clock;
  test::ManualClock steady;
  Schedule schedule{clock, steady};
};

TEST_F(ScheduleTest, AnAlarmFiresOnceInTheFirstTickOfItsMinuteAndWaitsForTheNextDayWhenPassed) {
  const tAlarmSetting alarm{7, 30, 12};
  ArmAt(Seconds(7, 0));
  EXPECT_EQ(RunTicks(Seconds(7, 0), 2 * 24 * 3600, alarm), std::vector{Seconds(7, 30)});
  EXPECT_FALSE(schedule.Alarm.On());

  // Armed at 23:00 for 06:30: the next morning.
  const tAlarmSetting morning{6, 30, 3};
  ArmAt(Seconds(23, 0));
  EXPECT_EQ(RunTicks(Seconds(23, 0), 24 * 3600, morning), std::vector{24 * 3600 + Seconds(6, 30)});

  // Armed within its minute it still goes off; a minute later it waits a whole day.
  ArmAt(Seconds(7, 30, 40));
  EXPECT_EQ(RunTicks(Seconds(7, 30, 40), 10, alarm), std::vector{Seconds(7, 30, 40)});
  ArmAt(Seconds(7, 31));
  EXPECT_EQ(RunTicks(Seconds(7, 31), 24 * 3600, alarm), std::vector{24 * 3600 + Seconds(7, 30)});

  // Without a station it never fires.
  ArmAt(0);
  EXPECT_TRUE(RunTicks(0, 24 * 3600, {7, 30, 0}).empty());
  EXPECT_TRUE(schedule.Alarm.On());
}

TEST_F(ScheduleTest, AMissedAlarmMinuteGoesOffLateAndIsLoggedButAClockSetBackIsNoDayGoneBy) {
  std::vector<std::string> log;
  schedule.Alarm.Log = [&](const std::string& text) { log.push_back(text); };
  const tAlarmSetting alarm{6, 30, 5};
  ArmAt(Seconds(23, 0));
  EXPECT_TRUE(RunTicks(Seconds(23, 0), 100, alarm).empty());
  // Suspended from 23:01:40 to 06:47:12.
  EXPECT_EQ(RunTicks(Seconds(6, 47, 12), 100, alarm), std::vector{Seconds(6, 47, 12)});
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("06:30"), std::string::npos);
  EXPECT_NE(log[0].find("23:01 to 06:47"), std::string::npos);

  // Set back from 07:31 to 07:29 (daylight saving ends, say): 06:30 does not come round again.
  ArmAt(Seconds(7, 0));
  EXPECT_TRUE(RunTicks(Seconds(7, 0), 31 * 60 + 5, alarm).empty());
  EXPECT_TRUE(RunTicks(Seconds(7, 29), 600, alarm).empty());
  EXPECT_TRUE(schedule.Alarm.On());
  EXPECT_EQ(log.size(), 1u);
}

TEST_F(ScheduleTest, ProgrammingModeHoldsTheAlarmWithoutFiringOrDisarmingIt) {
  tScript script;
  script.Add(std::make_unique<zMuteOn>(TimeOfDay(7, 45)));
  schedule.Scripts.Load("a.ovs", std::move(script));
  const tAlarmSetting alarm{7, 30, 5};
  ArmAt(Seconds(7, 0));
  EXPECT_TRUE(RunTicks(Seconds(7, 0), 30 * 60 + 30, alarm).empty());
  // Programming mode ends within the alarm's minute: it still goes off there.
  schedule.Scripts.SwitchOff();
  EXPECT_EQ(RunTicks(Seconds(7, 30, 30), 5, alarm), std::vector{Seconds(7, 30, 30)});
  // A minute that passed in programming mode is not missed: it waits for the next day.
  schedule.Alarm.Arm(At(Seconds(7, 0)));
  schedule.Scripts.SwitchOn();
  EXPECT_TRUE(RunTicks(Seconds(7, 0), 31 * 60, {7, 30, 5}).empty());
  schedule.Scripts.SwitchOff();
  EXPECT_TRUE(RunTicks(Seconds(7, 31), 3600, {7, 30, 5}).empty());
  EXPECT_TRUE(schedule.Alarm.On());
}

TEST_F(ScheduleTest, TheReceptionIsReadEverySecondTickOnlyWithTheCheckAndNeverDuringAScan) {
  std::string reads;
  for (int i = 0; i < 4; ++i) reads += schedule.Tick(true, false, {}).ReadSignal ? 'R' : '.';
  reads += schedule.Tick(false, false, {}).ReadSignal ? 'R' : '.';  // the phase keeps
  reads += schedule.Tick(true, true, {}).ReadSignal ? 'R' : '.';
  reads += schedule.Tick(true, false, {}).ReadSignal ? 'R' : '.';
  EXPECT_EQ(reads, ".R.R..R");
}

TEST_F(ScheduleTest, SleepMutesAtItsDeadlineAndInProgrammingModeComesBackOneIntervalLater) {
  SleepTimer& sleep = schedule.Sleep;
  EXPECT_EQ(sleep.Minutes(), 20);
  sleep.Start(1, steady.Now());
  steady.Advance(milliseconds(59'999));
  EXPECT_EQ(sleep.Expire(steady.Now(), false), SleepTimer::tExpiry::NotYet);
  EXPECT_EQ(sleep.Remaining(steady.Now()), milliseconds(1));
  steady.Advance(milliseconds(1));
  EXPECT_EQ(sleep.Expire(steady.Now(), false), SleepTimer::tExpiry::Mute);
  EXPECT_FALSE(sleep.On());
  EXPECT_EQ(sleep.Minutes(), 1);

  sleep.Start(1, steady.Now());
  steady.Advance(milliseconds(60'000));
  EXPECT_EQ(sleep.Expire(steady.Now(), true), SleepTimer::tExpiry::Held);
  EXPECT_EQ(sleep.Remaining(steady.Now()), milliseconds(60'000));
  steady.Advance(milliseconds(59'999));
  EXPECT_EQ(sleep.Expire(steady.Now(), false), SleepTimer::tExpiry::NotYet);
  steady.Advance(milliseconds(1));
  EXPECT_EQ(sleep.Expire(steady.Now(), false), SleepTimer::tExpiry::Mute);
}

TEST_F(ScheduleTest, BeepsSoundOncePerSecondAndStopTheTickAfterTheLastOrWhenProgrammingEnds) {
  BeepSequence& beeper = schedule.Beeper;
  beeper.Start(3, 880, 300, steady.Now());
  std::vector<int> tones;
  int stoppedAt = -1;
  for (int ms = 0; ms <= 5000 && stoppedAt < 0; ms += 250) {
    if (ms > 0) steady.Advance(milliseconds(250));
    switch (beeper.Tick(steady.Now(), true)) {
      case BeepSequence::tStep::Sound:
        tones.push_back(ms);
        EXPECT_EQ(beeper.Frequency(), 880);
        EXPECT_EQ(beeper.Duration(), 300);
        break;
      case BeepSequence::tStep::Stop:
        stoppedAt = ms;
        break;
      case BeepSequence::tStep::Wait:
        break;
    }
  }
  EXPECT_EQ(tones, (std::vector{1000, 2000, 3000}));
  EXPECT_EQ(stoppedAt, 4000);

  beeper.Start(3, 880, 300, steady.Now());
  steady.Advance(milliseconds(1000));
  EXPECT_EQ(beeper.Tick(steady.Now(), true), BeepSequence::tStep::Sound);
  steady.Advance(milliseconds(999));  // programming mode went off in between
  EXPECT_EQ(beeper.Tick(steady.Now(), false), BeepSequence::tStep::Wait);
  steady.Advance(milliseconds(1));
  EXPECT_EQ(beeper.Tick(steady.Now(), false), BeepSequence::tStep::Stop);
  EXPECT_FALSE(beeper.Running());
}

tScript ScriptAt(std::initializer_list<std::pair<int, int>> times) {
  tScript script;
  for (const auto& [h, m] : times) script.Add(std::make_unique<zMuteOn>(TimeOfDay(h, m)));
  return script;
}

TEST_F(ScheduleTest, TheDispatchRunsEachActionOnceInItsMinuteSkipsPassedOnesAndEndsAfterTheLast) {
  const tScript script = ScriptAt({{6, 50}, {7, 0}, {7, 5}, {7, 10}});
  EXPECT_EQ(FindScriptAction(script, 6, 50), 1);
  EXPECT_EQ(FindScriptAction(script, 7, 10), 4);
  EXPECT_EQ(FindScriptAction(script, 7, 3), 0);
  EXPECT_EQ(FindScriptAction(script, 7, 11), 5);
  EXPECT_EQ(FindScriptAction(tScript{}, 7, 11), 0);

  // Started at 06:55: 06:50 never runs, the others once each, then programming mode ends.
  schedule.Scripts.Load("morning.ovs", ScriptAt({{6, 50}, {7, 0}, {7, 5}, {7, 10}}));
  std::vector<std::string> ran;
  int endedAt = -1;
  for (int s = Seconds(6, 55); s < Seconds(7, 20); ++s) {
    clock.now = At(s);
    const tClockTick tick = schedule.Tick(false, false, {});
    if (tick.ScriptAction > 0 && schedule.Scripts.TakeAction(tick.ScriptAction)) {
      ran.push_back(schedule.Scripts.LastActionTime());
    }
    if (tick.ProgrammingEnded) endedAt = s;
  }
  EXPECT_EQ(ran, (std::vector<std::string>{"0700", "0705", "0710"}));
  EXPECT_EQ(endedAt, Seconds(7, 11));
  EXPECT_FALSE(schedule.Scripts.On());
  EXPECT_EQ(schedule.Scripts.Script().Count(), 4u);  // the script stays loaded
  EXPECT_EQ(schedule.Scripts.Hint(), "Programming mode on/off (morning.ovs)");

  // Last action at 07:00, started at 08:00: programming mode ends in the first tick.
  schedule.Scripts.Load("late.ovs", ScriptAt({{7, 0}}));
  clock.now = At(Seconds(8, 0));
  const tClockTick first = schedule.Tick(false, false, {});
  EXPECT_TRUE(first.ProgrammingEnded);
  EXPECT_EQ(first.ScriptAction, 0);

  // Switched on again, a script runs its due action again.
  schedule.Scripts.Load("again.ovs", ScriptAt({{8, 0}}));
  EXPECT_TRUE(schedule.Scripts.TakeAction(1));
  schedule.Scripts.SwitchOn();
  EXPECT_TRUE(schedule.Scripts.TakeAction(1));
  EXPECT_FALSE(schedule.Scripts.TakeAction(1));
}

}  // namespace
}  // namespace ondivo
