#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>

#include "controls/Pictures.h"

namespace ondivo {
namespace {

bool IsBlack(QRgb p) {
  return p == 0xFF000000u;
}
bool IsSurround(QRgb p) {
  return IsBlack(p) || qAlpha(p) == 0;
}

struct Average {
  double r = 0, g = 0, b = 0, brightness = 0;
};

// Mean colour of the lamp pixels (not the surround) and the total light of the picture.
Average Light(const QImage& image) {
  Average a;
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (IsSurround(p)) continue;
      a.r += qRed(p);
      a.g += qGreen(p);
      a.b += qBlue(p);
      a.brightness += qRed(p) + qGreen(p) + qBlue(p);
      ++n;
    }
  }
  if (n > 0) a.r /= n, a.g /= n, a.b /= n;
  return a;
}

TEST(PicturesTest, EveryNameInEveryColourSetAtItsSize) {
  EXPECT_EQ(PictureSize(u"BT4ON"), QSize(16, 8));
  EXPECT_EQ(PictureSize(u"SLEEP3OFF"), QSize(11, 11));
  EXPECT_EQ(PictureSize(u"RADIO7ON"), QSize(11, 11));
  EXPECT_EQ(PictureSize(u"ALARM0OFF"), QSize(11, 11));
  EXPECT_EQ(PictureSize(u"PROG0ON"), QSize(26, 11));
  EXPECT_EQ(PictureSize(u"SCAN5L"), QSize(16, 11));
  EXPECT_EQ(PictureSize(u"CHOICE2"), QSize(12, 12));

  const QStringList names = PictureNames();
  EXPECT_EQ(names.size(), 6 * 16 + 8);
  for (const QString& name : names) {
    const QImage plain = Picture(name);
    ASSERT_FALSE(plain.isNull()) << name.toStdString();
    EXPECT_EQ(plain.size(), PictureSize(name)) << name.toStdString();
    EXPECT_EQ(plain.devicePixelRatio(), 1.0);
    const QImage doubled = Picture(name, 2.0);
    EXPECT_EQ(doubled.size(), PictureSize(name) * 2) << name.toStdString();
    EXPECT_EQ(doubled.deviceIndependentSize(), QSizeF(PictureSize(name)));
    EXPECT_EQ(Picture(name, 1.25).devicePixelRatio(), 2.0);
  }
  EXPECT_FALSE(Picture(u"sleep3off").isNull());
}

TEST(PicturesTest, UnknownNamesGiveNothing) {
  for (const char16_t* name : {u"", u"BT", u"BT8ON", u"BT0", u"BT0ONN", u"BT-1ON", u"SCAN0ON",
                               u"RADIO0L", u"CHOICE0ON", u"PROG10ON", u"XBT0ON", u"CHOICE"}) {
    EXPECT_TRUE(Picture(name).isNull()) << QString::fromUtf16(name).toStdString();
    EXPECT_TRUE(PictureSize(name).isEmpty());
  }
}

TEST(PicturesTest, LitLampsAreBrighterAndTakeTheirSetsColour) {
  // Which channels the set's colour carries (white and silver: all of them).
  const bool channels[8][3] = {{1, 1, 1}, {1, 1, 1}, {1, 0, 0}, {1, 1, 0},
                               {0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}};
  for (const char* family : {"BT", "RADIO", "ALARM", "SLEEP", "PROG"}) {
    for (int set = 0; set < 8; ++set) {
      const QString stem = QString(family) + QString::number(set);
      const Average on = Light(Picture(stem + "ON"));
      const Average off = Light(Picture(stem + "OFF"));
      EXPECT_GT(on.brightness, 1.3 * off.brightness) << stem.toStdString();
      for (const Average& a : {on, off}) {
        const double values[3] = {a.r, a.g, a.b};
        for (int carried = 0; carried < 3; ++carried) {
          for (int other = 0; other < 3; ++other) {
            if (channels[set][carried] && !channels[set][other]) {
              EXPECT_GT(values[carried], values[other] + 40) << stem.toStdString();
            }
          }
        }
      }
    }
  }
}

