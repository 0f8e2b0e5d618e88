#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "mixer/SoundCard.h"
#include "sim/EmulatedSoundCard.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace ondivo::test {

// A test with its own emulated sound card, seen through the real ALSA library.
class EmulatedSoundCardTestBase : public ::testing::Test {
 protected:
  void StartCard(sim::EmulatedCardState card = sim::DefaultEmulatedCard()) {
    sim::EmulatedSoundCardOptions options;
    options.Card = std::move(card);
    soundCard = sim::StartEmulatedSoundCard(dir.Path(), std::move(options));
  }
  std::unique_ptr<TMixer> OpenMixer() { return OpenAlsaMixer(soundCard->DeviceName()); }
  // amixer -D <card> args..., as a user in another terminal would; its exit status.
  int Amixer(std::vector<std::string> args) {
    args.insert(args.begin(), {"amixer", "-q", "-D", soundCard->DeviceName()});
    return RunProgram(args);
  }
  const sim::EmulatedControl& CardControl(tMixerControlType control) {
    state_ = soundCard->State();
    return state_.At(control);
  }
  // Values written to any control of the card so far.
  uint64_t CardWrites() {
    state_ = soundCard->State();
    uint64_t writes = 0;
    for (const auto& c : state_.Controls) writes += c.Writes;
    return writes;
  }

  TempDir dir;
  std::unique_ptr<sim::EmulatedSoundCard> soundCard;

 private:
  sim::EmulatedCardState state_;
};

}  // namespace ondivo::test
