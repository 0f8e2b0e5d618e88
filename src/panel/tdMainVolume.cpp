// Volume and mute: the volume group, the mute button and indicator, both Volume menus, the
// tray and window icons, and the reports of the sound-card mixer on the routed line.
#include <QAction>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QToolButton>

#include "mixer/MixerEventNotifier.h"
#include "panel/ModalScope.h"
#include "panel/PanelPictures.h"
#include "panel/PanelVolume.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"

namespace ondivo {

void tdMain::ConnectVolume() {
  volume_ = std::make_unique<PanelVolume>(card_, state_);
  imgMuteOn_ = PictureIcon("RADIO5ON");
  imgMuteOff_ = PictureIcon("RADIO2OFF");
  setWindowIcon(imgMuteOn_);
  connect(sVolume_, &QSlider::valueChanged, this, &tdMain::sVolumeChange);
  connect(btMute_, &QToolButton::clicked, this, [this] { Run(cmMuteOnOff); });
  connect(btMixer_, &QToolButton::clicked, this, [this] { Run(cmMixer); });
  card_.OnMixerChange = [this](int32_t volume, bool mute) { RadioCardMixerChange(volume, mute); };
  // Changes that other programs make on the card's mixer arrive on the event loop.
  if (services_.Mixer) new MixerEventNotifier(*services_.Mixer, this);
}

void tdMain::ShowVolume(int value) {
  const QSignalBlocker block(sVolume_);
  sVolume_->setValue(value);
  sVolume_->setToolTip(QString::fromStdString(VolumeHint(sVolume_->value(), sVolume_->maximum())));
}

void tdMain::SetupVolumeSlider() {
  const tVolumeSlider slider = ondivo::VolumeSlider(card_, sVolume_->maximum());
  const QSignalBlocker block(sVolume_);
  sVolume_->setRange(0, slider.Maximum);
  sVolume_->setSingleStep(slider.Step);
  sVolume_->setPageStep(slider.Step * 4);
  ShowVolume(slider.Value);
}

void tdMain::UpdateVolumeControls() {
  const tVolumeOffer offer = VolumeOffer(card_);
  volumeGroupUsable_ = offer.Usable;
  muteEnabled_ = offer.MuteEnabled;
  mixerEnabled_ = offer.MixerEnabled;
  if (offer.VolumeEnabled) volumeItemsEnabled_ = *offer.VolumeEnabled;
  // A group the display mode hides stays disabled.
  volumeGroup_->setEnabled(offer.Usable && !volumeGroup_->isHidden());
  sVolume_->setVisible(offer.Usable);
  btMixer_->setVisible(offer.Usable);
  vcDisabled_->setVisible(!offer.Usable);
  btMixer_->setEnabled(offer.MixerEnabled);
  btMute_->setEnabled(offer.MuteEnabled);
  SetupVolumeSlider();
  UpdateVolumeActions();
}

void tdMain::UpdateVolumeActions() {
  const bool items = volumeGroupUsable_ && volumeItemsEnabled_;
  sVolume_->setEnabled(items);
  Action(cmVolumeUp)->setEnabled(items && card_.Volume() < card_.MaxVolume());
  Action(cmVolumeDown)->setEnabled(items && card_.Volume() > 0);
  Action(cmVolumeTo0)->setEnabled(items && card_.MaxVolume() > 0);
  Action(cmMuteOnOff)->setEnabled(muteEnabled_);
  Action(cmMuteOnOff)->setChecked(state_.Muted);
  Action(cmMixer)->setEnabled(mixerEnabled_);
}

void tdMain::ShowMuteState() {
  const bool off = SoundOff(card_, state_);
  btMute_->setIcon(Lamp(LampName("BT", settings_.ColorGenericButton, off)));
  icMusic_->setPixmap(IndicatorPixmap(LampName("RADIO", settings_.ColorFlag, !off),
                                      PanelColor(settings_.ColorPanel), devicePixelRatioF()));
  const QIcon& icon = off ? imgMuteOff_ : imgMuteOn_;
  if (tray_) tray_->setIcon(icon);
  setWindowIcon(icon);
  Action(cmMuteOnOff)->setChecked(state_.Muted);
}

void tdMain::Volume_Up() {
  bool acted = false;
  // A radio device that went away is told, and the panel shows what it has left.
  if (!GuardDevice([&] { acted = volume_->Up(); }) || !acted) return;
  ShowMuteState();
  ShowVolume(card_.Volume());
  UpdateTuningControls();
}

void tdMain::Volume_Down() {
  bool acted = false;
  if (!GuardDevice([&] { acted = volume_->Down(); }) || !acted) return;
  ShowMuteState();
  ShowVolume(card_.Volume());
  UpdateTuningControls();
}

void tdMain::Volume_0() {
  bool acted = false;
  if (!GuardDevice([&] { acted = volume_->ToZero(); }) || !acted) return;
  ShowVolume(0);
  ShowMuteState();
  UpdateTuningControls();
}

void tdMain::Volume_Mute() {
  bool acted = false;
  if (!GuardDevice([&] { acted = volume_->ToggleMute(); }) || !acted) return;
  ShowMuteState();
  UpdateActionStates();
}

void tdMain::sVolumeChange(int value) {
  GuardDevice([&] { volume_->SliderMoved(value); });
  // The card keeps to its own steps: the slider shows where it landed.
  ShowVolume(card_.Volume());
  ShowMuteState();
  UpdateTuningControls();
}

void tdMain::RadioCardMixerChange(int32_t volume, bool mute) {
  // Unmuting the radio itself may meet a device that is gone: that is told like any other
  // loss, and the line's own change is still shown.
  bool ignored = false;
  if (GuardDevice([&] { ignored = !volume_->MixerChanged(mute); }) && ignored) return;
  ShowVolume(volume);
  ShowMuteState();
  UpdateTuningControls();
}

void tdMain::Volume_Mixer() {
  if (!card_.SoundCard() || !services_.RunMixer) return;
  ModalScope scope(*this);
  services_.RunMixer(this, card_);
}

}  // namespace ondivo
