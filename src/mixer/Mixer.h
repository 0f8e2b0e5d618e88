#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "mixer/MixerBackend.h"
#include "radio/CardMixer.h"

namespace ondivo {

inline constexpr const char* kDefaultMixerDevice = "default";

// The sound-card mixer: sixteen fixed controls with a cached copy of both channels of each.
// Writes go through at once; changes made by other programs come in through HandleEvents(),
// which the UI calls when one of PollDescriptors() becomes readable.
class TMixer final : public CardMixer {
 public:
  using tMixerNotifyEvent = std::function<void(TMixer& sender, tMixerControlType control)>;

  // device: the ALSA mixer device MidiDeviceID -2 stands for ("default" unless configured).
  explicit TMixer(std::unique_ptr<MixerBackend> backend, std::string device = kDefaultMixerDevice);
  ~TMixer() override;
  TMixer(const TMixer&) = delete;
  TMixer& operator=(const TMixer&) = delete;

  // Published properties. Until Loaded() the setters only store the value.
  bool Active() const { return active_; }
  void SetActive(bool active);
  int32_t MidiDeviceID() const { return midiDeviceId_; }
  void SetMidiDeviceID(int32_t id);
  tMixerNotifyEvent OnControlChange;

  // The owner has applied the stored properties: opens the mixer when Active.
  void Loaded();

  void Open();
  void Close();
  // The ALSA device that is (or would be) open: the configured one for −2 and −1, hw:N for N.
  std::string DeviceName() const;
  const std::string& CardName() const { return cardName_; }

  bool HasControl(tMixerControlType control) const override;
  int32_t ControlMin(tMixerControlType control) const;
  int32_t ControlMax(tMixerControlType control) const;
  int32_t GetControlValue(tMixerControlType control, int channel) const;
  // Writes only when the cached value differs.
  void SetControlValue(tMixerControlType control, int channel, int32_t value);
  void SetControlValues(tMixerControlType control, int32_t left, int32_t right);

  // The radio card's view of the same controls.
  int32_t Minimum(tMixerControlType control) const override { return ControlMin(control); }
  int32_t Maximum(tMixerControlType control) const override { return ControlMax(control); }
  int32_t Value(tMixerControlType control, int channel) const override {
    return GetControlValue(control, channel);
  }
  void SetValue(tMixerControlType control, int channel, int32_t value) override {
    SetControlValue(control, channel, value);
  }

  // Descriptors to watch for change reports; they change when the mixer opens or closes,
  // and OnDescriptorsChanged is then called.
  std::vector<pollfd> PollDescriptors() const;
  std::function<void()> OnDescriptorsChanged;
  // Takes the pending change reports; raises OnControlChange for every control whose values
  // differ from the cache (our own writes come back unchanged and stay quiet).
  void HandleEvents();

 private:
  struct Control {
    MixerControlInfo info;
    MixerValues cached{};
  };
  Control& At(tMixerControlType control);
  const Control& At(tMixerControlType control) const;
  void Refresh(tMixerControlType control);
  void Write(tMixerControlType control);
  int32_t Clamp(const Control& c, int32_t value) const;
  void DescriptorsChanged() const;

  std::unique_ptr<MixerBackend> backend_;
  std::string device_;
  std::string cardName_;
  bool active_ = true;
  bool open_ = false;
  bool loading_ = true;
  int32_t midiDeviceId_ = -1;
  std::array<Control, kMixerControlCount> controls_{};
};

}  // namespace ondivo
