#include "panel/PanelModel.h"

#include <cmath>

#include "radio/DeviceMessages.h"
#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"
#include "stations/FrequencyText.h"
#include "stations/PresetsBank.h"

namespace ondivo {

PanelModel::PanelModel(TRadioCard& card, PresetsBank& bank, tConfiguration& settings,
                       tPanelState& state, const LocaleFormat& locale)
    : card_(card), bank_(bank), settings_(settings), state_(state), locale_(locale) {}

tTuneResult PanelModel::TuneTo(tBand band, bool fromSlider, double frequency) {
  tTuneResult result;
  const tDevCap cap = card_.GetDevCap(card_.Model());
  if ((band == bFM && !cap.HasFM) || (band == bAM && !cap.HasAM)) return result;
  result.Tuned = true;
  result.BandSwitched = card_.Band() != band;
  const bool done = Guarded([&] {
    if (frequency > 0) {
      card_.Tune(state_.StereoSwitch, band, frequency);
    } else {
      card_.SetBand(band);
    }
    ForgetPresetTunedAway();
    if (!fromSlider) {
      SelectMatchingPresets();
      result.Status = card_.GetSignal();
    }
  });
  if (!done) result.Status = sNone;
  if (!fromSlider || !done) state_.Status = result.Status;
  return result;
}

tTuneResult PanelModel::SeekStep(bool up) {
  tTuneResult result;
  result.Tuned = true;
  Guarded([&] {
    card_.SeekStep(up);
    ForgetPresetTunedAway();
    SelectMatchingPresets();
    result.Status = card_.GetSignal();
  });
  state_.Status = result.Status;
  return result;
}

// A preset stays current only while the card plays it: tuned away, its button goes dark and
// the station the user moved to is what the next start restores.
void PanelModel::ForgetPresetTunedAway() {
  if (!PresetsBank::IsPresetNumber(state_.CurrentPreset)) return;
  const tPreset& p = bank_.Preset(state_.CurrentPreset);
  if (!p.Assigned || p.Band != card_.Band() || !SameFrequency(p.Frequency, card_.Frequency())) {
    state_.CurrentPreset = 0;
  }
}

bool PanelModel::Guarded(const std::function<void()>& step) {
  const char* message = nullptr;
  try {
    step();
    return true;
  } catch (const eDeviceLost&) {
    message = kDeviceLostMessage;
  } catch (const eDeviceBusy&) {
    message = kDeviceBusyMessage;
  }
  if (OnDeviceTrouble) OnDeviceTrouble(message);
  return false;
}

void PanelModel::SelectMatchingPresets() {
  const std::string key = FormatFrequencyKey(card_.Frequency(), locale_);
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    const tPreset& p = bank_.Preset(n);
    if (p.Assigned && FormatFrequencyKey(p.Frequency, locale_) == key) {
      state_.CurrentPreset = n;
      state_.Page = PageOf(n);
    }
  }
}

double PanelModel::MinimalFMStep() const {
  return card_.GetDevCap(card_.Model()).FMStep;
}

void PanelModel::ApplyTuneStepSetting(int tuneStep) {
  const double m = MinimalFMStep();
  if (!(m > 0)) return;
  const long k = std::lround(1.0 / m);
  state_.CurrentStep = (tuneStep >= 1 && k >= tuneStep) ? m * tuneStep : m;
}

int PanelModel::TuneStepSetting() const {
  const double m = MinimalFMStep();
  return m > 0 ? static_cast<int>(std::lround(state_.CurrentStep / m)) : 1;
}

tTuneResult PanelModel::TunePrev() {
  const bool fm = card_.Band() == bFM;
  const double step = fm ? state_.CurrentStep : card_.BandStep();
  return TuneTo(card_.Band(), false, card_.Frequency() - step);
}

tTuneResult PanelModel::TuneNext() {
  const bool fm = card_.Band() == bFM;
  const double step = fm ? state_.CurrentStep : card_.BandStep();
  return TuneTo(card_.Band(), false, card_.Frequency() + step);
}

