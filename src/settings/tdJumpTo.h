#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

#include "settings/JumpToValues.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace ondivo {

// "Jump to": type or slide to a frequency of either band; OK hands back band and frequency.
class tdJumpTo : public QDialog {
 public:
  struct Result {
    tBand Band;
    double Frequency;  // MHz, on the band's grid
    bool operator==(const Result&) const = default;
  };
  using HelpHook = std::function<void(const std::string& topic)>;

  tdJumpTo(QWidget* parent, tJumpToValues values, HelpHook help, char decimalSeparator = '.');

  // Shows the dialog modally; band and frequency on OK, nothing on Cancel.
  static std::optional<Result> Run(QWidget* parent, tJumpToValues values, HelpHook help,
                                   char decimalSeparator = '.');

  // What OK tunes for the current text.
  Result Chosen() const;
  const tJumpToValues& Values() const { return values_; }

 private:
  void SetUpBand(tBand band);  // btFMClick, btAMClick
  void FreqChange(const QString& text);
  void sFreqChange(int kHz);
  std::optional<double> Parse(const QString& text) const;
  QString Format(double mhz) const;

  tJumpToValues values_;
  HelpHook help_;
  QChar separator_;
  QLineEdit* freq_ = nullptr;
  QLabel* unit_ = nullptr;
  QPushButton* fm_ = nullptr;
  QPushButton* am_ = nullptr;
  QSlider* slider_ = nullptr;
};

}  // namespace ondivo
