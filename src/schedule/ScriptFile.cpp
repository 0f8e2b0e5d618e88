#include "schedule/ScriptFile.h"

#include <cstdio>
#include <optional>
#include <stdexcept>

#include "platform/AtomicFile.h"
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

// A jump frequency must be a positive number that fits the storage form.
std::optional<double> JumpFrequency(std::string_view text, const LocaleFormat& locale) {
  const auto mhz = ParseFrequency(text, locale);
  if (!mhz || !(*mhz > 0.0 && *mhz < 1000.0)) return std::nullopt;
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
  return UpperCaseAscii(TrimText(field)) == word;
}

template <typename T>
T CheckedInteger(std::string_view text) {
  const auto value = ParseInteger(text);
  if (!value) throw std::runtime_error("number");
  return static_cast<T>(*value);
}

std::unique_ptr<zAction> ReadAction(tActionKind kind, std::string_view rest,
                                    const LocaleFormat& locale) {
  const auto split = SplitAction(kind, rest);
  if (!split) throw std::runtime_error("line");
  const double time = TimeOfDay(CheckedInteger<int>(split->Time.substr(0, 2)),
                                CheckedInteger<int>(split->Time.substr(2, 2)));
  // The card's band and stereo do not matter here: every field is set from the line.
  auto action = CreateAction(kind, time, bFM, false);
  const auto& f = split->Fields;
  switch (kind) {
    case akBeep: {
      auto& beep = static_cast<zBeep&>(*action);
      beep.Times = CheckedInteger<uint8_t>(f[0]);
      beep.Frequency = CheckedInteger<int32_t>(f[1]);
      beep.Duration = CheckedInteger<int32_t>(f[2]);
      break;
    }
    case akVolume:
      static_cast<zVolume&>(*action).Volume = CheckedInteger<uint8_t>(f[0]);
      break;
    case akJumpTo: {
      auto& jump = static_cast<zJumpTo&>(*action);
      const auto mhz = JumpFrequency(f[0], locale);
      if (!mhz) throw std::runtime_error("frequency");
      jump.Frequency = *mhz;
      // The first pass accepts the band and stereo words in any case, so they are read so.
      jump.Band = IsWord(f[1], "FM") ? bFM : bAM;
      jump.Stereo = IsWord(f[2], "ST");
      break;
    }
    case akPreset: {
      auto& preset = static_cast<zPreset&>(*action);
      preset.Preset = CheckedInteger<uint8_t>(f[0]);
      preset.Stereo = IsWord(f[1], "ST");
      break;
    }
    default:
      break;
  }
  return action;
}

std::unique_ptr<tScript> ParseScript(std::string_view text, const LocaleFormat& locale) {
  auto script = std::make_unique<tScript>();
  LineReader lines(text);
  const auto title = lines.Next();
  if (!title || title->empty()) throw std::runtime_error("title");
  script->SetTitle(std::string(title->substr(1)));
  while (const auto line = lines.Next()) {
    const size_t dot = line->find('.');
    const tActionKind kind = ParseActionKeyword(line->substr(0, dot));
    if (kind == akNone || dot == std::string_view::npos) continue;
    script->Add(ReadAction(kind, line->substr(dot + 1), locale));
  }
  return script;
}

// Reads at most limit + 1 bytes, so an oversized file is noticed without being held.
std::optional<std::string> ReadBounded(const std::filesystem::path& path, size_t limit) {
  std::unique_ptr<FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return std::nullopt;
  std::string text;
  char buffer[16384];
  while (text.size() <= limit) {
    const size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    text.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(file.get())) return std::nullopt;
  return text;
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

int ReadScriptFile(const std::filesystem::path& path, const LocaleFormat& locale,
                   std::unique_ptr<tScript>& script) {
  const auto text = ReadBounded(path, kMaxScriptFileSize);
  if (!text) return kScriptUnreadable;
  if (text->size() > kMaxScriptFileSize || !ValidateScriptFile(*text, locale))
    return kScriptCorrupt;
  try {
    script = ParseScript(*text, locale);
  } catch (const std::exception&) {
    return kScriptUnreadable;
  }
  return kScriptRead;
}

std::string FormatScriptFile(std::string_view title, const tScript& actions,
                             const PresetsBank& bank, const LocaleFormat& locale) {
  // A line break inside the title would end the title line early and spoil the whole file.
  std::string text = ";";
  for (const char c : title) text += (c == '\r' || c == '\n') ? ' ' : c;
  text += "\r\n";
  for (const auto& action : actions) text += ActionLine(*action, bank, locale) + "\r\n";
  return text;
}

bool WriteScriptFile(const std::filesystem::path& path, std::string_view title,
                     const tScript& actions, const PresetsBank& bank, const LocaleFormat& locale,
                     const std::function<void(const std::string&)>& report) {
  if (WriteFileAtomically(path, FormatScriptFile(title, actions, bank, locale))) return true;
  if (report) report(kScriptWriteError);
  return false;
}

}  // namespace ondivo
