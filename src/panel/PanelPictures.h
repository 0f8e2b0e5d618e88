#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace ondivo {

// A named panel picture as an icon with its 1x and 2x pixels.
QIcon PictureIcon(const QString& name);
// An indicator picture for a label, its black surround repainted in the panel colour.
QPixmap IndicatorPixmap(const QString& name, const QColor& panel, qreal devicePixelRatio);
// A lamp picture's name: family ("BT", "RADIO", ...) + colour choice + "ON" or "OFF".
QString LampName(const char* family, int set, bool on);
// A palette index 0..15 as a colour (black for anything else).
QColor PanelColor(int paletteIndex);

}  // namespace ondivo
