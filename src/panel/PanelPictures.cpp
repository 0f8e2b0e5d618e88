#include "panel/PanelPictures.h"

#include "controls/Pictures.h"
#include "stations/Palette.h"

namespace ondivo {

QIcon PictureIcon(const QString& name) {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(Picture(name, 1.0)));
  icon.addPixmap(QPixmap::fromImage(Picture(name, 2.0)));
  return icon;
}

QPixmap IndicatorPixmap(const QString& name, const QColor& panel, qreal devicePixelRatio) {
  QImage image = Picture(name, devicePixelRatio > 1.0 ? 2.0 : 1.0);
  RepaintBlack(image, panel);
  return QPixmap::fromImage(image);
}

QColor PanelColor(int paletteIndex) {
  const RgbColor c = PaletteColor(paletteIndex, RgbColor{});
  return {c.Red, c.Green, c.Blue};
}

QString LampName(const char* family, int set, bool on) {
  return QString("%1%2%3").arg(family).arg(set).arg(on ? "ON" : "OFF");
}

}  // namespace ondivo
