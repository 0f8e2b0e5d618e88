#pragma once
// The one setting our ALSA plugins take from their configuration block: a path under a key.
// The standard keys (comment, type, hint) are passed over; any other key is an error, as ALSA's
// own plugins treat it.
#include <alsa/asoundlib.h>

#include <cerrno>
#include <string>

namespace ondivo::sim {

// The value of `field` in conf into *value; -EINVAL on an unknown key or a value that is not a
// string. *value stays empty when the key is missing.
inline int ReadPluginField(snd_config_t* conf, const char* field, std::string* value) {
  snd_config_iterator_t i;
  snd_config_iterator_t next;
  snd_config_for_each(i, next, conf) {
    snd_config_t* node = snd_config_iterator_entry(i);
    const char* key = nullptr;
    if (snd_config_get_id(node, &key) < 0) continue;
    const std::string id = key;
    if (id == "comment" || id == "type" || id == "hint") continue;
    if (id == field) {
      const char* text = nullptr;
      if (snd_config_get_string(node, &text) < 0) return -EINVAL;
      *value = text;
      continue;
    }
    SNDERR("Unknown field %s", key);
    return -EINVAL;
  }
  return 0;
}

}  // namespace ondivo::sim
