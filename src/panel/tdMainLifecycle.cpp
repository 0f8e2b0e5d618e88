// Start-up and shutdown: the creation sequence, closing with the shutdown choice, the session
// end, and hiding to and showing from the tray.
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QSystemTrayIcon>
#include <QTimer>
#include <filesystem>

#include "panel/ConfigurationFile.h"
#include "panel/ModalScope.h"
#include "panel/Prompter.h"
#include "panel/tdMain.h"
#include "platform/IniFile.h"
#include "radio/DevCaps.h"
#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"

namespace ondivo {

bool tdMain::Create() {
  ini_ = std::make_unique<IniFile>(services_.ConfigDir / "Ondivo.ini");
  LoadConfiguration(*ini_, services_.Locale, settings_, bank_);
  move(settings_.X, settings_.Y);
  if (NeedsSetup(settings_.Hardware, settings_.Port, services_.ConfigureSwitch)) {
    if (!RunFirstSetup()) return false;
  }
  ConfigureCard();
  model_->ApplyTuneStepSetting(settings_.TuneStep);
  model_->RememberLastFrequency();
  if (PresetsBank::IsPresetNumber(settings_.Current)) {
    state_.CurrentPreset = settings_.Current;
    state_.Page = PanelModel::PageOf(settings_.Current);
  }
  created_ = true;
  ApplyDisplayMode();
  if (settings_.AlwaysOnTop) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  ApplyColours();
  SwitchBand(card_.Band());
  model_->RestoreStation();
  SwitchBand(card_.Band());
  RebuildPresetMenus();
  RefreshPanel();
  ClockTick();
  clock_->start();
  if (settings_.StartMinimized) {
    SetHidden(true);
  } else {
    show();
  }
  ShowTipOfTheDay();
  return true;
}

bool tdMain::RunFirstSetup() {
  const tModel model = ModelFromHardwareIndex(settings_.Hardware);
  if (settings_.Port == 0)
    settings_.Port = static_cast<uint8_t>(card_.GetDevCap(model).DefaultPort);
  std::optional<tSetupValues> chosen;
  {
    ModalScope scope(*this);
    if (services_.RunSetup) chosen = services_.RunSetup(this, settings_, card_);
  }
  if (!chosen || state_.SessionEnding) return false;
  chosen->StoreInto(settings_);
  return true;
}

void tdMain::ConfigureCard() {
  const tModel model = ModelFromHardwareIndex(settings_.Hardware);
  card_.SetMutedStartup(settings_.StartMuted);
  card_.SetModel(model);
  card_.SetPort(PortInUse(card_.GetDevCap(model), settings_.Port));
  card_.SetVolumeLine(settings_.VolumeLine);
  card_.SetJapaneseFM(settings_.JapaneseFM);
  state_.Muted = settings_.StartMuted;
  card_.SetMuteOnExit(false);
  card_.SetStereo(!settings_.ForceStereoOff);
  if (settings_.StartMuted && IsMixerLine(settings_.VolumeLine)) card_.MuteLine();
  if (services_.HardwareChanged) services_.HardwareChanged(model);
  SwitchCardOn();
  card_.StoreVolume(settings_.Volume);
  state_.StereoSwitch = card_.Stereo();
}

void tdMain::ShowTipOfTheDay() {
  if (!settings_.TipOfTheDay || !services_.RunTips) return;
  ModalScope scope(*this);
  if (const auto keep = services_.RunTips(this, services_.DataDir / "Ondivo.txt")) {
    settings_.TipOfTheDay = *keep;
  }
}

void tdMain::closeEvent(QCloseEvent* event) {
  if (!created_ || saved_) {
    event->accept();
    return;
  }
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  closing_ = true;
  event->accept();
  QCoreApplication::quit();
}

bool tdMain::FormCloseQuery() {
  settings_.X = x();
  settings_.Y = y();
  switch (DecideClose(settings_.ShutDown, state_.SessionEnding)) {
    case tCloseAction::SwitchOff:
      SwitchCardOff();
      break;
    case tCloseAction::Leave:
      break;
    case tCloseAction::Ask: {
      ModalScope scope(*this);
      const bool yes = !card_.GetDevCap(card_.Model()).MuteOnExitForced;
      const tExitAnswer answer =
          services_.RunExit ? services_.RunExit(this, yes) : tExitAnswer::SwitchOff;
      if (answer == tExitAnswer::NotExit && !state_.SessionEnding) return false;
      if (answer == tExitAnswer::SwitchOff || state_.SessionEnding) SwitchCardOff();
      scope.KeepHidden();
      break;
    }
  }
  SaveSettings();
  return true;
}

void tdMain::SaveSettings() {
  tConfiguration& s = settings_;
  s.Volume = card_.Volume();
  s.LastBand = card_.Band();
  s.LastFrequency = card_.Frequency();
  s.TuneStep = model_->TuneStepSetting();
  s.Hardware = HardwareIndexFromModel(card_.Model());
  s.Port = static_cast<uint8_t>(card_.Port());
  s.VolumeLine = card_.VolumeLine();
  s.JapaneseFM = card_.JapaneseFM();
  s.Current = static_cast<uint8_t>(state_.CurrentPreset);
  std::error_code ec;
  std::filesystem::create_directories(services_.ConfigDir, ec);
  // A file that could not be read is kept aside, never written over; the user hears of it.
  if (const auto notice = ini_->KeepUnreadableFile()) {
    prompts_.Message(*notice, Prompter::Icon::Warning);
  }
  const tWriteResult written = SaveConfiguration(*ini_, settings_, bank_, services_.Locale);
  if (!written) {
    prompts_.Message(written.Message);
    return;
  }
  if (!written.Notice.empty()) prompts_.Message(written.Notice, Prompter::Icon::Warning);
  saved_ = true;
}

void tdMain::File_Exit() {
  state_.StopRequested = true;
  // A running scan ends first; the window closes when its loop has returned.
  QTimer::singleShot(0, this, [this] { close(); });
}

void tdMain::SessionEnd() {
  state_.SessionEnding = true;
  state_.StopRequested = true;
  if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) modal->reject();
  if (!created_) return;  // the first-run setup returns cancelled: nothing is saved
  QTimer::singleShot(0, this, [this] { close(); });
}

void tdMain::SetHidden(bool hidden) {
  state_.Hidden = hidden;
  if (hidden) {
    if (tray_) {
      hide();
    } else {
      showMinimized();  // without a tray the taskbar keeps the panel reachable
    }
  } else {
    showNormal();
    raise();
    activateWindow();
  }
  UpdateActionStates();
}

void tdMain::Do_Hide() {
  SetHidden(true);
}

void tdMain::Do_Show() {
  SetHidden(false);
}

void tdMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  if (isMinimized() && !state_.Hidden) {
    state_.Hidden = true;
    if (tray_) QTimer::singleShot(0, this, [this] { hide(); });
    UpdateActionStates();
  } else if (!isMinimized() && state_.Hidden && isVisible()) {
    state_.Hidden = false;
    UpdateActionStates();
  }
}

void tdMain::PGTrayIcon951Click() {
  if (!state_.DialogOpen) Volume_Mute();
}

void tdMain::PGTrayIcon951DblClick() {
  if (state_.DialogOpen) return;
  SetHidden(!state_.Hidden);
}

}  // namespace ondivo
