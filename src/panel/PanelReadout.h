#pragma once

#include <array>
#include <string>
#include <vector>

#include "controls/DisplayLayout.h"
#include "panel/ConfigurationKeys.h"
#include "panel/PanelState.h"
#include "platform/LocaleFormat.h"
#include "radio/RadioTypes.h"

namespace ondivo {

class TRadioCard;
class PresetsBank;

// What the six frequency digits and the decimal point show.
struct tFrequencyDigits {
  std::array<char, 6> Digits{' ', ' ', ' ', ' ', ' ', ' '};
  bool Point = false;  // between the third and the fourth digit
  bool operator==(const tFrequencyDigits&) const = default;
};

// The frequency clamped into [min, max] as "000.000" with up to three leading zeros blanked:
// FM 98.5 is " 98", point, "500"; AM 0.531 is "   531" without the point.
tFrequencyDigits FrequencyDigits(double mhz, double min, double max, const LocaleFormat& locale);

// The status flag's text and palette index: "?????" dim, "Tuned"/"Stereo"/"Mono" bright.
struct tStatusFlag {
  std::string Text;
  int PaletteIndex = 0;
};
tStatusFlag StatusFlag(tSignal status, int colorText);

// Bright and dim palette index of a text colour choice 0..7.
int BrightTextIndex(int colorText);
int DimTextIndex(int colorText);

// The digit style of the Style setting; values outside 0..3 keep the designed dot style.
struct tDigitLook {
  TDigitStyle Style = ds5x7Dot;
  int SegWidth = 6;
  bool operator==(const tDigitLook&) const = default;
};
tDigitLook DigitLook(int style);

// The labels under the frequency slider for a band (twelve on AM, six or eight on FM).
std::vector<std::string> ScaleLabels(tBand band, bool japaneseFM);

// The step slider and its label: 1..round(1 / minimal step), value and kHz of the step.
struct tStepScale {
  int Min = 1;
  int Max = 1;
  int Value = 1;
  int KHz = 0;
};
tStepScale StepScale(double currentStep, double minimalFMStep);

// Everything the panel shows, from the card, the panel state and the settings. Pure: the
// main window applies it to its widgets after every change.
struct tPanelReadout {
  tFrequencyDigits Digits;
  tBand Band = bFM;
  std::string BandText;  // "FM" / "AM"
  std::string UnitText;  // "MHz" / "kHz"
  std::string StationNumber;
  std::string StationName;  // the matching preset's name, else a radio device's RDS name
  std::string StationHint;  // the RDS RadioText; empty without one
  std::string Title;        // "Ondivo - " + station label
  std::string TrayHint;     // the station label
  tStatusFlag Status;
  int SliderMin = 0, SliderMax = 0, SliderStep = 1, SliderValue = 0;
  std::string SliderHint;
  std::vector<std::string> Scale;
  bool FMControlsVisible = true;  // scan and step controls
  bool CanTunePrev = false, CanTuneNext = false;
  bool HasFM = false, HasAM = false;
  tStepScale Step;
  bool StereoAvailable = false, StereoOn = false;
  bool Muted = false;
  int Volume = 0, MaxVolume = 0;
  bool VolumeUpEnabled = false, VolumeDownEnabled = false;
  // Palette indices.
  int DigitOn = 10, DigitOff = 2, Panel = 0, TextBright = 15, TextDim = 8;
  tDigitLook Look;
};

tPanelReadout ReadPanel(const TRadioCard& card, const tPanelState& state, const PresetsBank& bank,
                        const tConfiguration& settings, const LocaleFormat& locale);

}  // namespace ondivo
