// Start-up and shutdown: the creation sequence, closing with the shutdown choice, the session
// end, and hiding to and showing from the tray.
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "panel/ConfigurationFile.h"
#include "panel/KeyCommandFilter.h"
#include "panel/ModalScope.h"
#include "panel/PanelVolume.h"
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
  ShowKeyHints(*this);
  RefreshPanel();
  ArmAlarmAtStart();
  ClockTimer();
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
  GuardDevice([&] { volume_->RestoreStored(settings_.Volume, settings_.StartMuted); });
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
  if (!created_ || saved_ || closing_) {
    event->accept();
    return;
  }
  if (state_.Scanning) {
    // The scan's loop runs this event: the scan stops first and the close follows it, so
    // nothing steps a radio that closing has switched off.
    state_.StopRequested = true;
    closeAfterScan_ = true;
    event->ignore();
    return;
  }
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  closing_ = true;
  event->accept();
  if (saved_) {
    QCoreApplication::quit();
  } else {
    QCoreApplication::exit(1);  // a session end that could not save: the status says so
  }
}

bool tdMain::FormCloseQuery() {
  settings_.X = x();
  settings_.Y = y();
  bool switchOff = true;
  std::optional<ModalScope> asked;  // the panel stays hidden from the question to the end
  switch (DecideClose(settings_.ShutDown, state_.SessionEnding)) {
    case tCloseAction::SwitchOff:
      break;
    case tCloseAction::Leave:
      switchOff = false;
      break;
    case tCloseAction::Ask: {
      asked.emplace(*this);
      const bool yes = !card_.GetDevCap(card_.Model()).MuteOnExitForced;
      const tExitAnswer answer =
          services_.RunExit ? services_.RunExit(this, yes) : tExitAnswer::SwitchOff;
      if (state_.SessionEnding) break;  // the session ended while asking: the radio goes off
      if (answer == tExitAnswer::NotExit) return false;
      switchOff = answer == tExitAnswer::SwitchOff;
      break;
    }
  }
  // Saved before the radio goes off, so that a close the save interrupts leaves everything as
  // it was. A session end cannot be refused: it goes on without the file.
  if (!SaveSettings() && !state_.SessionEnding) return false;
  if (switchOff || state_.SessionEnding) SwitchCardOff();
  if (asked) asked->KeepHidden();
  return true;
}

bool tdMain::SaveSettings() {
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
  // Once the session ends nobody answers a message box: what closing has to say goes to stderr.
  const auto tell = [this](const std::string& text, Prompter::Icon icon) {
    if (state_.SessionEnding) {
      std::fprintf(stderr, "ondivo: %s\n", text.c_str());
    } else {
      prompts_.Message(text, icon);
    }
  };
  std::error_code ec;
  std::filesystem::create_directories(services_.ConfigDir, ec);
  // A file that could not be read is kept aside, never written over; the user hears of it.
  if (const auto notice = ini_->KeepUnreadableFile()) tell(*notice, Prompter::Icon::Warning);
  const tWriteResult written = SaveConfiguration(*ini_, settings_, bank_, services_.Locale);
  if (!written) {
    tell(written.Message, Prompter::Icon::Error);
    return false;
  }
  if (!written.Notice.empty()) tell(written.Notice, Prompter::Icon::Warning);
  saved_ = true;
  return true;
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
