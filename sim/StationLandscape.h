#pragma once

#include <span>
#include <string>

#include "radio/RadioTypes.h"

namespace ondivo::sim {

// One station on the air of the emulated world.
struct LandscapeStation {
  tBand Band;
  double Frequency;  // MHz
  bool Stereo;       // FM only
  const char* Name;
};

// The stations the emulated tuners can receive: FM stations in stereo and mono across
// 87.5..108 MHz, a few in the Japanese band below 87 MHz, and AM stations on the 9 kHz grid.
class StationLandscape {
 public:
  // A receiver tuned within this distance of a station picks it up.
  static constexpr double kFMCapture = 0.03;  // MHz
  static constexpr double kAMCapture = 0.004;

  StationLandscape();
  explicit StationLandscape(std::span<const LandscapeStation> stations);

  std::span<const LandscapeStation> Stations() const { return stations_; }
  // The station heard at frequency on band, or nullptr for noise.
  const LandscapeStation* StationAt(tBand band, double frequency) const;

 private:
  std::span<const LandscapeStation> stations_;
};

}  // namespace ondivo::sim
