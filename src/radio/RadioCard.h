#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/Delay.h"
#include "radio/CardMixer.h"
#include "radio/CardProtocol.h"
#include "radio/ComPortPaths.h"
#include "radio/DevCaps.h"
#include "radio/PortIo.h"
#include "radio/RadioDevicePaths.h"
#include "radio/RadioTypes.h"
#include "radio/V4l2Device.h"
#include "sdr/SdrDevices.h"

namespace ondivo {

class SerialRadioProtocol;
class V4l2Protocol;
class RdsDecoder;
class SdrProtocol;
namespace sdr {
struct Spectrum;
}

// What the card component is wired to. The same component drives real cards, the emulated
// ones and the test doubles, depending on what is passed here. Ports, Waits and Time must
// outlive the card; a machine without port cards passes a NullPortIo.
struct CardHardware {
  PortIo& Ports;
  Delay& Waits;
  ComPortPaths ComPaths = {};
  bool SoundCard = false;                      // at least one playback device exists
  std::unique_ptr<CardMixer> Mixer = nullptr;  // the sound card's mixer; only with a sound card
  const MonotonicClock& Time = SystemSteadyClock();  // times the serial line
};

// Event raised after the routed mixer line was changed from outside: (Volume, Muted).
using tMixerChange = std::function<void(int32_t volume, bool mute)>;

// The radio card component: seven tuner models behind one set of properties. Setters act at
// once on the hardware and silently ignore what the model cannot do.
class TRadioCard {
 public:
  explicit TRadioCard(CardHardware hardware);
  ~TRadioCard();
  TRadioCard(const TRadioCard&) = delete;
  TRadioCard& operator=(const TRadioCard&) = delete;

  // Published properties.
  tModel Model() const { return state_.Model; }
  void SetModel(tModel model);
  int32_t Port() const { return state_.Port; }
  void SetPort(int32_t index);
  double Frequency() const { return frequency_; }
  void SetFrequency(double frequency);
  tBand Band() const { return band_; }
  void SetBand(tBand band);
  int32_t Volume() const { return state_.Volume; }
  void SetVolume(int32_t value);
  tVolumeLine VolumeLine() const { return state_.VolumeLine; }
  void SetVolumeLine(tVolumeLine line);
  bool JapaneseFM() const { return state_.JapaneseFM; }
  void SetJapaneseFM(bool value);
  bool Stereo() const { return state_.Stereo; }
  void SetStereo(bool value);
  bool MutedStartup() const { return mutedStartup_; }
  void SetMutedStartup(bool value);
  bool MuteOnExit() const { return muteOnExit_ || state_.Cap.MuteOnExitForced; }
  void SetMuteOnExit(bool value);
  tMixerChange OnMixerChange;

  // Read-only state the panel shows.
  bool On() const { return on_; }
  bool Muted() const { return state_.Muted; }
  bool StartMuted() const { return state_.StartMuted; }
  int32_t VolumeStep() const { return state_.VolumeStep; }
  int32_t MaxVolume() const { return state_.MaxVolume; }
  bool SoundCard() const { return soundCard_; }
  double LastFM() const { return lastFM_; }
  double LastAM() const { return lastAM_; }
  const ComPortPaths& ComPaths() const { return comPaths_; }
  // The serial radio's line is open (false for the port cards and while off).
  bool SerialConnected() const;
  // The ports of the current model and port may be used: asked for whenever the model or the
  // port changes; true where no grant is needed (serial radios, no port).
  bool PortGranted() const { return portGranted_; }

  void SwitchOn();
  void SwitchOff();
  void Tune(bool stereo, tBand band, double frequency);
  tSignal GetSignal();
  void Mute();
  void Unmute();
  void VolumeUp();
  void VolumeDown();
  void VolumeToZero();
  // Off-scale stored values are clamped to 0..256.
  void StoreVolume(int32_t value);
  // Non-finite frequencies are refused.
  void SetLastFM(double frequency);
  void SetLastAM(double frequency);
  void MuteLine();
  void UnmuteCard();
  void MixerControlChange(tMixerControlType control);

