#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QWidget>

#include "controls/DisplayLayout.h"

namespace ondivo {

// One character drawn like a hardware read-out: a 7-segment digit, a 16-segment character or
// a 5 x 7 matrix of dots or bulbs. Unlit segments are drawn too, in the off colours, so an
// unlit read-out still shows its pattern faintly.
class TDisplay : public QWidget {
  Q_OBJECT

 public:
  explicit TDisplay(QWidget* parent = nullptr);

  QChar Digit() const { return digit_; }
  void SetDigit(QChar digit);
  QColor OnColor() const { return onColor_; }
  void SetOnColor(const QColor& color);
  QColor OffColor() const { return offColor_; }
  void SetOffColor(const QColor& color);
  QColor BackColor() const { return backColor_; }
  void SetBackColor(const QColor& color);
  QColor PenOnColor() const { return penOnColor_; }
  void SetPenOnColor(const QColor& color);
  QColor PenOffColor() const { return penOffColor_; }
  void SetPenOffColor(const QColor& color);
  int SegWidth() const { return segWidth_; }
  void SetSegWidth(int width);
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  TDigitStyle DigitStyle() const { return style_; }
  void SetDigitStyle(TDigitStyle style);

  QSize sizeHint() const override { return {120, 200}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void SetColor(QColor& field, const QColor& color);
  void InvalidateLayout();
  void Render();

  QChar digit_{char16_t{0}};
  QColor onColor_{255, 0, 0};
  QColor offColor_{128, 128, 128};
  QColor backColor_{0, 0, 0};
  QColor penOnColor_{0, 0, 0};
  QColor penOffColor_{0, 0, 0};
  int segWidth_ = 15;
  int margin_ = 10;
  TDigitStyle style_ = ds7Seg;

  DisplayLayout layout_;
  QSize layoutSize_;  // invalid until computed, and again after a geometry setter
  // The drawn character, kept until something it shows changes; a repaint with nothing
  // changed only copies it.
  QImage buffer_;
  bool bufferStale_ = true;
};

}  // namespace ondivo
