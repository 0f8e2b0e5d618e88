#include "stations/PresetsFile.h"

#include <string_view>
#include <unordered_set>

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
  const auto frequency = ParseStoredFrequency(line.substr(0, 7), locale);
  if (!frequency) return std::nullopt;
  result.Frequency = *frequency;
  line.remove_prefix(8);

  if (line.find('.') != 2) return std::nullopt;
  const auto band = ParseBandWord(line.substr(0, 2));
  if (!band) return std::nullopt;
  result.Band = *band;
  line.remove_prefix(3);

  // Control characters read as the blanks the writer puts in their place.
  const std::string scrubbed = ScrubControlCharacters(line);
  const std::string_view name = TrimText(scrubbed);
  if (Utf8Length(name) > PresetsBank::kMaxNameLength) return std::nullopt;
  result.Name = std::string(name);
  return result;
}

}  // namespace

tFileRead LoadPresetsFile(const std::filesystem::path& path, const LocaleFormat& locale,
                          PresetsBank& bank) {
  TextLineReader reader(path);
  if (!reader.IsOpen()) return kPresetsUnreadable;
  PresetsBank fresh;
  // Storage texts of the frequencies taken so far, each formatted once. Unassigned records hold
  // 0, so a line of 000.000 is refused as meeting one of them.
  std::unordered_set<std::string> frequencies{FormatFrequencyKey(0.0, locale)};
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
    if (!parsed || fresh.Preset(parsed->Number).Assigned ||
        !frequencies.insert(FormatFrequencyKey(parsed->Frequency, locale)).second) {
      return kPresetsMalformed;
    }
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
    // A line break inside a name would split the record.
    const std::string name =
        Utf8PadOrCut(ScrubControlCharacters(preset.Name), PresetsBank::kMaxNameLength);
    text += PadNumber(n, 3) + "." + frequency + "." + BandWord(preset.Band) + "." + name + "\r\n";
  }
  return text;
}

tWriteResult WritePresetsFile(const std::filesystem::path& path, const PresetsBank& bank,
                              const LocaleFormat& locale) {
  const auto text = FormatPresetsFile(bank, locale);
  if (!text) {
    return tWriteResult::Failed(std::string(kPresetsWriteErrorMessage),
                                std::make_error_code(std::errc::value_too_large));
  }
  std::error_code error;
  if (!WriteFileAtomically(path, *text, &error)) {
    return tWriteResult::Failed(std::string(kPresetsWriteErrorMessage), error);
  }
  return {};
}

}  // namespace ondivo