bool PanelModel::StepUp() {
  const double m = MinimalFMStep();
  if (!(m > 0)) return false;
  const long max = std::lround(1.0 / m);
  const long value = std::lround(state_.CurrentStep / m);
  if (value >= max) return false;
  state_.CurrentStep = m * static_cast<double>(value + 1);
  return true;
}

bool PanelModel::StepDown() {
  const double m = MinimalFMStep();
  if (!(m > 0)) return false;
  const long value = std::lround(state_.CurrentStep / m);
  if (value <= 1) return false;
  state_.CurrentStep = m * static_cast<double>(value - 1);
  return true;
}

void PanelModel::SetStepFromSlider(int value) {
  const double m = MinimalFMStep();
  if (!(m > 0) || value < 1) return;
  state_.CurrentStep = m * value;
}

tTuneResult PanelModel::SelectBand(tBand band) {
  return TuneTo(band, false, -1);
}

tTuneResult PanelModel::ToggleStereo() {
  if (!card_.GetDevCap(card_.Model()).StereoSwitch) return {};
  state_.StereoSwitch = !state_.StereoSwitch;
  card_.SetStereo(state_.StereoSwitch);
  return TuneTo(card_.Band(), false, card_.Frequency());
}

tSignal PanelModel::RefreshStatus() {
  tSignal status = sNone;
  Guarded([&] { status = card_.GetSignal(); });
  state_.Status = status;
  return status;
}

double PanelModel::DefaultFMFrequency() const {
  const bool japanese = card_.GetDevCap(card_.Model()).HasJapaneseFM && settings_.JapaneseFM;
  return japanese ? kJapaneseFMMin : kFMMin;
}

bool PanelModel::RecallPreset(int n, bool tune) {
  if (!PresetsBank::IsPresetNumber(n)) return false;
  const tPreset p = bank_.Preset(n);
  const tDevCap cap = card_.GetDevCap(card_.Model());
  const bool inFM = WithinLimits(p.Frequency, card_.FMMin(), card_.FMMax());
  const bool inAM = WithinLimits(p.Frequency, kAMMin, kAMMax);
  if (p.Band == bFM && !cap.HasFM) return TuneTo(bAM, false, kAMMin), false;
  if (p.Band == bFM && !inFM) return TuneTo(bFM, false, card_.FMMin()), false;
  if (p.Band == bAM && !cap.HasAM) return TuneTo(bFM, false, card_.FMMin()), false;
  if (p.Band == bAM && !inAM) return TuneTo(bAM, false, kAMMin), false;
  if (tune) TuneTo(p.Band, false, p.Frequency);
  state_.CurrentPreset = n;
  state_.Page = PageOf(n);
  return true;
}

void PanelModel::RememberLastFrequency() {
  // 0 means the stored text did not convert: the card keeps its own frequency.
  if (!(settings_.LastFrequency > 0)) return;
  if (settings_.LastBand == bAM) {
    card_.SetLastAM(settings_.LastFrequency);
  } else {
    card_.SetLastFM(settings_.LastFrequency);
  }
}

void PanelModel::RestoreStation() {
  const tDevCap cap = card_.GetDevCap(card_.Model());
  const auto fresh = [&] {
    if (cap.HasFM) {
      TuneTo(bFM, false, DefaultFMFrequency());
    } else if (cap.HasAM) {
      TuneTo(bAM, false, kFMMin);  // snapping clamps it to the top of the AM band
    }
  };
  if (settings_.LastStation) {
    const int current = state_.CurrentPreset;
    if (current != 0) {
      const tPreset& p = bank_.Preset(current);
      if ((p.Band == bFM && cap.HasFM) || (p.Band == bAM && cap.HasAM)) {
        RecallPreset(current, true);
      } else {
        fresh();
      }
    } else {
      const tBand last = settings_.LastBand;
      if ((last == bFM && cap.HasFM) || (last == bAM && cap.HasAM)) {
        TuneTo(last, false, 0);
      }
    }
  } else {
    fresh();
  }
  if (!settings_.StartMuted) Guarded([&] { card_.UnmuteCard(); });
}

}  // namespace ondivo
