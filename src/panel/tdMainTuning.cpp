// The tuner group: TuneTo and everything that leads to it, and the scan loop.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "panel/PanelPictures.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"

namespace ondivo {

tTuneResult tdMain::TuneTo(tBand band, bool fromSlider, double frequency) {
  return AfterTune(model_->TuneTo(band, fromSlider, frequency));
}

tTuneResult tdMain::AfterTune(const tTuneResult& result) {
  if (!result.Tuned) return result;
  if (result.BandSwitched) SwitchBand(card_.Band());
  RefreshPanel();
  return result;
}

void tdMain::SwitchBand(tBand band) {
  const bool fm = band == bFM;
  {
    const QSignalBlocker blockFM(btFM_), blockAM(btAM_);
    btFM_->setChecked(fm);
    btAM_->setChecked(!fm);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{lScan_, btScanPrev_, btScanNext_, lStep_, step_,
                                                    btStepUp_, btStepDown_, sStep_}) {
    w->setVisible(fm);
    w->setEnabled(fm);
  }
  btJump_->move(fm ? 196 : 71, btJump_->y());
  const auto labels = ScaleLabels(band, fm && card_.JapaneseFM());
  const int left = sFrequency_->x() + 4, width = sFrequency_->width() - 8;
  for (size_t i = 0; i < scale_.size(); ++i) {
    QLabel* label = scale_[i];
    if (i >= labels.size()) {
      label->hide();
      continue;
    }
    label->setText(QString::fromStdString(labels[i]));
    const int centre = left + static_cast<int>(i * width / (labels.size() - 1));
    label->move(centre - label->width() / 2, label->y());
    label->show();
  }
  const QSignalBlocker block(sFrequency_);
  const tPanelReadout r = ReadPanel(card_, state_, bank_, settings_, services_.Locale);
  sFrequency_->setRange(r.SliderMin, r.SliderMax);
  sFrequency_->setSingleStep(r.SliderStep);
  sFrequency_->setPageStep(r.SliderStep);
}

void tdMain::UpdateTuningControls() {
  // Nothing that moves the tuner takes input while a scan runs, so none of it looks as if it did.
  const bool idle = !state_.Scanning;
  const bool fm = readout_.Band == bFM;
  btTunePrev_->setEnabled(readout_.CanTunePrev && idle);
  btTuneNext_->setEnabled(readout_.CanTuneNext && idle);
  btScanPrev_->setEnabled(readout_.CanTunePrev && idle && fm);
  btScanNext_->setEnabled(readout_.CanTuneNext && idle && fm);
  btFM_->setEnabled(readout_.HasFM && idle);
  btAM_->setEnabled(readout_.HasAM && idle);
  sStep_->setEnabled(fm && idle);
  btStepUp_->setEnabled(fm && readout_.Step.Value < readout_.Step.Max && idle);
  btStepDown_->setEnabled(fm && readout_.Step.Value > readout_.Step.Min && idle);
  UpdateActionStates();
}

void tdMain::RefreshStepControls() {
  const QSignalBlocker block(sStep_);
  sStep_->setRange(readout_.Step.Min, readout_.Step.Max);
  sStep_->setValue(readout_.Step.Value);
  step_->setText(QString::number(readout_.Step.KHz));
}

void tdMain::Actions_TunePrev() {
  AfterTune(model_->TunePrev());
}

void tdMain::Actions_TuneNext() {
  AfterTune(model_->TuneNext());
}

void tdMain::Actions_StepDec() {
  if (model_->StepUp()) RefreshPanel();
}

void tdMain::Actions_StepInc() {
  if (model_->StepDown()) RefreshPanel();
}

void tdMain::sStepChange(int value) {
  model_->SetStepFromSlider(value);
  RefreshPanel();
}

void tdMain::sFrequencyChange(int value) {
  if (state_.Scanning) return;  // the scan moves the slider itself
  TuneTo(card_.Band(), sliding_ || sFrequency_->isSliderDown(), value * 0.001);
}

void tdMain::EndSliding() {
  sliding_ = false;
  ShowTuningStatus(model_->RefreshStatus());
}

void tdMain::btFMClick() {
  AfterTune(model_->SelectBand(bFM));
}

void tdMain::btAMClick() {
  AfterTune(model_->SelectBand(bAM));
}

void tdMain::Actions_Stereo() {
  if (!card_.GetDevCap(card_.Model()).StereoSwitch) return;
  model_->ToggleStereo();
  RefreshPanel();
}

void tdMain::Actions_ScanPrev() {
  Scan(tScanDirection::Down);
}

void tdMain::Actions_ScanNext() {
  Scan(tScanDirection::Up);
}

void tdMain::Actions_StopScan() {
  if (card_.Band() == bFM) state_.StopRequested = true;
}

void tdMain::Scan(tScanDirection direction) {
  if (card_.Band() != bFM) return;
  ScanStepper stepper(*model_, direction);
  if (!stepper.CanStart()) {
    UpdateTuningControls();
    return;
  }
  stepper.Begin();
  btScanPrev_->hide();
  btScanNext_->hide();
  btStopScan_->show();
  UpdateTuningControls();
  const QSignalBlocker block(sFrequency_);
  const QColor panel = PanelColor(settings_.ColorPanel);
  const QString name =
      QString("SCAN%1%2").arg(settings_.ColorText).arg(direction == tScanDirection::Up ? "R" : "L");
  icScan_->setPixmap(IndicatorPixmap(name, panel, devicePixelRatioF()));
  icScan_->show();
  state_.StatusHidden = true;
  tuned_->hide();
  for (;;) {
    // A close arriving here waits for the scan (closeEvent): it has stopped it.
    QApplication::processEvents(QEventLoop::AllEvents);
    if (OnScanStep) OnScanStep();
    const tScanStep step = stepper.Step();
    if (step == tScanStep::Stopped) break;
    RefreshPanel();
    if (step != tScanStep::Continue) break;
  }
  stepper.End();
  state_.StatusHidden = false;
  icScan_->hide();
  tuned_->show();
  btStopScan_->hide();
  btScanPrev_->show();
  btScanNext_->show();
  RefreshPanel();
  if (closeAfterScan_) {
    closeAfterScan_ = false;
    QTimer::singleShot(0, this, [this] { close(); });
  }
}

}  // namespace ondivo
