#include "app/AppHardware.h"

#include <cstdio>

#include "mixer/SoundCard.h"
#include "panel/Prompter.h"
#include "sim/EmulatedV4l2Radio.h"
#include "sim/SimulatedRig.h"
#include "sim/SimulatedSdr.h"

namespace ondivo {

AppHardware::AppHardware(const tCommandLine& options, const std::vector<std::string>& arguments,
                         tModel configured, HardwarePortIo& ports, Prompter& prompts)
    : ports_(ports) {
  if (options.Simulate) rig_ = std::make_unique<sim::SimulatedRig>(configured, true);
  CardHardware wiring = rig_ ? rig_->Hardware() : CardHardware{ports_, sleeping_};
  for (const auto& [n, path] : options.ComPaths) wiring.ComPaths.Override(n, path);
  mixerDevice_ = ChooseMixerDevice(arguments);
  std::string trouble;
  std::string streamDevice;
  if (rig_) {
    try {
      const sim::EmulatedSoundCard& emulated = rig_->StartSoundCard();
      mixerDevice_ = ChooseMixerDevice(arguments, emulated.DeviceName());
      playbackDevice_ = emulated.DeviceName();
      streamDevice = emulated.StreamDeviceName();
      std::fprintf(stderr,
                   "ondivo: emulated sound card \"%s\"; move its controls from another terminal "
                   "with\n  ALSA_CONFIG_PATH=%s amixer -D %s sset Line 40%%\n",
                   emulated.DeviceName().c_str(), emulated.ConfigPath().c_str(),
                   emulated.DeviceName().c_str());
    } catch (const std::exception& e) {
      trouble = e.what();
    }
  }
  try {
    mixer_ = ConnectSoundCard(wiring, mixerDevice_);
  } catch (const std::exception& e) {
    wiring.SoundCard = false;
    wiring.Mixer.reset();
    trouble = e.what();
  }
  if (!trouble.empty()) {
    prompts.Message(
        "The sound card's mixer cannot be used, so the volume stays on the radio card.\r\r" +
            trouble,
        Prompter::Icon::Warning);
  }
  card_ = std::make_unique<TRadioCard>(std::move(wiring));
  // Kernel radio devices: port index n is /dev/radio<n-1> unless --radio says otherwise; the
  // simulation puts an emulated receiver with RDS at the first one.
  if (rig_) {
    radioExists_ = sim::UseSimulatedV4l2Radio(*card_, rig_->Landscape(), options.RadioPaths);
  } else {
    card_->SetRadioDevices(options.RadioPaths);
  }
  // SDR receivers: port index n is the n-th device SoapySDR finds unless --sdr says otherwise;
  // the simulation puts the emulated SDR at the first one, playing on the emulated card.
  SdrDevices sdr = options.Sdr;
  if (!options.AudioDevice.empty()) sdr.AudioDevice = options.AudioDevice;
  if (rig_) sdr = sim::SimulatedSdrDevices(std::move(sdr), options.AudioDevice, streamDevice);
  card_->SetSdrDevices(std::move(sdr));
}

AppHardware::~AppHardware() = default;

const sim::EmulatedSoundCard* AppHardware::EmulatedCard() const {
  return rig_ ? rig_->SoundCard() : nullptr;
}

void AppHardware::Follow(tModel model) {
  if (rig_) rig_->Follow(model);
}

}  // namespace ondivo
