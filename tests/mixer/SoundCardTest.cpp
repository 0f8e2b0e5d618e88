#include <gtest/gtest.h>

#include "mixer/MixerErrors.h"
#include "tests/support/EmulatedSoundCardFixture.h"
#include "tests/support/HardwareDoubles.h"
#include "tests/support/Unprivileged.h"

namespace ondivo {
namespace {

using sim::EmulatedCardState;

class SoundCardTest : public test::EmulatedSoundCardTestBase {};

TEST(SoundCardDeviceTest, MixerDeviceIsDefaultUnlessConfiguredOrGiven) {
  EXPECT_EQ(ChooseMixerDevice({}), "default");
  EXPECT_EQ(ChooseMixerDevice({"ondivo", "--simulate"}, ""), "default");
  EXPECT_EQ(ChooseMixerDevice({}, "hw:1"), "hw:1");
  EXPECT_EQ(ChooseMixerDevice({"ondivo", "--mixer-device", "hw:2"}, "hw:1"), "hw:2");
  EXPECT_EQ(ChooseMixerDevice({"ondivo", "--mixer-device=pulse"}), "pulse");
  // A dangling option or an empty name changes nothing.
  EXPECT_EQ(ChooseMixerDevice({"ondivo", "--mixer-device"}, "hw:1"), "hw:1");
  EXPECT_EQ(ChooseMixerDevice({"ondivo", "--mixer-device="}), "default");
}

TEST_F(SoundCardTest, TheEmulatedCardIsASoundCardAndAMissingOneIsNot) {
  StartCard();
  EXPECT_TRUE(SoundCardPresent(soundCard->DeviceName()));
  EXPECT_TRUE(SoundCardPresent("default"));  // --simulate makes it the default too
  EXPECT_FALSE(SoundCardPresent("no_such_card"));
}

TEST_F(SoundCardTest, ConnectingWiresTheOpenedMixerIntoTheCard) {
  StartCard();
  NullPortIo ports;
  test::RecordingBus waits;
  CardHardware hardware{ports, waits};
  TMixer* mixer = ConnectSoundCard(hardware, soundCard->DeviceName());
  ASSERT_NE(mixer, nullptr);
  EXPECT_TRUE(hardware.SoundCard);
  EXPECT_EQ(hardware.Mixer.get(), mixer);
  EXPECT_TRUE(mixer->Active());

  CardHardware none{ports, waits};
  EXPECT_EQ(ConnectSoundCard(none, "no_such_card"), nullptr);
  EXPECT_FALSE(none.SoundCard);
}

// Each writer moves its own control through ALSA count times; the plugin's read-change-write
// under the lock must keep every write of both.
bool TwoWritersLoseNothing(const std::string& device, const sim::EmulatedSoundCard& card) {
  constexpr int kWrites = 60;
  auto writer = [&device](tMixerControlType control) {
    return [&device, control] {
      auto mixer = OpenAlsaMixer(device);
      for (int i = 1; i <= kWrites; ++i) mixer->SetControlValue(control, 0, i % 2 ? 30 : 1);
      return true;
    };
  };
  const auto before = card.State();
  const pid_t a = test::StartChild(writer(mcLineInVolume));
  const pid_t b = test::StartChild(writer(mcMicVolume));
  const bool ok = test::ChildSucceeded(a) & test::ChildSucceeded(b);
  const auto after = card.State();
  const auto writes = [&](tMixerControlType c) { return after.At(c).Writes - before.At(c).Writes; };
  return ok && writes(mcLineInVolume) == kWrites && writes(mcMicVolume) == kWrites &&
         after.At(mcLineInVolume).Value[0] == 1 && after.At(mcMicVolume).Value[0] == 1;
}

TEST_F(SoundCardTest, TwoProcessesWritingAtOnceLoseNoChange) {
  StartCard();
  EXPECT_TRUE(TwoWritersLoseNothing(soundCard->DeviceName(), *soundCard));
}

TEST_F(SoundCardTest, AnUnprivilegedUserRunsTheCardAndItsLocks) {
  // The user loads a copy of the plugin: the build may lie where only its owner enters.
  test::UnprivilegedCopies copies;
  if (!copies.Reachable()) GTEST_SKIP() << "cannot run as uid 65534 in " << copies.Path();
  sim::EmulatedSoundCardOptions options;
  options.PluginPath = copies.Add(sim::EmulatedSoundCardPlugin());
  test::GiveToUnprivilegedUser(dir.Path());
  EXPECT_TRUE(test::RunAsUnprivilegedUser([this, &options] {
    try {
      soundCard = sim::StartEmulatedSoundCard(dir.Path(), options);
      return TwoWritersLoseNothing(soundCard->DeviceName(), *soundCard);
    } catch (const std::exception&) {
      return false;
    }
  }));
}

}  // namespace
}  // namespace ondivo
