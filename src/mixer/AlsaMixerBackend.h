#pragma once

#include <alsa/asoundlib.h>

#include <array>
#include <string>

#include "mixer/MixerBackend.h"

namespace ondivo {

// The sound card's mixer through the ALSA simple-mixer API. Volumes keep the range ALSA
// reports; playback switches are turned round so that the maximum means muted; a mono or
// joined element is a one-channel control; mute controls always are (a mute silences every
// channel of its element).
class AlsaMixerBackend final : public MixerBackend {
 public:
  AlsaMixerBackend() = default;
  ~AlsaMixerBackend() override;
  AlsaMixerBackend(const AlsaMixerBackend&) = delete;
  AlsaMixerBackend& operator=(const AlsaMixerBackend&) = delete;

  void Open(const std::string& device) override;
  void Close() override;
  std::string CardName() const override { return cardName_; }

  MixerControlInfo Describe(tMixerControlType control) const override;
  MixerValues Read(tMixerControlType control) override;
  void Write(tMixerControlType control, MixerValues values) override;

  std::vector<pollfd> PollDescriptors() const override;
  void HandleEvents(const std::function<void(tMixerControlType)>& touched) override;

 private:
  enum class Kind { Volume, Switch };
  struct Binding {
    snd_mixer_elem_t* elem = nullptr;
    Kind kind = Kind::Volume;
    MixerControlInfo info;
  };

  void ReadCardName(const std::string& device);
  void Bind(tMixerControlType control, snd_mixer_elem_t* elem, Kind kind);
  static int ElementChanged(snd_mixer_elem_t* elem, unsigned int mask);

  snd_mixer_t* handle_ = nullptr;
  std::string cardName_;
  std::array<Binding, kMixerControlCount> bindings_{};
  const std::function<void(tMixerControlType)>* touched_ = nullptr;
};

}  // namespace ondivo
