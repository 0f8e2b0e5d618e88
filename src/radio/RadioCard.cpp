#include "radio/RadioCard.h"

#include <algorithm>
#include <cmath>

#include "radio/MixerLineScale.h"
#include "radio/RadioErrors.h"
#include "radio/RadioTrackProtocol.h"
#include "radio/SerialRadioProtocol.h"
#include "radio/V4l2Protocol.h"
#include "radio/ZoltrixProtocol.h"
#include "sdr/SdrProtocol.h"

namespace ondivo {

TRadioCard::TRadioCard(CardHardware hardware)
    : ports_(hardware.Ports),
      waits_(hardware.Waits),
      soundCard_(hardware.SoundCard),
      comPaths_(std::move(hardware.ComPaths)),
      devCaps_(DefaultDevCaps()) {
  state_.Cap = devCaps_[static_cast<size_t>(mRadioTrack)];
  radioTrack_ = std::make_unique<RadioTrackProtocol>(ports_, waits_);
  zoltrix_ = std::make_unique<ZoltrixProtocol>(ports_, waits_);
  serial_ = std::make_unique<SerialRadioProtocol>(waits_, comPaths_, hardware.Time);
  SetRadioDevices({});
  sdr_ = std::make_unique<SdrProtocol>(sdrDevices_);
  sdr_->OnClosing = [this] {
    if (OnDeviceClosing) OnDeviceClosing();
  };
  // A mixer exists only with a sound card.
  if (soundCard_ && hardware.Mixer) {
    mixer_ = std::move(hardware.Mixer);
    mixer_->SetChangeHandler([this](tMixerControlType control) { MixerControlChange(control); });
  }
}

TRadioCard::~TRadioCard() {
  destroying_ = true;
  if (mixer_) mixer_->SetChangeHandler({});
  mixer_.reset();
  // Port cards are switched off by the panel at exit; a serial radio or a radio device would
  // otherwise stay on.
  if (on_ && state_.Cap.Connection != kPortConnection) SwitchOff();
}

// --- properties ---------------------------------------------------------------------------

void TRadioCard::SetModel(tModel model) {
  if (on_) throw eCantSetup();
  const auto index = static_cast<size_t>(model);
  if (index >= devCaps_.size()) return;
  state_.Model = model;
  state_.Cap = devCaps_[index];
  state_.Stereo = state_.Cap.StereoSwitch;
  if (!state_.Cap.HasJapaneseFM) state_.JapaneseFM = false;
  for (int32_t i = 1; i <= state_.Cap.PortCount; ++i) {
    if (state_.Cap.Ports[static_cast<size_t>(i)] == state_.Cap.SelectedPort) {
      state_.Port = i;
      break;
    }
  }
  // A port index the new model does not have would address nothing sensible.
  if (state_.Port > state_.Cap.PortCount) state_.Port = 0;
  state_.VolumeStep = state_.Cap.VolumeStep;
  // Nothing of the old model may linger: a band the new one lacks (its grid would be 0) and
  // the old model's volume scale.
  if (band_ == bAM && !state_.Cap.HasAM) {
    band_ = bFM;
    frequency_ = lastFM_;
  }
  if (state_.VolumeLine != vlNone) SetVolumeLine(state_.VolumeLine);
  RequestPortGrant();
}

void TRadioCard::RequestPortGrant() {
  if (state_.Cap.Connection != kPortConnection || !state_.HasPort()) {
    portGranted_ = true;
    return;
  }
  portGranted_ = ports_.Grant(state_.PortValue(), state_.Cap.PortSpan);
}

bool TRadioCard::SerialConnected() const {
  return state_.Cap.Connection == kSerialConnection && serial_->Line().Connected();
}

void TRadioCard::StoreVolume(int32_t value) {
  state_.Volume = std::clamp(value, 0, 256);
}

void TRadioCard::SetLastFM(double frequency) {
  if (std::isfinite(frequency)) lastFM_ = frequency;
}

void TRadioCard::SetLastAM(double frequency) {
  if (std::isfinite(frequency)) lastAM_ = frequency;
}

void TRadioCard::SetPort(int32_t index) {
  if (on_) throw eCantSetup();
  if (index < 0 || index > state_.Cap.PortCount) throw ePortNotFound();
  state_.Port = index;
  const uint16_t value = state_.Cap.Ports[static_cast<size_t>(index)];
  state_.Cap.SelectedPort = value;
  devCaps_[static_cast<size_t>(state_.Model)].SelectedPort = value;
  RequestPortGrant();
}

void TRadioCard::SetFrequency(double frequency) {
  Tune(state_.Stereo, band_, frequency);
}

void TRadioCard::SetBand(tBand band) {
  if (band == bFM && state_.Cap.HasFM) {
    band_ = bFM;
    Tune(state_.Stereo, bFM, lastFM_);
  } else if (band == bAM && state_.Cap.HasAM) {
    band_ = bAM;
    Tune(state_.Stereo, bAM, lastAM_);
  }
}

void TRadioCard::SetVolumeLine(tVolumeLine line) {
  const tDevCap& cap = state_.Cap;
  if (!soundCard_ && !cap.CanVolume && !cap.CanMute) line = vlNone;
  // A mixer line needs a mixer; without one the card keeps what it can do itself.
  const bool mixerLine = IsMixerLine(line);
  if (mixerLine && !mixer_) line = (cap.CanVolume || cap.CanMute) ? vlNative : vlNone;
  switch (line) {
    case vlNone:
      state_.VolumeStep = 0;
      state_.MaxVolume = 0;
      break;
    case vlNative:
      state_.VolumeStep = cap.VolumeStep;
      if (cap.VolumeStep == 0) {
        state_.MaxVolume = 0;
      } else {
        state_.MaxVolume = 256;
        state_.Volume = NearestMultiple(state_.Volume, cap.VolumeStep);
      }
      break;
    default:
      state_.VolumeStep = 1;
      state_.MaxVolume = 256;
      break;
  }
  state_.VolumeLine = line;
}

void TRadioCard::SetJapaneseFM(bool value) {
  state_.JapaneseFM = value && state_.Cap.HasJapaneseFM;
}

void TRadioCard::SetStereo(bool value) {
  state_.Stereo = value && state_.Cap.StereoSwitch;
}

void TRadioCard::SetMutedStartup(bool value) {
  mutedStartup_ = value && state_.Cap.CanMute;
  state_.Muted = mutedStartup_;
  state_.StartMuted = mutedStartup_;
}

void TRadioCard::SetMuteOnExit(bool value) {
  muteOnExit_ = state_.Cap.MuteOnExitForced || value;
}

// --- switching and tuning -------------------------------------------------------------------

CardProtocol& TRadioCard::Family() {
  if (state_.Cap.Connection == kSerialConnection) return *serial_;
  if (state_.Cap.Connection == kDeviceConnection) return *v4l2_;
  if (state_.Cap.Connection == kSdrConnection) return *sdr_;
  if (state_.Model == mZoltrix) return *zoltrix_;
  return *radioTrack_;
}

void TRadioCard::SwitchOn() {
  if (on_) return;
  // Marked on first: a serial port that fails to open still counts as on, so that a later
  // switch-off releases cleanly.
  on_ = true;
  if (!state_.HasPort()) return;
  Family().SwitchOn(state_);
  if (state_.Cap.Connection == kDeviceConnection) AdoptDeviceRecord();
  if (state_.Cap.Connection == kPortConnection && state_.OnMixerLine()) {
    // A muted start keeps the line muted as it keeps the card muted.
    if (state_.StartMuted) {
      MuteLine();
    } else {
      Unmute();
    }
  }
}

void TRadioCard::SwitchOff() {
  if (!on_) return;
  // A serial line or a device node is released whatever its port; a port card needs its port.
  const bool ownsLine = state_.Cap.Connection != kPortConnection;
  if (ownsLine || state_.HasPort()) {
    Family().SwitchOff(state_);
    if (state_.OnMixerLine()) {
      if (MuteOnExit()) Mute();
    } else {
      state_.Muted = true;
    }
  }
  on_ = false;
}

double TRadioCard::SnapFrequency(double frequency, double step, double min, double max) {
  long double f = frequency;
  if (f < min) f = min;
  if (f > max) f = max;
  if (!(step > 0)) return static_cast<double>(f);
  // Extended precision and ties to even keep grid points such as 87.025 exact.
  const long double n = std::nearbyintl((f - min) / step);
  return static_cast<double>(static_cast<long double>(min) + static_cast<long double>(step) * n);
}

void TRadioCard::Tune(bool stereo, tBand band, double frequency) {
  if (!on_ || !std::isfinite(frequency)) return;
  if ((band == bAM && !state_.Cap.HasAM) || (band == bFM && !state_.Cap.HasFM)) return;
  const bool fm = band == bFM;
  const double min = fm ? FMMin() : kAMMin;
  const double max = fm ? FMMax() : kAMMax;
  const double f = SnapFrequency(frequency, fm ? state_.Cap.FMStep : state_.Cap.AMStep, min, max);
  // The stereo choice goes out with the tuning word, and the reception test must expect the
  // same choice, so it is kept.
  SetStereo(stereo);
  if (state_.HasPort()) Family().Tune(state_, band, f);
  frequency_ = f;
  band_ = band;
  if (fm) {
    lastFM_ = f;
  } else {
    lastAM_ = f;
  }
}

tSignal TRadioCard::GetSignal() {
  if (!on_ || band_ != bFM || !state_.HasPort()) return sNone;
  return Family().GetSignal(state_);
}

// --- mute and volume ------------------------------------------------------------------------

void TRadioCard::Mute() {
  if (!on_) return;
  if (state_.VolumeLine == vlNative) {
    if (state_.HasPort()) Family().Mute(state_);
  } else if (state_.OnMixerLine()) {
    MuteLine();
  }
}

void TRadioCard::Unmute() {
  if (!on_) return;
  if (state_.VolumeLine == vlNative || state_.OnMixerLine()) {
    if (state_.HasPort()) Family().Unmute(state_);
    if (state_.OnMixerLine()) LineUnmute();
  }
  state_.StartMuted = false;
}

void TRadioCard::UnmuteCard() {
  if (state_.HasPort()) Family().Unmute(state_);
}

void TRadioCard::VolumeUp() {
  if (!on_) return;
  if (state_.VolumeLine == vlNative) {
    if (state_.HasPort()) Family().VolumeUp(state_);
  } else if (state_.OnMixerLine() && state_.Volume < state_.MaxVolume) {
    LineSet(state_.Volume + 1);
  }
}

void TRadioCard::VolumeDown() {
  if (!on_) return;
  if (state_.VolumeLine == vlNative) {
    if (state_.HasPort()) Family().VolumeDown(state_);
  } else if (state_.OnMixerLine() && state_.Volume > 0) {
    LineSet(state_.Volume - 1);
  }
}

void TRadioCard::SetVolume(int32_t value) {
  if (!on_ || state_.MaxVolume == 0) return;
  value = std::clamp(value, 0, state_.MaxVolume);
  if (state_.VolumeLine == vlNative) {
    if (state_.HasPort()) Family().SetVolume(state_, value);
  } else if (state_.OnMixerLine()) {
    LineSet(value);
  }
}

void TRadioCard::VolumeToZero() {
  if (!on_ || state_.VolumeLine != vlNative || !state_.HasPort()) return;
  Family().VolumeToZero(state_);
}

// --- the mixer line -------------------------------------------------------------------------

void TRadioCard::ReadLineMute(const MixerLineControls& line) {
  if (mixer_->HasControl(line.mute)) {
    state_.Muted = mixer_->Value(line.mute, 0) != mixer_->Minimum(line.mute);
  }
}

void TRadioCard::MuteLine() {
  const auto line = LineControlsOf(state_.VolumeLine);
  if (!mixer_ || !line) return;
  if (mixer_->HasControl(line->mute)) mixer_->SetValue(line->mute, 0, mixer_->Maximum(line->mute));
  state_.Muted = true;
}

void TRadioCard::LineUnmute() {
  const auto line = LineControlsOf(state_.VolumeLine);
  if (!mixer_ || !line) return;
  if (mixer_->HasControl(line->mute)) mixer_->SetValue(line->mute, 0, mixer_->Minimum(line->mute));
  state_.Muted = false;
  state_.StartMuted = false;
}

void TRadioCard::LineSet(int32_t value) {
  const auto line = LineControlsOf(state_.VolumeLine);
  if (!mixer_ || !line) return;
  if (mixer_->HasControl(line->volume)) {
    const int32_t level =
        LineValueForVolume(value, mixer_->Minimum(line->volume), mixer_->Maximum(line->volume));
    mixer_->SetValue(line->volume, 0, level);
    mixer_->SetValue(line->volume, 1, level);
  }
  ReadLineMute(*line);
  state_.Volume = value;
}

void TRadioCard::MixerControlChange(tMixerControlType control) {
  const auto line = LineControlsOf(state_.VolumeLine);
  if (!mixer_ || !line || (control != line->volume && control != line->mute)) return;
  if (control == line->volume && mixer_->HasControl(line->volume)) {
    const int32_t reading =
        std::max(mixer_->Value(line->volume, 0), mixer_->Value(line->volume, 1));
    state_.Volume =
        VolumeForLineValue(reading, mixer_->Minimum(line->volume), mixer_->Maximum(line->volume));
  }
  ReadLineMute(*line);
  if (OnMixerChange && !destroying_) OnMixerChange(state_.Volume, state_.Muted);
}

// --- bands and models -----------------------------------------------------------------------

double TRadioCard::FMMin() const {
  return state_.JapaneseFM ? state_.Cap.JapaneseFMMin : state_.Cap.FMMin;
}
double TRadioCard::FMMax() const {
  return state_.JapaneseFM ? state_.Cap.JapaneseFMMax : state_.Cap.FMMax;
}
double TRadioCard::BandMin() const {
  return band_ == bFM ? FMMin() : kAMMin;
}
double TRadioCard::BandMax() const {
  return band_ == bFM ? FMMax() : kAMMax;
}
double TRadioCard::BandStep() const {
  return band_ == bFM ? state_.Cap.FMStep : state_.Cap.AMStep;
}

tDevCap TRadioCard::GetDevCap(tModel model) const {
  const auto index = static_cast<size_t>(model);
  return index < devCaps_.size() ? devCaps_[index] : tDevCap{};
}

}  // namespace ondivo
