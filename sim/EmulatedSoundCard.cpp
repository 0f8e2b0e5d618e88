#include "sim/EmulatedSoundCard.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/ProgramFiles.h"
#include "sim/EmulatedStream.h"

namespace ondivo::sim {
namespace {

constexpr const char* kConfigVariable = "ALSA_CONFIG_PATH";

struct ControlDefault {
  const char* name;
  int channels;
};

constexpr ControlDefault kDefaults[kEmulatedControlCount] = {
    {"Master Playback Volume", 2},     {"Master Playback Switch", 2},
    {"Tone Control - Treble", 1},      {"Tone Control - Bass", 1},
    {"Synth Playback Volume", 2},      {"Synth Playback Switch", 2},
    {"PCM Playback Volume", 2},        {"PCM Playback Switch", 2},
    {"CD Playback Volume", 2},         {"CD Playback Switch", 2},
    {"Line Playback Volume", 2},       {"Line Playback Switch", 2},
    {"Mic Playback Volume", 1},        {"Mic Playback Switch", 1},
    {"PC Speaker Playback Volume", 1}, {"PC Speaker Playback Switch", 1},
};

// ALSA configuration strings are double-quoted with backslash escapes.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  return out + "\"";
}

}  // namespace

std::filesystem::path EmulatedSoundCardPlugin() {
#ifdef ONDIVO_ALSA_CTL_PLUGIN
  const std::filesystem::path built = ONDIVO_ALSA_CTL_PLUGIN;
#else
  const std::filesystem::path built;
#endif
  // Beside the executable (a copy a test made), where it is installed, or where it was built.
  const auto executableDir = ExecutableDir();
  if (!executableDir.empty() && !built.empty()) {
    std::error_code error;
    for (const auto& folder : {executableDir, ProgramLibDir(executableDir) / "alsa-plugins"}) {
      const auto plugin = folder / built.filename();
      if (std::filesystem::is_regular_file(plugin, error)) return plugin;
    }
  }
  return built;
}

EmulatedCardState DefaultEmulatedCard() {
  EmulatedCardState card;
  for (int i = 0; i < kEmulatedControlCount; ++i) {
    EmulatedControl& c = card.Controls[static_cast<size_t>(i)];
    c.Name = kDefaults[i].name;
    c.Channels = kDefaults[i].channels;
    c.Minimum = 0;
    c.Maximum = IsSwitchControl(i) ? 1 : 31;
    const long start = IsSwitchControl(i) ? 1 : (i == 2 || i == 3) ? 15 : 23;
    c.Value = {start, c.Channels == 2 ? start : 0};
  }
  return card;
}

EmulatedCardState WithoutControls(EmulatedCardState card,
                                  std::initializer_list<tMixerControlType> controls) {
  for (const auto c : controls) card.At(c).Present = false;
  return card;
}

std::string EmulatedSoundCardConfig(const std::string& device,
                                    const std::filesystem::path& statePath,
                                    const std::filesystem::path& pluginPath,
                                    const std::filesystem::path& playbackPath,
                                    const std::filesystem::path& streamPath, bool makeDefault) {
  // This file is the whole configuration (ALSA_CONFIG_PATH replaces alsa.conf, and with it the
  // hooks that would read the user's ~/.asoundrc), so it defines all the emulated card needs:
  // the plugin by absolute path, the control device, and a playback PCM beside it whose
  // samples land in WAV files instead of a loudspeaker. Without truncation each playback
  // gets a file of its own (playback.wav, then playback.wav.0001 and on). Sound that plays on
  // and on (an SDR receiver's) goes to the stream output instead, which keeps the last seconds.
  const std::string ctl = "{\n  type ondivo\n  state " + Quoted(statePath.string()) + "\n}\n";
  const std::string pcm = "{\n  type file\n  slave.pcm { type null }\n  file " +
                          Quoted(playbackPath.string()) +
                          "\n  format \"wav\"\n  truncate false\n  perm 0600\n}\n";
  std::string text = "# The emulated sound card of Ondivo; generated, private to one run.\n";
  text += "ctl_type.ondivo {\n  lib " + Quoted(pluginPath.string()) + "\n}\n";
  text += "ctl." + Quoted(device) + " " + ctl;
  text += "pcm." + Quoted(device) + " " + pcm;
  text += "pcm_type.ondivo_stream {\n  lib " + Quoted(pluginPath.string()) + "\n}\n";
  text += "pcm." + Quoted(EmulatedStreamDevice(device)) + " {\n  type ondivo_stream\n  file " +
          Quoted(streamPath.string()) + "\n}\n";
  if (makeDefault) {
    text += "ctl.!default " + ctl;
    text += "pcm.!default " + pcm;
  }
  return text;
}

