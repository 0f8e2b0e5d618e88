#include "stations/TunerSection.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "controls/Display.h"
#include "panel/PanelReadout.h"
#include "stations/StationTuning.h"

namespace ondivo {

namespace {

const QColor kAqua(0, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);
// 5 x 7 dots of 3 pixels with 1 pixel between them, and a pixel of margin.
constexpr int kDigitWidth = 21, kDigitHeight = 31, kDigitGap = 2, kPointWidth = 8;

QToolButton* Button(QWidget* parent, const char* name, const QString& text, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(text);
  b->setToolTip(hint);
  b->setAutoRaise(false);
  return b;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

void SetTextColor(QLabel* label, const QColor& color) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, color);
  label->setPalette(p);
}

}  // namespace

TunerSection::TunerSection(QWidget* parent, Options options, LocaleFormat locale)
    : QWidget(parent), options_(options), locale_(locale) {
  setObjectName("StationData");
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);

  auto* top = new QHBoxLayout;
  auto* readout = new QWidget(this);
  BuildReadout(readout);
  top->addWidget(readout);
  outOfRange_ = Label(this, "LOut", "OUT OF RANGE");
  outOfRange_->setAutoFillBackground(true);
  QPalette warn = outOfRange_->palette();
  warn.setColor(QPalette::Window, kRed);
  warn.setColor(QPalette::WindowText, kWhite);
  outOfRange_->setPalette(warn);
  QFont bold = outOfRange_->font();
  bold.setBold(true);
  outOfRange_->setFont(bold);
  outOfRange_->setContentsMargins(4, 1, 4, 1);
  outOfRange_->hide();
  top->addWidget(outOfRange_, 0, Qt::AlignVCenter);
  top->addStretch(1);
  fm_ = Button(this, "btFM", "fm", "FM band");
  am_ = Button(this, "btAM", "am", "AM band");
  for (QToolButton* b : {fm_, am_}) {
    b->setCheckable(true);
    b->setMinimumWidth(30);
    top->addWidget(b, 0, Qt::AlignVCenter);
  }
  column->addLayout(top);

  slider_ = new QSlider(Qt::Horizontal, this);
  slider_->setObjectName("Frequency");
  slider_->setMinimumWidth(300);
  column->addWidget(slider_);
  scaleRow_ = new QWidget(this);
  QFont small = font();
  small.setPointSizeF(small.pointSizeF() * 0.8);
  for (auto& label : scale_) {
    label = new QLabel(scaleRow_);
    label->setFont(small);
    label->setAlignment(Qt::AlignCenter);
  }
  scaleRow_->setFixedHeight(QFontMetrics(small).height());
  column->addWidget(scaleRow_);

  auto* controls = new QHBoxLayout;
  tunePrev_ = Button(this, "btTunePrev", "Tune previous", "Tune previous");
  tunePrev_->setArrowType(Qt::LeftArrow);
  tuneNext_ = Button(this, "btTuneNext", "Tune next", "Tune next");
  tuneNext_->setArrowType(Qt::RightArrow);
  for (QToolButton* b : {tunePrev_, tuneNext_}) {
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    controls->addWidget(b);
  }
  controls->addSpacing(8);

  stepBox_ = new QWidget(this);
  auto* stepRow = new QHBoxLayout(stepBox_);
  stepRow->setContentsMargins(0, 0, 0, 0);
  auto* spin = new QVBoxLayout;
  spin->setSpacing(0);
  auto* stepUp = Button(stepBox_, "btSpinStepTop", {}, "Step +");
  stepUp->setArrowType(Qt::UpArrow);
  auto* stepDown = Button(stepBox_, "btSpinStepBottom", {}, "Step -");
  stepDown->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {stepUp, stepDown}) {
    b->setFixedSize(16, 11);
    spin->addWidget(b);
  }
  stepRow->addLayout(spin);
  stepSlider_ = new QSlider(Qt::Horizontal, stepBox_);
  stepSlider_->setObjectName("StepSlider");
  stepSlider_->setToolTip("Tuning step");
  stepSlider_->setFixedWidth(80);
  stepRow->addWidget(stepSlider_);
  step_ = Label(stepBox_, "Step", "0");
  step_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  step_->setMinimumWidth(step_->fontMetrics().horizontalAdvance("1000"));
  stepRow->addWidget(step_);
  stepRow->addWidget(Label(stepBox_, "LStep", "kHz"));
  controls->addWidget(stepBox_);
  controls->addStretch(1);

  scanLabel_ = Label(this, "LScan", "Scan");
  scanPrev_ = Button(this, "btScanPrev", "Scan previous", "Scan previous");
  scanNext_ = Button(this, "btScanNext", "Scan next", "Scan next");
  stopScan_ = Button(this, "btStopScan", "Halt scanning", "Halt scanning");
  controls->addWidget(scanLabel_);
  controls->addWidget(scanPrev_);
  controls->addWidget(scanNext_);
  controls->addWidget(stopScan_);
  stopScan_->hide();
  if (!options_.Scan) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{scanLabel_, scanPrev_, scanNext_, tuned_, scanning_}) {
      w->hide();
    }
  }
  column->addLayout(controls);

  connect(fm_, &QToolButton::clicked, this, [this] { emit BandClicked(bFM); });
  connect(am_, &QToolButton::clicked, this, [this] { emit BandClicked(bAM); });
  connect(slider_, &QSlider::valueChanged, this,
          [this](int value) { emit FrequencyMoved(value, slider_->isSliderDown()); });
  connect(slider_, &QSlider::sliderReleased, this, &TunerSection::SliderReleased);
  connect(tunePrev_, &QToolButton::clicked, this, &TunerSection::TunePrevClicked);
  connect(tuneNext_, &QToolButton::clicked, this, &TunerSection::TuneNextClicked);
  connect(stepUp, &QToolButton::clicked, this, &TunerSection::StepUpClicked);
  connect(stepDown, &QToolButton::clicked, this, &TunerSection::StepDownClicked);
  connect(stepSlider_, &QSlider::valueChanged, this, &TunerSection::StepSliderMoved);
  connect(scanPrev_, &QToolButton::clicked, this, &TunerSection::ScanPrevClicked);
  connect(scanNext_, &QToolButton::clicked, this, &TunerSection::ScanNextClicked);
  connect(stopScan_, &QToolButton::clicked, this, &TunerSection::StopScanClicked);
  SetBand(bFM);
}

