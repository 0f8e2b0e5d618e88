#pragma once

#include <optional>
#include <string>
#include <vector>

#include "schedule/AlarmSetting.h"

namespace ondivo {

class PresetsBank;
class TRadioCard;

// One entry of the alarm dialog's station list: "07 - Forum" for preset 7, "00 - ..." for 100.
struct tAlarmEntry {
  int Preset = 0;
  std::string Text;
  bool operator==(const tAlarmEntry&) const = default;
};

// The alarm dialog's working copy without widgets: the stations it offers, the time as the two
// boxes hold it (the minutes box goes up to 60 and rolls over into the hour), the chosen entry,
// and when OK may be pressed.
class tAlarmValues {
 public:
  static constexpr int kHourMax = 23;
  static constexpr int kMinuteBoxMax = 60;  // one past the last minute, so it can roll over

  // The defined presets the card can receive, in number order; the handed-over station is
  // selected when listed, else the current preset when listed, else nothing.
  tAlarmValues(const tAlarmSetting& handed, const PresetsBank& bank, const TRadioCard& card,
               int currentPreset);

  const std::vector<tAlarmEntry>& Entries() const { return entries_; }
  std::optional<int> Selected() const { return selected_; }  // index into Entries()
  // An index outside the list, or nothing, leaves no entry selected.
  void Select(std::optional<int> index);

  int Hour() const { return hour_; }
  int Minute() const { return minute_; }
  void SetHour(int hour);
  // 60 becomes 0 and the hour goes up by one, from 23 to 0.
  void SetMinute(int minute);
  // The four digits of the read-out, "HHMM" with leading zeros.
  std::string Digits() const;

  bool OkEnabled() const;
  // What OK hands back: the time, and the station read from the selected entry's number.
  // Only meaningful while OkEnabled().
  tAlarmSetting Result() const;

 private:
  std::vector<tAlarmEntry> entries_;
  std::optional<int> selected_;
  int hour_ = 0;
  int minute_ = 0;
};

}  // namespace ondivo
