#include "mixer/Mixer.h"

#include <algorithm>
#include <vector>

namespace ondivo {

TMixer::TMixer(std::unique_ptr<MixerBackend> backend, std::string device)
    : backend_(std::move(backend)), device_(std::move(device)) {}

TMixer::~TMixer() {
  OnControlChange = nullptr;
  OnDescriptorsChanged = nullptr;
  Close();
}

void TMixer::SetActive(bool active) {
  if (active == active_) return;
  if (loading_) {
    active_ = active;
    return;
  }
  if (active) {
    Open();
  } else {
    Close();
  }
}

void TMixer::SetMidiDeviceID(int32_t id) {
  if (id == midiDeviceId_) return;
  const bool wasActive = active_;
  if (!loading_) Close();
  midiDeviceId_ = id;
  if (loading_) return;
  active_ = false;
  SetActive(wasActive);
}

void TMixer::Loaded() {
  if (!loading_) return;
  loading_ = false;
  if (active_) {
    active_ = false;
    SetActive(true);
  }
}

std::string TMixer::DeviceName() const {
  if (midiDeviceId_ >= 0) return "hw:" + std::to_string(midiDeviceId_);
  return device_;
}

void TMixer::Open() {
  Close();
  try {
    backend_->Open(DeviceName());
    cardName_ = backend_->CardName();
    for (int i = 0; i < kMixerControlCount; ++i) {
      const auto control = static_cast<tMixerControlType>(i);
      At(control).info = backend_->Describe(control);
      Refresh(control);
    }
  } catch (...) {
    backend_->Close();
    controls_ = {};
    throw;
  }
  open_ = true;
  active_ = true;
  DescriptorsChanged();
}

void TMixer::Close() {
  const bool wasOpen = open_;
  if (open_) backend_->Close();
  open_ = false;
  active_ = false;
  controls_ = {};
  if (wasOpen) DescriptorsChanged();
}

TMixer::Control& TMixer::At(tMixerControlType control) {
  return controls_.at(static_cast<size_t>(control));
}
const TMixer::Control& TMixer::At(tMixerControlType control) const {
  return controls_.at(static_cast<size_t>(control));
}

bool TMixer::HasControl(tMixerControlType control) const {
  return At(control).info.Present;
}
int32_t TMixer::ControlMin(tMixerControlType control) const {
  return At(control).info.Minimum;
}
int32_t TMixer::ControlMax(tMixerControlType control) const {
  return At(control).info.Maximum;
}

int32_t TMixer::GetControlValue(tMixerControlType control, int channel) const {
  return At(control).cached.at(channel == 0 ? 0 : 1);
}

int32_t TMixer::Clamp(const Control& c, int32_t value) const {
  return std::clamp(value, c.info.Minimum, c.info.Maximum);
}

void TMixer::SetControlValue(tMixerControlType control, int channel, int32_t value) {
  Control& c = At(control);
  if (!c.info.Present) return;
  value = Clamp(c, value);
  const size_t index = channel == 0 ? 0 : 1;
  if (c.cached[index] == value) return;
  // A one-channel control has one value, whichever channel the caller names.
  if (c.info.Channels == 1) {
    c.cached = {value, value};
  } else {
    c.cached[index] = value;
  }
  Write(control);
}

void TMixer::SetControlValues(tMixerControlType control, int32_t left, int32_t right) {
  Control& c = At(control);
  if (!c.info.Present) return;
  left = Clamp(c, left);
  right = Clamp(c, right);
  c.cached = c.info.Channels == 1 ? MixerValues{left, left} : MixerValues{left, right};
  Write(control);
}

void TMixer::Write(tMixerControlType control) {
  backend_->Write(control, At(control).cached);
}

void TMixer::Refresh(tMixerControlType control) {
  Control& c = At(control);
  c.cached = c.info.Present ? backend_->Read(control) : MixerValues{};
}

std::vector<pollfd> TMixer::PollDescriptors() const {
  return open_ ? backend_->PollDescriptors() : std::vector<pollfd>{};
}

void TMixer::DescriptorsChanged() const {
  if (OnDescriptorsChanged) OnDescriptorsChanged();
}

void TMixer::HandleEvents() {
  if (!open_) return;
  std::vector<tMixerControlType> touched;
  backend_->HandleEvents([&touched](tMixerControlType control) {
    if (std::find(touched.begin(), touched.end(), control) == touched.end()) {
      touched.push_back(control);
    }
  });
  std::sort(touched.begin(), touched.end());
  for (const auto control : touched) {
    if (!open_) break;
    const MixerValues before = At(control).cached;
    At(control).info = backend_->Describe(control);  // an element can vanish with its card
    Refresh(control);
    if (At(control).cached == before) continue;
    if (OnControlChange) OnControlChange(*this, control);
    NotifyChange(control);
  }
}

}  // namespace ondivo