// The read-out: black, six aqua dot-matrix digits with the point after the third, band and
// unit, and in the organizer the tuned and scan marks.
void TunerSection::BuildReadout(QWidget* readout) {
  readout->setObjectName("Readout");
  readout->setAutoFillBackground(true);
  QPalette black = readout->palette();
  black.setColor(QPalette::Window, Qt::black);
  black.setColor(QPalette::WindowText, kAqua);
  readout->setPalette(black);
  int x = 6;
  for (size_t i = 0; i < digits_.size(); ++i) {
    auto* d = new TDisplay(readout);
    d->setObjectName(QString("Dig%1").arg(i + 1));
    d->SetDigitStyle(ds5x7Dot);
    d->SetSegWidth(3);
    d->SetMargin(1);
    // Dots this small are all outline: the outline takes the fill's colour.
    d->SetOnColor(kAqua);
    d->SetPenOnColor(kAqua);
    d->SetOffColor(Qt::black);
    d->SetBackColor(Qt::black);
    d->setGeometry(x, 5, kDigitWidth, kDigitHeight);
    digits_[i] = d;
    x += kDigitWidth + kDigitGap;
    if (i == 2) {
      point_ = Label(readout, "Point", QString(QChar(0x25CF)));
      QFont f = point_->font();
      f.setPointSizeF(5);
      point_->setFont(f);
      point_->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
      point_->setGeometry(x - 1, 5, kPointWidth, kDigitHeight);
      x += kPointWidth;
    }
  }
  QFont bold = readout->font();
  bold.setBold(true);
  amFm_ = Label(readout, "AM_FM", "FM");
  hz_ = Label(readout, "HZ", "MHz");
  tuned_ = Label(readout, "Tuned", "?");
  scanning_ = Label(readout, "Scanning", {});
  const int textWidth = QFontMetrics(bold).horizontalAdvance("MHz") + 4;
  for (QLabel* l : {amFm_, hz_, tuned_, scanning_}) l->setFont(bold);
  amFm_->setGeometry(x + 4, 3, textWidth, kDigitHeight / 2 + 1);
  hz_->setGeometry(x + 4, 3 + kDigitHeight / 2, textWidth, kDigitHeight / 2 + 1);
  x += textWidth + 6;
  const int markWidth = QFontMetrics(bold).horizontalAdvance("M") + 6;
  tuned_->setGeometry(x, 3, markWidth, kDigitHeight / 2 + 1);
  scanning_->setGeometry(x, 3 + kDigitHeight / 2, markWidth, kDigitHeight / 2 + 1);
  for (QLabel* l : {tuned_, scanning_}) l->setAlignment(Qt::AlignCenter);
  if (options_.Scan) x += markWidth + 2;
  readout->setFixedSize(x + 2, kDigitHeight + 10);
}

