#include "schedule/tdAlarm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "controls/ClockSpinBox.h"
#include "controls/DialogButtons.h"
#include "controls/Display.h"

namespace ondivo {

namespace {

const QColor kLime(0, 255, 0);
// Unlit segments a dark green: at full green they stood out nearly as much as the lit ones
// and 23:59 read as 88:88.
const QColor kGreen(0, 60, 0);
const QColor kPlate(0, 0, 0);

QSpinBox* TimeBox(QWidget* parent, const char* name, int maximum) {
  auto* box = new ClockSpinBox(parent);
  box->setObjectName(name);
  box->setRange(0, maximum);
  box->setAlignment(Qt::AlignRight);
  return box;
}

TDisplay* ClockDigit(QWidget* plate, const char* name) {
  auto* digit = new TDisplay(plate);
  digit->setObjectName(name);
  digit->setFixedSize(24, 40);
  digit->SetMargin(2);
  digit->SetSegWidth(4);
  digit->SetOnColor(kLime);
  digit->SetOffColor(kGreen);
  digit->SetBackColor(kPlate);
  digit->SetPenOnColor(kPlate);
  digit->SetPenOffColor(kPlate);
  return digit;
}

// The colon between hours and minutes: two small lime squares.
QWidget* ClockColon(QWidget* plate) {
  auto* colon = new QWidget(plate);
  colon->setObjectName("Colon");
  colon->setFixedWidth(8);
  auto* dots = new QVBoxLayout(colon);
  dots->setContentsMargins(0, 0, 0, 0);
  dots->setSpacing(0);
  dots->addStretch(3);
  for (int i = 0; i < 2; ++i) {
    auto* dot = new QWidget(colon);
    dot->setFixedSize(4, 4);
    dot->setAutoFillBackground(true);
    QPalette palette = dot->palette();
    palette.setColor(QPalette::Window, kLime);
    dot->setPalette(palette);
    dots->addWidget(dot, 0, Qt::AlignHCenter);
    dots->addStretch(i == 0 ? 4 : 3);
  }
  return colon;
}

}  // namespace

tdAlarm::tdAlarm(QWidget* parent, tAlarmValues values, HelpHook help)
    : QDialog(parent), values_(std::move(values)), help_(std::move(help)) {
  setWindowTitle("Alarm setting");
  setObjectName("tdAlarm");

  auto* group = new QGroupBox("Set alarm time", this);
  hour_ = TimeBox(group, "HH", tAlarmValues::kHourMax);
  minute_ = TimeBox(group, "MM", tAlarmValues::kMinuteBoxMax);
  auto* hourLabel = new QLabel("Hour", group);
  hourLabel->setBuddy(hour_);
  auto* minuteLabel = new QLabel("Minutes", group);
  minuteLabel->setBuddy(minute_);

  auto* plate = new QFrame(group);
  plate->setObjectName("Clock");
  plate->setAutoFillBackground(true);
  QPalette black = plate->palette();
  black.setColor(QPalette::Window, kPlate);
  plate->setPalette(black);
  auto* row = new QHBoxLayout(plate);
  row->setContentsMargins(4, 4, 4, 4);
  row->setSpacing(1);
  const char* names[] = {"H1", "H2", "M1", "M2"};
  for (size_t i = 0; i < digits_.size(); ++i) {
    digits_[i] = ClockDigit(plate, names[i]);
    row->addWidget(digits_[i]);
    if (i == 1) row->addWidget(ClockColon(plate));
  }

  auto* time = new QGridLayout(group);
  time->addWidget(hourLabel, 0, 0);
  time->addWidget(hour_, 1, 0);
  time->addWidget(minuteLabel, 0, 1);
  time->addWidget(minute_, 1, 1);
  time->addWidget(plate, 0, 2, 2, 1, Qt::AlignCenter);
  time->setColumnStretch(2, 1);
  time->setHorizontalSpacing(10);

  auto* jumpLabel = new QLabel("Jump to", this);
  favorites_ = new QComboBox(this);
  favorites_->setObjectName("Favorites");
  favorites_->setMinimumContentsLength(24);
  jumpLabel->setBuddy(favorites_);
  for (const tAlarmEntry& entry : values_.Entries()) {
    favorites_->addItem(QString::fromStdString(entry.Text));
  }
  auto* station = new QHBoxLayout;
  station->addWidget(jumpLabel);
  station->addWidget(favorites_, 1);

  const tDialogButtons buttons = AddDialogButtons(*this, help_, "The_Alarm_function");
  ok_ = buttons.Ok;

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(station);
  layout->addWidget(buttons.Box);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  ShowValues();
  connect(hour_, &QSpinBox::valueChanged, this, &tdAlarm::HHChange);
  connect(minute_, &QSpinBox::valueChanged, this, &tdAlarm::MMChange);
  connect(favorites_, &QComboBox::currentIndexChanged, this, &tdAlarm::FavoritesChange);
  hour_->setFocus();
}

std::optional<tAlarmSetting> tdAlarm::Run(QWidget* parent, const tAlarmSetting& alarm,
                                          const PresetsBank& bank, const TRadioCard& card,
                                          int currentPreset, HelpHook help) {
  tdAlarm dialog(parent, tAlarmValues(alarm, bank, card, currentPreset), std::move(help));
  if (dialog.exec() != QDialog::Accepted || !dialog.values_.OkEnabled()) return std::nullopt;
  return dialog.values_.Result();
}

void tdAlarm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the screen, not on the panel, which hides while the dialog is open.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void tdAlarm::HHChange(int hour) {
  values_.SetHour(hour);
  ShowValues();
}

void tdAlarm::MMChange(int minute) {
  values_.SetMinute(minute);
  ShowValues();
}

void tdAlarm::FavoritesChange(int index) {
  values_.Select(index >= 0 ? std::optional<int>(index) : std::nullopt);
  ShowValues();
}

void tdAlarm::ShowValues() {
  {
    // Only what differs is set, so a box being typed into keeps its cursor.
    const QSignalBlocker blockHour(hour_), blockMinute(minute_), blockList(favorites_);
    if (hour_->value() != values_.Hour()) hour_->setValue(values_.Hour());
    if (minute_->value() != values_.Minute()) minute_->setValue(values_.Minute());
    favorites_->setCurrentIndex(values_.Selected().value_or(-1));
  }
  const std::string shown = values_.Digits();
  for (size_t i = 0; i < digits_.size(); ++i) digits_[i]->SetDigit(QChar::fromLatin1(shown[i]));
  ok_->setEnabled(values_.OkEnabled());
}

}  // namespace ondivo
