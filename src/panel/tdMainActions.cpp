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

// Commands whose function comes with a later part of the panel: present, not yet enabled.
bool NotYetAvailable(tPanelCommandId id) {
  switch (id) {
    case cmVolumeUp:
    case cmVolumeDown:
    case cmVolumeTo0:
    case cmMixer:
    case cmSleepOnOff:
    case cmAlarmOnOff:
    case cmEditFavs:
    case cmOrganize:
    case cmProgr:
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

}  // namespace

bool tdMain::BlockedWhileScanning(tPanelCommandId id) const {
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
  for (const tPanelCommand& command : kPanelCommands) {
    if (command.Id == cmReserved) continue;
    auto* action = new QAction(QString::fromUtf8(command.Caption.data(),
                                                 static_cast<int>(command.Caption.size())),
                               this);
    action->setCheckable(command.Checkable);
    const tPanelCommandId id = command.Id;
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    if (DisplayModeOf(id) >= 0) displayGroup_->addAction(action);
    actions_[static_cast<size_t>(id)] = action;
  }
  Action(cmStopScan)->setEnabled(false);
  for (const tPanelCommand& command : kPanelCommands) {
    if (command.Id != cmReserved && NotYetAvailable(command.Id)) {
      Action(command.Id)->setEnabled(false);
    }
  }
}

void tdMain::Run(tPanelCommandId id) {
  if (state_.Scanning && BlockedWhileScanning(id)) return;
  if (const int mode = DisplayModeOf(id); mode >= 0) {
    SetDisplayMode(mode);
    return;
  }
  switch (id) {
    case cmDecFreq: Actions_TunePrev(); break;
    case cmIncFreq: Actions_TuneNext(); break;
    case cmDecStep: Actions_StepInc(); break;  // "Step -" shrinks the step
    case cmIncStep: Actions_StepDec(); break;  // "Step +" grows it
    case cmScanLeft: Actions_ScanPrev(); break;
    case cmScanRight: Actions_ScanNext(); break;
    case cmStopScan: Actions_StopScan(); break;
    case cmStereo: Actions_Stereo(); break;
    case cmJump: Actions_Jump(); break;
    case cmSetup: Options_Settings(); break;
    case cmMuteOnOff: Volume_Mute(); break;
    case cmExit: File_Exit(); break;
    case cmOnTop: Display_AlwaysOnTop(); break;
    case cmHelp: Help_Topics(); break;
    case cmAbout: Help_About(); break;
    case cmShow: Do_Show(); break;
    case cmHide: Do_Hide(); break;
    default: break;  // their function comes later
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
  connect(btMute_, &QToolButton::clicked, this, &tdMain::Volume_Mute);
  connect(btStr_, &QToolButton::clicked, this, &tdMain::Actions_Stereo);
  connect(btOff_, &QToolButton::clicked, this, &tdMain::File_Exit);
  // Controls whose function comes later show their state but take no input yet.
  for (QWidget* w : std::initializer_list<QWidget*>{sVolume_, btMixer_, btAlarm_, btSleep_,
                                                     btProg_, btClr_, btMem_}) {
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
  Action(cmMuteOnOff)->setChecked(state_.Muted);
  Action(cmOnTop)->setChecked(settings_.AlwaysOnTop);
  Action(cmShow)->setEnabled(state_.Hidden);
  Action(cmHide)->setEnabled(!state_.Hidden);
  for (const tPanelCommand& c : kPanelCommands) {
    if (DisplayModeOf(c.Id) >= 0) Action(c.Id)->setChecked(DisplayModeOf(c.Id) == settings_.DisplayType);
  }
}

void tdMain::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  if (text.size() != 1 || text[0].unicode() < 32 || text[0].unicode() > 126) {
    QMainWindow::keyPressEvent(event);
    return;
  }
  const char key = static_cast<char>(text[0].toUpper().unicode());
  const size_t found = settings_.KeyboardCommands.find(key);
  if (found == std::string::npos) return;
  if (const auto id = CommandAtKeyPosition(found + 1)) Run(*id);
}

}  // namespace ondivo
