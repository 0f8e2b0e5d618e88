#pragma once
// The power spectrum of one look at the device's window (averaged FFTs of windowed IQ), and
// the stations it shows: channels on a raster that stand above the noise floor by the station
// margin and are the strongest within kLeakageHz of themselves. A strong FM station spills
// well past 100 kHz on either side (its deviation alone reaches 75 kHz), so a channel beside
// it reads above the floor too; only the strongest channel of a neighbourhood is a station.
// Stations closer together than that are not told apart, which the broadcast plans' spacing
// of stations that can be heard in one place keeps from mattering.
#include <cstddef>
#include <memory>
#include <vector>

#include "sdr/Liquid.h"

namespace ondivo::sdr {

struct Spectrum {
  double CentreHz = 0;
  double BinHz = 0;
  std::vector<float> PowerDb;  // lowest frequency first
  double FloorDb = 0;          // the noise floor the stations were measured against
  double FrequencyOf(size_t bin) const {
    return CentreHz + (static_cast<double>(bin) - static_cast<double>(PowerDb.size()) / 2) * BinHz;
  }
};

class BandPower {
 public:
  static constexpr size_t kBins = 2048;
  static constexpr double kRasterHz = 50e3;  // covers the 100 and 200 kHz plans and 50 kHz ones
  static constexpr double kLeakageHz = 150e3;
  static constexpr double kChannelHalfWidthHz = 75e3;

  BandPower();
  ~BandPower();
  BandPower(const BandPower&) = delete;
  BandPower& operator=(const BandPower&) = delete;

  // Averages as many whole FFT frames as n holds (at least one is needed).
  Spectrum Measure(const Iq* iq, size_t n, double rate, double centreHz);
  // Raster channels within [fromHz, toHz] holding a station, lowest first. Channels closer
  // than kLeakageHz to the window's edges are left out (their neighbours lie outside it).
  static std::vector<double> Stations(const Spectrum& spectrum, double fromHz, double toHz,
                                      double marginDb);

 private:
  struct Plan;
  std::unique_ptr<Plan> mPlan;
  std::vector<float> mWindow;
};

}  // namespace ondivo::sdr
