// What the panel shows: digits, labels, lamps, colours, the display modes and the clock.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QToolButton>

#include "controls/Display.h"
#include "panel/PanelPictures.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"
#include "stations/FrequencyText.h"

namespace ondivo {

namespace {

void SetTextColor(QLabel* label, const QColor& color) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, color);
  label->setPalette(p);
}

// Where the groups sit in a display mode, at the designed size.
struct tModeLayout {
  QSize client;
  QPoint tuner, presets, volume, buttons;  // x < 0: hidden
  int volumeWidth;
};

tModeLayout ModeLayout(int mode) {
  constexpr QPoint none(-1, -1);
  switch (mode) {
    case 1:
      return {{306, 74}, none, none, none, none, 0};
    case 2:
      return {{623, 74}, {305, 2}, none, none, none, 0};
    case 3:
      return {{306, 121}, none, {3, 75}, none, none, 0};
    case 4:
      return {{306, 121}, none, none, {3, 75}, {124, 77}, 120};
    case 5:
      return {{306, 168}, none, {3, 75}, {3, 121}, {124, 123}, 120};
    default:
      return {{623, 121}, {305, 2}, {3, 75}, {305, 75}, {438, 77}, 130};
  }
}

void Place(QWidget* group, QPoint at) {
  const bool shown = at.x() >= 0;
  if (shown) group->move(at);
  group->setVisible(shown);
  group->setEnabled(shown);  // hidden groups are disabled too
}

}  // namespace

void tdMain::RefreshPanel() {
  readout_ = ReadPanel(card_, state_, bank_, settings_, services_.Locale);
  ApplyReadout();
}

void tdMain::ApplyReadout() {
  const tPanelReadout& r = readout_;
  ShowFrequencyDigits();
  amFm_->setText(QString::fromStdString(r.BandText));
  hz_->setText(QString::fromStdString(r.UnitText));
  stationNum_->setText(QString::fromStdString(r.StationNumber));
  station_->setText(QString::fromStdString(r.StationName));
  station_->setToolTip(r.StationHint.empty() ? QStringLiteral("Name of the radio station")
                                             : QString::fromStdString(r.StationHint));
  const QString label = QString::fromStdString(r.TrayHint);
  setWindowTitle(QString::fromStdString(r.Title));
  if (tray_) tray_->setToolTip(label);
  if (!state_.StatusHidden) ShowTuningStatus(state_.Status);
  {
    const QSignalBlocker block(sFrequency_);
    if (sFrequency_->minimum() != r.SliderMin || sFrequency_->maximum() != r.SliderMax) {
      sFrequency_->setRange(r.SliderMin, r.SliderMax);
    }
    sFrequency_->setValue(r.SliderValue);
    sFrequency_->setToolTip(QString::fromStdString(r.SliderHint));
  }
  {
    const QSignalBlocker blockFM(btFM_), blockAM(btAM_);
    btFM_->setChecked(r.Band == bFM);
    btAM_->setChecked(r.Band == bAM);
  }
  SetupVolumeSlider();
  btStr_->setEnabled(r.StereoAvailable);
  RefreshStepControls();
  ShowPresetPage();
  RefreshLamps();
  UpdateTuningControls();
}

void tdMain::ShowFrequencyDigits() {
  for (size_t i = 0; i < digits_.size(); ++i) {
    digits_[i]->SetDigit(QChar(readout_.Digits.Digits[i]));
  }
  point_->setVisible(readout_.Digits.Point);
}

void tdMain::ShowTuningStatus(tSignal status) {
  state_.Status = status;
  const tStatusFlag flag = StatusFlag(status, settings_.ColorText);
  tuned_->setText(QString::fromStdString(flag.Text));
  SetTextColor(tuned_, PanelColor(flag.PaletteIndex));
}

void tdMain::RefreshLamps() {
  ShowAlarmState();
  ShowSleepState();
  ShowProgState();
  const int generic = settings_.ColorGenericButton;
  btClr_->setIcon(Lamp(LampName("BT", generic, state_.ClearArmed)));
  btMem_->setIcon(Lamp(LampName("BT", generic, state_.MemoryArmed)));
  btStr_->setIcon(Lamp(LampName("BT", generic, state_.StereoSwitch)));
  btOff_->setIcon(Lamp(LampName("BT", generic, false)));
  ShowMuteState();
}

QIcon tdMain::Lamp(const QString& name) {
  auto it = lamps_.find(name);
  if (it == lamps_.end()) it = lamps_.insert(name, PictureIcon(name));
  return *it;
}

void tdMain::ApplyColours() {
  const QColor panel = PanelColor(settings_.ColorPanel);
  const tDigitLook look = DigitLook(settings_.Style);
  for (TDisplay* d : digits_) {
    d->SetOnColor(PanelColor(settings_.Foreground));
    d->SetOffColor(PanelColor(settings_.Background));
    d->SetBackColor(panel);
    d->SetPenOnColor(panel);
    d->SetPenOffColor(panel);
    d->SetDigitStyle(look.Style);
    d->SetSegWidth(look.SegWidth);
  }
  QPalette p = displayPanel_->palette();
  p.setColor(QPalette::Window, panel);
  displayPanel_->setPalette(p);
  SetTextColor(point_, PanelColor(settings_.Foreground));
  const QColor bright = PanelColor(BrightTextIndex(settings_.ColorText));
  for (QLabel* l : {stationNum_, station_, hhmmss_, amFm_, hz_}) SetTextColor(l, bright);
  ShowTuningStatus(state_.Status);
  state_.Muted = card_.Muted();
  RefreshLamps();
  ShowPresetPage();
}

void tdMain::SetDisplayMode(int mode) {
  settings_.DisplayType = mode;
  ApplyDisplayMode();
}

void tdMain::ApplyDisplayMode() {
  if (settings_.DisplayType < 0 || settings_.DisplayType > 5) settings_.DisplayType = 0;
  const tModeLayout m = ModeLayout(settings_.DisplayType);
  displayPanel_->move(3, 2);
  Place(tunerGroup_, m.tuner);
  Place(presetsGroup_, m.presets);
  Place(volumeGroup_, m.volume);
  Place(buttonRows_, m.buttons);
  if (m.volumeWidth > 0) volumeGroup_->resize(m.volumeWidth, volumeGroup_->height());
  UpdateVolumeControls();
  central_->setFixedSize(m.client);
  setFixedSize(m.client.width(), m.client.height() + menuBar()->sizeHint().height());
  UpdateActionStates();
}

void tdMain::Display_AlwaysOnTop() {
  settings_.AlwaysOnTop = !settings_.AlwaysOnTop;
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, settings_.AlwaysOnTop);
  if (visible) show();  // changing the flag hides the window
  UpdateActionStates();
}

}  // namespace ondivo
