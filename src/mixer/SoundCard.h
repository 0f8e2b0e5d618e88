#pragma once

#include <memory>
#include <string>
#include <vector>

#include "mixer/Mixer.h"
#include "radio/RadioCard.h"

namespace ondivo {

// The ALSA device the mixer opens: the value after "--mixer-device" ("--mixer-device NAME" or
// "--mixer-device=NAME") when given, else the configured one when not empty, else "default".
std::string ChooseMixerDevice(const std::vector<std::string>& args,
                              const std::string& configured = {});

// A sound card is there when the device has at least one playback PCM.
bool SoundCardPresent(const std::string& device);

// A TMixer on the ALSA backend, opened (Active). Throws eMMError or eMixerLineNotFound.
std::unique_ptr<TMixer> OpenAlsaMixer(const std::string& device);

// Wires the sound card of device into the radio card's hardware: SoundCard from the presence
// test, and with a sound card its opened mixer. Returns that mixer (now owned by hardware,
// valid as long as the card lives) or null without a sound card. Mixer errors propagate.
TMixer* ConnectSoundCard(CardHardware& hardware, const std::string& device);

}  // namespace ondivo
