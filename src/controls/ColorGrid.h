#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class QButtonGroup;
class QToolButton;

namespace ondivo {

// The 16 palette colours as two rows of swatches; one of them is the choice. Each swatch is
// named prefix + index, e.g. "oPanel9".
class TColorGrid : public QWidget {
 public:
  TColorGrid(const QString& namePrefix, QWidget* parent = nullptr);

  int Choice() const;
  // Selects a swatch without telling OnChoose; an index outside 0..15 selects none.
  void SetChoice(int index);
  QToolButton* Swatch(int index) const { return swatches_[static_cast<size_t>(index)]; }

  std::function<void(int index)> OnChoose;

 private:
  QButtonGroup* group_;
  std::array<QToolButton*, 16> swatches_{};
};

// Eight buttons with the glyphs "CHOICE0".."CHOICE7" for the panel's colour choices; one of
// them is the choice. Each is named prefix + digit + suffix, e.g. "abt3FM".
class TChoiceRow : public QWidget {
 public:
  TChoiceRow(const QString& prefix, const QString& suffix = {}, QWidget* parent = nullptr);

  int Choice() const;
  void SetChoice(int choice);  // without telling OnChoose
  void SetChoiceEnabled(int choice, bool enabled);
  QToolButton* Button(int choice) const { return buttons_[static_cast<size_t>(choice)]; }

  std::function<void(int choice)> OnChoose;

 private:
  QButtonGroup* group_;
  std::array<QToolButton*, 8> buttons_{};
};

// The names of the colour choices 0..7 and of the palette colours 0..15, for tooltips.
QString ColorChoiceName(int choice);
QString PaletteColorName(int index);

}  // namespace ondivo
