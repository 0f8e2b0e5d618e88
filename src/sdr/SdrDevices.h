#pragma once
// Which SoapySDR device each port index of the SDR model opens, and where its sound goes.
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ondivo {

class SdrDevices {
 public:
  static constexpr int kCount = 8;

  // The argument string of port n: the one named for it (--sdr N=ARGS, the simulation), else
  // that of the n-th device SoapySDR enumerates; empty when there is none.
  std::string ArgsFor(int n) const;
  void Override(int n, std::string args) { overrides_[n] = std::move(args); }
  bool Named(int n) const { return overrides_.contains(n); }

  // The ALSA playback device the sound goes to.
  std::string AudioDevice = "default";

 private:
  std::map<int, std::string> overrides_;
};

// Takes "N=ARGS" (the value of --sdr) into devices. False, and devices unchanged, when N is
// not 1..8 or ARGS is empty.
bool ParseSdrOverride(std::string_view value, SdrDevices& devices);

// One device SoapySDR finds: its argument string and the label it shows to people.
struct SdrDeviceEntry {
  std::string Args;
  std::string Label;
};
std::vector<SdrDeviceEntry> EnumerateSdrDevices();

// A device the settings offer: the port index that opens it and the device's label.
struct SdrPortEntry {
  int Index = 0;
  std::string Label;
};
// The port indices 1..8 that open a device, in order. A device named by --sdr that SoapySDR
// does not find is listed by its argument string: opening may still work (a remote device).
std::vector<SdrPortEntry> ListSdrDevices(const SdrDevices& devices);

}  // namespace ondivo
