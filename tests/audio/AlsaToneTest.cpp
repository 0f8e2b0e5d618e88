#include "audio/AlsaTone.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

#include "tests/support/EmulatedSoundCardFixture.h"
#include "tests/support/PlayedSoundMeasure.h"
#include "tests/support/Unprivileged.h"

namespace ondivo {
namespace {

using test::HeardMs;
using test::MeasuredFrequency;
using test::Peak;

class AlsaToneTest : public test::EmulatedSoundCardTestBase {};

TEST_F(AlsaToneTest, TwoBeepsOnTheEmulatedCardSoundAtTheirPitchForTheirLengthWithoutClicks) {
  StartCard();
  std::atomic<int> beeps = 0;
  AlsaTone tone(soundCard->DeviceName(), [&] { ++beeps; });
  tone.Play(880, 300);
  tone.Play(880, 300);
  tone.Flush();

  const std::vector<sim::PlayedSound> played = soundCard->Played();
  ASSERT_EQ(played.size(), 2u);
  for (const sim::PlayedSound& sound : played) {
    ASSERT_EQ(sound.Channels, 1);
    ASSERT_FALSE(sound.Samples.empty());
    EXPECT_NEAR(MeasuredFrequency(sound), 880, 8.8);
    EXPECT_NEAR(HeardMs(sound), 300, 10);
    // Faded in and out: its first and last millisecond stay well below its loudness, where an
    // abrupt start or stop would click.
    const size_t ms = static_cast<size_t>(sound.Rate / 1000);
    const size_t n = sound.Samples.size();
    const int peak = Peak(sound, 0, n);
    EXPECT_LT(Peak(sound, 0, ms) * 4, peak);
    EXPECT_LT(Peak(sound, n - ms, n) * 4, peak);
  }
  EXPECT_EQ(beeps, 0);
}

TEST_F(AlsaToneTest, WithoutAPlaybackDeviceTheDefaultBeepSoundsInstead) {
  StartCard();
  std::atomic<int> beeps = 0;
  AlsaTone tone("no_such_device", [&] { ++beeps; });
  tone.Play(880, 300);
  tone.Play(440, 100);
  tone.Flush();
  EXPECT_EQ(beeps, 2);
  EXPECT_TRUE(soundCard->Played().empty());
  // Nothing to sound: no tone and no beep.
  tone.Play(0, 300);
  tone.Play(880, 0);
  tone.Flush();
  EXPECT_EQ(beeps, 2);
}

TEST_F(AlsaToneTest, AnUnprivilegedUserHearsTonesOnTheEmulatedCard) {
  test::UnprivilegedCopies copies;
  if (!copies.Reachable()) GTEST_SKIP() << "cannot run as uid 65534 in " << copies.Path();
  sim::EmulatedSoundCardOptions options;
  options.PluginPath = copies.Add(sim::EmulatedSoundCardPlugin());
  test::GiveToUnprivilegedUser(dir.Path());
  EXPECT_TRUE(test::RunAsUnprivilegedUser([this, &options] {
    try {
      soundCard = sim::StartEmulatedSoundCard(dir.Path(), options);
      int beeps = 0;
      AlsaTone tone(soundCard->DeviceName(), [&] { ++beeps; });
      tone.Play(880, 100);
      tone.Flush();
      return beeps == 0 && soundCard->Played().size() == 1;
    } catch (const std::exception&) {
      return false;
    }
  }));
  // What was played stays private to the user who played it.
  const auto perms = std::filesystem::status(dir / "playback.wav").permissions();
  EXPECT_EQ(perms & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

}  // namespace
}  // namespace ondivo
