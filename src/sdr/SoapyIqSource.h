#pragma once
// IQ from a SoapySDR device opened by its argument string ("driver=rtlsdr,serial=...",
// "driver=ondivo"): a sample rate from the device's own list, the centre tuned a fixed offset
// below the station so the DC spike and LO leakage stay out of the channel, automatic gain
// where the device offers it.
#include <string>
#include <vector>

#include "sdr/IqSource.h"

namespace SoapySDR {
class Device;
class Stream;
}  // namespace SoapySDR

namespace ondivo::sdr {

class SoapyIqSource : public IqSource {
 public:
  // The station sits this far above the tuned centre.
  static constexpr double kStationOffsetHz = 250e3;

  // Throws eIqSource when the device cannot be opened or set up.
  explicit SoapyIqSource(const std::string& args);
  ~SoapyIqSource() override;
  SoapyIqSource(const SoapyIqSource&) = delete;
  SoapyIqSource& operator=(const SoapyIqSource&) = delete;

  // The highest rate the device lists between 1 and 2.4 Msps, or 0 when it lists none there:
  // the widest view for the seek, and 2.4 Msps is as fast as the common sticks run without
  // dropping samples. The receiver keeps well ahead of real time there.
  static double ChooseRate(const std::vector<double>& offered);

  double Rate() const override { return mRate; }
  size_t Read(Iq* out, size_t max) override;
  void TuneStation(double hz);

 private:
  void Close();
  SoapySDR::Device* mDevice = nullptr;
  SoapySDR::Stream* mStream = nullptr;
  double mRate = 0;
};

}  // namespace ondivo::sdr
