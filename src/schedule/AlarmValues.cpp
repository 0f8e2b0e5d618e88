#include "schedule/AlarmValues.h"

#include <algorithm>
#include <string_view>

#include "panel/PresetsPanel.h"
#include "stations/FrequencyText.h"
#include "stations/PresetsBank.h"

namespace ondivo {

namespace {

std::optional<int> IndexOf(const std::vector<tAlarmEntry>& entries, int preset) {
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].Preset == preset) return static_cast<int>(i);
  }
  return std::nullopt;
}

}  // namespace

tAlarmValues::tAlarmValues(const tAlarmSetting& handed, const PresetsBank& bank,
                           const TRadioCard& card, int currentPreset)
    : hour_(std::clamp(handed.Hour, 0, kHourMax)),
      minute_(std::clamp(handed.Minute, 0, kMinuteBoxMax - 1)) {
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    const tPreset& preset = bank.Preset(n);
    if (!preset.Assigned || !CanReceivePreset(card, preset)) continue;
    entries_.push_back({n, FormatPresetNumber(n) + " - " + preset.Name});
  }
  selected_ = IndexOf(entries_, handed.Station);
  if (!selected_) selected_ = IndexOf(entries_, currentPreset);
}

void tAlarmValues::Select(std::optional<int> index) {
  const bool listed = index && *index >= 0 && *index < static_cast<int>(entries_.size());
  selected_ = listed ? index : std::nullopt;
}

void tAlarmValues::SetHour(int hour) {
  hour_ = std::clamp(hour, 0, kHourMax);
}

void tAlarmValues::SetMinute(int minute) {
  minute_ = std::clamp(minute, 0, kMinuteBoxMax);
  if (minute_ == kMinuteBoxMax) {
    minute_ = 0;
    hour_ = hour_ == kHourMax ? 0 : hour_ + 1;
  }
}

std::string tAlarmValues::Digits() const {
  return PadNumber(hour_, 2) + PadNumber(minute_, 2);
}

bool tAlarmValues::OkEnabled() const {
  return !entries_.empty() && selected_ && hour_ <= kHourMax && minute_ < kMinuteBoxMax;
}

tAlarmSetting tAlarmValues::Result() const {
  int station = 0;
  if (selected_) {
    station = ParsePresetNumber(
        std::string_view(entries_[static_cast<size_t>(*selected_)].Text).substr(0, 2));
  }
  return {hour_, minute_, station};
}

}  // namespace ondivo
