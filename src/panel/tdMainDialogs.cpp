// The settings and jump-to commands, help and about.
#include <QApplication>

#include "panel/AboutBox.h"
#include "panel/HelpWindow.h"
#include "panel/KeyCommandFilter.h"
#include "panel/ModalScope.h"
#include "panel/Prompter.h"
#include "panel/tdMain.h"
#include "radio/CardMixer.h"
#include "radio/DevCaps.h"
#include "radio/RadioCard.h"

namespace ondivo {

void tdMain::Actions_Jump() {
  if (!services_.RunJumpTo) return;
  std::optional<tJumpTarget> target;
  {
    ModalScope scope(*this);
    target = services_.RunJumpTo(this, card_);
  }
  if (target) TuneTo(target->Band, false, target->Frequency);
}

void tdMain::Options_Settings() {
  if (!services_.RunSetup) return;
  tConfiguration current = settings_;
  current.Hardware = HardwareIndexFromModel(card_.Model());
  current.Port = static_cast<uint8_t>(card_.Port());
  current.VolumeLine = card_.VolumeLine();
  current.JapaneseFM = card_.JapaneseFM();
  volumeBeforeSetup_ = card_.Volume();
  std::optional<tSetupValues> chosen;
  {
    ModalScope scope(*this);
    chosen = services_.RunSetup(this, current, card_);
  }
  if (chosen) GuardDevice([&] { ApplySetup(*chosen); });
}

// The dialog's values in their order: the card first, then the panel takes the new look.
void tdMain::ApplySetup(const tSetupValues& chosen) {
  const int stepMultiple = model_->TuneStepSetting();
  card_.SetMutedStartup(false);
  // A radio device that was lost or could not be opened is tried again with the same choice.
  if (chosen.Model() != card_.Model() || chosen.Port() != card_.Port() || card_.DeviceLost()) {
    ChangeCard(chosen.Model(), chosen.Port());
  }
  if (chosen.JapaneseFM() != card_.JapaneseFM()) {
    card_.SetJapaneseFM(chosen.JapaneseFM());
    if (card_.Band() == bFM) model_->TuneTo(bFM, false, card_.FMMin());
  }
  if (chosen.VolumeLine() != card_.VolumeLine()) ChangeVolumeLine(chosen.VolumeLine());
  model_->ApplyTuneStepSetting(stepMultiple);
  SwitchBand(card_.Band());
  if (state_.CurrentPreset != 0 && bank_.Preset(state_.CurrentPreset).Assigned) {
    model_->RecallPreset(state_.CurrentPreset, true);
  } else {
    model_->TuneTo(card_.Band(), false, card_.Frequency());
  }
  chosen.StoreInto(settings_);
  // What the card took is what runs (a port it lacks falls back to its default).
  settings_.Hardware = HardwareIndexFromModel(card_.Model());
  settings_.Port = static_cast<uint8_t>(card_.Port());
  settings_.VolumeLine = card_.VolumeLine();
  settings_.JapaneseFM = card_.JapaneseFM();
  ApplyColours();
  ShowKeyHints(*this);
  SwitchBand(card_.Band());
  UpdateVolumeControls();
  RefreshPanel();
}

void tdMain::ChangeCard(tModel model, int32_t port) {
  SwitchCardOff();
  card_.SetModel(model);
  card_.SetPort(PortInUse(card_.GetDevCap(model), port));
  if (services_.HardwareChanged) services_.HardwareChanged(model);
  SwitchCardOn();
  if (card_.GetDevCap(model).Connection == kSerialConnection && services_.Wait) services_.Wait(600);
  state_.StereoSwitch = card_.Stereo();
}

// The volume and the mute state follow the new line: the card's own, or the mixer line's.
void tdMain::ChangeVolumeLine(tVolumeLine line) {
  card_.SetVolumeLine(line);
  if (IsMixerLine(card_.VolumeLine())) {
    card_.Unmute();
  } else if (card_.VolumeLine() == vlNative) {
    card_.UnmuteCard();
  }
  card_.SetVolume(volumeBeforeSetup_);
  if (const auto controls = LineControlsOf(card_.VolumeLine())) {
    card_.MixerControlChange(controls->volume);
    card_.MixerControlChange(controls->mute);
  }
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
