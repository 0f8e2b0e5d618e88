// The settings and jump-to commands, help and about.
#include <QApplication>

#include "panel/AboutBox.h"
#include "panel/HelpWindow.h"
#include "panel/ModalScope.h"
#include "panel/Prompter.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"

namespace ondivo {

void tdMain::Actions_Jump() {
  if (state_.Scanning || !services_.RunJumpTo) return;
  std::optional<tJumpTarget> target;
  {
    ModalScope scope(*this);
    target = services_.RunJumpTo(this, card_);
  }
  if (target) TuneTo(target->Band, false, target->Frequency);
}

void tdMain::Options_Settings() {
  if (state_.Scanning || !services_.RunSetup) return;
  tConfiguration current = settings_;
  current.Hardware = HardwareIndexFromModel(card_.Model());
  current.Port = static_cast<uint8_t>(card_.Port());
  current.VolumeLine = card_.VolumeLine();
  current.JapaneseFM = card_.JapaneseFM();
  volumeBeforeSetup_ = card_.Volume();
  std::optional<tConfiguration> chosen;
  {
    ModalScope scope(*this);
    chosen = services_.RunSetup(this, current, card_);
  }
  if (chosen) GuardDevice([&] { ApplySetup(*chosen); });
}

// The order matters: the card is reconfigured before the panel takes the new look.
void tdMain::ApplySetup(const tConfiguration& chosen) {
  const int stepMultiple = model_->TuneStepSetting();
  card_.SetMutedStartup(false);
  const tModel model = ModelFromHardwareIndex(chosen.Hardware);
  // A radio device that was lost or could not be opened is tried again with the same choice.
  if (model != card_.Model() || chosen.Port != card_.Port() || card_.DeviceLost()) {
    SwitchCardOff();
    card_.SetModel(model);
    try {
      card_.SetPort(chosen.Port);
    } catch (const ePortNotFound&) {
      card_.SetPort(card_.GetDevCap(model).DefaultPort);
    }
    if (services_.HardwareChanged) services_.HardwareChanged(model);
    SwitchCardOn();
    if (card_.GetDevCap(model).Connection == kSerialConnection && services_.Wait) {
      services_.Wait(600);
    }
    state_.StereoSwitch = card_.Stereo();
  }
  if (chosen.JapaneseFM != card_.JapaneseFM()) {
    card_.SetJapaneseFM(chosen.JapaneseFM);
    if (card_.Band() == bFM) model_->TuneTo(bFM, false, card_.FMMin());
  }
  if (chosen.VolumeLine != card_.VolumeLine()) {
    card_.SetVolumeLine(chosen.VolumeLine);
    if (IsMixerLine(card_.VolumeLine())) {
      card_.Unmute();
    } else if (card_.VolumeLine() == vlNative) {
      card_.UnmuteCard();
    }
    card_.SetVolume(volumeBeforeSetup_);
    switch (card_.VolumeLine()) {
      case vlLineIn:
        card_.MixerControlChange(mcLineInVolume);
        card_.MixerControlChange(mcLineInMute);
        break;
      case vlMicIn:
        card_.MixerControlChange(mcMicVolume);
        card_.MixerControlChange(mcMicMute);
        break;
      case vlCd:
        card_.MixerControlChange(mcCdVolume);
        card_.MixerControlChange(mcCdMute);
        break;
      default:
        break;
    }
  }
  settings_.VolumeLine = card_.VolumeLine();
  settings_.JapaneseFM = card_.JapaneseFM();
  model_->ApplyTuneStepSetting(stepMultiple);
  SwitchBand(card_.Band());
  if (state_.CurrentPreset != 0 && bank_.Preset(state_.CurrentPreset).Assigned) {
    model_->RecallPreset(state_.CurrentPreset, true);
  } else {
    model_->TuneTo(card_.Band(), false, card_.Frequency());
  }
  const tConfiguration before = settings_;
  settings_ = chosen;
  // What the dialog does not edit stays as the panel holds it.
  settings_.X = before.X;
  settings_.Y = before.Y;
  settings_.Volume = before.Volume;
  settings_.AlarmStation = before.AlarmStation;
  settings_.AlarmHour = before.AlarmHour;
  settings_.AlarmMinute = before.AlarmMinute;
  settings_.LastBand = before.LastBand;
  settings_.LastFrequency = before.LastFrequency;
  settings_.TuneStep = before.TuneStep;
  settings_.DisplayType = before.DisplayType;
  settings_.AlwaysOnTop = before.AlwaysOnTop;
  settings_.Current = before.Current;
  settings_.VolumeLine = before.VolumeLine;
  settings_.JapaneseFM = before.JapaneseFM;
  settings_.Hardware = HardwareIndexFromModel(card_.Model());
  settings_.Port = static_cast<uint8_t>(card_.Port());
  ApplyColours();
  SwitchBand(card_.Band());
  UpdateVolumeControls();
  RefreshPanel();
}

void tdMain::Help_Topics() {
  ShowHelp("Welcome");
}

void tdMain::ShowHelp(const QString& topic) {
  if (!help_) help_ = new HelpWindow(services_.DataDir / "help", this);
  help_->ShowTopic(topic);
}

void tdMain::Help_About() {
  ModalScope scope(*this);
  AboutBox::Run(this);
}

}  // namespace ondivo
