#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cerrno>

#include "mixer/MixerEventNotifier.h"
#include "tests/support/EmulatedSoundCardFixture.h"

namespace ondivo {
namespace {

class MixerEventNotifierTest : public test::EmulatedSoundCardTestBase {
 protected:
  // Runs the event loop until done() or a generous bound; the loop waits on events, not time.
  bool RunUntil(const std::function<bool()>& done) {
    QElapsedTimer bound;
    bound.start();
    while (!done() && bound.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    return done();
  }
};

TEST_F(MixerEventNotifierTest, AChangeByAnotherProgramArrivesThroughTheEventLoop) {
  StartCard();
  auto mixer = OpenMixer();
  MixerEventNotifier notifier(*mixer);
  EXPECT_GE(notifier.Watched(), 1u);
  std::vector<tMixerControlType> changes;
  mixer->OnControlChange = [&](TMixer&, tMixerControlType c) { changes.push_back(c); };
  ASSERT_EQ(Amixer({"sset", "Master", "3"}), 0);
  EXPECT_TRUE(RunUntil([&] { return !changes.empty(); }));
  EXPECT_EQ(changes, std::vector{mcMasterVolume});
  EXPECT_EQ(mixer->GetControlValue(mcMasterVolume, 0), 3);

  // Reopening hands the notifier the new descriptors; closing leaves none to watch.
  mixer->SetActive(false);
  EXPECT_EQ(notifier.Watched(), 0u);
  mixer->SetActive(true);
  EXPECT_GE(notifier.Watched(), 1u);
}

TEST_F(MixerEventNotifierTest, ACardThatFailsStopsBeingWatchedInsteadOfSpinning) {
  StartCard();
  auto mixer = OpenMixer();
  MixerEventNotifier notifier(*mixer);
  ASSERT_TRUE(soundCard->Change([](sim::EmulatedCardState& s) {
    s.FailErrno = EIO;
    s.At(mcLineInVolume).Value = {1, 1};
  }));
  EXPECT_TRUE(RunUntil([&] { return notifier.Watched() == 0; }));
}

}  // namespace
}  // namespace ondivo
