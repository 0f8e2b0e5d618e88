#include "mixer/AlsaMixerBackend.h"

#include <algorithm>
#include <climits>
#include <map>
#include <string_view>

#include "mixer/AlsaElementNames.h"
#include "mixer/MixerErrors.h"

namespace ondivo {
namespace {

int32_t ToInt32(long value) {
  return static_cast<int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

AlsaMixerBackend::~AlsaMixerBackend() {
  Close();
}

void AlsaMixerBackend::Open(const std::string& device) {
  Close();
  CheckAlsa(snd_mixer_open(&handle_, 0), "snd_mixer_open");
  CheckAlsa(snd_mixer_attach(handle_, device.c_str()), "snd_mixer_attach");
  CheckAlsa(snd_mixer_selem_register(handle_, nullptr, nullptr), "snd_mixer_selem_register");
  CheckAlsa(snd_mixer_load(handle_), "snd_mixer_load");
  ReadCardName(device);

  // Index 0 of each name; a card may have "Line",1 as well, which is another jack.
  std::map<std::string_view, snd_mixer_elem_t*> byName;
  std::vector<std::string_view> playbackVolumes;
  for (auto* elem = snd_mixer_first_elem(handle_); elem; elem = snd_mixer_elem_next(elem)) {
    if (snd_mixer_selem_get_index(elem) != 0 || !snd_mixer_selem_is_active(elem)) continue;
    const std::string_view name = snd_mixer_selem_get_name(elem);
    byName.emplace(name, elem);
    if (snd_mixer_selem_has_playback_volume(elem)) playbackVolumes.push_back(name);
  }

  const auto master = ChooseAlsaMaster(playbackVolumes);
  if (!master) throw eMixerLineNotFound("Can't find audio output mixer line for " + cardName_);
  Bind(mcMasterVolume, byName.at(*master), Kind::Volume);
  Bind(mcMasterMute, byName.at(*master), Kind::Switch);

  for (const auto& row : kAlsaElementRows) {
    for (const auto name : row.names) {
      const auto found = name.empty() ? byName.end() : byName.find(name);
      if (found == byName.end()) continue;
      Bind(row.volume, found->second, Kind::Volume);
      if (row.mute) Bind(*row.mute, found->second, Kind::Switch);
      break;
    }
  }
}

void AlsaMixerBackend::ReadCardName(const std::string& device) {
  cardName_ = device;
  snd_hctl_t* hctl = nullptr;
  if (snd_mixer_get_hctl(handle_, device.c_str(), &hctl) < 0) return;
  snd_ctl_card_info_t* info = nullptr;
  if (snd_ctl_card_info_malloc(&info) < 0) return;
  if (snd_ctl_card_info(snd_hctl_ctl(hctl), info) >= 0) {
    const std::string name = snd_ctl_card_info_get_name(info);
    if (!name.empty()) cardName_ = name;
  }
  snd_ctl_card_info_free(info);
}

void AlsaMixerBackend::Bind(tMixerControlType control, snd_mixer_elem_t* elem, Kind kind) {
  Binding binding{elem, kind, {}};
  if (kind == Kind::Switch) {
    if (!snd_mixer_selem_has_playback_switch(elem)) return;
    binding.info = {true, 0, 1, 1};
  } else {
    const bool playback = snd_mixer_selem_has_playback_volume(elem);
    if (!playback && !snd_mixer_selem_has_common_volume(elem)) return;
    long min = 0;
    long max = 0;
    CheckAlsa(snd_mixer_selem_get_playback_volume_range(elem, &min, &max),
              "snd_mixer_selem_get_playback_volume_range");
    const bool mono = snd_mixer_selem_is_playback_mono(elem) ||
                      snd_mixer_selem_has_playback_volume_joined(elem) ||
                      !snd_mixer_selem_has_playback_channel(elem, SND_MIXER_SCHN_FRONT_RIGHT);
    binding.info = {true, ToInt32(min), ToInt32(max), mono ? 1 : 2};
  }
  bindings_.at(static_cast<size_t>(control)) = binding;
  snd_mixer_elem_set_callback(elem, &AlsaMixerBackend::ElementChanged);
  snd_mixer_elem_set_callback_private(elem, this);
}

void AlsaMixerBackend::Close() {
  if (handle_) snd_mixer_close(handle_);
  handle_ = nullptr;
  bindings_ = {};
}

MixerControlInfo AlsaMixerBackend::Describe(tMixerControlType control) const {
  return bindings_.at(static_cast<size_t>(control)).info;
}

MixerValues AlsaMixerBackend::Read(tMixerControlType control) {
  const Binding& b = bindings_.at(static_cast<size_t>(control));
  if (!b.elem) return {};
  if (b.kind == Kind::Switch) {
    int on = 0;
    CheckAlsa(snd_mixer_selem_get_playback_switch(b.elem, SND_MIXER_SCHN_FRONT_LEFT, &on),
              "snd_mixer_selem_get_playback_switch");
    const int32_t muted = on ? 0 : 1;
    return {muted, muted};
  }
  long left = 0;
  CheckAlsa(snd_mixer_selem_get_playback_volume(b.elem, SND_MIXER_SCHN_FRONT_LEFT, &left),
            "snd_mixer_selem_get_playback_volume");
  long right = left;
  if (b.info.Channels == 2) {
    CheckAlsa(snd_mixer_selem_get_playback_volume(b.elem, SND_MIXER_SCHN_FRONT_RIGHT, &right),
              "snd_mixer_selem_get_playback_volume");
  }
  return {ToInt32(left), ToInt32(right)};
}

void AlsaMixerBackend::Write(tMixerControlType control, MixerValues values) {
  const Binding& b = bindings_.at(static_cast<size_t>(control));
  if (!b.elem) return;
  if (b.kind == Kind::Switch) {
    CheckAlsa(snd_mixer_selem_set_playback_switch_all(b.elem, values[0] ? 0 : 1),
              "snd_mixer_selem_set_playback_switch_all");
    return;
  }
  if (b.info.Channels == 1) {
    CheckAlsa(snd_mixer_selem_set_playback_volume_all(b.elem, values[0]),
              "snd_mixer_selem_set_playback_volume_all");
    return;
  }
  CheckAlsa(snd_mixer_selem_set_playback_volume(b.elem, SND_MIXER_SCHN_FRONT_LEFT, values[0]),
            "snd_mixer_selem_set_playback_volume");
  CheckAlsa(snd_mixer_selem_set_playback_volume(b.elem, SND_MIXER_SCHN_FRONT_RIGHT, values[1]),
            "snd_mixer_selem_set_playback_volume");
}

std::vector<pollfd> AlsaMixerBackend::PollDescriptors() const {
  if (!handle_) return {};
  const int count = snd_mixer_poll_descriptors_count(handle_);
  if (count <= 0) return {};
  std::vector<pollfd> fds(static_cast<size_t>(count));
  const int filled = snd_mixer_poll_descriptors(handle_, fds.data(), fds.size());
  fds.resize(static_cast<size_t>(std::max(filled, 0)));
  return fds;
}

void AlsaMixerBackend::HandleEvents(const std::function<void(tMixerControlType)>& touched) {
  if (!handle_) return;
  touched_ = &touched;
  const int result = snd_mixer_handle_events(handle_);
  touched_ = nullptr;
  CheckAlsa(result, "snd_mixer_handle_events");
}

int AlsaMixerBackend::ElementChanged(snd_mixer_elem_t* elem, unsigned int mask) {
  auto* self = static_cast<AlsaMixerBackend*>(snd_mixer_elem_get_callback_private(elem));
  if (!self) return 0;
  for (size_t i = 0; i < self->bindings_.size(); ++i) {
    Binding& b = self->bindings_[i];
    if (b.elem != elem) continue;
    // A removed element is a control the card no longer has.
    if (mask == SND_CTL_EVENT_MASK_REMOVE) b = Binding{};
    if (self->touched_) (*self->touched_)(static_cast<tMixerControlType>(i));
  }
  return 0;
}

}  // namespace ondivo
