#include "panel/PanelReadout.h"

#include <algorithm>
#include <cmath>

#include "radio/RadioCard.h"
#include "radio/RdsLabel.h"
#include "stations/FrequencyText.h"
#include "stations/Palette.h"
#include "stations/PresetsBank.h"

namespace ondivo {

tFrequencyDigits FrequencyDigits(double mhz, double min, double max, const LocaleFormat& locale) {
  std::string text = FormatFrequencyKey(std::clamp(mhz, min, max), locale);
  for (size_t i = 0; i < 3 && i < text.size() && text[i] == '0'; ++i) text[i] = ' ';
  tFrequencyDigits out;
  size_t d = 0;
  for (size_t i = 0; i < text.size() && d < out.Digits.size(); ++i) {
    if (i == 3) continue;  // the decimal separator
    out.Digits[d++] = text[i];
  }
  out.Point = text.size() > 2 && text[2] != ' ';
  return out;
}

int BrightTextIndex(int colorText) {
  return DisplayColorIndex(colorText, 15);
}
int DimTextIndex(int colorText) {
  return DimColorIndex(BrightTextIndex(colorText), 8);
}

tStatusFlag StatusFlag(tSignal status, int colorText) {
  switch (status) {
    case sTuned:
      return {"Tuned", BrightTextIndex(colorText)};
    case sStereo:
      return {"Stereo", BrightTextIndex(colorText)};
    case sMono:
      return {"Mono", BrightTextIndex(colorText)};
    default:
      return {"?????", DimTextIndex(colorText)};
  }
}

tDigitLook DigitLook(int style) {
  switch (style) {
    case 0:
      return {ds16Seg, 3};
    case 1:
      return {ds5x7Bulb, 6};
    case 3:
      return {ds7Seg, 4};
    default:
      return {ds5x7Dot, 6};
  }
}

std::vector<std::string> ScaleLabels(tBand band, bool japaneseFM) {
  if (band == bAM) {
    return {"531",  "630",  "729",  "828",  "927",  "1026",
            "1125", "1224", "1323", "1422", "1521", "1620"};
  }
  if (japaneseFM) return {"76", "79", "82", "85", "88", "91"};
  return {"87", "90", "93", "96", "99", "102", "105", "108"};
}

tStepScale StepScale(double currentStep, double minimalFMStep) {
  tStepScale scale;
  if (!(minimalFMStep > 0)) return scale;
  scale.Max = std::max(1, static_cast<int>(std::lround(1.0 / minimalFMStep)));
  scale.Value =
      std::clamp(static_cast<int>(std::lround(currentStep / minimalFMStep)), 1, scale.Max);
  scale.KHz = static_cast<int>(std::lround(currentStep * 1000));
  return scale;
}

namespace {

// The current preset names the station while the card is on its band and frequency.
const tPreset* MatchingPreset(const TRadioCard& card, const tPanelState& state,
                              const PresetsBank& bank) {
  if (!PresetsBank::IsPresetNumber(state.CurrentPreset)) return nullptr;
  const tPreset& p = bank.Preset(state.CurrentPreset);
  if (!p.Assigned || p.Band != card.Band() || !SameFrequency(p.Frequency, card.Frequency())) {
    return nullptr;
  }
  return &p;
}

}  // namespace

tPanelReadout ReadPanel(const TRadioCard& card, const tPanelState& state, const PresetsBank& bank,
                        const tConfiguration& settings, const LocaleFormat& locale) {
  tPanelReadout r;
  const tDevCap cap = card.GetDevCap(card.Model());
  const tBand band = card.Band();
  const double f = card.Frequency();
  const double min = card.BandMin(), max = card.BandMax();
  const bool fm = band == bFM;

  r.Digits = FrequencyDigits(f, min, max, locale);
  r.Band = band;
  r.BandText = fm ? "FM" : "AM";
  r.UnitText = fm ? "MHz" : "kHz";

  const tPreset* preset = MatchingPreset(card, state, bank);
  r.StationNumber = preset ? std::to_string(state.CurrentPreset) : "??";
  r.TrayHint = FormatStationLabel(band, f, preset ? preset->Name : "", locale);
  r.StationName = StationNameToShow(preset ? preset->Name : "", card.Rds());
  r.StationHint = StationHintToShow(card.Rds());
  r.Title = "Ondivo - " + r.TrayHint;

  r.Status = StatusFlag(state.Status, settings.ColorText);

  r.SliderMin = static_cast<int>(std::lround(min * 1000));
  r.SliderMax = static_cast<int>(std::lround(max * 1000));
  r.SliderStep = fm ? 1000 : std::max(1, static_cast<int>(std::lround(cap.AMStep * 1000)));
  r.SliderValue = static_cast<int>(std::lround(f * 1000));
  r.SliderHint = FormatFrequencyShort(band, f, locale);
  r.Scale = ScaleLabels(band, fm && card.JapaneseFM());
  r.FMControlsVisible = fm;

  r.CanTunePrev = f > min;
  r.CanTuneNext = f < max;
  r.HasFM = cap.HasFM;
  r.HasAM = cap.HasAM;
  r.Step = StepScale(state.CurrentStep, cap.FMStep);
  r.StereoAvailable = cap.StereoSwitch;
  r.StereoOn = state.StereoSwitch;
  r.Muted = state.Muted;
  r.Volume = card.Volume();
  r.MaxVolume = card.MaxVolume();
  r.VolumeUpEnabled = card.Volume() < card.MaxVolume();
  r.VolumeDownEnabled = card.Volume() > 0;

  r.DigitOn = settings.Foreground;
  r.DigitOff = settings.Background;
  r.Panel = settings.ColorPanel;
  r.TextBright = BrightTextIndex(settings.ColorText);
  r.TextDim = DimTextIndex(settings.ColorText);
  r.Look = DigitLook(settings.Style);
  return r;
}

}  // namespace ondivo
