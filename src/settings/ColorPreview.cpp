#include "settings/ColorPreview.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "controls/Display.h"
#include "controls/Pictures.h"
#include "panel/PanelReadout.h"

namespace ondivo {

namespace {

constexpr const char* kIndicators[] = {"PROG", "ALARM", "RADIO", "SLEEP"};

void Paint(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(role, color);
  widget->setPalette(palette);
}

QLabel* PanelLabel(QWidget* parent, const QString& text, int pointDelta, bool bold) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setPointSizeF(font.pointSizeF() + pointDelta);
  font.setBold(bold);
  label->setFont(font);
  return label;
}

}  // namespace

TColorPreview::TColorPreview(QWidget* parent) : QFrame(parent) {
  setObjectName("ColorPreview");
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Sunken);
  setAutoFillBackground(true);

  labels_[0] = PanelLabel(this, "99", 0, true);
  labels_[1] = PanelLabel(this, "Station", 0, true);
  labels_[2] = PanelLabel(this, "11:22:33", 0, false);
  labels_[3] = PanelLabel(this, "FM", 1, true);
  labels_[4] = PanelLabel(this, "MHz", 0, false);
  reception_ = PanelLabel(this, "Stereo", 0, true);
  reception_->setObjectName("Tuned");

  auto* top = new QHBoxLayout;
  top->addWidget(labels_[0]);
  top->addSpacing(8);
  top->addWidget(labels_[1], 1);
  top->addWidget(labels_[2]);

  auto* digits = new QHBoxLayout;
  digits->setSpacing(1);
  const QString shown = "106600";
  for (size_t i = 0; i < digits_.size(); ++i) {
    auto* digit = new TDisplay(this);
    digit->setFixedSize(33, 47);
    digit->SetMargin(2);
    digit->SetDigit(shown[static_cast<qsizetype>(i)]);
    digits_[i] = digit;
    digits->addWidget(digit, 0, Qt::AlignBottom);
    if (i == 2) {
      point_ = new QWidget(this);
      point_->setObjectName("Point");
      point_->setFixedSize(5, 5);
      point_->setAutoFillBackground(true);
      digits->addWidget(point_, 0, Qt::AlignBottom);
    }
  }
  auto* band = new QVBoxLayout;
  band->addWidget(labels_[3]);
  band->addWidget(labels_[4]);
  band->addStretch(1);
  digits->addSpacing(6);
  digits->addLayout(band);
  digits->addStretch(1);

  auto* flags = new QHBoxLayout;
  flags->addWidget(reception_);
  flags->addStretch(1);
  for (size_t i = 0; i < indicators_.size(); ++i) {
    indicators_[i] = new QLabel(this);
    indicators_[i]->setObjectName(QString::fromLatin1(kIndicators[i]));
    flags->addWidget(indicators_[i]);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 6, 10, 6);
  layout->setSpacing(4);
  layout->addLayout(top);
  layout->addLayout(digits);
  layout->addLayout(flags);

  SetStyle(2);
  SetDigitColors(offIndex_, onIndex_, panelIndex_);
}

void TColorPreview::SetDigitColors(int offIndex, int onIndex, int panelIndex) {
  offIndex_ = offIndex;
  onIndex_ = onIndex;
  panelIndex_ = panelIndex;
  const QColor panel = PaletteQColor(panelIndex);
  for (TDisplay* digit : digits_) {
    digit->SetOffColor(PaletteQColor(offIndex));
    digit->SetOnColor(PaletteQColor(onIndex));
    digit->SetBackColor(panel);
    digit->SetPenOnColor(panel);
    digit->SetPenOffColor(panel);
  }
  Paint(point_, QPalette::Window, PaletteQColor(onIndex));
  Paint(this, QPalette::Window, panel);
  // The indicators' black surround takes the panel colour.
  ShowPhase(shownOn_);
}

void TColorPreview::SetStyle(int style) {
  const tDigitLook look = DigitLook(style);
  for (TDisplay* digit : digits_) {
    digit->SetDigitStyle(look.Style);
    digit->SetSegWidth(look.SegWidth);
  }
}

void TColorPreview::SetTextColor(int choice) {
  textChoice_ = choice;
  ApplyLabelColors();
}

void TColorPreview::SetFlagColor(int choice) {
  flagChoice_ = choice;
  ShowPhase(shownOn_);
}

void TColorPreview::ColorTimerTimer() {
  ShowPhase(blinkOn_);
  blinkOn_ = !blinkOn_;
}

void TColorPreview::ApplyLabelColors() {
  for (QLabel* label : labels_) Paint(label, QPalette::WindowText, ColorSetLit(textChoice_));
  Paint(reception_, QPalette::WindowText,
        shownOn_ ? ColorSetLit(textChoice_) : ColorSetUnlit(textChoice_));
}

void TColorPreview::ShowPhase(bool on) {
  shownOn_ = on;
  const qreal ratio = devicePixelRatioF();
  const QColor panel = PaletteQColor(panelIndex_);
  for (size_t i = 0; i < indicators_.size(); ++i) {
    const QString name = QStringLiteral("%1%2%3")
                             .arg(QLatin1String(kIndicators[i]))
                             .arg(flagChoice_)
                             .arg(on ? QStringLiteral("ON") : QStringLiteral("OFF"));
    QImage image = Picture(name, ratio);
    RepaintBlack(image, panel);
    indicators_[i]->setPixmap(QPixmap::fromImage(image));
  }
  ApplyLabelColors();
}

void TColorPreview::showEvent(QShowEvent* event) {
  // Only a shown widget knows its screen's pixel ratio: load the pictures at it.
  ShowPhase(shownOn_);
  QFrame::showEvent(event);
}

}  // namespace ondivo
