#pragma once

#include <functional>

#include "panel/ConfigurationKeys.h"
#include "panel/PanelState.h"
#include "platform/LocaleFormat.h"
#include "radio/RadioTypes.h"

namespace ondivo {

class TRadioCard;
class PresetsBank;

// What a tune changed, for the window to redraw.
struct tTuneResult {
  bool Tuned = false;         // the card had the band
  bool BandSwitched = false;  // the tuner group needs the other band's layout
  tSignal Status = sNone;     // sNone also when the status was not read
};

// The tuning logic of the front panel, without widgets: it holds the card, the presets and
// the settings and keeps the panel state in step. The window calls it and then redraws from
// ReadPanel.
class PanelModel {
 public:
  PanelModel(TRadioCard& card, PresetsBank& bank, tConfiguration& settings, tPanelState& state,
             const LocaleFormat& locale);

  TRadioCard& Card() { return card_; }
  const TRadioCard& Card() const { return card_; }
  PresetsBank& Bank() { return bank_; }
  tConfiguration& Settings() { return settings_; }
  tPanelState& State() { return state_; }
  const LocaleFormat& Locale() const { return locale_; }

  // The one tune-and-refresh operation every station change ends in. A frequency of 0 or
  // below returns to what the card remembers for the band. fromSlider skips the preset match
  // and the status query while the user drags the slider.
  tTuneResult TuneTo(tBand band, bool fromSlider, double frequency);

  // The tuning step from the TuneStep setting: that many minimal FM steps when they fit in
  // 1 MHz, else one minimal step.
  void ApplyTuneStepSetting(int tuneStep);
  // The step as TuneStep stores it.
  int TuneStepSetting() const;
  double MinimalFMStep() const;

  // Fine tuning: one step, or one minimal AM step in AM. Like every command here, the window
  // refuses it while a scan runs.
  tTuneResult TunePrev();
  tTuneResult TuneNext();
  // "Step +" grows the step, "Step -" shrinks it; false when at the end.
  bool StepUp();
  bool StepDown();
  // The step slider moved.
  void SetStepFromSlider(int value);
  // The fm/am buttons: the card returns to the frequency it remembers for the band.
  tTuneResult SelectBand(tBand band);
  // The stereo switch; only for models that have one.
  tTuneResult ToggleStereo();
  // The status query of the clock tick and of a slider release.
  tSignal RefreshStatus();
  // One hardware seek of a scan (the card tunes by itself to the next station), then the
  // preset match and the status query as after a tune.
  tTuneResult SeekStep(bool up);

  // Selects preset n, tuning it when tune is set. A preset the card cannot receive tunes a
  // band limit instead and is not selected. False when n is no preset.
  bool RecallPreset(int n, bool tune);
  static int PageOf(int preset) { return (preset - 1) / 10 + 1; }

  // A kernel radio device was unplugged or is busy: the operation that met it ended there and
  // this tells the words for the user (kDeviceLostMessage, kDeviceBusyMessage). The card stays
  // usable; a lost device does nothing until switched on again.
  std::function<void(const char* message)> OnDeviceTrouble;

  // Hands the stored last frequency to the card as the one it remembers for that band.
  void RememberLastFrequency();
  // The start-up restore of the last station or the current preset.
  void RestoreStation();
  // The FM frequency a fresh start tunes: 76 on the Japanese band, 87 otherwise.
  double DefaultFMFrequency() const;

 private:
  void SelectMatchingPresets();
  void ForgetPresetTunedAway();
  // Runs a step that reaches the card; false when it met a device error (told, not thrown).
  bool Guarded(const std::function<void()>& step);

  TRadioCard& card_;
  PresetsBank& bank_;
  tConfiguration& settings_;
  tPanelState& state_;
  LocaleFormat locale_;
};

}  // namespace ondivo
