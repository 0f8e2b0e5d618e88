#include "schedule/ScriptEditing.h"

#include <algorithm>
#include <cstdio>

#include "platform/AsciiText.h"

namespace ondivo {

namespace {

constexpr int kLastMinute = 24 * 60 - 1;

double TimeOfMinute(int minuteOfDay) {
  return TimeOfDay(minuteOfDay / 60, minuteOfDay % 60);
}

}  // namespace

std::string MinuteText(int minuteOfDay) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", (minuteOfDay / 60) % 100, minuteOfDay % 60);
  return text;
}

std::filesystem::path OfferedScriptPath(const std::string& fileName,
                                        const std::filesystem::path& documents) {
  const std::filesystem::path known(fileName);
  const std::filesystem::path folder = known.has_parent_path() ? known.parent_path() : documents;
  return folder / kNoNameScript;
}

int tTimeRange::Pull(int hour, int minute) const {
  hour = std::clamp(hour, Begin / 60, End / 60);
  if (hour == Begin / 60) minute = std::max(minute, Begin % 60);
  if (hour == End / 60) minute = std::min(minute, End % 60);
  return hour * 60 + std::clamp(minute, 0, 59);
}

ScriptEditing::ScriptEditing(const tScript& current, tDefaults defaults)
    : program_(current.Copy()), defaults_(defaults) {}

int ScriptEditing::MinuteOfAction(size_t index) const {
  return program_[index].Hour() * 60 + program_[index].Minute();
}

tTimeRange ScriptEditing::RangeOf(size_t index) const {
  tTimeRange range;
  if (index > 0) range.Begin = MinuteOfAction(index - 1) + 1;
  if (index + 1 < program_.Count()) range.End = MinuteOfAction(index + 1) - 1;
  return range;
}

double ScriptEditing::NextFreeTime(double now) const {
  if (program_.Empty()) return TimeOfDay(HourOf(now), MinuteOf(now));
  return TimeOfMinute(MinuteOfAction(program_.Count() - 1) + 1);
}

bool ScriptEditing::Full() const {
  return !program_.Empty() && MinuteOfAction(program_.Count() - 1) >= kLastMinute;
}

std::unique_ptr<zAction> ScriptEditing::Make(tActionKind kind, int minuteOfDay) const {
  auto action =
      CreateAction(kind, TimeOfMinute(minuteOfDay), defaults_.CardBand, defaults_.CardStereo);
  if (action && kind == akPreset) {
    static_cast<zPreset&>(*action).Preset = static_cast<uint8_t>(defaults_.Preset);
  }
  return action;
}

std::optional<size_t> ScriptEditing::Add(tActionKind kind, double now) {
  if (Full()) return std::nullopt;
  const double time = NextFreeTime(now);
  auto action = Make(kind, HourOf(time) * 60 + MinuteOf(time));
  if (!action) return std::nullopt;
  program_.Add(std::move(action));
  return program_.Count() - 1;
}

std::optional<int> ScriptEditing::FreeMinuteBefore(size_t onto) const {
  // 00:00 is kept for the first action itself: a drop on a first action at 00:01 finds no room.
  const int minute = onto == 0 ? MinuteOfAction(0) - 1 : MinuteOfAction(onto - 1) + 1;
  if (onto == 0 ? minute < 1 : minute >= MinuteOfAction(onto)) return std::nullopt;
  return minute;
}

std::optional<size_t> ScriptEditing::InsertBefore(size_t before, tActionKind kind) {
  if (before >= program_.Count()) return std::nullopt;
  const auto minute = FreeMinuteBefore(before);
  if (!minute) return std::nullopt;
  auto action = Make(kind, *minute);
  if (!action) return std::nullopt;
  program_.Insert(before, std::move(action));
  return before;
}

std::optional<size_t> ScriptEditing::Move(size_t from, size_t onto) {
  const size_t count = program_.Count();
  if (from >= count || count < 2) return std::nullopt;
  if (onto >= count) {
    if (from == count - 1) return from;
    if (Full()) return std::nullopt;
    const int minute = MinuteOfAction(count - 1) + 1;
    auto action = program_.Extract(from);
    action->Time = TimeOfMinute(minute);
    program_.Add(std::move(action));
    return count - 1;
  }
  if (from == onto) return from;
  const auto minute = FreeMinuteBefore(onto);
  if (!minute) return std::nullopt;
  auto action = program_.Extract(from);
  action->Time = TimeOfMinute(*minute);
  // Taking the action out shifts the target up by one when it came from above it.
  const size_t at = from < onto ? onto - 1 : onto;
  program_.Insert(at, std::move(action));
  return at;
}

std::optional<size_t> ScriptEditing::Delete(size_t index) {
  if (index >= program_.Count()) return std::nullopt;
  program_.Delete(index);
  if (program_.Empty()) return std::nullopt;
  return std::min(index, program_.Count() - 1);
}

bool ScriptEditing::DiffersFrom(const tScript& current, const std::string& title) const {
  tScript edited = program_.Copy();
  edited.SetTitle(std::string(TrimText(title)));
  return !(edited == current);
}

}  // namespace ondivo
