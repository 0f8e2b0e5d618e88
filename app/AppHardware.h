#pragma once

#include <memory>
#include <string>
#include <vector>

#include "panel/CommandLine.h"
#include "platform/Delay.h"
#include "radio/HardwarePortIo.h"
#include "radio/RadioCard.h"
#include "radio/RadioDevicePaths.h"

namespace ondivo {

class Prompter;
class TMixer;
namespace sim {
class EmulatedSoundCard;
class SimulatedRig;
}  // namespace sim

// What the panel drives: with --simulate the emulated rig and sound card, else this machine's
// ports, serial lines, radio devices and sound card. A sound card whose mixer cannot be opened
// leaves the radio without one, and the user hears why.
class AppHardware {
 public:
  // ports: this machine's I/O ports, taken at start; they must outlive the hardware.
  AppHardware(const tCommandLine& options, const std::vector<std::string>& arguments,
              tModel configured, HardwarePortIo& ports, Prompter& prompts);
  ~AppHardware();

  TRadioCard& Card() { return *card_; }
  TMixer* Mixer() const { return mixer_; }  // the card's; null without a sound card
  const std::string& MixerDevice() const { return mixerDevice_; }
  // Where tones play: the emulated card's playback PCM, else the desktop's default.
  const std::string& PlaybackDevice() const { return playbackDevice_; }
  bool Emulated() const { return rig_ != nullptr; }
  // The emulated sound card under --simulate (null otherwise, or when it could not start).
  const sim::EmulatedSoundCard* EmulatedCard() const;
  const PathExists& RadioExists() const { return radioExists_; }
  // The emulated hardware follows the model chosen in the settings.
  void Follow(tModel model);
  void Wait(int ms) { sleeping_.Wait(ms); }

 private:
  std::unique_ptr<sim::SimulatedRig> rig_;
  HardwarePortIo& ports_;
  SleepingDelay sleeping_;
  std::string mixerDevice_;
  std::string playbackDevice_ = "default";
  TMixer* mixer_ = nullptr;
  PathExists radioExists_;
  std::unique_ptr<TRadioCard> card_;
};

}  // namespace ondivo
