#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPixmap>

#include <climits>
#include <functional>

#include "controls/Display.h"
#include "controls/DisplayLayout.h"
#include "controls/Font5x7.h"
#include "controls/Glyphs.h"

namespace ondivo {
namespace {

const QColor kOn(255, 0, 0);
const QColor kOff(0, 0, 255);
const QColor kBack(0, 64, 0);
const QColor kPenOn(255, 255, 0);
const QColor kPenOff(0, 255, 255);

void UseTestColours(TDisplay& d) {
  d.SetOnColor(kOn);
  d.SetOffColor(kOff);
  d.SetBackColor(kBack);
  d.SetPenOnColor(kPenOn);
  d.SetPenOffColor(kPenOff);
}

QImage Shot(TDisplay& d) {
  return d.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor At(const QImage& image, int x, int y) {
  return QColor(image.pixel(x, y));
}

// A pixel well inside shape k, in control coordinates: the drawing is copied at (1, 1).
QPoint Probe(const DisplayLayout& layout, int k) {
  const SegmentShape& shape = layout.shapes[k];
  if (shape.count == 1) {
    const int half = layout.segWidth / 2;
    return {shape.points[0].x + half + 1, shape.points[0].y + half + 1};
  }
  int x = 0, y = 0;
  for (int i = 0; i < shape.count; ++i) {
    x += shape.points[i].x;
    y += shape.points[i].y;
  }
  return {x / shape.count + 1, y / shape.count + 1};
}

// Every segment or dot of every character shows the fill of its state at the probe.
void ExpectEveryCharacter(TDigitStyle style, int w, int h, int margin, int seg) {
  TDisplay d;
  d.resize(w, h);
  d.SetMargin(margin);
  d.SetSegWidth(seg);
  d.SetDigitStyle(style);
  UseTestColours(d);
  const DisplayLayout layout = ComputeDisplayLayout(style, w, h, margin, seg);
  for (int code = 0; code < 128; ++code) {
    d.SetDigit(QChar(code));
    const QImage image = Shot(d);
    for (int k = 0; k < SegmentCount(style); ++k) {
      const QPoint p = Probe(layout, k);
      const QColor expected = SegmentLit(style, code, k) ? kOn : kOff;
      ASSERT_EQ(At(image, p.x(), p.y()), expected)
          << "style " << int(style) << " code " << code << " segment " << k;
    }
  }
}

TEST(TDisplayTest, CreationValues) {
  TDisplay d;
  EXPECT_EQ(d.size(), QSize(120, 200));
  EXPECT_EQ(d.Digit(), QChar(0));
  EXPECT_EQ(d.OnColor(), QColor(255, 0, 0));
  EXPECT_EQ(d.OffColor(), QColor(128, 128, 128));
  EXPECT_EQ(d.BackColor(), QColor(0, 0, 0));
  EXPECT_EQ(d.PenOnColor(), QColor(0, 0, 0));
  EXPECT_EQ(d.PenOffColor(), QColor(0, 0, 0));
  EXPECT_EQ(d.SegWidth(), 15);
  EXPECT_EQ(d.Margin(), 10);
  EXPECT_EQ(d.DigitStyle(), ds7Seg);
  EXPECT_TRUE(d.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST(TDisplayTest, EverySegmentOfEveryCharacterInTheCreationSize) {
  for (TDigitStyle style : {ds7Seg, ds16Seg, ds5x7Dot, ds5x7Bulb}) {
    ExpectEveryCharacter(style, 120, 200, 10, 15);
  }
}

TEST(TDisplayTest, EverySegmentOfEveryCharacterAtThePanelDigitSize) {
  ExpectEveryCharacter(ds5x7Dot, 33, 47, 2, 5);
  ExpectEveryCharacter(ds5x7Bulb, 33, 47, 2, 6);
  ExpectEveryCharacter(ds7Seg, 33, 47, 2, 4);
}

TEST(TDisplayTest, SpaceHyphenAndFullStop) {
  TDisplay d;
  UseTestColours(d);
  const DisplayLayout seven = ComputeDisplayLayout(ds7Seg, 120, 200, 10, 15);
  d.SetDigit(' ');
  QImage image = Shot(d);
  for (int k = 0; k < 7; ++k) {
    const QPoint p = Probe(seven, k);
    EXPECT_EQ(At(image, p.x(), p.y()), k == 1 ? kOn : kOff) << "7-segment space, bar " << k;
  }
  d.SetDigit('A');
  const QImage upper = Shot(d);
  d.SetDigit('a');
  EXPECT_EQ(Shot(d), upper);

  d.SetDigitStyle(ds16Seg);
  const DisplayLayout sixteen = ComputeDisplayLayout(ds16Seg, 120, 200, 10, 15);
  for (QChar c : {QChar(' '), QChar('-'), QChar('.')}) {
    d.SetDigit(c);
    image = Shot(d);
    for (int k = 0; k < 16; ++k) {
      const QPoint p = Probe(sixteen, k);
      const bool lit = c != ' ' && (k == 7 || k == 8);
      EXPECT_EQ(At(image, p.x(), p.y()), lit ? kOn : kOff) << "'" << c.toLatin1() << "' " << k;
    }
  }
}

TEST(TDisplayTest, FrontPanelDotsAreSquaresWithOnePixelGaps) {
  TDisplay d;
  d.resize(33, 47);
  d.SetMargin(2);
  d.SetSegWidth(5);
  d.SetDigitStyle(ds5x7Dot);
  UseTestColours(d);
  d.SetDigit('8');
  const QImage image = Shot(d);
  // Frame and margin in the background colour; the first dot's outline starts at (3, 3).
  EXPECT_EQ(At(image, 0, 0), kBack);
  EXPECT_EQ(At(image, 32, 46), kBack);
  EXPECT_EQ(At(image, 2, 2), kBack);
  const Font5x7Rows& rows = Font5x7Glyph('8');
  for (int row = 0; row < 7; ++row) {
    for (int column = 0; column < 5; ++column) {
      const bool lit = (rows[row] >> (4 - column)) & 1;
      const int x = 3 + column * 6, y = 3 + row * 6;
      const QString where = QString("dot %1,%2").arg(column).arg(row);
      // Outline of exactly 5 x 5, fill inside, then one pixel of background.
      EXPECT_EQ(At(image, x, y), lit ? kPenOn : kPenOff) << where.toStdString();
      EXPECT_EQ(At(image, x + 4, y + 4), lit ? kPenOn : kPenOff) << where.toStdString();
      EXPECT_EQ(At(image, x + 2, y + 2), lit ? kOn : kOff) << where.toStdString();
      EXPECT_EQ(At(image, x + 5, y + 2), kBack) << where.toStdString();
      EXPECT_EQ(At(image, x + 2, y + 5), kBack) << where.toStdString();
    }
  }
}

TEST(TDisplayTest, ResizingRecomputesTheLayout) {
  TDisplay d;
  UseTestColours(d);
  d.SetDigitStyle(ds16Seg);
  d.SetDigit('X');
  Shot(d);
  d.resize(60, 100);
  d.SetMargin(4);
  d.SetSegWidth(6);
  const DisplayLayout layout = ComputeDisplayLayout(ds16Seg, 60, 100, 4, 6);
  const QImage image = Shot(d);
  ASSERT_EQ(image.size(), QSize(60, 100));
  for (int k = 0; k < 16; ++k) {
    const QPoint p = Probe(layout, k);
    EXPECT_EQ(At(image, p.x(), p.y()), SegmentLit(ds16Seg, 'X', k) ? kOn : kOff) << k;
  }
}

TEST(TDisplayTest, CharactersOutsideTheTablesShowTheFallbackPattern) {
  TDisplay d;
  UseTestColours(d);
  d.SetDigit(QChar(0x00E9));
  const QImage accented = Shot(d);
  d.SetDigit('%');  // shows the middle bar in 7-segment style too
  EXPECT_EQ(Shot(d), accented);
}

TEST(TDisplayTest, DegenerateGeometryDrawsWithoutFailing) {
  const int cases[][4] = {{120, 200, 70, 15},  {120, 200, 200, 15},
                          {120, 200, 10, 0},   {120, 200, 10, -7},
                          {120, 200, 10, 300}, {33, 47, 30, 6},
                          {2, 2, 10, 15},      {3, 3, 0, 1},
                          {1, 1, 0, 1},        {120, 200, INT_MAX, INT_MIN}};
  for (TDigitStyle style : {ds7Seg, ds16Seg, ds5x7Dot, ds5x7Bulb}) {
    for (const auto& c : cases) {
      TDisplay d;
      d.resize(c[0], c[1]);
      d.SetMargin(c[2]);
      d.SetSegWidth(c[3]);
      d.SetDigitStyle(style);
      d.SetBackColor(kBack);
      d.SetDigit('8');
      const QImage image = Shot(d);
      ASSERT_EQ(image.size(), QSize(c[0], c[1]));
      EXPECT_EQ(At(image, 0, 0), kBack) << int(style) << " " << c[0] << " " << c[2];
    }
  }
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  int count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

TEST(TDisplayTest, SettersRepaintOnlyOnChange) {
  TDisplay d;
  PaintCounter paints;
  d.installEventFilter(&paints);
  d.show();
  QCoreApplication::processEvents();
  const auto repainted = [&](const std::function<void()>& change) {
    paints.count = 0;
    change();
    QCoreApplication::processEvents();
    return paints.count > 0;
  };
  EXPECT_TRUE(repainted([&] { d.SetDigit('5'); }));
  EXPECT_FALSE(repainted([&] { d.SetDigit('5'); }));
  EXPECT_TRUE(repainted([&] { d.SetOnColor(Qt::green); }));
  EXPECT_FALSE(repainted([&] { d.SetOnColor(Qt::green); }));
  EXPECT_FALSE(repainted([&] { d.SetOffColor(QColor(128, 128, 128)); }));
  EXPECT_FALSE(repainted([&] { d.SetBackColor(Qt::black); }));
  EXPECT_TRUE(repainted([&] { d.SetPenOffColor(Qt::white); }));
  EXPECT_FALSE(repainted([&] { d.SetPenOnColor(Qt::black); }));
  EXPECT_FALSE(repainted([&] { d.SetSegWidth(15); }));
  EXPECT_TRUE(repainted([&] { d.SetSegWidth(9); }));
  EXPECT_FALSE(repainted([&] { d.SetMargin(10); }));
  EXPECT_TRUE(repainted([&] { d.SetMargin(3); }));
  EXPECT_FALSE(repainted([&] { d.SetDigitStyle(ds7Seg); }));
  EXPECT_TRUE(repainted([&] { d.SetDigitStyle(ds5x7Bulb); }));
}

}  // namespace
}  // namespace ondivo
