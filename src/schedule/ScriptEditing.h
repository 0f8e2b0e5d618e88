#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "schedule/Script.h"

namespace ondivo {

// The times, counted in minutes of the day (0..1439), that an action may take without leaving
// its neighbours' order.
struct tTimeRange {
  int Begin = 0;
  int End = 24 * 60 - 1;

  // The time the boxes show pulled back into the range: the hour first, then the minute at the
  // begin or end hour.
  int Pull(int hour, int minute) const;
  bool operator==(const tTimeRange&) const = default;
};

// A minute of the day as the editor shows it: "07:05".
std::string MinuteText(int minuteOfDay);

// The file a script is saved to when the editor knows none of its own: "NoName.Ovs" in the folder
// of the script last saved or loaded (fileName), else in documents. A bare name is never left
// to land in the working directory.
inline constexpr const char* kNoNameScript = "NoName.Ovs";
std::filesystem::path OfferedScriptPath(const std::string& fileName,
                                        const std::filesystem::path& documents);

// The script editor's program without widgets: a copy of a script that stays in strictly
// increasing time, and the rules for adding, inserting, moving and deleting its actions. A
// refused change (no free minute, a full program) gives nothing and leaves the program as it was.
class ScriptEditing {
 public:
  // What new actions are made from: the card's band and stereo setting, and the preset given
  // to new preset actions (0 when none is defined).
  struct tDefaults {
    tBand CardBand = bFM;
    bool CardStereo = false;
    int Preset = 0;
  };

  ScriptEditing(const tScript& current, tDefaults defaults);

  const tScript& Program() const { return program_; }
  tScript& Program() { return program_; }

  tTimeRange RangeOf(size_t index) const;
  // Appending goes one minute after the last action, or at now (to the minute) when empty.
  double NextFreeTime(double now) const;
  bool Full() const;

  // Each gives the index of the new or moved action, to be selected.
  std::optional<size_t> Add(tActionKind kind, double now);
  // An event dropped on action before (< Count(); a drop below the last action is an Add): the
  // new action goes in front of it.
  std::optional<size_t> InsertBefore(size_t before, tActionKind kind);
  // Action from dragged onto action onto, or below the last action when onto is Count().
  // Dropping an action where it already stands changes nothing.
  std::optional<size_t> Move(size_t from, size_t onto);
  // Gives the action to select afterwards: the one now at the same place, else the last one.
  std::optional<size_t> Delete(size_t index);

  // Whether the title (as OK would store it, trimmed) or any action differs from current.
  bool DiffersFrom(const tScript& current, const std::string& title) const;

 private:
  int MinuteOfAction(size_t index) const;
  // The time for an action dropped on action onto (one after its predecessor, or one before
  // the first), when that minute is free.
  std::optional<int> FreeMinuteBefore(size_t onto) const;
  std::unique_ptr<zAction> Make(tActionKind kind, int minuteOfDay) const;

  tScript program_;
  tDefaults defaults_;
};

}  // namespace ondivo
