#pragma once

#include <string>
#include <vector>

#include "platform/LocaleFormat.h"
#include "radio/RadioTypes.h"

namespace ondivo {

// The tuner section the organizer and the edit-presets dialog share, without widgets. Its
// slider spans a whole band whatever the card's limits: AM 531..1620 kHz in 9 kHz steps, FM
// 76..108 MHz, so every stored station can be shown.
struct tBandScale {
  int Min = 0, Max = 0, Step = 1;  // slider, kHz
  double Low = 0, High = 0;        // MHz
  std::vector<std::string> Labels;
};
tBandScale DialogBandScale(tBand band);

// A frequency put on the band's grid within the slider's range: AM on 9 kHz, FM on the card's
// step from 76.0 MHz up to the card's present FM upper limit.
double SnapToDialogBand(tBand band, double mhz, double fmStep, double fmUpper);

// The slider's hint: "999 kHz", or "98.500 MHz" with the locale's separator.
std::string SliderHint(tBand band, double mhz, const LocaleFormat& locale);

// Fine tuning from a slider position: one step down or up (the FM step, 9 kHz on AM).
double FineTuneTarget(tBand band, int sliderKHz, double fmStep, bool up);

// "Tune previous"/"Tune next" (and on FM the scans) while the frequency is inside the range.
struct tTuneButtons {
  bool Previous = false, Next = false;
};
tTuneButtons TuneButtons(tBand band, double mhz);

// The tuned indicator: "?" grey, "T", "S" or "M" white; "!" grey when the card lacks the band.
struct tTunedMark {
  char Text = '?';
  bool Bright = false;
};
tTunedMark TunedMark(tSignal signal);
inline constexpr tTunedMark kNoBandMark{'!', false};

}  // namespace ondivo
