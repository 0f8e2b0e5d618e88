#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "panel/tdMain.h"
#include "platform/LocaleFormat.h"
#include "radio/RadioDevicePaths.h"

namespace ondivo {

class HardwarePortIo;
class Prompter;
class TMixer;
class TRadioCard;
class Tone;

// What the panel runs on: the card, its sound card and the folders.
struct tPanelWiring {
  TRadioCard* Card = nullptr;
  TMixer* Mixer = nullptr;  // the card's sound-card mixer; null without a sound card
  std::string MixerDevice;  // the ALSA device the mixer dialog opens
  Prompter* Prompts = nullptr;
  std::filesystem::path ConfigDir;
  std::filesystem::path DataDir;
  LocaleFormat Locale;
  bool ConfigureSwitch = false;
  bool PortGrantNeeded = true;  // false on emulated hardware, which needs no port grant
  const HardwarePortIo* HeldPorts = nullptr;  // taken at start; no others can be had later
  PathExists RadioExists;                     // empty: a device node is a character device
  std::function<void(tModel)> HardwareChanged;
  std::function<void(int ms)> Wait;
  Tone* Tones = nullptr;  // the beeps of scripts; null: the default beep
};

// The panel's services: the card and its mixer, and every dialog wired to them and to the
// panel's help window. The executable and the end-to-end tests build the panel through this.
tMainServices PanelServices(const tPanelWiring& wiring);

// The panel's tones on an ALSA playback device ("default", or the emulated card's under
// --simulate); where it cannot play, the desktop's default beep sounds.
std::unique_ptr<Tone> PanelTone(const std::string& playbackDevice);

}  // namespace ondivo
