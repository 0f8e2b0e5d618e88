// The organizer's tuner: tuning edits the selected station, and the scan looks for the next
// station on FM.
#include <QApplication>
#include <QSlider>
#include <QToolButton>

#include "panel/PanelReadout.h"
#include "radio/RadioCard.h"
#include "stations/FrequencyText.h"
#include "stations/OrganizerWidgets.h"
#include "stations/StationTuning.h"
#include "stations/TunerSection.h"
#include "stations/tdOrganizer.h"

namespace ondivo {

void tdOrganizer::ConnectTuner() {
  // While a scan runs only "Halt scanning" is heard.
  const auto idle = [this](std::function<void()> handler) {
    return [this, handler] {
      if (!scanning_) handler();
    };
  };
  connect(tuner_, &TunerSection::FrequencyMoved, this, [this](int kHz, bool sliding) {
    if (!scanning_ && SelectedStation()) OrganizerTune(band_, sliding, kHz * 0.001);
  });
  connect(
      tuner_, &TunerSection::SliderReleased, this, idle([this] {
        const tBandScale scale = DialogBandScale(band_);
        const double f = std::clamp(tuner_->Slider()->value() * 0.001, scale.Low, scale.High);
        tuner_->Slider()->setToolTip(QString::fromStdString(SliderHint(band_, f, panel_.Locale)));
        ShowTuned();
      }));
  connect(tuner_, &TunerSection::BandClicked, this, [this](tBand band) {
    if (!scanning_ && SelectedStation()) OrganizerTune(band, false, -1);
  });
  connect(tuner_, &TunerSection::TunePrevClicked, this, idle([this] { FineTune(false); }));
  connect(tuner_, &TunerSection::TuneNextClicked, this, idle([this] { FineTune(true); }));
  connect(tuner_, &TunerSection::StepUpClicked, this, idle([this] { StepBy(1); }));
  connect(tuner_, &TunerSection::StepDownClicked, this, idle([this] { StepBy(-1); }));
  connect(tuner_, &TunerSection::StepSliderMoved, this, [this](int value) {
    if (scanning_) return;
    step_ = value * MinimalStep();
    ShowStep();
  });
  connect(tuner_, &TunerSection::ScanPrevClicked, this, &tdOrganizer::btScanPrevClick);
  connect(tuner_, &TunerSection::ScanNextClicked, this, &tdOrganizer::btScanNextClick);
  connect(tuner_, &TunerSection::StopScanClicked, this, &tdOrganizer::btStopScanClick);
}

double tdOrganizer::MinimalStep() const {
  return panel_.Card.GetDevCap(panel_.Card.Model()).FMStep;
}

bool tdOrganizer::CardHas(tBand band) const {
  const tDevCap cap = panel_.Card.GetDevCap(panel_.Card.Model());
  return band == bAM ? cap.HasAM : cap.HasFM;
}

void tdOrganizer::SetOrganizerBand(tBand band) {
  band_ = band;
  tuner_->SetBand(band);
}

tSignal tdOrganizer::OrganizerTune(tBand band, bool sliding, double mhz) {
  TRadioCard& card = panel_.Card;
  if (band != band_) SetOrganizerBand(band);
  const bool has = CardHas(band);
  double f = mhz;
  if (!(mhz > 0)) {
    // The band buttons: the card's own frequency on that band.
    if (has) card.SetBand(band);
    f = has && card.Band() == band ? card.Frequency() : DialogBandScale(band).Low;
  }
  f = SnapToDialogBand(band, f, MinimalStep(), card.FMMax());
  bool outOfRange = !has;
  if (band == bFM) outOfRange = !WithinLimits(f, card.FMMin(), card.FMMax());
  if (has && mhz > 0) {
    if (card.Muted()) card.Unmute();
    const double fmFallback = panel_.JapaneseFM ? kJapaneseFMMin : kFMMin;
    card.Tune(card.Stereo(), band, band == bFM && outOfRange ? fmFallback : f);
  }
  tuner_->ShowFrequency(f, outOfRange);
  if (tStation* station = SelectedStation()) {
    station->Frequency = f;
    station->Band = band;
  }
  return sliding ? sNone : ShowTuned();
}

// Reception is asked of the card on FM only, and only when it plays the dialog's band.
tSignal tdOrganizer::ShowTuned() {
  if (!CardHas(band_)) {
    tuner_->ShowTuned(kNoBandMark.Text, kNoBandMark.Bright);
    return sNone;
  }
  TRadioCard& card = panel_.Card;
  const bool fm = band_ == bFM && card.Band() == bFM && card.Frequency() >= card.FMMin();
  const tSignal signal = fm ? card.GetSignal() : sNone;
  const tTunedMark mark = TunedMark(signal);
  tuner_->ShowTuned(mark.Text, mark.Bright);
  return signal;
}

void tdOrganizer::FineTune(bool up) {
  if (!SelectedStation()) return;
  const tBandScale scale = DialogBandScale(band_);
  const double next = FineTuneTarget(band_, tuner_->Slider()->value(), step_, up);
  const double from = CardHas(band_) ? panel_.Card.Frequency() : next;
  const long kHz = std::lround(from * 1000);
  if (up ? kHz < scale.Max : kHz > scale.Min) OrganizerTune(band_, false, next);
}

void tdOrganizer::ShowStep() {
  const tStepScale s = StepScale(step_, MinimalStep());
  tuner_->ShowStep(s.Min, s.Max, s.Value, s.KHz);
}

void tdOrganizer::StepBy(int units) {
  const tStepScale s = StepScale(step_, MinimalStep());
  const int value = s.Value + units;
  if (value < s.Min || value > s.Max) return;
  step_ = value * MinimalStep();
  ShowStep();
}

void tdOrganizer::btScanPrevClick() {
  Scan(false);
}

void tdOrganizer::btScanNextClick() {
  Scan(true);
}

void tdOrganizer::btStopScanClick() {
  stop_ = true;
}

void tdOrganizer::Scan(bool up) {
  TRadioCard& card = panel_.Card;
  if (scanning_ || !SelectedStation() || !CardHas(bFM) || band_ != bFM) return;
  const double limit = up ? card.FMMax() : card.FMMin();
  if (card.Band() == bFM && SameFrequency(card.Frequency(), limit)) return;
  scanning_ = true;
  stop_ = false;
  view_->setEnabled(false);
  tuner_->ShowScanning(up ? '>' : '<');
  tuner_->ShowTuned('?', false);
  const double unit = MinimalStep();
  double f = card.Frequency();
  for (;;) {
    if ((up ? limit <= f : limit >= f) || stop_) break;
    QApplication::processEvents(QEventLoop::AllEvents);
    if (stop_) break;
    f += up ? unit : -unit;
    const tSignal signal = OrganizerTune(bFM, false, f);
    f = card.Frequency();
    if (signal != sNone) break;
  }
  tuner_->ShowScanning(0);
  tuner_->ShowFrequency(card.Frequency(),
                        !WithinLimits(card.Frequency(), card.FMMin(), card.FMMax()));
  // The direction whose band limit was reached stays closed.
  if (SameFrequency(card.Frequency(), card.FMMax())) tuner_->ScanNextButton()->setEnabled(false);
  if (SameFrequency(card.Frequency(), card.FMMin())) tuner_->ScanPrevButton()->setEnabled(false);
  scanning_ = false;
  view_->setEnabled(true);
}

}  // namespace ondivo
