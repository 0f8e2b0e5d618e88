#pragma once

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "sim/EmulatedPlayback.h"
#include "sim/EmulatedSoundCardState.h"

namespace ondivo::sim {

// The name of the stream output of the card that appears as device.
std::string EmulatedStreamDevice(const std::string& device);

// A sound card as on most AC'97 boards: sixteen controls, volumes 0..31 (mono microphone,
// PC speaker and tone controls), everything playing at about three quarters.
EmulatedCardState DefaultEmulatedCard();
// The same card with the given controls taken out (both of a line's, if you like).
EmulatedCardState WithoutControls(EmulatedCardState card,
                                  std::initializer_list<tMixerControlType> controls);

// The ALSA plugin of the emulated card: the one beside the running executable, so a copy of the
// program taken elsewhere (where another user can run it) brings its own, else the one built
// with the program.
std::filesystem::path EmulatedSoundCardPlugin();

struct EmulatedSoundCardOptions {
  std::string DeviceName = "ondivo";  // the ALSA control and PCM device the card appears as
  EmulatedCardState Card = DefaultEmulatedCard();
  bool MakeDefault = true;           // "default" names the emulated card too
  std::filesystem::path PluginPath;  // empty: EmulatedSoundCardPlugin()
};

// A running emulated sound card: its state file, and an ALSA configuration that this process
// (and every program it starts) uses instead of the system's and the user's. Destroying it
// gives the process its previous ALSA configuration back.
class EmulatedSoundCard {
 public:
  EmulatedSoundCard(const std::filesystem::path& folder, EmulatedSoundCardOptions options);
  ~EmulatedSoundCard();
  EmulatedSoundCard(const EmulatedSoundCard&) = delete;
  EmulatedSoundCard& operator=(const EmulatedSoundCard&) = delete;

  // What the mixer is to open (also the playback PCM the presence test finds).
  const std::string& DeviceName() const { return device_; }
  const std::filesystem::path& ConfigPath() const { return configPath_; }
  const std::filesystem::path& StatePath() const { return stateFile_.Path(); }
  // Where the first sound played on the card is kept; later ones get a numbered suffix.
  const std::filesystem::path& PlaybackPath() const { return playbackPath_; }
  // Everything played on the card so far, one recording per playback, oldest first.
  std::vector<PlayedSound> Played() const;
  // The card's stream output, for sound that plays on and on: it keeps the last seconds only.
  std::string StreamDeviceName() const { return EmulatedStreamDevice(device_); }
  const std::filesystem::path& StreamPath() const { return streamPath_; }
  // The last seconds the stream output played since it was last opened.
  std::optional<PlayedSound> Streamed() const;

  // The card as it is now, and a change made to it directly, as by another program's write.
  EmulatedCardState State() const;
  bool Change(const std::function<void(EmulatedCardState&)>& change);

 private:
  std::string device_;
  std::filesystem::path configPath_;
  std::filesystem::path playbackPath_;
  std::filesystem::path streamPath_;
  EmulatedStateFile stateFile_;
  std::optional<std::string> previousConfigPath_;
  std::filesystem::path ownedFolder_;  // removed with the card when it made the folder

  friend std::unique_ptr<EmulatedSoundCard> StartEmulatedSoundCardInRuntimeFolder(
      EmulatedSoundCardOptions options);
};

// Sets up the emulated sound card in folder (which must exist and be private to the caller)
// and points ALSA_CONFIG_PATH at its configuration. Throws std::runtime_error when the files
// cannot be written.
std::unique_ptr<EmulatedSoundCard> StartEmulatedSoundCard(const std::filesystem::path& folder,
                                                          EmulatedSoundCardOptions options = {});

// The same in a new private folder in memory ($XDG_RUNTIME_DIR, else /dev/shm, else the temp
// folder), removed again with the card. What --simulate uses: every write of the card is
// flushed, which costs tens of milliseconds on a disk and nothing in memory.
std::unique_ptr<EmulatedSoundCard> StartEmulatedSoundCardInRuntimeFolder(
    EmulatedSoundCardOptions options = {});

// The ALSA configuration text for a card whose state is statePath, whose playback lands in
// playbackPath and whose stream output keeps its last seconds in streamPath.
std::string EmulatedSoundCardConfig(const std::string& device,
                                    const std::filesystem::path& statePath,
                                    const std::filesystem::path& pluginPath,
                                    const std::filesystem::path& playbackPath,
                                    const std::filesystem::path& streamPath, bool makeDefault);

}  // namespace ondivo::sim
