#pragma once

// The V4L2 family: kernel radio devices (/dev/radioN) behind the CardProtocol seam.
//
// Library ondivo_v4l2 (V4l2Protocol.cpp, V4l2Record.cpp, V4l2KernelDevice.cpp, RdsDecoder.cpp,
// RadioDevicePaths.cpp and the headers they include): no Qt, no ALSA, so it links statically
// into a stand-alone program (target_link_libraries(prog PRIVATE ondivo_v4l2), -static).
//
// Use outside the card component (a test program on a real kernel):
//   V4l2KernelDevice device;
//   RadioDevicePaths paths;                       // index n is /dev/radio<n-1>
//   V4l2Protocol radio(device, paths);
//   CardState state;
//   state.Model = mV4l2;
//   state.Cap = V4l2StaticRecord();
//   state.Port = 1;                               // /dev/radio0
//   radio.SwitchOn(state);                        // opens and probes; state.Cap is now the
//                                                 // device's record (limits, grid, abilities)
//   radio.Probed().Card                           // the driver's card name
//   radio.Tune(state, bFM, state.Cap.FMMin);      // frequency already on the grid, in MHz
//   radio.ReadFrequency()                         // what the driver holds, in MHz
//   radio.SignalStrength(), radio.GetSignal(state)
//   radio.Poll(ms) then radio.HandleRdsEvents(); radio.Rds().ProgramService()
//   radio.SwitchOff(state);
//
// Errors: opening fails (missing node, no permission, not a radio tuner) with ePortAlreayOpen,
// and with eDeviceBusy while another program holds the device; the device vanishing (ENODEV)
// mid-session closes it, leaves the family in a harmless closed state (every later call does
// nothing, GetSignal says sNone) and throws eDeviceLost once; EBUSY on a request throws
// eDeviceBusy; a request the driver refuses (EINVAL and the like) is ignored, as the card
// ignores what a model cannot do.

#include <cstdint>
#include <functional>
#include <string>

#include "radio/CardProtocol.h"
#include "radio/RadioDevicePaths.h"
#include "radio/RdsDecoder.h"
#include "radio/V4l2Device.h"
#include "radio/V4l2Record.h"

namespace ondivo {

class V4l2Protocol final : public CardProtocol {
 public:
  // A reading at or above this (of 0..65535) counts as a station.
  static constexpr uint32_t kTunedSignal = 0x4000;

  // Both must outlive the protocol.
  V4l2Protocol(V4l2Device& device, const RadioDevicePaths& paths);

  // Opens paths.PathFor(state.Port), probes it and replaces state.Cap with the device's record
  // (ports and selected port kept); applies StartMuted on the device's mute control.
  void SwitchOn(CardState& state) override;
  // Mutes (when the device can) and closes.
  void SwitchOff(CardState& state) override;
  // Tunes with VIDIOC_S_FREQUENCY; sets stereo or mono reception first when it changed.
  void Tune(CardState& state, tBand band, double frequency) override;
  // sNone below kTunedSignal; else sStereo or sMono from the received subchannels when the
  // tuner tells stereo (mono when stereo is switched off), else sTuned.
  tSignal GetSignal(CardState& state) override;
  void Mute(CardState& state) override;
  void Unmute(CardState& state) override;
  void VolumeUp(CardState& state) override;
  void VolumeDown(CardState& state) override;
  void SetVolume(CardState& state, int32_t value) override;
  void VolumeToZero(CardState& state) override;

  bool IsOpen() const { return device_.IsOpen(); }
  const V4l2Probe& Probed() const { return probe_; }
  // The tuner's frequency in MHz (VIDIOC_G_FREQUENCY), 0 when closed.
  double ReadFrequency();
  // The tuner's signal reading 0..65535, 0 when closed.
  uint32_t SignalStrength();

  // Hardware seek: the tuner seeks by itself (bounded or wrapping).
  bool CanHardwareSeek() const;
  struct SeekResult {
    bool Found = false;     // stopped on a station
    double Reached = 0;     // MHz: the station, or where the next step starts
    bool Fallback = false;  // the driver refused; step instead from here on
  };
  // One hardware seek from `from` towards min or max, never past them and never wrapping. With
  // programmable limits each call covers at most kSeekWindow, so a scan can be stopped between
  // calls; otherwise it covers the rest of the band in the driver's time.
  static constexpr double kSeekWindow = 1.0;  // MHz
  SeekResult Seek(CardState& state, bool up, double from, double min, double max);

  // RDS: a descriptor that becomes readable when blocks wait (-1 without RDS or when closed),
  // and the handler that takes them without blocking. True when the decoded station changed.
  int RdsDescriptor() const;
  bool HandleRdsEvents();
  const RdsDecoder& Rds() const { return rds_; }
  // Waits up to ms for RDS blocks (for programs without an event loop). 1, 0 or -errno.
  int Poll(int ms) { return device_.Poll(ms); }

  // Called just before the device's descriptor is closed (switch-off, reopening, an unplug met
  // by any call), so that whatever watches it lets go first.
  std::function<void()> OnClosing;

 private:
  // Turns an errno result into the family's reaction; true when the call succeeded.
  bool Check(int error, CardState* state);
  void CloseDevice();
  void Lost(CardState* state);
  // RDS blocks come from the node: the tuner has RDS and delivers it as block I/O.
  bool ReadsRds() const;
  uint32_t Units(double mhz) const;
  double Megahertz(uint32_t units) const;
  bool SetControl(uint32_t id, int32_t value, CardState& state);
  void ApplyStereo(CardState& state);
  void DrainRds();

  V4l2Device& device_;
  const RadioDevicePaths& paths_;
  V4l2Probe probe_;
  RdsDecoder rds_;
  bool hardwareSeek_ = false;
  int audmode_ = -1;  // last reception mode set, -1 = none yet
};

}  // namespace ondivo
