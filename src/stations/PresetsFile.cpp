#include "stations/PresetsFile.h"

#include <string_view>

#include "platform/AtomicFile.h"
#include "platform/TextConvert.h"
#include "platform/TextLineReader.h"
#include "stations/FrequencyText.h"

namespace ondivo {
namespace {

// A real line is 55 characters; a name of multi-byte characters makes it longer in bytes.
constexpr size_t kMaxLineBytes = 4096;

struct PresetLine {
  int Number = 0;
  double Frequency = 0;
  tBand Band = bFM;
  std::string Name;
};

// "nnn.fffffff.BB.name": the number, the storage frequency, the band word and the name.
std::optional<PresetLine> ParsePresetLine(std::string_view line, const LocaleFormat& locale) {
  PresetLine result;
  if (line.find('.') != 3 || !IsIntegerInRange(line.substr(0, 3), 1, PresetsBank::kPresetCount)) {
    return std::nullopt;
  }
  result.Number = static_cast<int>(*ParseInteger(line.substr(0, 3)));
  line.remove_prefix(4);

  if (line.size() < 8 || line[7] != '.') return std::nullopt;
  const auto frequency = ParseFrequency(line.substr(0, 7), locale);
  if (!frequency) return std::nullopt;
  result.Frequency = *frequency;
  line.remove_prefix(8);

  if (line.find('.') != 2) return std::nullopt;
  const auto band = ParseBandWord(line.substr(0, 2));
  if (!band) return std::nullopt;
  result.Band = *band;
  line.remove_prefix(3);

  const std::string_view name = TrimText(line);
  if (Utf8Length(name) > PresetsBank::kMaxNameLength) return std::nullopt;
  result.Name = std::string(name);
  return result;
}

bool Conflicts(const PresetsBank& bank, const PresetLine& line) {
  if (bank.Preset(line.Number).Assigned) return true;
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    if (n != line.Number && SameFrequency(bank.Preset(n).Frequency, line.Frequency)) return true;
  }
  return false;
}

}  // namespace

int LoadPresetsFile(const std::filesystem::path& path, const LocaleFormat& locale,
                    PresetsBank& bank) {
  TextLineReader reader(path);
  if (!reader.IsOpen()) return kPresetsUnreadable;
  PresetsBank fresh;
  int taken = 0;
  std::string line;
  do {
    switch (reader.ReadLine(line, kMaxLineBytes)) {
      case TextLineReader::Status::Error:
        return kPresetsUnreadable;
      case TextLineReader::Status::TooLong:
        return kPresetsMalformed;
      case TextLineReader::Status::End:  // an empty file reads as one empty line
      case TextLineReader::Status::Line:
        break;
    }
    const auto parsed = ParsePresetLine(line, locale);
    if (!parsed || Conflicts(fresh, *parsed)) return kPresetsMalformed;
    fresh.Store(parsed->Number, parsed->Name, parsed->Frequency, parsed->Band);
    ++taken;
  } while (!reader.AtEnd() && taken < PresetsBank::kPresetCount);
  if (reader.Failed()) return kPresetsUnreadable;
  bank = fresh;
  return kPresetsLoaded;
}

std::optional<std::string> FormatPresetsFile(const PresetsBank& bank, const LocaleFormat& locale) {
  std::string text;
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    const tPreset& preset = bank.Preset(n);
    if (!preset.Assigned) continue;
    const std::string frequency = FormatFrequencyKey(preset.Frequency, locale);
    if (frequency.size() != 7) return std::nullopt;
    std::string name = Utf8PadOrCut(preset.Name, PresetsBank::kMaxNameLength);
    // A line break inside a name would split the record.
    for (char& c : name) {
      if (static_cast<unsigned char>(c) < ' ') c = ' ';
    }
    text += PadNumber(n, 3) + "." + frequency + "." + BandWord(preset.Band) + "." + name + "\r\n";
  }
  return text;
}

bool WritePresetsFile(const std::filesystem::path& path, const PresetsBank& bank,
                      const LocaleFormat& locale) {
  const auto text = FormatPresetsFile(bank, locale);
  return text && WriteFileAtomically(path, *text);
}

}  // namespace ondivo
