#include "controls/ColorGrid.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QToolButton>

#include "controls/Pictures.h"

namespace ondivo {

namespace {

constexpr int kSwatch = 18;

// A 16 x 16 icon: the swatch or glyph drawn by `paint` in the middle, and for the chosen state
// a ring in the highlight colour around it, so the choice reads at a glance.
template <typename Paint>
QPixmap IconPixmap(qreal ratio, bool chosen, Paint paint) {
  QPixmap pixmap(QSize(kSwatch, kSwatch) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  paint(painter);
  if (chosen) {
    painter.setPen(QPen(QColor(30, 110, 220), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(1, 1, kSwatch - 2, kSwatch - 2), 3, 3);
  }
  return pixmap;
}

QIcon SwatchIcon(const QColor& color) {
  const auto paint = [&color](QPainter& painter) {
    painter.setPen(QPen(QColor(96, 96, 96), 1));
    painter.setBrush(color);
    painter.drawRoundedRect(QRectF(3.5, 3.5, kSwatch - 7, kSwatch - 7), 1.5, 1.5);
  };
  QIcon icon;
  for (const qreal ratio : {1.0, 2.0}) {
    icon.addPixmap(IconPixmap(ratio, false, paint), QIcon::Normal, QIcon::Off);
    icon.addPixmap(IconPixmap(ratio, true, paint), QIcon::Normal, QIcon::On);
  }
  return icon;
}

QIcon GlyphIcon(const QString& name) {
  QIcon icon;
  for (const qreal ratio : {1.0, 2.0}) {
    const QImage glyph = Picture(name, ratio);
    const auto paint = [&glyph](QPainter& painter) {
      painter.drawImage(QPointF((kSwatch - 12) / 2.0, (kSwatch - 12) / 2.0), glyph);
    };
    icon.addPixmap(IconPixmap(ratio, false, paint), QIcon::Normal, QIcon::Off);
    icon.addPixmap(IconPixmap(ratio, true, paint), QIcon::Normal, QIcon::On);
  }
  return icon;
}

QToolButton* ChoiceButton(QWidget* parent, const QIcon& icon, const QString& name,
                          const QString& tip) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setCheckable(true);
  button->setAutoRaise(false);
  button->setIcon(icon);
  button->setIconSize({kSwatch, kSwatch});
  button->setToolTip(tip);
  button->setAccessibleName(tip);
  return button;
}

void SelectIn(QButtonGroup* group, QAbstractButton* button) {
  const QSignalBlocker blocker(group);
  if (button) {
    button->setChecked(true);
    return;
  }
  // An exclusive group cannot be emptied by unchecking; lift the rule for a moment.
  group->setExclusive(false);
  for (QAbstractButton* b : group->buttons()) b->setChecked(false);
  group->setExclusive(true);
}

}  // namespace

QString ColorChoiceName(int choice) {
  static const char* kNames[] = {"White", "Silver", "Red",  "Yellow",
                                 "Lime",  "Aqua",   "Blue", "Fuchsia"};
  return choice >= 0 && choice < 8 ? QString::fromLatin1(kNames[choice]) : QString();
}

QString PaletteColorName(int index) {
  static const char* kNames[] = {"Black", "Maroon",  "Green", "Olive", "Navy", "Purple",
                                 "Teal",  "Silver",  "Gray",  "Red",   "Lime", "Yellow",
                                 "Blue",  "Fuchsia", "Aqua",  "White"};
  return index >= 0 && index < 16 ? QString::fromLatin1(kNames[index]) : QString();
}

TColorGrid::TColorGrid(const QString& namePrefix, QWidget* parent)
    : QWidget(parent), group_(new QButtonGroup(this)) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  for (int i = 0; i < 16; ++i) {
    QToolButton* swatch = ChoiceButton(this, SwatchIcon(PaletteQColor(i)),
                                       namePrefix + QString::number(i), PaletteColorName(i));
    swatches_[static_cast<size_t>(i)] = swatch;
    group_->addButton(swatch, i);
    grid->addWidget(swatch, i / 8, i % 8);
  }
  grid->setColumnStretch(8, 1);
  connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
    if (OnChoose) OnChoose(id);
  });
}

int TColorGrid::Choice() const {
  return group_->checkedId();
}

void TColorGrid::SetChoice(int index) {
  SelectIn(group_, index >= 0 && index < 16 ? swatches_[static_cast<size_t>(index)] : nullptr);
}

TChoiceRow::TChoiceRow(const QString& prefix, const QString& suffix, QWidget* parent)
    : QWidget(parent), group_(new QButtonGroup(this)) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  for (int c = 0; c < 8; ++c) {
    QToolButton* button = ChoiceButton(this, GlyphIcon(QStringLiteral("CHOICE%1").arg(c)),
                                       prefix + QString::number(c) + suffix, ColorChoiceName(c));
    buttons_[static_cast<size_t>(c)] = button;
    group_->addButton(button, c);
    row->addWidget(button);
  }
  row->addStretch(1);
  connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
    if (OnChoose) OnChoose(id);
  });
}

int TChoiceRow::Choice() const {
  return group_->checkedId();
}

void TChoiceRow::SetChoice(int choice) {
  SelectIn(group_, choice >= 0 && choice < 8 ? buttons_[static_cast<size_t>(choice)] : nullptr);
}

void TChoiceRow::SetChoiceEnabled(int choice, bool enabled) {
  if (choice >= 0 && choice < 8) buttons_[static_cast<size_t>(choice)]->setEnabled(enabled);
}

}  // namespace ondivo
