#include "schedule/ScriptFile.h"

#include <optional>

#include "platform/AtomicFile.h"
#include "platform/ReadWholeFile.h"
#include "platform/TextConvert.h"
#include "stations/FrequencyText.h"
#include "stations/PresetsBank.h"

namespace ondivo {

namespace {

// Hands out the lines of a text one by one, trimmed; a final line break ends the last line
// rather than starting an empty one.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(text) {}

  std::optional<std::string_view> Next() {
    if (rest_.empty()) return std::nullopt;
    const size_t end = rest_.find('\n');
    std::string_view line = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
    return TrimText(line);
  }

 private:
  std::string_view rest_;
};

// Takes the text up to the next "." off the front of rest; without a "." the whole rest.
std::string_view TakeField(std::string_view& rest) {
  const size_t dot = rest.find('.');
  std::string_view field = rest.substr(0, dot);
  rest = dot == std::string_view::npos ? std::string_view{} : rest.substr(dot + 1);
  return field;
}

// Takes the text after the last "." off the end of rest; without a "." the whole rest.
std::string_view TakeLastField(std::string_view& rest) {
  const size_t dot = rest.rfind('.');
  if (dot == std::string_view::npos) {
    std::string_view field = rest;
    rest = {};
    return field;
  }
  std::string_view field = rest.substr(dot + 1);
  rest = rest.substr(0, dot);
  return field;
}

// The parts of an action line after its keyword.
struct ActionFields {
  std::string_view Time;
  std::string_view Fields[3];
};

// Splits the rest of an action line by kind. A jump's frequency may contain the field
// separator itself (under a full-stop locale), so its band and stereo words are taken from the
// end of the line and the frequency is what lies between them and the time.
std::optional<ActionFields> SplitAction(tActionKind kind, std::string_view rest) {
  ActionFields split;
  switch (kind) {
    case akMuteOn:
    case akMuteOff:
    case akOff:
      if (rest.size() != 4) return std::nullopt;
      split.Time = rest;
      return split;
    case akNone:
      return std::nullopt;
    default:
      break;
  }
  if (rest.size() < 5 || rest[4] != '.') return std::nullopt;
  split.Time = rest.substr(0, 4);
  rest.remove_prefix(5);
  switch (kind) {
    case akBeep:
      split.Fields[0] = TakeField(rest);
      split.Fields[1] = TakeField(rest);
      split.Fields[2] = rest;
      break;
    case akVolume:
      split.Fields[0] = rest;
      break;
    case akPreset:
      split.Fields[0] = TakeField(rest);
      split.Fields[1] = rest;
      break;
    case akJumpTo:
      split.Fields[2] = TakeLastField(rest);
      split.Fields[1] = TakeLastField(rest);
      split.Fields[0] = rest;
      break;
    default:
      break;
  }
  return split;
}

// A jump frequency is a storage text other than 000.000, so that it is written back as read.
std::optional<double> JumpFrequency(std::string_view text, const LocaleFormat& locale) {
  const auto mhz = ParseStoredFrequency(text, locale);
  if (!mhz || IsZeroFrequency(*mhz)) return std::nullopt;
  return mhz;
}

bool IsValidActionLine(std::string_view line, const LocaleFormat& locale) {
  const size_t dot = line.find('.');
  if (dot == std::string_view::npos) return false;
  const tActionKind kind = ParseActionKeyword(line.substr(0, dot));
  const auto split = SplitAction(kind, line.substr(dot + 1));
  // 00:00 is accepted: the editor lets the first action start at midnight and writes it.
  if (!split || !IsTimeHHMM(split->Time)) return false;
  const auto& f = split->Fields;
  switch (kind) {
    case akBeep:
      return IsIntegerInRange(f[0], 1, 50) && IsIntegerInRange(f[1], 1, 20000) &&
             IsIntegerInRange(f[2], 1, 1000);
    case akVolume:
      return IsIntegerInRange(f[0], 0, 20);
    case akJumpTo:
      return JumpFrequency(f[0], locale).has_value() && IsBandWord(f[1]) && IsStereoWord(f[2]);
    case akPreset:
      return IsIntegerInRange(f[0], 1, 100) && IsStereoWord(f[1]);
    default:
      return true;
  }
}

bool IsWord(std::string_view field, std::string_view word) {
  return EqualsIgnoringCase(TrimText(field), word);
}

// A field of the second pass; the first pass has checked it, so nothing here should fail.
template <typename T>
std::optional<T> Field(std::string_view text, int64_t lo, int64_t hi) {
  const auto value = ParseInteger(text);
  if (!value || *value < lo || *value > hi) return std::nullopt;
  return static_cast<T>(*value);
}

// The action of one line, or null when a field does not convert.
std::unique_ptr<zAction> ReadAction(tActionKind kind, std::string_view rest,
                                    const LocaleFormat& locale) {
  const auto split = SplitAction(kind, rest);
  if (!split) return nullptr;
  const auto hour = Field<int>(split->Time.substr(0, 2), 0, 23);
  const auto minute = Field<int>(split->Time.substr(2, 2), 0, 59);
  if (!hour || !minute) return nullptr;
  // The card's band and stereo do not matter here: every field is set from the line.
  auto action = CreateAction(kind, TimeOfDay(*hour, *minute), bFM, false);
  const auto& f = split->Fields;
  switch (kind) {
    case akBeep: {
      auto& beep = static_cast<zBeep&>(*action);
      const auto times = Field<uint8_t>(f[0], 1, 50);
      const auto frequency = Field<int32_t>(f[1], 1, 20000);
      const auto duration = Field<int32_t>(f[2], 1, 1000);
      if (!times || !frequency || !duration) return nullptr;
      beep.Times = *times;
      beep.Frequency = *frequency;
      beep.Duration = *duration;
      break;
    }
    case akVolume: {
      const auto volume = Field<uint8_t>(f[0], 0, 20);
      if (!volume) return nullptr;
      static_cast<zVolume&>(*action).Volume = *volume;
      break;
    }
    case akJumpTo: {
      auto& jump = static_cast<zJumpTo&>(*action);
      const auto mhz = JumpFrequency(f[0], locale);
      if (!mhz) return nullptr;
      jump.Frequency = *mhz;
      // The first pass accepts the band and stereo words in any case, so they are read so.
      jump.Band = IsWord(f[1], "FM") ? bFM : bAM;
      jump.Stereo = IsWord(f[2], "ST");
      break;
    }
    case akPreset: {
      auto& preset = static_cast<zPreset&>(*action);
      const auto number = Field<uint8_t>(f[0], 1, PresetsBank::kPresetCount);
      if (!number) return nullptr;
      preset.Preset = *number;
      preset.Stereo = IsWord(f[1], "ST");
      break;
    }
    default:
      break;
  }
  return action;
}

// The second pass; null when a line the first pass let through does not convert after all.
std::unique_ptr<tScript> ParseScript(std::string_view text, const LocaleFormat& locale) {
  auto script = std::make_unique<tScript>();
  LineReader lines(text);
  const auto title = lines.Next();
  if (!title || title->empty()) return nullptr;
  // Control characters read as the blanks the writer puts in their place; one at the end
  // goes with the trim, as it will after a save.
  const std::string titleLine = ScrubControlCharacters(*title);
  script->SetTitle(std::string(TrimText(titleLine).substr(1)));
  while (const auto line = lines.Next()) {
    const size_t dot = line->find('.');
    const tActionKind kind = ParseActionKeyword(line->substr(0, dot));
    if (kind == akNone || dot == std::string_view::npos) continue;
    auto action = ReadAction(kind, line->substr(dot + 1), locale);
    if (!action) return nullptr;
    script->Add(std::move(action));
  }
  return script;
}

std::string TimeText(const zAction& action) {
  return PadNumber(action.Hour(), 2) + PadNumber(action.Minute(), 2);
}

std::string StereoWord(bool stereo) {
  return stereo ? "ST" : "MN";
}

std::string ActionLine(const zAction& action, const PresetsBank& bank, const LocaleFormat& locale) {
  std::string line = std::string(ActionKeyword(action.Kind)) + "." + TimeText(action);
  switch (action.Kind) {
    case akBeep: {
      const auto& beep = static_cast<const zBeep&>(action);
      line += "." + std::to_string(beep.Times) + "." + std::to_string(beep.Frequency) + "." +
              std::to_string(beep.Duration);
      break;
    }
    case akVolume:
      line += "." + std::to_string(static_cast<const zVolume&>(action).Volume);
      break;
    case akJumpTo: {
      const auto& jump = static_cast<const zJumpTo&>(action);
      line += "." + FormatFrequencyKey(jump.Frequency, locale) + ".";
      // An AM jump is always written mono.
      line += jump.Band == bAM ? "AM.MN" : "FM." + StereoWord(jump.Stereo);
      break;
    }
    case akPreset: {
      const auto& preset = static_cast<const zPreset&>(action);
      // Numbers outside 1..100 read as an unassigned preset, which is FM.
      const bool amPreset = bank.Preset(preset.Preset).Band == bAM;
      line += "." + std::to_string(preset.Preset) + "." + StereoWord(!amPreset && preset.Stereo);
      break;
    }
    default:
      break;
  }
  return line;
}

}  // namespace

