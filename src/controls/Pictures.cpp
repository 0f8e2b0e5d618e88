#include "controls/Pictures.h"

#include "stations/Palette.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ondivo {

namespace {

// Pictures are drawn from small level maps, one character per pixel at 100 %:
//   '.' surround   '+' lamp edge   '#' lamp body   '*' hot core   'x' bezel
// Larger pixel ratios enlarge the map with Scale2x, which keeps edges crisp and rounds
// diagonals instead of blurring them.
using LevelMap = std::vector<std::string>;

enum class Family { Button, Radio, Alarm, Sleep, Prog, Scan, Choice };

struct FamilyInfo {
  Family family;
  const char* prefix;
  QSize size;
  const char* first;   // "ON" or "L"; nullptr for a family without an ending
  const char* second;  // "OFF" or "R"
};

constexpr std::array<FamilyInfo, 7> kFamilies = {{
    {Family::Button, "BT", {16, 8}, "ON", "OFF"},
    {Family::Radio, "RADIO", {11, 11}, "ON", "OFF"},
    {Family::Alarm, "ALARM", {11, 11}, "ON", "OFF"},
    {Family::Sleep, "SLEEP", {11, 11}, "ON", "OFF"},
    {Family::Prog, "PROG", {26, 11}, "ON", "OFF"},
    {Family::Scan, "SCAN", {16, 11}, "L", "R"},
    {Family::Choice, "CHOICE", {12, 12}, nullptr, nullptr},
}};

struct PictureId {
  const FamilyInfo* info = nullptr;
  int set = 0;
  bool first = true;  // lit, or pointing left
};

std::optional<PictureId> ParseName(QStringView name) {
  for (const FamilyInfo& info : kFamilies) {
    const QLatin1StringView prefix(info.prefix);
    if (!name.startsWith(prefix, Qt::CaseInsensitive)) continue;
    QStringView rest = name.mid(prefix.size());
    if (rest.isEmpty() || rest[0] < u'0' || rest[0] > u'7') return std::nullopt;
    PictureId id{&info, rest[0].unicode() - u'0', true};
    rest = rest.mid(1);
    if (info.first == nullptr) {
      if (!rest.isEmpty()) return std::nullopt;
    } else if (rest.compare(QLatin1StringView(info.first), Qt::CaseInsensitive) == 0) {
      id.first = true;
    } else if (rest.compare(QLatin1StringView(info.second), Qt::CaseInsensitive) == 0) {
      id.first = false;
    } else {
      return std::nullopt;
    }
    return id;
  }
  return std::nullopt;
}

LevelMap FromFunction(int width, int height, const std::function<char(double, double)>& level) {
  LevelMap map(height, std::string(width, '.'));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) map[y][x] = level(x + 0.5, y + 0.5);
  }
  return map;
}

double Distance(double x, double y, double cx, double cy) {
  return std::hypot(x - cx, y - cy);
}

LevelMap ButtonMap() {
  return {
      ".xxxxxxxxxxxxxx.",  //
      "x++++++++++++++x",  //
      "x+############+x",  //
      "x+#**********#+x",  //
      "x+#**********#+x",  //
      "x+############+x",  //
      "x++++++++++++++x",  //
      ".xxxxxxxxxxxxxx.",  //
  };
}

LevelMap NoteMap() {
  return {
      "...........",  //
      "......#....",  //
      "......##...",  //
      "......#*#..",  //
      "......#.##.",  //
      "......#..#.",  //
      "......#..#.",  //
      "....###.#..",  //
      "..##*##....",  //
      "..#*###....",  //
      "...###.....",  //
  };
}

LevelMap BellMap() {
  return {
      ".....#.....",  //
      "...#####...",  //
      "..##*####..",  //
      "..#*#####..",  //
      "..#*#####..",  //
      "..#*#####..",  //
      "..#######..",  //
      ".#########.",  //
      "+#########+",  //
      "...........",  //
      "....###....",  //
  };
}

