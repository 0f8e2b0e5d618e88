#include "mixer/SoundCard.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <string_view>

#include "mixer/AlsaMixerBackend.h"

namespace ondivo {
namespace {

constexpr std::string_view kMixerDeviceOption = "--mixer-device";

// Asks the card's control device for its PCMs; false when it cannot say.
bool HasPlaybackPcmListed(const std::string& device) {
  snd_ctl_t* ctl = nullptr;
  if (snd_ctl_open(&ctl, device.c_str(), SND_CTL_NONBLOCK) < 0) return false;
  snd_pcm_info_t* info = nullptr;
  bool found = false;
  if (snd_pcm_info_malloc(&info) >= 0) {
    int pcm = -1;
    while (!found && snd_ctl_pcm_next_device(ctl, &pcm) >= 0 && pcm >= 0) {
      snd_pcm_info_set_device(info, static_cast<unsigned>(pcm));
      snd_pcm_info_set_subdevice(info, 0);
      snd_pcm_info_set_stream(info, SND_PCM_STREAM_PLAYBACK);
      found = snd_ctl_pcm_info(ctl, info) >= 0;
    }
    snd_pcm_info_free(info);
  }
  snd_ctl_close(ctl);
  return found;
}

}  // namespace

std::string ChooseMixerDevice(const std::vector<std::string>& args, const std::string& configured) {
  std::string chosen = configured.empty() ? kDefaultMixerDevice : configured;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == kMixerDeviceOption && i + 1 < args.size() && !args[i + 1].empty()) {
      chosen = args[++i];
    } else if (arg.starts_with(kMixerDeviceOption) && arg.size() > kMixerDeviceOption.size() + 1 &&
               arg[kMixerDeviceOption.size()] == '=') {
      chosen = std::string(arg.substr(kMixerDeviceOption.size() + 1));
    }
  }
  return chosen;
}

bool SoundCardPresent(const std::string& device) {
  if (HasPlaybackPcmListed(device)) return true;
  // Plugin devices ("default" on a sound server, the emulated card) list no PCMs: open one.
  snd_pcm_t* pcm = nullptr;
  const int result = snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  if (result >= 0) {
    snd_pcm_close(pcm);
    return true;
  }
  return result == -EBUSY;  // playing for someone else is still a playback device
}

std::unique_ptr<TMixer> OpenAlsaMixer(const std::string& device) {
  auto mixer = std::make_unique<TMixer>(std::make_unique<AlsaMixerBackend>(), device);
  mixer->SetMidiDeviceID(-2);
  mixer->Loaded();
  return mixer;
}

TMixer* ConnectSoundCard(CardHardware& hardware, const std::string& device) {
  hardware.SoundCard = SoundCardPresent(device);
  if (!hardware.SoundCard) {
    hardware.Mixer.reset();
    return nullptr;
  }
  auto mixer = OpenAlsaMixer(device);
  TMixer* raw = mixer.get();
  hardware.Mixer = std::move(mixer);
  return raw;
}

}  // namespace ondivo
