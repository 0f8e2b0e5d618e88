#include "stations/FrequencyText.h"

#include <algorithm>

#include "platform/TextConvert.h"

namespace ondivo {

std::string FormatFrequencyKey(double mhz, const LocaleFormat& locale) {
  return FormatFixed(mhz, 3, locale.DecimalSeparator, 3);
}

bool SameFrequency(double a, double b) {
  // The separator does not change whether two texts are equal.
  return FormatFixed(a, 3, '.', 3) == FormatFixed(b, 3, '.', 3);
}

std::string FormatFrequencyShort(tBand band, double mhz, const LocaleFormat& locale) {
  if (band == bFM) {
    std::string text = FormatFixed(mhz, 3, locale.DecimalSeparator, 1);
    const size_t first = text.find_first_not_of('0');
    if (first == std::string::npos) return text + " MHz";  // all zeros: kept whole
    const size_t last = text.find_last_not_of('0');
    return text.substr(first, last - first + 1) + " MHz";
  }
  if (band == bAM) return FormatFixed(mhz * 1000.0, 0, locale.DecimalSeparator, 1) + " kHz";
  return {};
}

std::string FormatStationLabel(tBand band, double mhz, std::string_view name,
                               const LocaleFormat& locale) {
  const std::string frequency = FormatFrequencyShort(band, mhz, locale);
  if (name.empty()) return frequency;
  return std::string(name) + " (" + frequency + ")";
}

std::string FormatPresetNumber(int number) {
  if (number == 100) return "00";
  return PadNumber(number, 2);
}

int ParsePresetNumber(std::string_view text) {
  if (text.size() != 2 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return 0;
  }
  const int value = (text[0] - '0') * 10 + (text[1] - '0');
  return value == 0 ? 100 : value;
}

std::string PadNumber(int64_t number, int width) {
  std::string digits = std::to_string(number);
  std::string sign;
  if (number < 0) {
    sign = "-";
    digits.erase(0, 1);
  }
  const int wanted = width - static_cast<int>(sign.size());
  if (static_cast<int>(digits.size()) < wanted) digits.insert(0, wanted - digits.size(), '0');
  return sign + digits;
}

std::string BandLetter(tBand band) {
  return band == bAM ? "K" : "M";
}

tBand ParseBandLetter(std::string_view text) {
  return (!text.empty() && (text[0] == 'K' || text[0] == 'k')) ? bAM : bFM;
}

std::string BandWord(tBand band) {
  return band == bAM ? "AM" : "FM";
}

std::optional<tBand> ParseBandWord(std::string_view text) {
  if (text == "AM") return bAM;
  if (text == "FM") return bFM;
  return std::nullopt;
}

bool IsBandWord(std::string_view text) {
  const std::string word = UpperCaseAscii(TrimText(text));
  return word == "AM" || word == "FM";
}

bool IsStereoWord(std::string_view text) {
  const std::string word = UpperCaseAscii(TrimText(text));
  return word == "ST" || word == "MN";
}

bool IsTimeHHMM(std::string_view text) {
  if (text.size() < 4) return false;
  for (size_t i = 0; i < 4; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  const int hour = (text[0] - '0') * 10 + (text[1] - '0');
  const int minute = (text[2] - '0') * 10 + (text[3] - '0');
  return hour <= 23 && minute <= 59;
}

bool IsIntegerInRange(std::string_view text, int64_t lo, int64_t hi) {
  const auto value = ParseInteger(text);
  return value && *value >= lo && *value <= hi;
}

bool IsRealNumber(std::string_view text, const LocaleFormat& locale) {
  return ParseFrequency(text, locale).has_value();
}

std::optional<double> ParseFrequency(std::string_view text, const LocaleFormat& locale) {
  if (text.empty()) return std::nullopt;
  return ParseReal(text, locale.DecimalSeparator);
}

std::optional<double> ParseStoredFrequency(std::string_view text, const LocaleFormat& locale) {
  const auto mhz = ParseFrequency(text, locale);
  // Seven characters: three integer digits, the separator and three decimals, no sign.
  if (!mhz || *mhz < 0) return std::nullopt;
  const std::string stored = FormatFrequencyKey(*mhz, locale);
  if (stored.size() != 7) return std::nullopt;
  // The value of that text, so that a finer frequency reads as it will be written back.
  return ParseReal(stored, locale.DecimalSeparator);
}

bool IsZeroFrequency(double mhz) {
  return SameFrequency(mhz, 0.0);
}

std::string DotsForColons(std::string_view text) {
  std::string result(text);
  std::replace(result.begin(), result.end(), ':', '.');
  return result;
}

tVolumeLine VolumeLineFromName(std::string_view name) {
  if (name == "Radio card") return vlNative;
  if (name == "Line In") return vlLineIn;
  if (name == "Microphone") return vlMicIn;
  if (name == "Compact disk") return vlCd;
  return vlNone;
}

}  // namespace ondivo
