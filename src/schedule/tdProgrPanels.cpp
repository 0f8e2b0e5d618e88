#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>

#include "radio/RadioCard.h"
#include "schedule/ScriptLists.h"
#include "schedule/tdProgr.h"
#include "stations/FrequencyText.h"
#include "stations/PresetsBank.h"

namespace ondivo {

namespace {

constexpr double kFMLow = 76.0, kFMHigh = 108.0;
constexpr double kAMLow = 0.531, kAMHigh = 1.62, kAMStep = 0.009;

void SetQuietly(QSpinBox* box, int value) {
  const QSignalBlocker blocker(box);
  box->setValue(value);
}

}  // namespace

void tdProgr::ScriptClick(int row) {
  // A test or preview belongs to the action it was started for.
  if (row != previewItem_) StopPreview();
  auto* kinds = static_cast<QStackedWidget*>(gVolume_->parentWidget());
  if (row < 0) {
    kinds->setCurrentIndex(0);
    return;
  }
  ShowAction();
}

void tdProgr::ShowAction() {
  const int row = Selected();
  if (row < 0) return;
  const zAction& action = editing_.Program()[static_cast<size_t>(row)];
  QWidget* panel = nullptr;
  switch (action.Kind) {
    case akBeep: {
      const auto& beep = static_cast<const zBeep&>(action);
      SetQuietly(times_, beep.Times);
      SetQuietly(bFreq_, beep.Frequency);
      SetQuietly(mSecs_, beep.Duration);
      panel = gBeep_;
      break;
    }
    case akVolume:
      volume_->setValue(static_cast<const zVolume&>(action).Volume);
      perc_->setText(QString::number(volume_->value() * 5) + "%");
      panel = gVolume_;
      break;
    case akJumpTo: {
      const auto& jump = static_cast<const zJumpTo&>(action);
      SetPanelBand(jump.Band, false);
      freq_->setValue(jump.Frequency);
      freqStereo_->setChecked(jump.Band == bFM && jump.Stereo);
      panel = gFreq_;
      break;
    }
    case akPreset: {
      const auto& preset = static_cast<const zPreset&>(action);
      presets_->setCurrentIndex(PresetEntry(preset.Preset));
      PresetsClick(presets_->currentIndex());
      panel = gPreset_;
      break;
    }
    default:
      break;
  }
  auto* kinds = static_cast<QStackedWidget*>(gVolume_->parentWidget());
  for (QWidget* p : {gVolume_, gFreq_, gPreset_, gBeep_}) p->setEnabled(p == panel);
  if (panel) {
    kinds->setCurrentWidget(panel);
  } else {
    kinds->setCurrentIndex(0);
  }
  {
    // The boxes still hold the range of the action shown before: open them first, or the
    // time is cut to it.
    const QSignalBlocker hh(timeHH_), mm(timeMM_);
    timeHH_->setRange(0, 23);
    timeMM_->setRange(0, 59);
  }
  SetQuietly(timeHH_, action.Hour());
  SetQuietly(timeMM_, action.Minute());
  ShowRange();
}

void tdProgr::ShowRange() {
  const int row = Selected();
  range_ = row < 0 ? tTimeRange{} : editing_.RangeOf(static_cast<size_t>(row));
  const int hour = timeHH_->value(), minute = timeMM_->value();
  {
    const QSignalBlocker hh(timeHH_), mm(timeMM_);
    timeHH_->setRange(range_.Begin / 60, range_.End / 60);
    timeMM_->setRange(0, 59);
  }
  const int pulled = range_.Pull(hour, minute);
  SetQuietly(timeHH_, pulled / 60);
  SetQuietly(timeMM_, pulled % 60);
  TimeChange();
  bTime_->setText(QString::fromStdString(MinuteText(range_.Begin)));
  eTime_->setText(QString::fromStdString(MinuteText(range_.End)));
}

void tdProgr::TimeChange() {
  const int pulled = range_.Pull(timeHH_->value(), timeMM_->value());
  SetQuietly(timeHH_, pulled / 60);
  // The minutes are limited to the range only within its first or last hour.
  const int hour = pulled / 60;
  const int low = hour == range_.Begin / 60 ? range_.Begin % 60 : 0;
  const int high = hour == range_.End / 60 ? range_.End % 60 : 59;
  {
    const QSignalBlocker blocker(timeMM_);
    timeMM_->setRange(low, high);
  }
  SetQuietly(timeMM_, pulled % 60);
}

void tdProgr::SaveClick() {
  const int row = Selected();
  if (row < 0) return;
  zAction& action = editing_.Program()[static_cast<size_t>(row)];
  const int minute = range_.Pull(timeHH_->value(), timeMM_->value());
  action.Time = TimeOfDay(minute / 60, minute % 60);
  switch (action.Kind) {
    case akBeep: {
      auto& beep = static_cast<zBeep&>(action);
      beep.Times = static_cast<uint8_t>(times_->value());
      beep.Frequency = bFreq_->value();
      beep.Duration = mSecs_->value();
      break;
    }
    case akVolume:
      static_cast<zVolume&>(action).Volume = static_cast<uint8_t>(volume_->value());
      break;
    case akJumpTo: {
      auto& jump = static_cast<zJumpTo&>(action);
      const double step = context_.Card.GetDevCap(context_.Card.Model()).FMStep;
      jump.Band = panelBand_;
      jump.Frequency =
          panelBand_ == bAM
              ? TRadioCard::SnapFrequency(freq_->value(), kAMStep, kAMLow, kAMHigh)
              : TRadioCard::SnapFrequency(freq_->value(), step > 0 ? step : 0.05, kFMLow, kFMHigh);
      jump.Stereo = freqStereo_->isChecked();
      break;
    }
    case akPreset: {
      auto& preset = static_cast<zPreset&>(action);
      const int n = ParsePresetNumber(presets_->currentText().left(2).toStdString());
      if (n > 0) preset.Preset = static_cast<uint8_t>(n);
      preset.Stereo = presetStereo_->isChecked();
      break;
    }
    default:
      break;
  }
  RefreshProgram(static_cast<size_t>(row));
}

void tdProgr::SetPanelBand(tBand band, bool lowerLimit) {
  panelBand_ = band;
  const bool fm = band == bFM;
  btFM_->setChecked(fm);
  btAM_->setChecked(!fm);
  freq_->setRange(fm ? kFMLow : kAMLow, fm ? kFMHigh : kAMHigh);
  if (lowerLimit) freq_->setValue(freq_->minimum());
  freqStereo_->setEnabled(fm);
  if (!fm) freqStereo_->setChecked(false);
  const tDevCap cap = context_.Card.GetDevCap(context_.Card.Model());
  btPrFreq_->setEnabled(fm ? cap.HasFM : cap.HasAM);
}

int tdProgr::PresetEntry(int preset) const {
  return presets_->findData(preset);
}

void tdProgr::PresetsClick(int index) {
  const int n = index < 0 ? 0 : presets_->itemData(index).toInt();
  const bool fm = n > 0 && context_.Bank.Preset(n).Band == bFM;
  bool stereo = false;
  const int row = Selected();
  if (row >= 0 && editing_.Program()[static_cast<size_t>(row)].Kind == akPreset) {
    stereo = static_cast<const zPreset&>(editing_.Program()[static_cast<size_t>(row)]).Stereo;
  }
  presetStereo_->setEnabled(fm);
  presetStereo_->setChecked(fm && stereo);
}

}  // namespace ondivo
