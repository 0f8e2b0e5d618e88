#include "radio/RdsNotifier.h"

#include <gtest/gtest.h>
#include <sys/eventfd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

#include "platform/UniqueFd.h"
#include "radio/RadioErrors.h"
#include "radio/RdsDecoder.h"
#include "tests/support/HardwareDoubles.h"
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

TEST(RdsNotifierTest, ADescriptorIsLetGoBeforeItIsClosed) {
  test::V4l2Rig rig;
  TRadioCard& card = rig.Build();
  RdsNotifier notifier(card);
  ASSERT_TRUE(notifier.Armed());
  // An unplug met by a tuning, not by the notifier: the card closes the node at once.
  rig.Device->Unplug();
  EXPECT_THROW(card.SetFrequency(97.1), eDeviceLost);
  EXPECT_FALSE(notifier.Armed()) << "still watching a closed descriptor";

  rig.Device->Replug();
  card.SwitchOff();
  card.SwitchOn();
  notifier.Rearm();
  ASSERT_TRUE(notifier.Armed());
  card.SwitchOff();
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

// A node that always says it is readable, as the vivid driver's radio does, whether blocks wait
// or not; the blocks themselves come from the emulated receiver.
class AlwaysReadable final : public V4l2Device {
 public:
  explicit AlwaysReadable(std::unique_ptr<sim::EmulatedV4l2Radio> radio)
      : radio_(std::move(radio)), ready_(::eventfd(1, EFD_NONBLOCK | EFD_CLOEXEC)) {}
  int Open(const std::string& path) override { return radio_->Open(path); }
  void Close() override { radio_->Close(); }
  bool IsOpen() const override { return radio_->IsOpen(); }
  int Ioctl(unsigned long request, void* arg) override { return radio_->Ioctl(request, arg); }
  ssize_t Read(void* buffer, size_t size) override {
    ++reads;
    return radio_->Read(buffer, size);
  }
  int Poll(int ms) override { return radio_->Poll(ms); }
  int Descriptor() const override { return radio_->IsOpen() ? ready_.get() : -1; }

  int reads = 0;

 private:
  std::unique_ptr<sim::EmulatedV4l2Radio> radio_;
  UniqueFd ready_;
};

TEST(RdsNotifierTest, ANodeThatIsAlwaysReadableDoesNotSpinTheEventLoop) {
  int64_t nowMs = 1000;
  sim::EmulatedV4l2Radio::Options options;
  options.NowMs = [&] { return nowMs; };
  auto device = std::make_unique<AlwaysReadable>(
      std::make_unique<sim::EmulatedV4l2Radio>(sim::StationLandscape(), options));
  AlwaysReadable& node = *device;
  test::RecordingBus bus;
  TRadioCard card(CardHardware{bus, bus});
  card.SetRadioDevices({}, std::move(device));
  card.SetModel(mV4l2);
  card.SetPort(1);
  card.SwitchOn();
  card.SetFrequency(97.1);
  RdsNotifier notifier(card);
  notifier.SetRestMs(60'000);
  for (int i = 0; i < 200; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(notifier.Activations(), 1) << "one look, then a rest";
  EXPECT_LE(node.reads, 2);

  // With a short rest it keeps reading, at the rest's pace, and decodes the station.
  notifier.SetRestMs(5);
  notifier.Rearm();
  ASSERT_TRUE(RunUntil([&] {
    nowMs += 100;
    return card.Rds() && card.Rds()->ProgramService() == "CHILL OU";
  }));
}

}  // namespace
}  // namespace ondivo