bool ValidateScriptFile(std::string_view text, const LocaleFormat& locale) {
  LineReader lines(text);
  const auto title = lines.Next();
  if (!title || title->empty() || title->front() != ';') return false;
  bool anyAction = false;
  bool lastBlank = false;
  while (const auto line = lines.Next()) {
    lastBlank = line->empty();
    if (lastBlank) continue;
    if (!IsValidActionLine(*line, locale)) return false;
    anyAction = true;
  }
  return anyAction && !lastBlank;
}

tFileRead ReadScriptFile(const std::filesystem::path& path, const LocaleFormat& locale,
                         std::unique_ptr<tScript>& script) {
  std::string text;
  switch (ReadWholeFile(path, kMaxScriptFileSize, text)) {
    case tWholeFileRead::Missing:
    case tWholeFileRead::Unreadable:
      return kScriptUnreadable;
    case tWholeFileRead::TooLarge:
      return kScriptCorrupt;
    case tWholeFileRead::Read:
      break;
  }
  if (!ValidateScriptFile(text, locale)) return kScriptCorrupt;
  auto parsed = ParseScript(text, locale);
  if (!parsed) return kScriptUnreadable;
  script = std::move(parsed);
  return kScriptRead;
}

std::string FormatScriptFile(std::string_view title, const tScript& actions,
                             const PresetsBank& bank, const LocaleFormat& locale) {
  // A line break inside the title would end the title line early and spoil the whole file.
  std::string text = ";" + ScrubControlCharacters(title) + "\r\n";
  for (const auto& action : actions) text += ActionLine(*action, bank, locale) + "\r\n";
  return text;
}

tWriteResult WriteScriptFile(const std::filesystem::path& path, std::string_view title,
                             const tScript& actions, const PresetsBank& bank,
                             const LocaleFormat& locale) {
  std::error_code error;
  if (WriteFileAtomically(path, FormatScriptFile(title, actions, bank, locale), &error)) return {};
  return tWriteResult::Failed(std::string(kScriptWriteErrorMessage), error);
}

}  // namespace ondivo
