#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QSpinBox;

namespace ondivo {

// "Sleep": the minutes after which the radio is muted.
class tdSnooze : public QDialog {
 public:
  using HelpHook = std::function<void(const std::string& topic)>;
  static constexpr int kMinMinutes = 1;
  static constexpr int kMaxMinutes = 120;

  tdSnooze(QWidget* parent, int minutes, HelpHook help);

  // Shows the dialog modally with the last delay; the minutes on OK, nothing on Cancel.
  static std::optional<int> Run(QWidget* parent, int minutes, HelpHook help);

  int Minutes() const;

 private:
  HelpHook help_;
  QSpinBox* minutes_ = nullptr;
};

}  // namespace ondivo
