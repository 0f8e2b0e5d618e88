#include "radio/RdsNotifier.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

#include "radio/RdsDecoder.h"
#include "tests/support/V4l2Rig.h"

namespace ondivo {
namespace {

// Runs the event loop until done or a generous deadline; wakes on events, never sleeps blind.
bool RunUntil(const std::function<bool()>& done) {
  QDeadlineTimer deadline(5000);
  while (!done() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  return done();
}

TEST(RdsNotifierTest, TheEventLoopFeedsTheDecoderAndStopsOnUnplug) {
  test::V4l2Rig rig;
  TRadioCard& card = rig.Build();
  card.SetFrequency(97.1);  // Chill Out, stereo with RDS
  RdsNotifier notifier(card);
  ASSERT_TRUE(notifier.Armed());
  int changes = 0;
  bool lost = false;
  notifier.OnChanged = [&] { ++changes; };
  notifier.OnDeviceLost = [&] { lost = true; };
  rig.NowMs += 5000;
  ASSERT_TRUE(RunUntil([&] { return card.Rds() && !card.Rds()->ProgramService().empty(); }));
  EXPECT_EQ(card.Rds()->ProgramService(), "CHILL OU");
  EXPECT_GT(changes, 0);

  rig.Device->Unplug();
  ASSERT_TRUE(RunUntil([&] { return lost; }));
  EXPECT_FALSE(notifier.Armed());
  EXPECT_TRUE(card.DeviceLost());
  card.SwitchOff();
  notifier.Rearm();
  EXPECT_FALSE(notifier.Armed());
}

TEST(RdsNotifierTest, NothingToWatchWithoutRds) {
  test::V4l2Rig rig;
  test::V4l2Rig::Setup setup;
  setup.Device.Rds = false;
  TRadioCard& card = rig.Build(setup);
  RdsNotifier notifier(card);
  EXPECT_FALSE(notifier.Armed());
  EXPECT_EQ(card.RdsDescriptor(), -1);
}

}  // namespace
}  // namespace ondivo
