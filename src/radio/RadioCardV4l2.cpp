// The V4L2 model's part of the card component: adopting the record of the opened device,
// hardware seek and RDS.
#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"
#include "radio/V4l2KernelDevice.h"
#include "radio/V4l2Protocol.h"
#include "sdr/SdrProtocol.h"

namespace ondivo {

namespace {

bool IsDevice(const CardState& state) {
  return state.Cap.Connection == kDeviceConnection;
}

bool IsSdr(const CardState& state) {
  return state.Cap.Connection == kSdrConnection;
}

}  // namespace

void TRadioCard::SetRadioDevices(RadioDevicePaths paths, std::unique_ptr<V4l2Device> device) {
  if (on_) throw eCantSetup();
  v4l2_.reset();
  radioPaths_ = std::move(paths);
  radioDevice_ = device ? std::move(device) : std::make_unique<V4l2KernelDevice>();
  v4l2_ = std::make_unique<V4l2Protocol>(*radioDevice_, radioPaths_);
  v4l2_->OnClosing = [this] {
    if (OnDeviceClosing) OnDeviceClosing();
  };
}

void TRadioCard::AdoptDeviceRecord() {
  // The model list shows what the opened device can do from now on.
  devCaps_[static_cast<size_t>(mV4l2)] = state_.Cap;
  state_.VolumeStep = state_.Cap.VolumeStep;
  // The volume steps follow the record of this device. The route stays the user's: a device
  // without a volume control plays through its own sound path, not into the line in.
  SetVolumeLine(state_.VolumeLine);
  // Limits may have moved: stay on the device's grid.
  lastFM_ = SnapFrequency(lastFM_, state_.Cap.FMStep, FMMin(), FMMax());
}

bool TRadioCard::CanHardwareSeek() const {
  if (on_ && IsSdr(state_)) return band_ == bFM && sdr_->CanHardwareSeek();
  return on_ && IsDevice(state_) && band_ == bFM && v4l2_->CanHardwareSeek();
}

bool TRadioCard::SeekStep(bool up) {
  if (!CanHardwareSeek()) return false;
  if (IsSdr(state_)) {
    // The receiver is already tuned where the seek ended, and the station's reception measured.
    const auto result = sdr_->Seek(state_, up, frequency_, BandMin(), BandMax());
    frequency_ = lastFM_ = SnapFrequency(result.Reached, BandStep(), BandMin(), BandMax());
    return result.Found;
  }
  const auto result = v4l2_->Seek(state_, up, frequency_, BandMin(), BandMax());
  double target = result.Reached;
  // The driver gave up on seeking: this step moves one grid step, later ones are stepped.
  if (result.Fallback) target = frequency_ + (up ? BandStep() : -BandStep());
  Tune(state_.Stereo, bFM, target);
  return result.Found;
}

const sdr::Spectrum* TRadioCard::SeekSpectrum() const {
  if (!on_ || !IsSdr(state_) || !sdr_->IsOpen() || sdr_->LastSpectrum().PowerDb.empty())
    return nullptr;
  return &sdr_->LastSpectrum();
}

// An SDR receiver hands RDS over the same way, decoded from its multiplex.
int TRadioCard::RdsDescriptor() const {
  if (on_ && IsSdr(state_)) return sdr_->RdsDescriptor();
  return on_ && IsDevice(state_) ? v4l2_->RdsDescriptor() : -1;
}

bool TRadioCard::HandleRdsEvents() {
  if (on_ && IsSdr(state_)) return sdr_->HandleRdsEvents();
  return on_ && IsDevice(state_) && v4l2_->HandleRdsEvents();
}

const RdsDecoder* TRadioCard::Rds() const {
  if (on_ && IsSdr(state_)) return sdr_->IsOpen() ? &sdr_->Rds() : nullptr;
  return on_ && IsDevice(state_) && v4l2_->IsOpen() ? &v4l2_->Rds() : nullptr;
}

bool TRadioCard::DeviceLost() const {
  if (!on_ || !state_.HasPort()) return false;
  if (state_.Cap.Connection == kSdrConnection) return !sdr_->IsOpen();
  return IsDevice(state_) && !v4l2_->IsOpen();
}

}  // namespace ondivo
