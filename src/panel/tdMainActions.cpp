// One QAction per command, shared by the main menu, the tray menu, the panel buttons and the
// keys; the Scanning gate is applied here once for all of them.
#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QSlider>
#include <QToolButton>

#include "panel/KeyString.h"
#include "panel/tdMain.h"

namespace ondivo {

namespace {

// The menu column of the command table: how each command reads in the menus, and whether its
// item carries a check mark.
struct tMenuEntry {
  tCommandId Id;
  const char* Caption;
  bool Checkable = false;
};

constexpr tMenuEntry kMenuEntries[] = {
    {cmVolumeUp, "Up"},
    {cmVolumeDown, "Down"},
    {cmVolumeTo0, "Reset"},
    {cmMixer, "Mixer"},
    {cmMuteOnOff, "Mute", true},
    {cmDecFreq, "Tune left"},
    {cmIncFreq, "Tune right"},
    {cmDecStep, "Step -"},
    {cmIncStep, "Step +"},
    {cmSleepOnOff, "Sleep", true},
    {cmAlarmOnOff, "Alarm", true},
    {cmScanLeft, "Scan left"},
    {cmScanRight, "Scan right"},
    {cmStopScan, "Scan stop"},
    {cmEditFavs, "Edit presets"},
    {cmSetup, "&Settings"},
    {cmOrganize, "Organize"},
    {cmProgr, "Scripting", true},
    {cmExit, "Exit"},
    {cmJump, "Jump to"},
    {cmOnTop, "Always on top", true},
    {cmMinimal, "Display", true},
    {cmMinimalTuner, "Display + tuner", true},
    {cmMinimalFavs, "Display + presets", true},
    {cmStereo, "Stereo", true},
    {cmComplete, "Complete", true},
    {cmClear, "Clear"},
    {cmClearAll, "Clear all"},
    {cmMemory, "Memory"},
    {cmRename, "Rename"},
    {cmHelp, "Help topics"},
    {cmAbout, "About"},
    {cmLoadScript, "Load script"},
    {cmLoadPresets, "Load presets"},
    {cmMinimalVolBtn, "Display + volume + buttons", true},
    {cmMinimalVolBtnPre, "Display + volume + buttons + presets", true},
};

// Commands whose function comes with a later part of the panel: present, not yet enabled.
bool NotYetAvailable(tCommandId id) {
  switch (id) {
    case cmSleepOnOff:
    case cmAlarmOnOff:
    case cmEditFavs:
    case cmOrganize:
    case cmProgr:
    case cmLoadScript:
      return true;
    default:
      return false;
  }
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

bool tdMain::BlockedWhileScanning(tCommandId id) const {
  switch (id) {
    case cmDecFreq:
    case cmIncFreq:
    case cmDecStep:
    case cmIncStep:
    case cmScanLeft:
    case cmScanRight:  // a nested scan is refused
    case cmJump:
    case cmSetup:
    case cmSleepOnOff:
    case cmAlarmOnOff:
    case cmProgr:
    case cmOrganize:
    case cmEditFavs:
    case cmClear:
    case cmClearAll:
    case cmMemory:
    case cmRename:
    case cmLoadScript:
    case cmLoadPresets:
      return true;
    default:
      return false;
  }
}

void tdMain::CreateActions() {
  displayGroup_ = new QActionGroup(this);
  for (const tMenuEntry& entry : kMenuEntries) {
    auto* action = new QAction(entry.Caption, this);
    action->setCheckable(entry.Checkable);
    const tCommandId id = entry.Id;
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    if (DisplayModeOf(id) >= 0) displayGroup_->addAction(action);
    action->setEnabled(!NotYetAvailable(id));
    actions_[static_cast<size_t>(id)] = action;
  }
  Action(cmStopScan)->setEnabled(false);
  showAction_ = new QAction("Show", this);
  hideAction_ = new QAction("Hide", this);
  connect(showAction_, &QAction::triggered, this, &tdMain::Do_Show);
  connect(hideAction_, &QAction::triggered, this, &tdMain::Do_Hide);
}

void tdMain::Run(tCommandId id) {
  GuardDevice([this, id] { RunCommand(id); });
}

void tdMain::RunCommand(tCommandId id) {
  if (state_.Scanning && BlockedWhileScanning(id)) return;
  if (const int mode = DisplayModeOf(id); mode >= 0) {
    SetDisplayMode(mode);
    return;
  }
  switch (id) {
    case cmDecFreq:
      Actions_TunePrev();
      break;
    case cmIncFreq:
      Actions_TuneNext();
      break;
    case cmDecStep:
      Actions_StepInc();
      break;  // "Step -" shrinks the step
    case cmIncStep:
      Actions_StepDec();
      break;  // "Step +" grows it
    case cmScanLeft:
      Actions_ScanPrev();
      break;
    case cmScanRight:
      Actions_ScanNext();
      break;
    case cmStopScan:
      Actions_StopScan();
      break;
    case cmStereo:
      Actions_Stereo();
      break;
    case cmJump:
      Actions_Jump();
      break;
    case cmSetup:
      Options_Settings();
      break;
    case cmVolumeUp:
      Volume_Up();
      break;
    case cmVolumeDown:
      Volume_Down();
      break;
    case cmVolumeTo0:
      Volume_0();
      break;
    case cmMixer:
      Volume_Mixer();
      break;
    case cmMuteOnOff:
      Volume_Mute();
      break;
    case cmExit:
      File_Exit();
      break;
    case cmOnTop:
      Display_AlwaysOnTop();
      break;
    case cmHelp:
      Help_Topics();
      break;
    case cmAbout:
      Help_About();
      break;
    case cmClear:
      Stations_Clear();
      break;
    case cmClearAll:
      Stations_ClearAll();
      break;
    case cmMemory:
      Stations_Memory();
      break;
    case cmRename:
      Stations_Rename();
      break;
    case cmLoadPresets:
      File_LoadPresets();
      break;
    default:
      break;  // their function comes later
  }
}

void tdMain::ConnectWidgets() {
  connect(btTunePrev_, &QToolButton::clicked, this, &tdMain::Actions_TunePrev);
  connect(btTuneNext_, &QToolButton::clicked, this, &tdMain::Actions_TuneNext);
  connect(btStepUp_, &QToolButton::clicked, this, &tdMain::Actions_StepDec);
  connect(btStepDown_, &QToolButton::clicked, this, &tdMain::Actions_StepInc);
  connect(sStep_, &QSlider::valueChanged, this, &tdMain::sStepChange);
  connect(sFrequency_, &QSlider::valueChanged, this, &tdMain::sFrequencyChange);
  connect(sFrequency_, &QSlider::sliderPressed, this, [this] { sliding_ = true; });
  connect(sFrequency_, &QSlider::sliderReleased, this, &tdMain::EndSliding);
  connect(btScanPrev_, &QToolButton::clicked, this, &tdMain::Actions_ScanPrev);
  connect(btScanNext_, &QToolButton::clicked, this, &tdMain::Actions_ScanNext);
  connect(btStopScan_, &QToolButton::clicked, this, &tdMain::Actions_StopScan);
  connect(btFM_, &QToolButton::clicked, this, &tdMain::btFMClick);
  connect(btAM_, &QToolButton::clicked, this, &tdMain::btAMClick);
  connect(btJump_, &QToolButton::clicked, this, &tdMain::Actions_Jump);
  for (int i = 0; i < 10; ++i) {
    connect(btRadio_[i], &QToolButton::clicked, this, [this, i] { btRadioClick(i + 1); });
  }
  connect(btPageUp_, &QToolButton::clicked, this, &tdMain::btNextPrevTopClick);
  connect(btPageDown_, &QToolButton::clicked, this, &tdMain::btNextPrevBottomClick);
  ConnectPresets();
  connect(btStr_, &QToolButton::clicked, this, &tdMain::Actions_Stereo);
  connect(btOff_, &QToolButton::clicked, this, &tdMain::File_Exit);
  // Controls whose function comes later show their state but take no input yet.
  for (QWidget* w : std::initializer_list<QWidget*>{btAlarm_, btSleep_, btProg_}) {
    w->setEnabled(false);
  }
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
  for (const tMenuEntry& entry : kMenuEntries) {
    const int mode = DisplayModeOf(entry.Id);
    if (mode >= 0) Action(entry.Id)->setChecked(mode == settings_.DisplayType);
  }
  UpdatePresetActions();
}

void tdMain::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  if (text.size() != 1 || text[0].unicode() < 32 || text[0].unicode() > 126) {
    QMainWindow::keyPressEvent(event);
    return;
  }
  const char typed = static_cast<char>(text[0].unicode());
  if (const auto id = CommandForKey(settings_.KeyboardCommands, typed)) Run(*id);
}

}  // namespace ondivo
