#include "settings/tdJumpTo.h"

#include <cmath>

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "controls/DialogButtons.h"

namespace ondivo {

tdJumpTo::tdJumpTo(QWidget* parent, tJumpToValues values, HelpHook help, char decimalSeparator)
    : QDialog(parent),
      values_(std::move(values)),
      help_(std::move(help)),
      separator_(QChar::fromLatin1(decimalSeparator)) {
  setWindowTitle("Jump to");
  setObjectName("tdJumpTo");

  auto* group = new QGroupBox("Set frequency", this);
  auto* label = new QLabel("Frequency", group);
  freq_ = new QLineEdit(group);
  freq_->setObjectName("Freq");
  freq_->setAlignment(Qt::AlignRight);
  // Digits with at most three decimals; either separator is taken.
  freq_->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9]*([.,][0-9]{0,3})?")), freq_));
  freq_->setMinimumWidth(freq_->fontMetrics().horizontalAdvance(QStringLiteral("0000.0000")));
  label->setBuddy(freq_);
  unit_ = new QLabel(group);
  unit_->setObjectName("LFreq");
  unit_->setMinimumWidth(unit_->fontMetrics().horizontalAdvance(QStringLiteral("MHz_")));

  fm_ = new QPushButton("fm", group);
  fm_->setObjectName("btFM");
  am_ = new QPushButton("am", group);
  am_->setObjectName("btAM");
  auto* bands = new QButtonGroup(this);
  for (QPushButton* b : {fm_, am_}) {
    b->setCheckable(true);
    b->setAutoDefault(false);
    bands->addButton(b);
  }
  fm_->setEnabled(values_.HasBand(bFM));
  am_->setEnabled(values_.HasBand(bAM));

  slider_ = new QSlider(Qt::Horizontal, group);
  slider_->setObjectName("sFreq");
  slider_->setMinimumWidth(240);

  auto* grid = new QGridLayout(group);
  grid->addWidget(label, 0, 0);
  grid->addWidget(freq_, 0, 1);
  grid->addWidget(unit_, 0, 2);
  auto* bandRow = new QHBoxLayout;
  bandRow->addWidget(fm_);
  bandRow->addWidget(am_);
  bandRow->addStretch(1);
  grid->addLayout(bandRow, 0, 3);
  grid->addWidget(slider_, 1, 0, 1, 4);
  grid->setColumnStretch(3, 1);

  const tDialogButtons buttons =
      AddDialogButtons(*this, help_, "Tuning_radio_frequency", QStringLiteral("Ok"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons.Box);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(fm_, &QPushButton::toggled, this, [this](bool down) {
    if (down) SetUpBand(bFM);
  });
  connect(am_, &QPushButton::toggled, this, [this](bool down) {
    if (down) SetUpBand(bAM);
  });
  connect(freq_, &QLineEdit::textChanged, this, &tdJumpTo::FreqChange);
  connect(slider_, &QSlider::valueChanged, this, &tdJumpTo::sFreqChange);

  {
    const QSignalBlocker blockFM(fm_), blockAM(am_);
    (values_.Band() == bFM ? fm_ : am_)->setChecked(true);
  }
  SetUpBand(values_.Band());
  freq_->setFocus();
}

std::optional<tdJumpTo::Result> tdJumpTo::Run(QWidget* parent, tJumpToValues values, HelpHook help,
                                              char decimalSeparator) {
  tdJumpTo dialog(parent, std::move(values), std::move(help), decimalSeparator);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}

tdJumpTo::Result tdJumpTo::Chosen() const {
  const std::optional<double> typed = Parse(freq_->text());
  return {values_.Band(), typed ? values_.Snap(*typed) : values_.Value()};
}

void tdJumpTo::SetUpBand(tBand band) {
  if (!values_.SetBand(band)) return;
  const bool fm = band == bFM;
  const tJumpSlider range = values_.Slider();
  const QSignalBlocker blockFreq(freq_), blockSlider(slider_);
  unit_->setText(fm ? "MHz" : "kHz");
  freq_->setMaxLength(fm ? 7 : 5);
  freq_->setText(Format(values_.Value()));
  slider_->setRange(range.Min, range.Max);
  slider_->setSingleStep(range.Step);
  slider_->setPageStep(range.Step * 10);
  slider_->setValue(values_.SliderPosition());
}

void tdJumpTo::FreqChange(const QString& text) {
  const std::optional<double> typed = Parse(text);
  if (!typed) return;
  values_.Type(*typed);
  const QSignalBlocker blocker(slider_);
  slider_->setValue(values_.SliderPosition());
}

void tdJumpTo::sFreqChange(int kHz) {
  values_.Slide(kHz);
  const QSignalBlocker blocker(freq_);
  freq_->setText(Format(values_.Value()));
}

std::optional<double> tdJumpTo::Parse(const QString& text) const {
  QString plain = text.trimmed();
  plain.replace(separator_, '.').replace(',', '.');
  bool ok = false;
  const double value = plain.toDouble(&ok);
  if (!ok) return std::nullopt;
  // AM is shown in kHz beside its "kHz" label; a value typed in MHz (under 2) is taken as such.
  if (values_.Band() == bAM && value >= 2) return value / 1000;
  return value;
}

QString tdJumpTo::Format(double mhz) const {
  if (values_.Band() == bAM) return QString::number(std::lround(mhz * 1000));
  return QString::number(mhz, 'f', 3).replace('.', separator_);
}

}  // namespace ondivo
