#include "panel/ConfigurationFile.h"

#include <optional>
#include <string_view>

#include "platform/IniFile.h"
#include "platform/TextConvert.h"
#include "stations/FrequencyText.h"
#include "stations/PresetsBank.h"

namespace ondivo {

namespace {

using namespace ini;

// What the private-profile functions hand back at most.
constexpr size_t kMaxProfileString = 1023;

std::string ReadProfileString(const IniFile& file, std::string_view section, std::string_view key,
                              std::string_view fallback) {
  std::string value = file.ReadString(section, key, fallback);
  if (value.size() > kMaxProfileString) value.resize(kMaxProfileString);
  return value;
}

uint8_t ReadByte(const IniFile& file, std::string_view section, std::string_view key,
                 uint8_t fallback) {
  // Byte-wide settings keep the low eight bits of whatever the file holds.
  return static_cast<uint8_t>(file.ReadInteger(section, key, fallback));
}

int32_t InRangeOr(int32_t value, int32_t lo, int32_t hi, int32_t otherwise) {
  return value >= lo && value <= hi ? value : otherwise;
}

// A stored frequency: a positive number that fits the storage form "000.000".
std::optional<double> StoredFrequency(std::string_view text, const LocaleFormat& locale) {
  const auto mhz = ParseFrequency(TrimText(text), locale);
  if (!mhz || !(*mhz > 0.0 && *mhz < 1000.0)) return std::nullopt;
  return mhz;
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

// [Frequency] Frequency: a band letter and a blank in front of the number, or the number alone.
void ReadLastFrequency(const IniFile& file, const LocaleFormat& locale, tConfiguration& s) {
  std::string value = ReadProfileString(file, kFrequency, "Frequency", "87") + " ";
  std::string_view rest = value;
  s.LastBand = bFM;
  if (value.find(' ') == 1) {
    s.LastBand = ParseBandLetter(value.substr(0, 1));
    rest.remove_prefix(2);
  }
  s.LastFrequency = StoredFrequency(rest, locale).value_or(0.0);
}

// One "Station" key: band letter, blank, frequency, and optionally a blank and the name.
void ReadStation(const IniFile& file, const LocaleFormat& locale, int number, PresetsBank& bank) {
  const std::string value =
      ReadProfileString(file, kPresets, "Station" + FormatPresetNumber(number), "");
  const std::string_view text = TrimText(value);
  const size_t first = text.find(' ');
  if (first == std::string_view::npos) return;
  const std::string_view rest = text.substr(first + 1);
  const size_t second = rest.find(' ');
  const auto mhz = StoredFrequency(rest.substr(0, second), locale);
  if (!mhz) return;
  std::string name = second == std::string_view::npos
                         ? std::string()
                         : std::string(TrimText(rest.substr(second + 1)));
  // Names are limited in characters; cutting bytes could split a UTF-8 sequence.
  if (Utf8Length(name) > PresetsBank::kMaxNameLength) {
    name = Utf8PadOrCut(name, PresetsBank::kMaxNameLength);
  }
  bank.Store(number, std::move(name), *mhz, ParseBandLetter(text.substr(0, first)));
}

// [Presets] List: each number followed by a comma; a last number without one is ignored.
void ReadPresets(const IniFile& file, const LocaleFormat& locale, PresetsBank& bank) {
  const std::string list = ReadProfileString(file, kPresets, "List", "");
  std::string_view rest = TrimText(list);
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    if (comma == std::string_view::npos) break;
    const int64_t number = ParseInteger(rest.substr(0, comma)).value_or(0);
    rest.remove_prefix(comma + 1);
    if (PresetsBank::IsPresetNumber(static_cast<int>(number)))
      ReadStation(file, locale, static_cast<int>(number), bank);
  }
}

}  // namespace

std::string UnableToWriteMessage(const std::string& path) {
  return "Unable to write to " + path;
}

int32_t ReadHardwareSetting(const IniFile& ini) {
  return InRangeOr(ini.ReadInteger(kConfiguration, "Hardware", 0), 0, kModelCount, 0);
}

void LoadConfiguration(const IniFile& ini, const LocaleFormat& locale, tConfiguration& s,
                       PresetsBank& bank) {
  s.Hardware = ReadHardwareSetting(ini);
  s.Port = ReadByte(ini, kConfiguration, "Port", 0);
  s.CheckIfTuned = ini.ReadBool(kConfiguration, "CheckIfTuned", s.CheckIfTuned);
  s.JapaneseFM = ini.ReadBool(kConfiguration, "JapaneseFM", s.JapaneseFM);
  s.VolumeLine = static_cast<tVolumeLine>(
      InRangeOr(ini.ReadInteger(kConfiguration, "VolumeLine", 0), 0, 4, 0));

  s.Volume = ini.ReadInteger(kAudio, "Volume", s.Volume);
  s.Current = ReadByte(ini, kPresets, "Current", s.Current);
  if (s.Current > PresetsBank::kPresetCount) s.Current = 0;
  s.DisplayType = InRangeOr(ini.ReadInteger(kDisplayMode, "DisplayType", s.DisplayType), 0, 5, 0);
  s.AlwaysOnTop = ini.ReadBool(kDisplayMode, "AlwaysOnTop", s.AlwaysOnTop);
  s.AlarmStation = ReadByte(ini, kAlarm, "Station", s.AlarmStation);
  if (s.AlarmStation > PresetsBank::kPresetCount) s.AlarmStation = 0;

  const auto alarm = ParseAlarmTime(ReadProfileString(ini, kAlarm, "Time", "06:30"));
  s.AlarmHour = alarm ? alarm->Hour : 6;
  s.AlarmMinute = alarm ? alarm->Minute : 30;
  s.KeyboardCommands = KeyStringOrDefault(
      ReadProfileString(ini, kConfiguration, "KeyboardCommands", s.KeyboardCommands));

  s.X = ini.ReadInteger(kWinPos, "X", s.X);
  s.Y = ini.ReadInteger(kWinPos, "Y", s.Y);

  s.ColorGenericButton = ReadByte(ini, kConfiguration, "ColorGenericButton", s.ColorGenericButton);
  s.ColorFavAssButtonFM =
      ReadByte(ini, kConfiguration, "ColorFavAssButtonFM", s.ColorFavAssButtonFM);
  s.ColorFavAssButtonAM =
      ReadByte(ini, kConfiguration, "ColorFavAssButtonAM", s.ColorFavAssButtonAM);
  s.ColorFavNotAssButton =
      ReadByte(ini, kConfiguration, "ColorFavNotAssButton", s.ColorFavNotAssButton);
  s.Background = ReadByte(ini, kConfiguration, "Background", s.Background);
  s.Foreground = ReadByte(ini, kConfiguration, "Foreground", s.Foreground);
  s.Style = ini.ReadInteger(kConfiguration, "Style", s.Style);
  s.ColorPanel = ReadByte(ini, kConfiguration, "ColorPanel", s.ColorPanel);
  s.ColorText = ReadByte(ini, kConfiguration, "ColorText", s.ColorText);
  s.ColorFlag = ReadByte(ini, kConfiguration, "ColorFlag", s.ColorFlag);
  s.LastStation = ini.ReadBool(kConfiguration, "LastStation", s.LastStation);
  s.ShutDown = ReadByte(ini, kConfiguration, "ShutDown", s.ShutDown);
  s.StartMinimized = ini.ReadBool(kConfiguration, "StartMinimized", s.StartMinimized);
  s.TipOfTheDay = ini.ReadBool(kConfiguration, "TipOfTheDay", s.TipOfTheDay);
  s.LaunchAlarm = ini.ReadBool(kConfiguration, "LaunchAlarm", s.LaunchAlarm);
  s.StartMuted = ini.ReadBool(kConfiguration, "StartMuted", s.StartMuted);
  s.ForceStereoOff = ini.ReadBool(kConfiguration, "ForceStereoOff", s.ForceStereoOff);

  // The step is a positive multiple of the card's minimal step; zero or less would stall or
  // reverse tuning.
  s.TuneStep = ini.ReadInteger(kFrequency, "TuneStep", s.TuneStep);
  if (s.TuneStep < 1) s.TuneStep = 1;
  ReadLastFrequency(ini, locale, s);
  ReadPresets(ini, locale, bank);
}

namespace {

// Collects the writes of the save and stops at the first one that fails.
class SectionWriter {
 public:
  explicit SectionWriter(IniFile& file) : file_(file) {}

