#include "panel/ConfigurationFile.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <optional>
#include <string_view>
#include <variant>

#include "platform/IniFile.h"
#include "platform/TextConvert.h"
#include "stations/FrequencyText.h"
#include "stations/PresetsBank.h"

namespace ondivo {

namespace {

using namespace ini;

enum class tValueKind : uint8_t {
  kInteger,        // int32_t member
  kByte,           // uint8_t member: the low eight bits of what the file holds
  kBool,           // bool member
  kKeyString,      // std::string member: the keyboard assignment
  kVolumeLine,     // tVolumeLine member, stored as its number
  kAlarmTime,      // AlarmHour and AlarmMinute as "HH:MM"
  kLastFrequency,  // LastBand and LastFrequency as band letter, blank, "000.000"
};
using enum tValueKind;

using Member = std::variant<std::monostate, int32_t tConfiguration::*, uint8_t tConfiguration::*,
                            bool tConfiguration::*, std::string tConfiguration::*,
                            tVolumeLine tConfiguration::*>;

// A value read outside Lo..Hi becomes Otherwise; a missing key gives 0 when ZeroWhenMissing,
// else keeps the value held.
struct tLimits {
  int32_t Lo = INT32_MIN;
  int32_t Hi = INT32_MAX;
  int32_t Otherwise = 0;
  bool ZeroWhenMissing = false;
};

struct tSettingKey {
  const char* Section;
  const char* Key;
  Member Field;
  tValueKind Kind;
  tLimits Limits = {};
};

using C = tConfiguration;
constexpr tLimits kPresetNumber{0, PresetsBank::kPresetCount, 0};
constexpr const char* kHardwareKey = "Hardware";

// Every key in the order the save writes it; the load reads the same table. [Presets] comes
// last: its list and station keys follow the table.
const tSettingKey kSettings[] = {
    {kWinPos, "X", &C::X, kInteger},
    {kWinPos, "Y", &C::Y, kInteger},
    {kAudio, "Volume", &C::Volume, kInteger},
    {kAlarm, "Station", &C::AlarmStation, kByte, kPresetNumber},
    {kAlarm, "Time", {}, kAlarmTime},
    {kFrequency, "Frequency", {}, kLastFrequency},
    // The step is a positive multiple of the card's minimal step; zero or less would stall or
    // reverse tuning.
    {kFrequency, "TuneStep", &C::TuneStep, kInteger, {1, INT32_MAX, 1}},
    {kConfiguration, kHardwareKey, &C::Hardware, kInteger, {0, kModelCount, 0, true}},
    {kConfiguration, "Port", &C::Port, kByte, {INT32_MIN, INT32_MAX, 0, true}},
    {kConfiguration, "VolumeLine", &C::VolumeLine, kVolumeLine, {0, 4, 0, true}},
    {kConfiguration, "CheckIfTuned", &C::CheckIfTuned, kBool},
    {kConfiguration, "JapaneseFM", &C::JapaneseFM, kBool},
    {kConfiguration, "KeyboardCommands", &C::KeyboardCommands, kKeyString},
    {kConfiguration, "LastStation", &C::LastStation, kBool},
    {kConfiguration, "StartMinimized", &C::StartMinimized, kBool},
    {kConfiguration, "TipOfTheDay", &C::TipOfTheDay, kBool},
    {kConfiguration, "ShutDown", &C::ShutDown, kByte},
    {kConfiguration, "Background", &C::Background, kByte},
    {kConfiguration, "Foreground", &C::Foreground, kByte},
    {kConfiguration, "Style", &C::Style, kInteger},
    {kConfiguration, "ColorGenericButton", &C::ColorGenericButton, kByte},
    {kConfiguration, "ColorFavAssButtonFM", &C::ColorFavAssButtonFM, kByte},
    {kConfiguration, "ColorFavAssButtonAM", &C::ColorFavAssButtonAM, kByte},
    {kConfiguration, "ColorFavNotAssButton", &C::ColorFavNotAssButton, kByte},
    {kConfiguration, "ColorPanel", &C::ColorPanel, kByte},
    {kConfiguration, "ColorText", &C::ColorText, kByte},
    {kConfiguration, "ColorFlag", &C::ColorFlag, kByte},
    {kConfiguration, "LaunchAlarm", &C::LaunchAlarm, kBool},
    {kConfiguration, "StartMuted", &C::StartMuted, kBool},
    {kConfiguration, "ForceStereoOff", &C::ForceStereoOff, kBool},
    {kDisplayMode, "DisplayType", &C::DisplayType, kInteger, {0, 5, 0}},
    {kDisplayMode, "AlwaysOnTop", &C::AlwaysOnTop, kBool},
    {kPresets, "Current", &C::Current, kByte, kPresetNumber},
};

constexpr const char* kListKey = "List";
constexpr const char* kStationKeyPrefix = "Station";

// What the private-profile functions hand back at most.
constexpr size_t kMaxProfileString = 1023;

std::string ReadProfileString(const IniFile& file, std::string_view section, std::string_view key,
                              std::string_view fallback) {
  std::string value = file.ReadString(section, key, fallback);
  if (value.size() > kMaxProfileString) value.resize(kMaxProfileString);
  return value;
}

struct AlarmTime {
  int32_t Hour;
  int32_t Minute;
};

// Hours and minutes separated by ":", as the program writes them ("07:05").
std::optional<AlarmTime> ParseAlarmTime(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view hourText = text.substr(0, colon);
  const std::string_view minuteText = text.substr(colon + 1);
  const auto isDigits = [](std::string_view t) {
    return !t.empty() && t.size() <= 2 && t.find_first_not_of("0123456789") == t.npos;
  };
  if (!isDigits(hourText) || !isDigits(minuteText)) return std::nullopt;
  const auto hour = static_cast<int32_t>(*ParseInteger(hourText));
  const auto minute = static_cast<int32_t>(*ParseInteger(minuteText));
  if (hour > 23 || minute > 59) return std::nullopt;
  return AlarmTime{hour, minute};
}

// [Frequency] Frequency: with a blank appended, a first blank at the second character makes the
// first character the band letter; everything up to and including the first blank goes. So
// the number alone (as in the default "87") reads as 0.
void ReadLastFrequency(std::string value, const LocaleFormat& locale, tConfiguration& s) {
  value += ' ';
  const size_t blank = value.find(' ');
  s.LastBand = blank == 1 ? ParseBandLetter(value.substr(0, 1)) : bFM;
  const auto mhz =
      ParseStoredFrequency(TrimText(std::string_view(value).substr(blank + 1)), locale);
  s.LastFrequency = mhz && !IsZeroFrequency(*mhz) ? *mhz : 0.0;
}

std::string FormatLastFrequency(const tConfiguration& s, const LocaleFormat& locale) {
  return BandLetter(s.LastBand) + " " + FormatFrequencyKey(s.LastFrequency, locale);
}

bool InLimits(int32_t value, const tLimits& limits) {
  return value >= limits.Lo && value <= limits.Hi;
}

void ReadSetting(const IniFile& file, const tSettingKey& entry, const LocaleFormat& locale,
                 tConfiguration& s) {
  const tLimits& limits = entry.Limits;
  const auto readInteger = [&](int32_t held) {
    const int32_t value =
        file.ReadInteger(entry.Section, entry.Key, limits.ZeroWhenMissing ? 0 : held);
    return InLimits(value, limits) ? value : limits.Otherwise;
  };
  switch (entry.Kind) {
    case kInteger: {
      int32_t& field = s.*std::get<int32_t C::*>(entry.Field);
      field = readInteger(field);
      break;
    }
    case kByte: {
      uint8_t& field = s.*std::get<uint8_t C::*>(entry.Field);
      const auto value = static_cast<uint8_t>(
          file.ReadInteger(entry.Section, entry.Key, limits.ZeroWhenMissing ? 0 : field));
      field = InLimits(value, limits) ? value : static_cast<uint8_t>(limits.Otherwise);
      break;
    }
    case kBool: {
      bool& field = s.*std::get<bool C::*>(entry.Field);
      field = file.ReadBool(entry.Section, entry.Key, field);
      break;
    }
    case kKeyString: {
      std::string& field = s.*std::get<std::string C::*>(entry.Field);
      field = KeyStringOrDefault(ReadProfileString(file, entry.Section, entry.Key, field));
      break;
    }
    case kVolumeLine: {
      tVolumeLine& field = s.*std::get<tVolumeLine C::*>(entry.Field);
      field = static_cast<tVolumeLine>(readInteger(static_cast<int32_t>(field)));
      break;
    }
    case kAlarmTime: {
      const auto alarm = ParseAlarmTime(ReadProfileString(file, entry.Section, entry.Key, ""));
      s.AlarmHour = alarm ? alarm->Hour : 6;
      s.AlarmMinute = alarm ? alarm->Minute : 30;
      break;
    }
    case kLastFrequency:
      ReadLastFrequency(ReadProfileString(file, entry.Section, entry.Key, "87"), locale, s);
      break;
  }
}

bool WriteSetting(IniFile& file, const tSettingKey& entry, const LocaleFormat& locale,
                  const tConfiguration& s) {
  switch (entry.Kind) {
    case kInteger:
      return file.WriteInteger(entry.Section, entry.Key, s.*std::get<int32_t C::*>(entry.Field));
    case kByte:
      return file.WriteInteger(entry.Section, entry.Key, s.*std::get<uint8_t C::*>(entry.Field));
    case kBool:
      return file.WriteBool(entry.Section, entry.Key, s.*std::get<bool C::*>(entry.Field));
    case kKeyString:
      return file.WriteString(entry.Section, entry.Key, s.*std::get<std::string C::*>(entry.Field));
    case kVolumeLine:
      return file.WriteInteger(entry.Section, entry.Key,
                               static_cast<uint8_t>(s.*std::get<tVolumeLine C::*>(entry.Field)));
    case kAlarmTime:
      return file.WriteString(entry.Section, entry.Key,
                              PadNumber(s.AlarmHour, 2) + ":" + PadNumber(s.AlarmMinute, 2));
    case kLastFrequency:
      return file.WriteString(entry.Section, entry.Key, FormatLastFrequency(s, locale));
  }
  return false;
}

std::string StationKey(int number) {
  return kStationKeyPrefix + FormatPresetNumber(number);
}

// One "Station" value: band letter, blank, frequency, and optionally a blank and the name.
// False when it cannot be read.
bool ReadStation(std::string_view value, const LocaleFormat& locale, int number,
                 PresetsBank& bank) {
  const std::string_view text = TrimText(value);
  const size_t first = text.find(' ');
  if (first == std::string_view::npos) return false;
  const std::string_view rest = text.substr(first + 1);
  const size_t second = rest.find(' ');
  const auto mhz = ParseStoredFrequency(rest.substr(0, second), locale);
  if (!mhz || IsZeroFrequency(*mhz)) return false;
  std::string name = second == std::string_view::npos
                         ? std::string()
                         : std::string(TrimText(rest.substr(second + 1)));
  // Names are limited in characters; cutting bytes could split a UTF-8 sequence. The cut may
  // end on a blank, which the next save would trim away.
  if (Utf8Length(name) > PresetsBank::kMaxNameLength) {
    name = std::string(TrimText(Utf8PadOrCut(name, PresetsBank::kMaxNameLength)));
  }
  return bank.Store(number, std::move(name), *mhz, ParseBandLetter(text.substr(0, first)));
}

// [Presets] List: each number followed by a comma; a last number without one is ignored.
void ReadPresets(const IniFile& file, const LocaleFormat& locale, tConfiguration& s,
                 PresetsBank& bank) {
  s.RefusedStations.clear();
  const std::string list = ReadProfileString(file, kPresets, kListKey, "");
  std::string_view rest = TrimText(list);
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    if (comma == std::string_view::npos) break;
    // Tested before narrowing, so 2^32 + 1 is no preset 1.
    const int64_t number = ParseInteger(rest.substr(0, comma)).value_or(0);
    rest.remove_prefix(comma + 1);
    if (number < 1 || number > PresetsBank::kPresetCount) continue;
    const int n = static_cast<int>(number);
    const std::string value = ReadProfileString(file, kPresets, StationKey(n), "");
    if (ReadStation(value, locale, n, bank)) {
      s.RefusedStations.erase(n);
    } else if (!value.empty()) {
      s.RefusedStations[n] = value;
    }
  }
}

// The stored presets, and the refused entries whose number the bank leaves free.
bool WritePresets(IniFile& file, const tConfiguration& s, const PresetsBank& bank,
                  const LocaleFormat& locale) {
  const auto kept = [&](int n) -> const std::string* {
    if (bank.Preset(n).Assigned) return nullptr;
    const auto refused = s.RefusedStations.find(n);
    return refused == s.RefusedStations.end() ? nullptr : &refused->second;
  };
  std::string list;
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    if (bank.Preset(n).Assigned || kept(n)) list += std::to_string(n) + ",";
  }
  bool ok = file.WriteString(kPresets, kListKey, list);
  for (int n = 1; ok && n <= PresetsBank::kPresetCount; ++n) {
    const tPreset& preset = bank.Preset(n);
    if (preset.Assigned) {
      ok = file.WriteString(kPresets, StationKey(n),
                            BandLetter(preset.Band) + " " +
                                FormatFrequencyKey(preset.Frequency, locale) + " " +
                                std::string(TrimText(preset.Name)));
    } else if (const std::string* value = kept(n)) {
      ok = file.WriteString(kPresets, StationKey(n), *value);
    }
  }
  return ok;
}

}  // namespace

