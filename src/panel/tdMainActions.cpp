// The command table and the door every command comes in by: one QAction per command, shared by
// the main menu, the tray menu, the panel buttons and the keys. The Scanning gate and the
// device guard are applied here once for all of them.
#include <QAction>
#include <QActionGroup>
#include <QSlider>
#include <QToolButton>

#include "panel/tdMain.h"
#include "schedule/Schedule.h"

namespace ondivo {

namespace {

enum : unsigned {
  kChecked = 1,       // the menu item carries a check mark
  kWaitsForScan = 2,  // ignored while a scan runs
};

// The window's command table: each command with its menu caption and its handler. A command
// without a handler comes with a later part of the panel: present, not yet enabled.
struct tCommandBinding {
  tCommandId Id;
  const char* Caption;
  void (tdMain::*Handler)();
  unsigned Flags = 0;
};

constexpr tCommandBinding kCommandTable[] = {
    {cmVolumeUp, "Up", &tdMain::Volume_Up},
    {cmVolumeDown, "Down", &tdMain::Volume_Down},
    {cmVolumeTo0, "Reset", &tdMain::Volume_0, kWaitsForScan},
    {cmMixer, "Mixer", &tdMain::Volume_Mixer},
    {cmMuteOnOff, "Mute", &tdMain::Volume_Mute, kChecked},
    {cmDecFreq, "Tune left", &tdMain::Actions_TunePrev, kWaitsForScan},
    {cmIncFreq, "Tune right", &tdMain::Actions_TuneNext, kWaitsForScan},
    {cmDecStep, "Step -", &tdMain::Actions_StepInc, kWaitsForScan},  // shrinks the step
    {cmIncStep, "Step +", &tdMain::Actions_StepDec, kWaitsForScan},  // grows it
    {cmSleepOnOff, "Sleep", &tdMain::Actions_Sleep, kChecked | kWaitsForScan},
    {cmAlarmOnOff, "Alarm", &tdMain::Actions_Alarm, kChecked | kWaitsForScan},
    {cmScanLeft, "Scan left", &tdMain::Actions_ScanPrev, kWaitsForScan},
    {cmScanRight, "Scan right", &tdMain::Actions_ScanNext, kWaitsForScan},
    {cmStopScan, "Scan stop", &tdMain::Actions_StopScan},
    {cmEditFavs, "Edit presets", &tdMain::Stations_EditPresets, kWaitsForScan},
    {cmSetup, "&Settings", &tdMain::Options_Settings, kWaitsForScan},
    {cmOrganize, "Organize", &tdMain::Stations_Organize, kWaitsForScan},
    {cmProgr, "Scripting", &tdMain::Actions_Prog, kChecked | kWaitsForScan},
    {cmExit, "Exit", &tdMain::File_Exit},
    {cmJump, "Jump to", &tdMain::Actions_Jump, kWaitsForScan},
    {cmOnTop, "Always on top", &tdMain::Display_AlwaysOnTop, kChecked},
    {cmMinimal, "Display", &tdMain::Display_Minimal, kChecked},
    {cmMinimalTuner, "Display + tuner", &tdMain::Display_MinTuner, kChecked},
    {cmMinimalFavs, "Display + presets", &tdMain::Display_MinPresets, kChecked},
    {cmStereo, "Stereo", &tdMain::Actions_Stereo, kChecked},
    {cmComplete, "Complete", &tdMain::Display_Complete, kChecked},
    {cmClear, "Clear", &tdMain::Stations_Clear, kWaitsForScan},
    {cmClearAll, "Clear all", &tdMain::Stations_ClearAll, kWaitsForScan},
    {cmMemory, "Memory", &tdMain::Stations_Memory, kWaitsForScan},
    {cmRename, "Rename", &tdMain::Stations_Rename, kWaitsForScan},
    {cmHelp, "Help topics", &tdMain::Help_Topics},
    {cmAbout, "About", &tdMain::Help_About},
    {cmLoadScript, "Load script", &tdMain::File_LoadScript, kWaitsForScan},
    {cmLoadPresets, "Load presets", &tdMain::File_LoadPresets, kWaitsForScan},
    {cmMinimalVolBtn, "Display + volume + buttons", &tdMain::Display_MinVolBtn, kChecked},
    {cmMinimalVolBtnPre, "Display + volume + buttons + presets", &tdMain::Display_MinVolBtnPre,
     kChecked},
};

const tCommandBinding* BindingOf(tCommandId id) {
  for (const tCommandBinding& binding : kCommandTable)
    if (binding.Id == id) return &binding;
  return nullptr;
}

}  // namespace

int DisplayModeOf(tCommandId id) {
  switch (id) {
    case cmComplete:
      return 0;
    case cmMinimal:
      return 1;
    case cmMinimalTuner:
      return 2;
    case cmMinimalFavs:
      return 3;
    case cmMinimalVolBtn:
      return 4;
    case cmMinimalVolBtnPre:
      return 5;
    default:
      return -1;
  }
}

void tdMain::CreateActions() {
  displayGroup_ = new QActionGroup(this);
  for (const tCommandBinding& binding : kCommandTable) {
    auto* action = new QAction(binding.Caption, this);
    action->setCheckable(binding.Flags & kChecked);
    const tCommandId id = binding.Id;
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    if (DisplayModeOf(id) >= 0) displayGroup_->addAction(action);
    action->setEnabled(binding.Handler != nullptr);
    actions_[static_cast<size_t>(id)] = action;
  }
  Action(cmStopScan)->setEnabled(false);
  showAction_ = new QAction("Show", this);
  hideAction_ = new QAction("Hide", this);
  connect(showAction_, &QAction::triggered, this, &tdMain::Do_Show);
  connect(hideAction_, &QAction::triggered, this, &tdMain::Do_Hide);
}

void tdMain::Run(tCommandId id) {
  const tCommandBinding* binding = BindingOf(id);
  if (!binding || !binding->Handler) return;
  const auto handler = binding->Handler;
  const tDuringScan during =
      binding->Flags & kWaitsForScan ? tDuringScan::Ignored : tDuringScan::Runs;
  Enter(during, [this, handler] { (this->*handler)(); });
}

bool tdMain::Enter(tDuringScan during, const std::function<void()>& handler) {
  if (during == tDuringScan::Ignored && state_.Scanning) return false;
  GuardDevice(handler);
  return true;
}

void tdMain::Display_Complete() {
  SetDisplayMode(DisplayModeOf(cmComplete));
}

void tdMain::Display_Minimal() {
  SetDisplayMode(DisplayModeOf(cmMinimal));
}

void tdMain::Display_MinTuner() {
  SetDisplayMode(DisplayModeOf(cmMinimalTuner));
}

void tdMain::Display_MinPresets() {
  SetDisplayMode(DisplayModeOf(cmMinimalFavs));
}

void tdMain::Display_MinVolBtn() {
  SetDisplayMode(DisplayModeOf(cmMinimalVolBtn));
}

void tdMain::Display_MinVolBtnPre() {
  SetDisplayMode(DisplayModeOf(cmMinimalVolBtnPre));
}

void tdMain::ConnectWidgets() {
  // A button that stands for a command runs it as its menu item and its key do.
  const std::pair<QToolButton*, tCommandId> commandButtons[] = {
      {btTunePrev_, cmDecFreq},  {btTuneNext_, cmIncFreq},  {btStepUp_, cmIncStep},
      {btStepDown_, cmDecStep},  {btScanPrev_, cmScanLeft}, {btScanNext_, cmScanRight},
      {btStopScan_, cmStopScan}, {btJump_, cmJump},         {btStr_, cmStereo},
      {btOff_, cmExit},          {btAlarm_, cmAlarmOnOff},  {btSleep_, cmSleepOnOff},
      {btProg_, cmProgr}};
  for (const auto& [button, command] : commandButtons) {
    connect(button, &QToolButton::clicked, this, [this, id = command] { Run(id); });
  }
  // The other controls come in through the same door.
  const auto waitsForScan = [this](std::function<void()> handler) {
    return [this, handler] { Enter(tDuringScan::Ignored, handler); };
  };
  connect(btFM_, &QToolButton::clicked, this, waitsForScan([this] { btFMClick(); }));
  connect(btAM_, &QToolButton::clicked, this, waitsForScan([this] { btAMClick(); }));
  connect(sStep_, &QSlider::valueChanged, this, [this](int value) {
    Enter(tDuringScan::Ignored, [this, value] { sStepChange(value); });
  });
  for (int i = 0; i < 10; ++i) {
    connect(btRadio_[i], &QToolButton::clicked, this,
            waitsForScan([this, i] { btRadioClick(i + 1); }));
  }
  // The frequency slider has no handler during a scan.
  connect(sFrequency_, &QSlider::valueChanged, this, &tdMain::sFrequencyChange);
  connect(sFrequency_, &QSlider::sliderPressed, this, [this] { sliding_ = true; });
  connect(sFrequency_, &QSlider::sliderReleased, this, &tdMain::EndSliding);
  connect(btPageUp_, &QToolButton::clicked, this, &tdMain::btNextPrevTopClick);
  connect(btPageDown_, &QToolButton::clicked, this, &tdMain::btNextPrevBottomClick);
  ConnectPresets();
}

void tdMain::UpdateActionStates() {
  const tPanelReadout& r = readout_;
  const bool scanning = state_.Scanning;
  Action(cmDecFreq)->setEnabled(r.CanTunePrev && !scanning);
  Action(cmIncFreq)->setEnabled(r.CanTuneNext && !scanning);
  const bool fm = r.Band == bFM;
  Action(cmScanLeft)->setEnabled(fm && r.CanTunePrev && !scanning);
  Action(cmScanRight)->setEnabled(fm && r.CanTuneNext && !scanning);
  Action(cmStopScan)->setEnabled(scanning);
  Action(cmIncStep)->setEnabled(fm && r.Step.Value < r.Step.Max);
  Action(cmDecStep)->setEnabled(fm && r.Step.Value > r.Step.Min);
  Action(cmStereo)->setEnabled(r.StereoAvailable);
  Action(cmStereo)->setChecked(r.StereoOn);
  UpdateVolumeActions();
  Action(cmOnTop)->setChecked(settings_.AlwaysOnTop);
  showAction_->setEnabled(state_.Hidden);
  hideAction_->setEnabled(!state_.Hidden);
  for (const tCommandBinding& binding : kCommandTable) {
    const int mode = DisplayModeOf(binding.Id);
    if (mode >= 0) Action(binding.Id)->setChecked(mode == settings_.DisplayType);
  }
  UpdatePresetActions();
  // A command ignored during a scan leaves its check mark as the state is.
  Action(cmAlarmOnOff)->setChecked(schedule_->Alarm.On());
  Action(cmSleepOnOff)->setChecked(schedule_->Sleep.On());
  Action(cmProgr)->setChecked(schedule_->Scripts.On());
  // Every change the panel shows ends here, so a remote learns of each one.
  if (OnShownChange) OnShownChange();
}

}  // namespace ondivo
