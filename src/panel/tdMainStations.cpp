// "Edit presets" and "Organize": both dialogs run in the same frame (the panel hidden, the tray
// menu detached, alarm and sleep held) and the panel picks up its presets afterwards.
#include <QTimer>

#include "panel/ModalScope.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"
#include "schedule/Schedule.h"
#include "stations/tdEditFavorites.h"
#include "stations/tdOrganizer.h"

namespace ondivo {

namespace {

// The modal routine, with the alarm and the sleep timer held for as long as the dialog runs.
class StationsDialogScope {
 public:
  explicit StationsDialogScope(tdMain& window) : window_(window), modal_(window) {
    window_.HoldAlarmAndSleep();
  }
  ~StationsDialogScope() { window_.ReleaseAlarmAndSleep(); }
  StationsDialogScope(const StationsDialogScope&) = delete;
  StationsDialogScope& operator=(const StationsDialogScope&) = delete;

 private:
  tdMain& window_;
  ModalScope modal_;
};

}  // namespace

void tdMain::HoldAlarmAndSleep() {
  alarmHeld_ = schedule_->Alarm.On();
  sleepHeld_ = schedule_->Sleep.On();
  schedule_->Alarm.Disarm();
  schedule_->Sleep.Stop();
  tSleep_->stop();
}

// The alarm is armed again as if just set, so a time that passed meanwhile waits for the next
// day; the sleep countdown starts again with its delay, as a restarted timer does.
void tdMain::ReleaseAlarmAndSleep() {
  if (alarmHeld_) schedule_->Alarm.Arm(schedule_->TimeNow());
  if (sleepHeld_) {
    SleepTimer& sleep = schedule_->Sleep;
    sleep.Start(sleep.Minutes(), schedule_->MonotonicNow());
    Rearm(tSleep_, sleep.Remaining(schedule_->MonotonicNow()));
  }
  alarmHeld_ = sleepHeld_ = false;
  ShowAlarmState();
  ShowSleepState();
}

void tdMain::Stations_EditPresets() {
  if (bank_.AssignedCount() == 0) return;
  std::optional<tPresetsEdit> edit;
  {
    StationsDialogScope scope(*this);
    edit = tdEditFavorites::Run(this, bank_, state_.CurrentPreset, presets_->FileName(), card_,
                                state_.CurrentStep, prompts_, services_.Locale, HelpHook());
  }
  if (edit) {
    bank_ = edit->Bank;
    state_.CurrentPreset = edit->Current;
    presets_->SetFileName(edit->FileName);
  }
  AfterStationsDialog();
}

void tdMain::Stations_Organize() {
  {
    StationsDialogScope scope(*this);
    tdOrganizer::Run(
        this, {bank_, state_.CurrentPreset, card_, state_.CurrentStep, settings_.JapaneseFM,
               settings_.ColorFavAssButtonFM, settings_.ColorFavAssButtonAM,
               settings_.ColorFavNotAssButton, services_.ConfigDir / "Ondivo.db", services_.Locale,
               prompts_, HelpHook()});
  }
  AfterStationsDialog();
}

std::function<void(const std::string&)> tdMain::HelpHook() {
  return [this](const std::string& topic) { ShowHelp(QString::fromStdString(topic)); };
}

void tdMain::AfterStationsDialog() {
  const tBand before = card_.Band();
  RebuildPresetMenus();
  const int n = state_.CurrentPreset;
  if (n != 0 && bank_.Preset(n).Assigned) {
    presets_->Recall(n, true);
  } else if (n != 0) {
    state_.CurrentPreset = 0;
    model_->TuneTo(card_.Band(), false, 0);
    state_.CurrentPreset = 0;
  } else if (card_.GetDevCap(card_.Model()).HasFM) {
    model_->TuneTo(bFM, false, kFMMin);
  } else {
    model_->TuneTo(bAM, false, kAMMin);
  }
  if (!state_.Muted) card_.Unmute();
  AfterPresetChange(before);
}

}  // namespace ondivo
