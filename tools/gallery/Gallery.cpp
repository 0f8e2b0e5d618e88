// Writes PNG contact sheets: every character in every digit style (at the front panel's digit
// size and at the control's creation size) and every panel picture in every colour set.
// Usage: gallery [output folder]

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>

#include "controls/Display.h"
#include "controls/Pictures.h"

namespace {

using namespace ondivo;

struct StyleCase {
  TDigitStyle style;
  const char* name;
  int panelWidth;  // segment width the front panel uses for the style
};

constexpr std::array<StyleCase, 4> kStyles = {{
    {ds7Seg, "7seg", 4},
    {ds16Seg, "16seg", 3},
    {ds5x7Dot, "5x7dot", 6},
    {ds5x7Bulb, "5x7bulb", 6},
}};

bool Save(const QImage& image, const QString& folder, const QString& name) {
  const QString path = QDir(folder).filePath(name);
  if (!image.save(path)) {
    std::fprintf(stderr, "gallery: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

QImage Zoomed(const QImage& image, int factor) {
  return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// 128 characters, sixteen to a row, in code order.
QImage CharacterSheet(TDisplay& digit) {
  const QSize cell = digit.size();
  QImage sheet(cell.width() * 16 + 17, cell.height() * 8 + 9, QImage::Format_RGB32);
  sheet.fill(QColor(40, 40, 40));
  QPainter painter(&sheet);
  for (int code = 0; code < 128; ++code) {
    digit.SetDigit(QChar(code));
    painter.drawPixmap(1 + (code % 16) * (cell.width() + 1), 1 + (code / 16) * (cell.height() + 1),
                       digit.grab());
  }
  return sheet;
}

void PanelColours(TDisplay& digit) {
  digit.SetOnColor(QColor(0, 255, 0));
  digit.SetOffColor(QColor(0, 128, 0));
  digit.SetBackColor(Qt::black);
  digit.SetPenOnColor(Qt::black);
  digit.SetPenOffColor(Qt::black);
}

// The six frequency digits as the panel lines them up, once per style.
QImage FrequencySheet(const QString& text) {
  const int w = 33, h = 47;
  QImage sheet(w * 6 + 2, (h + 2) * int(kStyles.size()), QImage::Format_RGB32);
  sheet.fill(Qt::black);
  QPainter painter(&sheet);
  for (int s = 0; s < int(kStyles.size()); ++s) {
    for (int i = 0; i < 6; ++i) {
      TDisplay digit;
      digit.resize(w, h);
      digit.SetMargin(2);
      digit.SetDigitStyle(kStyles[s].style);
      digit.SetSegWidth(kStyles[s].panelWidth);
      PanelColours(digit);
      digit.SetDigit(text[i]);
      painter.drawPixmap(1 + i * w, 1 + s * (h + 2), digit.grab());
    }
  }
  return sheet;
}

// One band per family: the eight colour sets, each in both states, first on a black panel,
// then repainted into a navy one, then at 200 % (its real pixels).
QImage PictureSheet() {
  const QStringList families = {"BT", "RADIO", "ALARM", "SLEEP", "PROG", "SCAN", "CHOICE"};
  int width = 0, height = 0;
  for (const QString& family : families) {
    const QSize size = PictureSize(family + "0ON").isEmpty() ? PictureSize(family + "0L")
                                                             : PictureSize(family + "0ON");
    const QSize logical = family == "CHOICE" ? PictureSize(family + "0") : size;
    width = std::max(width, 16 * (2 * logical.width() + 4) + 4);
    height += 4 * logical.height() + 16;
  }
  QImage sheet(width, height, QImage::Format_RGB32);
  sheet.fill(QColor(60, 60, 60));
  QPainter painter(&sheet);
  int top = 2;
  for (const QString& family : families) {
    const bool choice = family == "CHOICE";
    const bool scan = family == "SCAN";
    const bool indicator = family != "BT" && !choice;
    QSize size;
    for (int set = 0; set < 8; ++set) {
      for (int state = 0; state < 2; ++state) {
        if (choice && state == 1) continue;
        const QString ending = choice ? ""
                               : scan ? (state == 0 ? "L" : "R")
                                      : (state == 0 ? "ON" : "OFF");
        const QString name = family + QString::number(set) + ending;
        size = PictureSize(name);
        const int x = 2 + (set * 2 + state) * (2 * size.width() + 4);
        const QImage plain = Picture(name);
        painter.fillRect(x - 1, top - 1, size.width() + 2, size.height() + 2, Qt::black);
        painter.drawImage(x, top, plain);
        QImage onNavy = plain;
        if (indicator) RepaintBlack(onNavy, QColor(0, 0, 128));
        const int navyTop = top + size.height() + 3;
        painter.fillRect(x - 1, navyTop - 1, size.width() + 2, size.height() + 2,
                         QColor(0, 0, 128));
        painter.drawImage(x, navyTop, onNavy);
        QImage doubled = Picture(name, 2.0);
        doubled.setDevicePixelRatio(1.0);
        const int doubledTop = navyTop + size.height() + 3;
        painter.fillRect(x - 1, doubledTop - 1, doubled.width() + 2, doubled.height() + 2,
                         Qt::black);
        painter.drawImage(x, doubledTop, doubled);
      }
    }
    top += 4 * size.height() + 16;
  }
  return sheet;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir runtime;
  if (runtime.isValid() && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  }
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : ONDIVO_GALLERY_DIR;
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "gallery: cannot create %s\n", qPrintable(folder));
    return 1;
  }

  bool ok = true;
  for (const StyleCase& style : kStyles) {
    TDisplay panel;
    panel.resize(33, 47);
    panel.SetMargin(2);
    panel.SetDigitStyle(style.style);
    panel.SetSegWidth(style.panelWidth);
    PanelColours(panel);
    ok &= Save(Zoomed(CharacterSheet(panel), 2), folder,
               QString("chars_panel_%1.png").arg(style.name));

    TDisplay large;  // creation size and colours
    large.SetDigitStyle(style.style);
    ok &= Save(CharacterSheet(large), folder, QString("chars_large_%1.png").arg(style.name));
  }
  ok &= Save(Zoomed(FrequencySheet(" 106600"), 3), folder, "frequency.png");
  const QImage pictures = PictureSheet();
  ok &= Save(pictures, folder, "pictures.png");
  ok &= Save(Zoomed(pictures, 3), folder, "pictures_zoom.png");
  return ok ? 0 : 1;
}