LevelMap MoonMap() {
  return FromFunction(11, 11, [](double x, double y) {
    if (Distance(x, y, 8.5, 2.5) < 0.8) return '*';  // a small star beside the moon
    const bool disc = Distance(x, y, 5.0, 5.6) < 4.8;
    const bool shadow = Distance(x, y, 7.4, 3.6) < 4.0;
    if (!disc || shadow) return '.';
    return Distance(x, y, 2.3, 6.6) < 1.0 ? '*' : '#';
  });
}

LevelMap ProgMap() {
  // A round lamp and the letters PROG in a 3 x 5 cell each.
  static constexpr std::array<const char*, 5> kText = {
      "##..##...#...##",  //
      "#.#.#.#.#.#.#..",  //
      "##..##..#.#.#.#",  //
      "#...#.#.#.#.#.#",  //
      "#...#.#..#...##",  //
  };
  LevelMap map = FromFunction(26, 11, [](double x, double y) {
    const double d = Distance(x, y, 4.5, 5.5);
    if (d < 1.2) return '*';
    if (d < 2.6) return '#';
    if (d < 3.4) return '+';
    return '.';
  });
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; kText[row][column] != '\0'; ++column) {
      if (kText[row][column] == '#') map[3 + row][9 + column] = '#';
    }
  }
  return map;
}

LevelMap ScanMap(bool left) {
  return FromFunction(16, 11, [left](double x, double y) {
    // Two arrow heads, tip to base; the right-pointing pair is the mirror image.
    const double u = left ? x : 16.0 - x;
    for (const double tip : {3.0, 8.0}) {
      const double along = u - tip;
      if (along < 0.0 || along > 5.0) continue;
      if (std::abs(y - 5.5) <= along) return along > 4.0 ? '+' : '#';
    }
    return '.';
  });
}

LevelMap ChoiceMap() {
  return FromFunction(12, 12, [](double x, double y) {
    const double d = Distance(x, y, 6.0, 6.0);
    if (d < 2.4) return '*';
    if (d < 4.1) return '#';
    if (d < 5.0) return '+';
    if (d < 6.0) return 'x';
    return '.';
  });
}

LevelMap Scale2x(const LevelMap& in) {
  const int h = static_cast<int>(in.size());
  const int w = h > 0 ? static_cast<int>(in[0].size()) : 0;
  const auto at = [&](int x, int y) {
    return in[std::clamp(y, 0, h - 1)][std::clamp(x, 0, w - 1)];
  };
  LevelMap out(2 * h, std::string(2 * w, '.'));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const char p = at(x, y), a = at(x, y - 1), b = at(x + 1, y), c = at(x - 1, y),
                 d = at(x, y + 1);
      out[2 * y][2 * x] = (c == a && c != d && a != b) ? a : p;
      out[2 * y][2 * x + 1] = (a == b && a != c && b != d) ? b : p;
      out[2 * y + 1][2 * x] = (d == c && d != b && c != a) ? c : p;
      out[2 * y + 1][2 * x + 1] = (b == d && b != a && d != c) ? d : p;
    }
  }
  return out;
}

QColor Scaled(const QColor& c, double f) {
  return QColor::fromRgb(std::lround(c.red() * f), std::lround(c.green() * f),
                         std::lround(c.blue() * f));
}

QColor TowardWhite(const QColor& c, double f) {
  const auto mix = [f](int v) { return static_cast<int>(std::lround(v + (255 - v) * f)); };
  return QColor::fromRgb(mix(c.red()), mix(c.green()), mix(c.blue()));
}

// Near-black colour sets must never produce pure black inside a picture: that would be
// repainted in the panel colour.
QColor NotBlack(QColor c) {
  if (c.red() == 0 && c.green() == 0 && c.blue() == 0) c.setRgb(1, 1, 1);
  return c;
}

struct Lamp {
  QColor hot, body, edge;
  bool glow;
};

Lamp LampColors(int set, bool lit) {
  if (lit) {
    const QColor c = ColorSetLit(set);
    return {TowardWhite(c, 0.6), c, Scaled(c, 0.72), true};
  }
  const QColor u = ColorSetUnlit(set);
  return {Scaled(u, 0.8), Scaled(u, 0.8), Scaled(u, 0.6), false};
}