  void Begin(std::string_view section) {
    section_ = section;
    ok_ = ok_ && file_.EraseSection(section);
  }
  void Put(std::string_view key, std::string_view value) {
    ok_ = ok_ && file_.WriteString(section_, key, value);
  }
  void Put(std::string_view key, int64_t value) {
    ok_ = ok_ && file_.WriteInteger(section_, key, value);
  }
  void Put(std::string_view key, bool value) { ok_ = ok_ && file_.WriteBool(section_, key, value); }
  bool Ok() const { return ok_; }

 private:
  IniFile& file_;
  std::string_view section_;
  bool ok_ = true;
};

}  // namespace

bool SaveConfiguration(IniFile& ini, const tConfiguration& s, const PresetsBank& bank,
                       const LocaleFormat& locale, std::string* error) {
  SectionWriter w(ini);
  w.Begin(kWinPos);
  w.Put("X", int64_t{s.X});
  w.Put("Y", int64_t{s.Y});

  w.Begin(kAudio);
  w.Put("Volume", int64_t{s.Volume});

  w.Begin(kAlarm);
  w.Put("Station", int64_t{s.AlarmStation});
  w.Put("Time", PadNumber(s.AlarmHour, 2) + ":" + PadNumber(s.AlarmMinute, 2));

  w.Begin(kFrequency);
  w.Put("Frequency", BandLetter(s.LastBand) + " " + FormatFrequencyKey(s.LastFrequency, locale));
  w.Put("TuneStep", int64_t{s.TuneStep});

  w.Begin(kConfiguration);
  w.Put("Hardware", int64_t{s.Hardware});
  w.Put("Port", int64_t{s.Port});
  w.Put("VolumeLine", int64_t{static_cast<uint8_t>(s.VolumeLine)});
  w.Put("CheckIfTuned", s.CheckIfTuned);
  w.Put("JapaneseFM", s.JapaneseFM);
  w.Put("KeyboardCommands", std::string_view(s.KeyboardCommands));
  w.Put("LastStation", s.LastStation);
  w.Put("StartMinimized", s.StartMinimized);
  w.Put("TipOfTheDay", s.TipOfTheDay);
  w.Put("ShutDown", int64_t{s.ShutDown});
  w.Put("Background", int64_t{s.Background});
  w.Put("Foreground", int64_t{s.Foreground});
  w.Put("Style", int64_t{s.Style});
  w.Put("ColorGenericButton", int64_t{s.ColorGenericButton});
  w.Put("ColorFavAssButtonFM", int64_t{s.ColorFavAssButtonFM});
  w.Put("ColorFavAssButtonAM", int64_t{s.ColorFavAssButtonAM});
  w.Put("ColorFavNotAssButton", int64_t{s.ColorFavNotAssButton});
  w.Put("ColorPanel", int64_t{s.ColorPanel});
  w.Put("ColorText", int64_t{s.ColorText});
  w.Put("ColorFlag", int64_t{s.ColorFlag});
  w.Put("LaunchAlarm", s.LaunchAlarm);
  w.Put("StartMuted", s.StartMuted);
  w.Put("ForceStereoOff", s.ForceStereoOff);

  w.Begin(kDisplayMode);
  w.Put("DisplayType", int64_t{s.DisplayType});
  w.Put("AlwaysOnTop", s.AlwaysOnTop);

  w.Begin(kPresets);
  w.Put("Current", int64_t{s.Current});
  std::string list;
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    if (bank.Preset(n).Assigned) list += std::to_string(n) + ",";
  }
  w.Put("List", std::string_view(list));
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    const tPreset& preset = bank.Preset(n);
    if (!preset.Assigned) continue;
    w.Put("Station" + FormatPresetNumber(n),
          std::string_view(BandLetter(preset.Band) + " " +
                           FormatFrequencyKey(preset.Frequency, locale) + " " +
                           std::string(TrimText(preset.Name))));
  }

  if (w.Ok() && ini.Save()) return true;
  if (error) *error = UnableToWriteMessage(ini.Path().string());
  return false;
}

}  // namespace ondivo
