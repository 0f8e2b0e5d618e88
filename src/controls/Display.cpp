#include "controls/Display.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>

#include "controls/Glyphs.h"

namespace ondivo {

TDisplay::TDisplay(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(120, 200);
}

void TDisplay::SetDigit(QChar digit) {
  if (digit == digit_) return;
  digit_ = digit;
  bufferStale_ = true;
  update();
}

void TDisplay::SetColor(QColor& field, const QColor& color) {
  if (color == field) return;
  field = color;
  bufferStale_ = true;
  update();
}

void TDisplay::SetOnColor(const QColor& color) {
  SetColor(onColor_, color);
}
void TDisplay::SetOffColor(const QColor& color) {
  SetColor(offColor_, color);
}
void TDisplay::SetBackColor(const QColor& color) {
  SetColor(backColor_, color);
}
void TDisplay::SetPenOnColor(const QColor& color) {
  SetColor(penOnColor_, color);
}
void TDisplay::SetPenOffColor(const QColor& color) {
  SetColor(penOffColor_, color);
}

void TDisplay::SetSegWidth(int width) {
  if (width == segWidth_) return;
  segWidth_ = width;
  InvalidateLayout();
}

void TDisplay::SetMargin(int margin) {
  if (margin == margin_) return;
  margin_ = margin;
  InvalidateLayout();
}

void TDisplay::SetDigitStyle(TDigitStyle style) {
  if (style == style_) return;
  style_ = style;
  InvalidateLayout();
}

void TDisplay::InvalidateLayout() {
  layoutSize_ = QSize();
  bufferStale_ = true;
  update();
}

void TDisplay::Render() {
  const QSize inner(width() - 2, height() - 2);
  const qreal ratio = devicePixelRatioF();
  if (inner.isEmpty()) {
    buffer_ = QImage();
    return;
  }
  const QSize pixels = (QSizeF(inner) * ratio).toSize();
  if (buffer_.size() != pixels || buffer_.devicePixelRatio() != ratio) {
    buffer_ = QImage(pixels, QImage::Format_RGB32);
    buffer_.setDevicePixelRatio(ratio);
  }
  buffer_.fill(backColor_);

  QPainter painter(&buffer_);
  const int code = digit_.unicode();
  const int side = layout_.segWidth;
  const bool dots = style_ == ds5x7Dot || style_ == ds5x7Bulb;
  for (int k = 0; k < static_cast<int>(layout_.shapes.size()); ++k) {
    const SegmentShape& shape = layout_.shapes[k];
    const bool lit = SegmentLit(style_, code, k);
    painter.setPen(lit ? penOnColor_ : penOffColor_);
    painter.setBrush(lit ? onColor_ : offColor_);
    if (dots) {
      if (side <= 0) continue;
      // A stroked QRect covers one pixel more than its size: this square covers exactly
      // side x side pixels, so the gaps between dots keep their computed width.
      const QRect square(shape.points[0].x, shape.points[0].y, side - 1, side - 1);
      if (style_ == ds5x7Dot) {
        painter.drawRect(square);
      } else {
        painter.drawEllipse(square);
      }
    } else {
      QPolygon polygon(shape.count);
      for (int i = 0; i < shape.count; ++i)
        polygon.setPoint(i, shape.points[i].x, shape.points[i].y);
      painter.drawPolygon(polygon);
    }
  }
}

void TDisplay::paintEvent(QPaintEvent* event) {
  if (layoutSize_ != size()) {
    layout_ = ComputeDisplayLayout(style_, width(), height(), margin_, segWidth_);
    layoutSize_ = size();
    bufferStale_ = true;
  }
  if (bufferStale_ || buffer_.devicePixelRatio() != devicePixelRatioF()) {
    Render();
    bufferStale_ = false;
  }

  QPainter painter(this);
  // The one-pixel frame around the drawn character keeps the background colour.
  const QRect all = rect();
  if (buffer_.isNull()) {
    painter.fillRect(all, backColor_);
    return;
  }
  const QRect inner = all.adjusted(1, 1, -1, -1);
  if (!inner.contains(event->rect())) {
    const QRegion frame = QRegion(all).subtracted(QRegion(inner));
    for (const QRect& r : frame) painter.fillRect(r, backColor_);
  }
  painter.drawImage(QPoint(1, 1), buffer_);
}

}  // namespace ondivo
