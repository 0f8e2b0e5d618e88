#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QStringList>
#include <QStringView>

namespace ondivo {

// The panel's colour choices 0..7 (white, silver, red, yellow, lime, aqua, blue, fuchsia):
// the lit colour and the dim colour of an unlit lamp. Other choices give the choice 0 colours.
QColor ColorSetLit(int set);
QColor ColorSetUnlit(int set);

// Index 0..15 of the 16-colour palette as a Qt colour; any other index gives black.
QColor PaletteQColor(int index);

// The pictures of the front panel, by name: "BT" (button lamps, 16 x 8), "RADIO", "ALARM",
// "SLEEP" (indicators, 11 x 11) and "PROG" (26 x 11), each + colour digit + "ON" or "OFF";
// "SCAN" + digit + "L" or "R" (16 x 11); "CHOICE" + digit (colour choice buttons, 12 x 12).
// Indicators and scan icons are opaque with a pure black surround meant for RepaintBlack; the
// button lamps and choice glyphs have a transparent surround. Names are matched ignoring case.
// At a device pixel ratio above 1 the image has twice (or four times) the pixels and says so
// in its own device pixel ratio. An unknown name gives a null image.
QImage Picture(QStringView name, qreal devicePixelRatio = 1.0);

// Logical size of a named picture; an empty size for an unknown name.
QSize PictureSize(QStringView name);

// Every picture name, family by family.
QStringList PictureNames();

// Repaints every opaque pure black pixel in the panel colour, so an icon blends into the panel.
void RepaintBlack(QImage& image, const QColor& panel);

}  // namespace ondivo