QImage Render(const LevelMap& base, const Lamp& lamp, int factor, bool opaque) {
  LevelMap map = base;
  for (int f = 1; f < factor; f *= 2) map = Scale2x(map);
  const int h = static_cast<int>(map.size());
  const int w = static_cast<int>(map[0].size());
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(opaque ? QColor(Qt::black) : QColor(Qt::transparent));

  const QColor bezel(72, 72, 72);
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      switch (map[y][x]) {
        case '*':
          line[x] = NotBlack(lamp.hot).rgb();
          break;
        case '#':
          line[x] = NotBlack(lamp.body).rgb();
          break;
        case '+':
          line[x] = NotBlack(lamp.edge).rgb();
          break;
        case 'x':
          line[x] = bezel.rgb();
          break;
        default:
          break;
      }
    }
  }

  // A lit lamp glows onto the dark panel around it, fading with the distance.
  if (lamp.glow && opaque) {
    const double reach = factor;
    const int r = factor + 1;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (map[y][x] != '.') continue;
        double nearest = 1e9;
        for (int dy = -r; dy <= r; ++dy) {
          for (int dx = -r; dx <= r; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= h || map[ny][nx] == '.') continue;
            nearest = std::min(nearest, std::hypot(double(dx), double(dy)));
          }
        }
        const double strength = 0.34 * (1.0 - (nearest - 1.0) / reach);
        if (strength > 0.03) image.setPixel(x, y, NotBlack(Scaled(lamp.body, strength)).rgb());
      }
    }
  }
  image.setDevicePixelRatio(factor);
  return image;
}

QColor ToQColor(RgbColor c) {
  return QColor(c.Red, c.Green, c.Blue);
}

}  // namespace

// A colour set is the display colour choice: its bright palette colour when lit, the dim
// companion when unlit.
QColor ColorSetLit(int set) {
  const int index = DisplayColorIndex(set, DisplayColorIndex(0, 15));
  return ToQColor(PaletteColor(index, {255, 255, 255}));
}
QColor ColorSetUnlit(int set) {
  const int index = DisplayColorIndex(set, DisplayColorIndex(0, 15));
  return ToQColor(PaletteColor(DimColorIndex(index, index), {128, 128, 128}));
}

QColor PaletteQColor(int index) {
  return ToQColor(PaletteColor(index, {0, 0, 0}));
}

QImage Picture(QStringView name, qreal devicePixelRatio) {
  const std::optional<PictureId> id = ParseName(name);
  if (!id) return {};
  const int factor = devicePixelRatio <= 1.0 ? 1 : devicePixelRatio <= 2.0 ? 2 : 4;
  const Lamp lamp = LampColors(id->set, id->first);
  switch (id->info->family) {
    case Family::Button:
      return Render(ButtonMap(), lamp, factor, false);
    case Family::Radio:
      return Render(NoteMap(), lamp, factor, true);
    case Family::Alarm:
      return Render(BellMap(), lamp, factor, true);
    case Family::Sleep:
      return Render(MoonMap(), lamp, factor, true);
    case Family::Prog:
      return Render(ProgMap(), lamp, factor, true);
    case Family::Scan:
      // Shown only while a scan runs, so always lit; the ending gives the direction.
      return Render(ScanMap(id->first), LampColors(id->set, true), factor, true);
    case Family::Choice:
      return Render(ChoiceMap(), LampColors(id->set, true), factor, false);
  }
  return {};
}

QSize PictureSize(QStringView name) {
  const std::optional<PictureId> id = ParseName(name);
  return id ? id->info->size : QSize();
}

QStringList PictureNames() {
  QStringList names;
  for (const FamilyInfo& info : kFamilies) {
    for (int set = 0; set < 8; ++set) {
      const QString stem = QLatin1StringView(info.prefix) + QString::number(set);
      if (info.first == nullptr) {
        names << stem;
      } else {
        names << stem + QLatin1StringView(info.first) << stem + QLatin1StringView(info.second);
      }
    }
  }
  return names;
}

void RepaintBlack(QImage& image, const QColor& panel) {
  if (image.isNull()) return;
  if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32) {
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                          : QImage::Format_RGB32);
  }
  const QRgb fill = panel.rgb();
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (line[x] == 0xFF000000u) line[x] = fill;
    }
  }
}

}  // namespace ondivo