  double BandMin() const;
  double BandMax() const;
  double BandStep() const;
  double FMMin() const;
  double FMMax() const;
  static double AMMin() { return kAMMin; }
  static double AMMax() { return kAMMax; }
  tDevCap GetDevCap(tModel model) const;
  static int ModelCount() { return kModelCount; }
  static double SnapFrequency(double frequency, double step, double min, double max);

  // Kernel radio devices (the V4L2 model); RadioCardV4l2.cpp. Harmless on the other models.
  // Where the port indices point (/dev/radio<n-1> unless overridden) and the device seam (the
  // kernel's when empty). Only while off: eCantSetup otherwise.
  void SetRadioDevices(RadioDevicePaths paths, std::unique_ptr<V4l2Device> device = nullptr);
  const RadioDevicePaths& RadioPaths() const { return radioPaths_; }
  // The device tunes by itself to the next station: a scan can use SeekStep instead of steps.
  bool CanHardwareSeek() const;
  // One hardware seek up or down from Frequency() within the band; the card is then tuned to
  // the station found (true) or to where the next step starts, the band edge at the end
  // (false). May throw eDeviceLost.
  bool SeekStep(bool up);
  // The power spectrum of the window an SDR receiver's seek looked at last, for drawing;
  // nullptr on other models, while off and before the first seek step.
  const sdr::Spectrum* SeekSpectrum() const;
  // RDS: a descriptor for a socket notifier (-1 when there is none), its handler (true when
  // the decoded station changed; may throw eDeviceLost) and the decoded station (nullptr when
  // there is none).
  int RdsDescriptor() const;
  bool HandleRdsEvents();
  const RdsDecoder* Rds() const;
  // SDR receivers (the SDR model); RadioCardSdr.cpp. Which device each port index opens and
  // where the sound goes. Only while off: eCantSetup otherwise.
  void SetSdrDevices(SdrDevices devices);
  const SdrDevices& Sdr() const { return sdrDevices_; }
  // Why the SDR model's device could not be switched on, for the user.
  std::string SdrFailure() const;

  // The device vanished while on: the card drives nothing until switched off and on again.
  bool DeviceLost() const;
  // Called just before the radio device's descriptor (RdsDescriptor) is closed: switch-off,
  // or an unplug met by any call. Whatever watches the descriptor lets go of it here.
  std::function<void()> OnDeviceClosing;

 private:
  CardProtocol& Family();
  void RequestPortGrant();
  void AdoptDeviceRecord();
  void LineUnmute();
  void LineSet(int32_t value);
  // Reads the line's mute control into the muted state, where the line has one.
  void ReadLineMute(const MixerLineControls& line);

  PortIo& ports_;
  Delay& waits_;
  bool soundCard_;
  ComPortPaths comPaths_;
  std::unique_ptr<CardMixer> mixer_;
  std::array<tDevCap, kModelCount> devCaps_;
  CardState state_;
  double frequency_ = 0;
  tBand band_ = bFM;
  bool mutedStartup_ = false;
  bool muteOnExit_ = false;
  bool on_ = false;
  bool destroying_ = false;
  bool portGranted_ = true;
  double lastFM_ = kFMMin;
  double lastAM_ = kAMMin;
  std::unique_ptr<CardProtocol> radioTrack_;
  std::unique_ptr<CardProtocol> zoltrix_;
  std::unique_ptr<SerialRadioProtocol> serial_;
  RadioDevicePaths radioPaths_;
  std::unique_ptr<V4l2Device> radioDevice_;
  std::unique_ptr<V4l2Protocol> v4l2_;
  SdrDevices sdrDevices_;
  std::unique_ptr<SdrProtocol> sdr_;
};

}  // namespace ondivo
