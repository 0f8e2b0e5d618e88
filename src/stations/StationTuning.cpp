#include "stations/StationTuning.h"

#include <cmath>
#include <cstdio>

#include "radio/RadioCard.h"

namespace ondivo {

namespace {

constexpr double kFMLow = 76.0;
constexpr double kAMStep = 0.009;

}  // namespace

tBandScale DialogBandScale(tBand band) {
  if (band == bAM) {
    return {531,
            1620,
            9,
            kAMMin,
            kAMMax,
            {"531", "630", "729", "828", "927", "1026", "1125", "1224", "1323", "1422", "1521",
             "1620"}};
  }
  return {76000,  108000, 1000,
          kFMLow, kFMMax, {"76", "80", "84", "88", "92", "96", "100", "104", "108"}};
}

double SnapToDialogBand(tBand band, double mhz, double fmStep, double fmUpper) {
  if (band == bAM) return TRadioCard::SnapFrequency(mhz, kAMStep, kAMMin, kAMMax);
  return TRadioCard::SnapFrequency(mhz, fmStep, kFMLow, fmUpper);
}

std::string SliderHint(tBand band, double mhz, const LocaleFormat& locale) {
  if (band == bAM) return std::to_string(std::lround(mhz * 1000)) + " kHz";
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", mhz);
  std::string hint = text;
  if (const auto dot = hint.find('.'); dot != std::string::npos) {
    hint[dot] = locale.DecimalSeparator;
  }
  return hint + " MHz";
}

double FineTuneTarget(tBand band, int sliderKHz, double fmStep, bool up) {
  const double step = band == bAM ? kAMStep : fmStep;
  return sliderKHz * 0.001 + (up ? step : -step);
}

tTuneButtons TuneButtons(tBand band, double mhz) {
  const tBandScale scale = DialogBandScale(band);
  // Compared in whole kHz, so 0.531 read back from a slider position is the lower end.
  const long kHz = std::lround(mhz * 1000);
  return {kHz > scale.Min, kHz < scale.Max};
}

tTunedMark TunedMark(tSignal signal) {
  switch (signal) {
    case sTuned:
      return {'T', true};
    case sStereo:
      return {'S', true};
    case sMono:
      return {'M', true};
    case sNone:
      break;
  }
  return {'?', false};
}

}  // namespace ondivo
