#pragma once

#include <memory>
#include <vector>

#include "platform/Delay.h"
#include "radio/RadioCard.h"
#include "sim/EmulatedIsaBus.h"
#include "sim/EmulatedSerialRadio.h"
#include "sim/EmulatedSoundCard.h"
#include "sim/StationLandscape.h"

namespace ondivo::sim {

// Everything --simulate plugs in: an ISA bus with the configured card family at both card
// ports, and a serial radio of the configured model on a pty behind each of COM1..COM8.
// The rig follows model changes made in the settings. The emulated sound card is started on
// request, before anything opens ALSA.
class SimulatedRig {
 public:
  // paced: the bus clock waits really (interactive use); false makes time free (benchmarks).
  SimulatedRig(tModel model, bool paced, StationLandscape landscape = {});
  ~SimulatedRig();

  // What the card component is wired to. The rig must outlive the card.
  CardHardware Hardware();
  // Plugs the emulated card of the model's family and retunes the serial radios' model.
  void Follow(tModel model);

  // Brings up the emulated sound card in a private runtime folder and points this process's
  // ALSA at it; throws std::runtime_error when its files cannot be written.
  const EmulatedSoundCard& StartSoundCard();
  // The emulated sound card once started, else null.
  const EmulatedSoundCard* SoundCard() const { return soundCard_.get(); }

  EmulatedIsaBus& Bus() { return bus_; }
  const StationLandscape& Landscape() const { return landscape_; }
  std::vector<std::unique_ptr<EmulatedSerialRadio>>& SerialRadios() { return radios_; }

 private:
  SleepingDelay sleeping_;
  StationLandscape landscape_;
  EmulatedIsaBus bus_;
  ComPortPaths paths_;
  std::vector<std::unique_ptr<EmulatedSerialRadio>> radios_;
  bool zoltrixPlugged_ = false;
  bool anyPlugged_ = false;
  std::unique_ptr<EmulatedSoundCard> soundCard_;
};

}  // namespace ondivo::sim