void TunerSection::SetBand(tBand band) {
  band_ = band;
  const bool fm = band == bFM;
  {
    const QSignalBlocker blockFM(fm_), blockAM(am_);
    fm_->setChecked(fm);
    am_->setChecked(!fm);
  }
  amFm_->setText(fm ? "FM" : "AM");
  hz_->setText(fm ? "MHz" : "kHz");
  stepBox_->setVisible(fm);
  stepBox_->setEnabled(fm);
  if (options_.Scan) {
    for (QWidget* w : std::initializer_list<QWidget*>{scanLabel_, scanPrev_, scanNext_, tuned_}) {
      w->setVisible(fm);
      w->setEnabled(fm);
    }
  }
  const tBandScale scale = DialogBandScale(band);
  {
    const QSignalBlocker block(slider_);
    slider_->setRange(scale.Min, scale.Max);
    slider_->setSingleStep(scale.Step);
    slider_->setPageStep(scale.Step);
  }
  scaleCount_ = static_cast<int>(scale.Labels.size());
  for (size_t i = 0; i < scale_.size(); ++i) {
    scale_[i]->setVisible(static_cast<int>(i) < scaleCount_);
    if (static_cast<int>(i) < scaleCount_) {
      scale_[i]->setText(QString::fromStdString(scale.Labels[i]));
    }
  }
  PlaceScale();
}

void TunerSection::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceScale();
}

// Each label centred under its point of the groove.
void TunerSection::PlaceScale() {
  if (scaleCount_ < 2) return;
  const int handle = 12;  // about half a handle stays off either end of the groove
  const int left = slider_->x() + handle / 2;
  const int width = slider_->width() - handle;
  for (int i = 0; i < scaleCount_; ++i) {
    QLabel* label = scale_[static_cast<size_t>(i)];
    const int labelWidth = label->fontMetrics().horizontalAdvance(label->text()) + 2;
    const int centre = left + i * width / (scaleCount_ - 1);
    // The end labels stay inside the row rather than lose their last digit.
    const int x = std::clamp(centre - labelWidth / 2, 0, scaleRow_->width() - labelWidth);
    label->setGeometry(x, 0, labelWidth, scaleRow_->height());
  }
}

void TunerSection::ShowFrequency(double mhz, bool outOfRange) {
  const tBandScale scale = DialogBandScale(band_);
  {
    const QSignalBlocker block(slider_);
    slider_->setValue(static_cast<int>(std::lround(mhz * 1000)));
  }
  slider_->setToolTip(QString::fromStdString(SliderHint(band_, mhz, locale_)));
  const tFrequencyDigits shown = FrequencyDigits(mhz, scale.Low, scale.High, locale_);
  const QColor lit = outOfRange ? kRed : kAqua;
  for (size_t i = 0; i < digits_.size(); ++i) {
    digits_[i]->SetDigit(QChar::fromLatin1(shown.Digits[i]));
    digits_[i]->SetOnColor(lit);
    digits_[i]->SetPenOnColor(lit);
  }
  point_->setVisible(shown.Point);
  SetTextColor(point_, lit);
  outOfRange_->setVisible(outOfRange && options_.OutOfRangeLabel);
  const tTuneButtons buttons = TuneButtons(band_, mhz);
  tunePrev_->setEnabled(buttons.Previous);
  tuneNext_->setEnabled(buttons.Next);
  if (options_.Scan && band_ == bFM) {
    scanPrev_->setEnabled(buttons.Previous);
    scanNext_->setEnabled(buttons.Next);
  }
}

void TunerSection::ShowStep(int min, int max, int value, int kHz) {
  const QSignalBlocker block(stepSlider_);
  stepSlider_->setRange(min, max);
  stepSlider_->setValue(value);
  step_->setText(QString::number(kHz));
}

void TunerSection::ShowTuned(char mark, bool bright) {
  tuned_->setText(QString(QChar::fromLatin1(mark)));
  SetTextColor(tuned_, bright ? kWhite : kGrey);
}

void TunerSection::ShowScanning(char direction) {
  const bool on = direction != 0;
  scanning_->setText(on ? QString(QChar::fromLatin1(direction)) : QString());
  scanning_->setVisible(on);
  scanPrev_->setVisible(!on);
  scanNext_->setVisible(!on);
  if (on) {
    scanPrev_->setEnabled(false);
    scanNext_->setEnabled(false);
  }
  stopScan_->setVisible(on);
}

}  // namespace ondivo