TEST(PicturesTest, IndicatorsSitOnPureBlackAndButtonsOnNothing) {
  for (const char16_t* name : {u"RADIO0ON", u"ALARM5OFF", u"SLEEP3ON", u"PROG7OFF", u"SCAN2R"}) {
    const QImage image = Picture(name);
    EXPECT_TRUE(IsBlack(image.pixel(0, image.height() - 1)))
        << QString::fromUtf16(name).toStdString();
    EXPECT_FALSE(image.hasAlphaChannel() && qAlpha(image.pixel(5, 5)) < 255);
  }
  for (const char16_t* name : {u"BT4ON", u"CHOICE6"}) {
    const QImage image = Picture(name);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << QString::fromUtf16(name).toStdString();
    EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
  }
}

TEST(PicturesTest, ScanIconsPointTheirWay) {
  for (int set = 0; set < 8; ++set) {
    const QImage left = Picture(QString("SCAN%1L").arg(set));
    const QImage right = Picture(QString("SCAN%1R").arg(set));
    EXPECT_EQ(left.mirrored(true, false), right);
    // The tip column of a left arrow holds only a pixel or so; its base is tall.
    const auto light = [&](int x, int y) {
      const QRgb p = left.pixel(x, y);
      return qRed(p) + qGreen(p) + qBlue(p);
    };
    int brightest = 0;
    for (int y = 0; y < left.height(); ++y)
      for (int x = 0; x < left.width(); ++x) brightest = std::max(brightest, light(x, y));
    const auto lit = [&](int x) {
      int n = 0;
      for (int y = 0; y < left.height(); ++y) n += 2 * light(x, y) >= brightest;
      return n;
    };
    int first = 0;
    while (first < left.width() && lit(first) == 0) ++first;
    ASSERT_LT(first, left.width());
    EXPECT_LE(lit(first), 3);
    EXPECT_GE(lit(first + 4), 7);
  }
}

TEST(RepaintBlackTest, OnlyPureBlackTakesThePanelColour) {
  const QColor navy(0, 0, 128);
  const QImage original = Picture(u"ALARM2ON");
  QImage image = original;
  RepaintBlack(image, navy);
  int repainted = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (IsBlack(original.pixel(x, y))) {
        EXPECT_EQ(image.pixel(x, y), navy.rgb());
        ++repainted;
      } else {
        EXPECT_EQ(image.pixel(x, y), original.pixel(x, y));
      }
    }
  }
  EXPECT_GT(repainted, 10);

  // Other formats are converted first; near-black stays.
  QImage rgb(3, 1, QImage::Format_RGB888);
  rgb.setPixel(0, 0, qRgb(0, 0, 0));
  rgb.setPixel(1, 0, qRgb(1, 0, 0));
  rgb.setPixel(2, 0, qRgb(255, 255, 255));
  RepaintBlack(rgb, navy);
  EXPECT_EQ(rgb.pixel(0, 0), navy.rgb());
  EXPECT_EQ(rgb.pixel(1, 0), qRgb(1, 0, 0));
  EXPECT_EQ(rgb.pixel(2, 0), qRgb(255, 255, 255));

  QImage none;
  RepaintBlack(none, navy);
  EXPECT_TRUE(none.isNull());
}

TEST(PicturesTest, LampsNeverHoldPureBlackOfTheirOwn) {
  // Pure black inside a lamp would turn into the panel colour; only the surround may be black.
  for (const QString& name : PictureNames()) {
    QImage image = Picture(name);
    QImage white = image;
    RepaintBlack(white, Qt::white);
    const Average before = Light(image);
    const Average after = Light(white);
    const int surround = [&] {
      int n = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += IsBlack(image.pixel(x, y));
      return n;
    }();
    EXPECT_NEAR(after.brightness - before.brightness, surround * 765.0, 0.5) << name.toStdString();
  }
}

}  // namespace
}  // namespace ondivo
