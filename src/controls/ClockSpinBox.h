#pragma once

#include <QSpinBox>

namespace ondivo {

// A spin box for the hours or the minutes of a time of day, read as a clock reads them: "06".
class ClockSpinBox final : public QSpinBox {
 public:
  using QSpinBox::QSpinBox;

 protected:
  QString textFromValue(int value) const override {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
  }
};

}  // namespace ondivo