EmulatedSoundCard::EmulatedSoundCard(const std::filesystem::path& folder,
                                     EmulatedSoundCardOptions options)
    : device_(options.DeviceName),
      configPath_(folder / "asound.conf"),
      playbackPath_(std::filesystem::absolute(folder / "playback.wav")),
      streamPath_(std::filesystem::absolute(folder / "stream.ring")),
      stateFile_(folder / "sound-card.state") {
  const auto plugin = options.PluginPath.empty() ? EmulatedSoundCardPlugin() : options.PluginPath;
  std::error_code unreachable;
  if (plugin.empty() || !std::filesystem::is_regular_file(plugin, unreachable)) {
    throw std::runtime_error("The emulated sound card's ALSA plugin is missing: " +
                             plugin.string());
  }
  int error = 0;
  if (!stateFile_.Store(options.Card, &error)) {
    throw std::runtime_error("Can't write " + stateFile_.Path().string() + ": " +
                             std::strerror(error));
  }
  std::error_code written;
  if (!WriteFileAtomically(
          configPath_,
          EmulatedSoundCardConfig(device_, stateFile_.Path(), std::filesystem::absolute(plugin),
                                  playbackPath_, streamPath_, options.MakeDefault),
          &written)) {
    throw std::runtime_error("Can't write " + configPath_.string() + ": " + written.message());
  }
  if (const char* previous = std::getenv(kConfigVariable)) previousConfigPath_ = previous;
  // ALSA compares the configuration files on every open, so the change takes effect at once.
  ::setenv(kConfigVariable, configPath_.c_str(), 1);
}

EmulatedSoundCard::~EmulatedSoundCard() {
  if (previousConfigPath_) {
    ::setenv(kConfigVariable, previousConfigPath_->c_str(), 1);
  } else {
    ::unsetenv(kConfigVariable);
  }
  std::error_code ignored;
  if (!ownedFolder_.empty()) std::filesystem::remove_all(ownedFolder_, ignored);
}

EmulatedCardState EmulatedSoundCard::State() const {
  return stateFile_.Load().value_or(EmulatedCardState{});
}

std::vector<PlayedSound> EmulatedSoundCard::Played() const {
  return ReadPlayedSounds(playbackPath_);
}

std::optional<PlayedSound> EmulatedSoundCard::Streamed() const {
  return ReadStreamedSound(streamPath_);
}

std::string EmulatedStreamDevice(const std::string& device) {
  return device + "_stream";
}

bool EmulatedSoundCard::Change(const std::function<void(EmulatedCardState&)>& change) {
  return EmulatedStateFile(stateFile_.Path()).Update(change);
}

std::unique_ptr<EmulatedSoundCard> StartEmulatedSoundCard(const std::filesystem::path& folder,
                                                          EmulatedSoundCardOptions options) {
  return std::make_unique<EmulatedSoundCard>(folder, std::move(options));
}

std::unique_ptr<EmulatedSoundCard> StartEmulatedSoundCardInRuntimeFolder(
    EmulatedSoundCardOptions options) {
  std::filesystem::path parent = std::filesystem::temp_directory_path();
  std::error_code ec;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
      runtime && *runtime && std::filesystem::is_directory(runtime, ec)) {
    parent = runtime;
  } else if (std::filesystem::is_directory("/dev/shm", ec)) {
    parent = "/dev/shm";
  }
  std::string pattern = (parent / "ondivo-sound-card-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    throw std::runtime_error("Can't make a folder in " + parent.string() + ": " +
                             std::strerror(errno));
  }
  try {
    auto card = std::make_unique<EmulatedSoundCard>(pattern, std::move(options));
    card->ownedFolder_ = pattern;
    return card;
  } catch (...) {
    std::filesystem::remove_all(pattern, ec);
    throw;
  }
}

}  // namespace ondivo::sim
