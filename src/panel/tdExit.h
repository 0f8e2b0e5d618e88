#pragma once

#include <QDialog>

#include "panel/StartupPlan.h"

class QPushButton;

namespace ondivo {

// "Power-off message": keep playing, switch off, or do not exit. "&Yes" is disabled for
// models that always go silent when switched off.
class tdExit : public QDialog {
  Q_OBJECT

 public:
  tdExit(bool yesEnabled, QWidget* parent = nullptr);

  static tExitAnswer Run(QWidget* parent, bool yesEnabled);
  tExitAnswer Answer() const { return answer_; }
  QPushButton* YesButton() const { return yes_; }
  QPushButton* NoButton() const { return no_; }
  QPushButton* NotExitButton() const { return notExit_; }

 private:
  tExitAnswer answer_ = tExitAnswer::NotExit;
  QPushButton* yes_ = nullptr;
  QPushButton* no_ = nullptr;
  QPushButton* notExit_ = nullptr;
};

}  // namespace ondivo
