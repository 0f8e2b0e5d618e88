#pragma once
// The SDR family: a SoapySDR device whose radio is our own receiver, running on its own
// thread, with the sound going to ALSA playback. The card object drives it through the
// receiver thread's control surface only.
//
// A device that stops delivering samples (unplugged, failed) is met by the next call: the
// family closes it, throws eDeviceLost once, and does nothing after that (GetSignal says
// sNone) until it is switched off and on again, as a lost kernel radio device does.
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "radio/CardProtocol.h"
#include "radio/RdsDecoder.h"
#include "sdr/BandPower.h"
#include "sdr/SdrDevices.h"

namespace ondivo {

class SdrProtocol final : public CardProtocol {
 public:
  // devices must outlive the protocol.
  explicit SdrProtocol(const SdrDevices& devices);
  ~SdrProtocol() override;

  // Opens the port's device and the sound output and starts the receiver. ePortAlreayOpen
  // when there is no such device or it cannot be opened (Failure() says why).
  void SwitchOn(CardState& state) override;
  // Stops the stream and joins the threads.
  void SwitchOff(CardState& state) override;
  void Tune(CardState& state, tBand band, double frequency) override;
  // Waits for the measurement of the tuned channel (at most a little over what the receiver
  // needs after a retune). A stereo station reads sMono while stereo is switched off.
  tSignal GetSignal(CardState& state) override;
  void Mute(CardState& state) override;
  void Unmute(CardState& state) override;
  void VolumeUp(CardState& state) override;
  void VolumeDown(CardState& state) override;
  void SetVolume(CardState& state, int32_t value) override;
  void VolumeToZero(CardState& state) override;

  bool IsOpen() const { return running_ != nullptr; }
  // RDS as a kernel radio device gives it: a descriptor that becomes readable when blocks wait
  // (-1 while off), its handler (true when the decoded station changed; may throw
  // eDeviceLost), and the decoder, which forgets the station on every retune.
  int RdsDescriptor() const;
  bool HandleRdsEvents();
  const RdsDecoder& Rds() const { return rds_; }
  // The seek of a wideband receiver: it looks at the spectrum of the window beyond `from` in
  // one go (one hop of the centre), tunes to the first channel there that stands above the
  // noise in the seek's direction and confirms it by the reception state measured on the
  // look's own IQ. Found is false when the look held no station; Reached is then where the
  // next look starts (the band's edge at the end), and the receiver is tuned there. One hop
  // per call, so a scan stops between hops. A seek that goes on from the station the last one
  // stopped on, in the same direction and soon after, decides the rest of that look without
  // looking again.
  bool CanHardwareSeek() const { return IsOpen(); }
  struct SeekResult {
    bool Found = false;
    double Reached = 0;  // MHz
  };
  SeekResult Seek(CardState& state, bool up, double from, double min, double max);
  // The spectrum of the last look (empty before the first).
  const sdr::Spectrum& LastSpectrum() const { return spectrum_; }
  // Called just before the RDS descriptor is closed.
  std::function<void()> OnClosing;
  // Why the last switch-on failed, for the user.
  const std::string& Failure() const { return failure_; }

 private:
  struct Running;
  // Throws eDeviceLost (once) when the receiver has stopped for good.
  void Guard();
  void ApplyVolume(CardState& state);
  // Stops the receiver and the sound and closes the device.
  void Close();
  // Moves the centre so the window is centred on centreHz and takes its spectrum.
  void Look(double centreHz);
  void TuneReceiver(CardState& state, double mhz);
  // The first confirmed station of the last look beyond fromHz up to farHz in the direction;
  // the receiver is then tuned to it.
  bool Decide(CardState& state, double fromHz, double farHz, double direction, double& found);

  const SdrDevices& devices_;
  std::unique_ptr<Running> running_;
  std::string failure_;
  RdsDecoder rds_;
  sdr::BandPower analyser_;
  sdr::Spectrum spectrum_;
  std::vector<sdr::Iq> lookIq_;
  // Where the last seek left the receiver, within which look; cleared by any other tuning.
  struct SeekTrail {
    bool Valid = false;
    bool Up = true;
    double StoppedHz = 0, FarHz = 0;
    std::chrono::steady_clock::time_point LookedAt;
  } trail_;
  // The receiver stands where the seek's last look held no station; cleared by any tuning.
  bool emptyLook_ = false;
};

}  // namespace ondivo
