#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"
#include "radio/RadioCard.h"
#include "radio/RadioDevicePaths.h"
#include "radio/V4l2Device.h"
#include "sim/RdsGenerator.h"
#include "sim/StationLandscape.h"

namespace ondivo::sim {

// A kernel radio device as the V4L2 family sees it through the device seam: the ioctls of a
// radio tuner (capabilities, tuner, bands, frequency, hardware seek, volume and mute controls)
// answered from the station landscape, and RDS blocks read from the stream of the station it
// is tuned to, at the broadcast rate of the clock it is given. It knows nothing of the card
// component: only what arrives through the seam.
class EmulatedV4l2Radio final : public V4l2Device {
 public:
  enum class Seek { None, Bounded, Wrap, BoundedLimits };
  struct Band {
    double LowMHz;
    double HighMHz;
    bool Am = false;
    // The band's own capability names 1 Hz units for its range, whatever the tuner's units.
    bool OneHzRange = false;
  };
  struct Options {
    std::string Path = "/dev/radio0";  // the one node it answers to
    std::string Card = "Ondivo emulated radio";
    bool LowUnits = true;     // 62.5 Hz units, else 62.5 kHz
    bool OneHzUnits = false;  // V4L2_TUNER_CAP_1HZ: 1 Hz units, whatever LowUnits says
    std::vector<Band> Bands = {{87.5, 108.0}, {0.522, 1.710, true}};
    bool ListsBands = true;  // VIDIOC_ENUM_FREQ_BANDS; else only the tuner's range
    bool Stereo = true;
    bool Rds = true;
    // RDS blocks are read from the node (V4L2_TUNER_CAP_RDS_BLOCK_IO); else the tuner offers RDS
    // only through controls and read() is refused.
    bool RdsBlockIo = true;
    bool Volume = true;  // V4L2_CID_AUDIO_VOLUME, 0..15
    bool Mute = true;    // V4L2_CID_AUDIO_MUTE
    Seek HardwareSeek = Seek::Bounded;
    // Milliseconds of a monotonic clock; RDS blocks accrue with it. Defaults to the steady
    // clock.
    std::function<int64_t()> NowMs;
  };

  explicit EmulatedV4l2Radio(StationLandscape landscape);
  EmulatedV4l2Radio(StationLandscape landscape, Options options);
  ~EmulatedV4l2Radio() override;

  int Open(const std::string& path) override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  int Ioctl(unsigned long request, void* arg) override;
  ssize_t Read(void* buffer, size_t size) override;
  int Poll(int timeoutMs) override;
  int Descriptor() const override;

  // What a test looks at.
  uint32_t FrequencyUnits() const { return frequency_; }
  double FrequencyMHz() const;
  bool StereoMode() const { return audmode_ != 0; }  // V4L2_TUNER_MODE_MONO is 0
  bool Muted() const { return muted_; }
  int32_t VolumeLevel() const { return volume_; }
  int Opens() const { return opens_; }
  int Reads() const { return reads_; }  // read() calls, answered or not
  const Options& Settings() const { return options_; }
  // The RDS station at a landscape frequency, if it sends RDS.
  std::optional<RdsStation> RdsAt(tBand band, double mhz) const;

  // The receiver is pulled out: every call from now on fails with ENODEV, and the descriptor
  // reports the hang-up.
  void Unplug();
  // Plugged in again: it opens again (a handle opened before stays dead, as on a real node).
  void Replug();
  // Another program holds the device: Open fails with EBUSY.
  void SetBusy(bool busy) { busy_ = busy; }
  // The next ioctl with this request code fails with error.
  void FailNext(unsigned long request, int error) { failures_[request] = error; }

 private:
  uint32_t UnitsPerMHz() const;
  uint32_t UnitCapability() const;
  uint32_t ToUnits(double mhz) const;
  const LandscapeStation* Station() const;
  tBand BandOf(uint32_t units) const;
  std::pair<uint32_t, uint32_t> Range() const;
  void Retune(uint32_t units);
  int QueryCap(void* arg) const;
  int GetTuner(void* arg) const;
  int SetTuner(void* arg);
  int EnumBands(void* arg) const;
  int GetFrequency(void* arg) const;
  int SetFrequency(void* arg);
  int HardwareSeek(void* arg);
  int QueryControl(void* arg) const;
  int GetControl(void* arg) const;
  int SetControl(void* arg);
  void Signal();

  StationLandscape landscape_;
  Options options_;
  UniqueFd event_;  // eventfd: readable while blocks wait or after an unplug
  bool open_ = false;
  bool unplugged_ = false;
  bool replugged_ = false;  // unplugged, then plugged in again while that handle was open
  bool busy_ = false;
  int opens_ = 0;
  int reads_ = 0;
  uint32_t frequency_ = 0;
  uint32_t audmode_ = 1;  // V4L2_TUNER_MODE_STEREO
  bool muted_ = false;
  int32_t volume_ = 8;
  std::map<unsigned long, int> failures_;
  std::unique_ptr<RdsGenerator> rds_;
  int64_t tunedAtMs_ = 0;
  uint64_t delivered_ = 0;  // blocks of the stream already read
};

// --simulate: gives the card (switched off) an emulated receiver with RDS, stereo, volume,
// mute and bounded hardware seek at the node of port index 1 of paths (/dev/radio0 unless
// overridden). Returns what the setup dialog's
// device list needs to see that node (pass it to ListRadioDevices with the same paths).
PathExists UseSimulatedV4l2Radio(TRadioCard& card, const StationLandscape& landscape,
                                 RadioDevicePaths paths = {});

// The same with the receiver's options (its node is set from paths), handing back the receiver
// too so that tests can pull it out or run its RDS on their own clock.
struct SimulatedV4l2Radio {
  PathExists Exists;
  EmulatedV4l2Radio* Device = nullptr;  // owned by the card
};
SimulatedV4l2Radio PlugSimulatedV4l2Radio(TRadioCard& card, const StationLandscape& landscape,
                                          RadioDevicePaths paths,
                                          EmulatedV4l2Radio::Options options);

}  // namespace ondivo::sim
