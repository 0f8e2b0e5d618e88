#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "schedule/AlarmValues.h"

class QComboBox;
class QPushButton;
class QSpinBox;

namespace ondivo {

class TDisplay;

// "Alarm setting": the time of day on two spin boxes and four segment digits, and the preset
// the alarm recalls. OK hands back time and station.
class tdAlarm : public QDialog {
 public:
  using HelpHook = std::function<void(const std::string& topic)>;

  tdAlarm(QWidget* parent, tAlarmValues values, HelpHook help);

  // Shows the dialog modally with the alarm's time and station; the chosen ones on OK, nothing
  // on Cancel.
  static std::optional<tAlarmSetting> Run(QWidget* parent, const tAlarmSetting& alarm,
                                          const PresetsBank& bank, const TRadioCard& card,
                                          int currentPreset, HelpHook help);

  const tAlarmValues& Values() const { return values_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void HHChange(int hour);
  void MMChange(int minute);
  void FavoritesChange(int index);
  // The boxes, the digits and OK from the working copy.
  void ShowValues();

  tAlarmValues values_;
  HelpHook help_;
  QSpinBox* hour_ = nullptr;
  QSpinBox* minute_ = nullptr;
  std::array<TDisplay*, 4> digits_{};
  QComboBox* favorites_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace ondivo
