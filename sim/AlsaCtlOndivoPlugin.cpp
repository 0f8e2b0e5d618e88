// The emulated sound card as an ALSA control device: "type ondivo" in an ALSA configuration
// with "state" naming the shared state file. Every process that opens the device sees the same
// controls; a change made through one handle is reported to all others through inotify.
#include <alsa/asoundlib.h>
#include <alsa/control_external.h>
#include <sys/inotify.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <memory>
#include <string>

#include "platform/UniqueFd.h"
#include "sim/AlsaPluginField.h"
#include "sim/EmulatedSoundCardState.h"

namespace ondivo::sim {
namespace {

struct Card {
  snd_ctl_ext_t ext{};
  EmulatedStateFile file;
  UniqueFd watch;
  EmulatedCardState seen;   // the values last reported to this handle
  std::deque<int> pending;  // controls changed since, not yet read as events
  bool subscribed = false;

  explicit Card(std::string path) : file(std::move(path)) {}

  int ElementCount() const {
    int count = 0;
    for (const auto& c : seen.Controls) count += c.Present ? 1 : 0;
    return count;
  }
  const EmulatedControl* At(snd_ctl_ext_key_t key) const {
    if (key >= static_cast<snd_ctl_ext_key_t>(kEmulatedControlCount)) return nullptr;
    const auto& c = seen.Controls[key];
    return c.Present ? &c : nullptr;
  }
  // Takes the inotify reports; when the state file was replaced, queues what differs.
  void Drain() {
    alignas(inotify_event) char buffer[4096];
    bool replaced = false;
    const std::string name = file.Path().filename().string();
    for (;;) {
      const ssize_t n = ::read(watch.get(), buffer, sizeof buffer);
      if (n <= 0) break;
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->len > 0 && name == event->name) replaced = true;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    if (!replaced) return;
    const auto now = file.Load();
    if (!now) return;
    for (int i = 0; i < kEmulatedControlCount; ++i) {
      const auto& before = seen.Controls[static_cast<size_t>(i)];
      const auto& after = now->Controls[static_cast<size_t>(i)];
      if (before.Present && before.Value != after.Value && subscribed) pending.push_back(i);
      seen.Controls[static_cast<size_t>(i)].Value = after.Value;
    }
  }
};

Card* Of(snd_ctl_ext_t* ext) {
  return static_cast<Card*>(ext->private_data);
}

void Close(snd_ctl_ext_t* ext) {
  delete Of(ext);
}

int ElemCount(snd_ctl_ext_t* ext) {
  return Of(ext)->ElementCount();
}

int ElemList(snd_ctl_ext_t* ext, unsigned int offset, snd_ctl_elem_id_t* id) {
  const Card* card = Of(ext);
  unsigned int seenPresent = 0;
  for (const auto& c : card->seen.Controls) {
    if (!c.Present) continue;
    if (seenPresent++ != offset) continue;
    snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
    snd_ctl_elem_id_set_name(id, c.Name.c_str());
    return 0;
  }
  return -EINVAL;
}

snd_ctl_ext_key_t FindElem(snd_ctl_ext_t* ext, const snd_ctl_elem_id_t* id) {
  const Card* card = Of(ext);
  const char* name = snd_ctl_elem_id_get_name(id);
  for (int i = 0; i < kEmulatedControlCount; ++i) {
    const auto& c = card->seen.Controls[static_cast<size_t>(i)];
    if (c.Present && c.Name == name) return static_cast<snd_ctl_ext_key_t>(i);
  }
  return SND_CTL_EXT_KEY_NOT_FOUND;
}

int GetAttribute(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, int* type, unsigned int* acc,
                 unsigned int* count) {
  const EmulatedControl* c = Of(ext)->At(key);
  if (!c) return -EINVAL;
  *type = IsSwitchControl(static_cast<int>(key)) ? SND_CTL_ELEM_TYPE_BOOLEAN
                                                 : SND_CTL_ELEM_TYPE_INTEGER;
  *acc = SND_CTL_EXT_ACCESS_READWRITE;
  *count = static_cast<unsigned int>(c->Channels);
  return 0;
}

int GetIntegerInfo(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* imin, long* imax, long* istep) {
  const EmulatedControl* c = Of(ext)->At(key);
  if (!c) return -EINVAL;
  *imin = c->Minimum;
  *imax = c->Maximum;
  *istep = 1;
  return 0;
}

int ReadInteger(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* value) {
  Card* card = Of(ext);
  if (!card->At(key)) return -EINVAL;
  const auto state = card->file.Load();
  if (!state) return -EIO;
  if (state->FailErrno) return -state->FailErrno;
  const auto& c = state->Controls[key];
  for (int ch = 0; ch < c.Channels; ++ch) value[ch] = c.Value[static_cast<size_t>(ch)];
  return 0;
}

int WriteInteger(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* value) {
  Card* card = Of(ext);
  const EmulatedControl* known = card->At(key);
  if (!known) return -EINVAL;
  int failure = 0;
  bool changed = false;
  const bool ok = card->file.Update(
      [&](EmulatedCardState& state) {
        if (state.FailErrno) {
          failure = state.FailErrno;
          return;
        }
        auto& c = state.Controls[key];
        ++c.Writes;
        for (int ch = 0; ch < c.Channels; ++ch) {
          const long v = std::clamp(value[ch], c.Minimum, c.Maximum);
          changed = changed || c.Value[static_cast<size_t>(ch)] != v;
          c.Value[static_cast<size_t>(ch)] = v;
        }
      },
      &failure);
  if (!ok || failure) return -(failure ? failure : EIO);
  return changed ? 1 : 0;
}

void SubscribeEvents(snd_ctl_ext_t* ext, int subscribe) {
  Card* card = Of(ext);
  card->subscribed = subscribe != 0;
  if (!card->subscribed) card->pending.clear();
}

int ReadEvent(snd_ctl_ext_t* ext, snd_ctl_elem_id_t* id, unsigned int* eventMask) {
  Card* card = Of(ext);
  card->Drain();
  if (card->pending.empty()) return -EAGAIN;
  const int index = card->pending.front();
  card->pending.pop_front();
  snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
  snd_ctl_elem_id_set_name(id, card->seen.Controls[static_cast<size_t>(index)].Name.c_str());
  *eventMask = SND_CTL_EVENT_MASK_VALUE;
  return 1;
}

const snd_ctl_ext_callback_t kCallbacks = [] {
  snd_ctl_ext_callback_t c{};
  c.close = Close;
  c.elem_count = ElemCount;
  c.elem_list = ElemList;
  c.find_elem = FindElem;
  c.get_attribute = GetAttribute;
  c.get_integer_info = GetIntegerInfo;
  c.read_integer = ReadInteger;
  c.write_integer = WriteInteger;
  c.subscribe_events = SubscribeEvents;
  c.read_event = ReadEvent;
  return c;
}();

void CopyName(char* to, size_t size, const std::string& from) {
  std::strncpy(to, from.c_str(), size - 1);
  to[size - 1] = '\0';
}

int OpenCard(snd_ctl_t** handle, const char* name, snd_config_t* conf, int mode) {
  std::string statePath;
  if (const int error = ReadPluginField(conf, "state", &statePath); error < 0) return error;
  if (statePath.empty()) {
    SNDERR("No state file for the emulated sound card");
    return -EINVAL;
  }

  auto card = std::make_unique<Card>(statePath);
  const auto state = card->file.Load();
  if (!state) return -ENODEV;
  card->seen = *state;
  card->watch = UniqueFd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
  if (!card->watch) return -errno;
  const std::string folder = card->file.Path().parent_path().string();
  // Writers always rename a finished file into place; that is the one event to watch.
  if (::inotify_add_watch(card->watch.get(), folder.empty() ? "." : folder.c_str(), IN_MOVED_TO) <
      0) {
    return -errno;
  }

  snd_ctl_ext_t& ext = card->ext;
  ext.version = SND_CTL_EXT_VERSION;
  ext.card_idx = 0;
  CopyName(ext.id, sizeof ext.id, "OndivoSim");
  CopyName(ext.driver, sizeof ext.driver, "ondivo");
  CopyName(ext.name, sizeof ext.name, state->CardName);
  CopyName(ext.longname, sizeof ext.longname, state->CardName);
  CopyName(ext.mixername, sizeof ext.mixername, state->CardName);
  ext.poll_fd = card->watch.get();
  ext.callback = &kCallbacks;
  ext.private_data = card.get();
  const int result = snd_ctl_ext_create(&ext, name, mode);
  if (result < 0) return result;
  *handle = ext.handle;
  (void)card.release();  // freed by the close callback
  return 0;
}

}  // namespace
}  // namespace ondivo::sim

extern "C" {

SND_CTL_PLUGIN_DEFINE_FUNC(ondivo) {
  (void)root;
  return ondivo::sim::OpenCard(handlep, name, conf, mode);
}

SND_CTL_PLUGIN_SYMBOL(ondivo)
}