int32_t ReadHardwareSetting(const IniFile& ini) {
  const auto* entry = std::find_if(std::begin(kSettings), std::end(kSettings),
                                   [](const tSettingKey& e) { return e.Key == kHardwareKey; });
  tConfiguration settings;
  ReadSetting(ini, *entry, LocaleFormat{}, settings);
  return settings.Hardware;
}

void LoadConfiguration(const IniFile& ini, const LocaleFormat& locale, tConfiguration& s,
                       PresetsBank& bank) {
  for (const tSettingKey& entry : kSettings) ReadSetting(ini, entry, locale, s);
  ReadPresets(ini, locale, s, bank);
}

tWriteResult SaveConfiguration(IniFile& ini, const tConfiguration& s, const PresetsBank& bank,
                               const LocaleFormat& locale) {
  bool ok = true;
  std::string_view section;
  for (const tSettingKey& entry : kSettings) {
    // Each section is erased before its first key, so keys the program does not know go.
    if (entry.Section != section) {
      section = entry.Section;
      ok = ok && ini.EraseSection(section);
    }
    ok = ok && WriteSetting(ini, entry, locale, s);
  }
  ok = ok && WritePresets(ini, s, bank, locale);
  if (!ok) {
    return tWriteResult::Failed(UnableToWriteMessage(ini.Path().string()),
                                std::make_error_code(std::errc::io_error));
  }
  return ini.Save();
}

}  // namespace ondivo
