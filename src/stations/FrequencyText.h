#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LocaleFormat.h"
#include "radio/RadioTypes.h"

namespace ondivo {

// Every text form of a frequency, a band and a preset number. Nothing else formats
// frequencies on its own. Frequencies are MHz on both bands (531 kHz is 0.531).

// Storage form of every file: "000.000" with the locale's decimal separator, e.g. 088.500.
std::string FormatFrequencyKey(double mhz, const LocaleFormat& locale);

// Same station: equal storage texts, i.e. equal to the nearest kHz. The band is not compared.
bool SameFrequency(double a, double b);

// "88.5 MHz", "100. MHz" on FM; "531 kHz" on AM; empty for any other band value.
std::string FormatFrequencyShort(tBand band, double mhz, const LocaleFormat& locale);

// "Name (88.5 MHz)", or the short text alone when the name is empty.
std::string FormatStationLabel(tBand band, double mhz, std::string_view name,
                               const LocaleFormat& locale);

// "01" to "99", and "00" for preset 100.
std::string FormatPresetNumber(int number);
// The reverse for a two-character text: "00" is 100; anything that is not two digits is 0.
int ParsePresetNumber(std::string_view text);

// Decimal digits of number with leading zeros up to width (a longer number is not cut).
std::string PadNumber(int64_t number, int width);

// "K" for AM, "M" for FM.
std::string BandLetter(tBand band);
// AM when the first character, upper-cased, is K; FM otherwise (the empty text included).
tBand ParseBandLetter(std::string_view text);

// "AM" and "FM".
std::string BandWord(tBand band);
// Exactly "AM" or "FM" (the presets file reader).
std::optional<tBand> ParseBandWord(std::string_view text);

// Validators of the file readers; none of them throws.
bool IsBandWord(std::string_view text);    // trimmed, any case: AM or FM
bool IsStereoWord(std::string_view text);  // trimmed, any case: ST or MN
bool IsTimeHHMM(std::string_view text);    // first four characters are a time 0000..2359
bool IsIntegerInRange(std::string_view text, int64_t lo, int64_t hi);
bool IsRealNumber(std::string_view text, const LocaleFormat& locale);
// The number of IsRealNumber, or nothing.
std::optional<double> ParseFrequency(std::string_view text, const LocaleFormat& locale);
// A frequency read from a file: a number whose storage text is a real one, 000.000 to 999.999,
// so that what is accepted is written back in the same form and reads again. Readers that
// refuse 0 test that on their own.
std::optional<double> ParseStoredFrequency(std::string_view text, const LocaleFormat& locale);
// True when the storage text of mhz is "000.000".
bool IsZeroFrequency(double mhz);

// Every ":" replaced by ".".
std::string DotsForColons(std::string_view text);

// The volume line named in the setup dialog's list; exact names, anything else is vlNone.
tVolumeLine VolumeLineFromName(std::string_view name);

}  // namespace ondivo
