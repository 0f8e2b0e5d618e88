#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "radio/RadioTypes.h"

namespace ondivo::sim {

inline constexpr int kEmulatedControlCount = 16;

// One control of the emulated sound card, in ALSA's own terms: a switch is 1 when sound passes.
struct EmulatedControl {
  bool Present = true;
  int Channels = 2;
  long Minimum = 0;
  long Maximum = 31;
  std::array<long, 2> Value{};
  uint64_t Writes = 0;  // values written through the control device, changed or not
  std::string Name;     // the ALSA control name, e.g. "Line Playback Volume"
};

// Everything several processes share about the card. Index i is control i of the program's
// mixer (0 master volume, 1 master mute, ... 15 PC-speaker mute).
struct EmulatedCardState {
  std::string CardName = "Ondivo Emulated Sound Card";
  int FailErrno = 0;  // when set, reads and writes of the controls fail with it
  std::array<EmulatedControl, kEmulatedControlCount> Controls{};

  EmulatedControl& At(tMixerControlType c) { return Controls.at(static_cast<size_t>(c)); }
  const EmulatedControl& At(tMixerControlType c) const {
    return Controls.at(static_cast<size_t>(c));
  }
};

// Controls 1, 5, 7, ... 15 are switches; the rest (volumes, bass, treble) integers.
bool IsSwitchControl(int index);

std::string SerializeState(const EmulatedCardState& state);
// Nothing when the text is not a complete state.
std::optional<EmulatedCardState> ParseState(const std::string& text);

// The state file. Writers take an exclusive lock on a lock file beside it for the whole
// read-change-write, and replace the file through a temporary and a rename, so readers never
// see half a file, a writer that dies leaves the last state whole, and no change is lost.
class EmulatedStateFile {
 public:
  explicit EmulatedStateFile(std::filesystem::path path);

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path LockPath() const;

  // The current state; nothing when the file is missing or unreadable.
  std::optional<EmulatedCardState> Load() const;
  // Applies change under the lock. False (and errorNumber set) when the file could not be read,
  // locked or written; the previous state then stays.
  bool Update(const std::function<void(EmulatedCardState&)>& change, int* errorNumber = nullptr);
  // Replaces the whole state under the lock.
  bool Store(const EmulatedCardState& state, int* errorNumber = nullptr);

 private:
  bool Locked(const std::function<bool(int*)>& body, int* errorNumber);

  std::filesystem::path path_;
};

}  // namespace ondivo::sim
