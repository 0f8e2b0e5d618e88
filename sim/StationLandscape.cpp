#include "sim/StationLandscape.h"

#include <cmath>

namespace ondivo::sim {

namespace {

constexpr LandscapeStation kStations[] = {
    // Japanese FM band (76..91 MHz); the last two are also inside the western band.
    {bFM, 76.1, true, "Tokyo Bay FM"},
    {bFM, 77.95, false, "Harbour Talk"},
    {bFM, 80.0, true, "Kanto Wave"},
    {bFM, 82.5, true, "Shinjuku Beat"},
    {bFM, 84.7, false, "Community 84"},
    {bFM, 86.35, true, "Sunrise FM"},
    // Western FM band (87..108 MHz).
    {bFM, 87.6, true, "Radio Nova Coast"},
    {bFM, 88.1, true, "Classic 88"},
    {bFM, 88.9, false, "City Talk"},
    {bFM, 89.75, true, "Jazz Lounge"},
    {bFM, 90.4, true, "Pulse 90"},
    {bFM, 91.3, false, "Campus Radio"},
    {bFM, 92.15, true, "Hits 92"},
    {bFM, 93.0, true, "Rock Harbour"},
    {bFM, 93.85, false, "News Direct"},
    {bFM, 94.6, true, "Country Road"},
    {bFM, 95.5, true, "Dance Floor"},
    {bFM, 96.25, false, "Parliament Live"},
    {bFM, 97.1, true, "Chill Out"},
    {bFM, 98.0, true, "Radio Forum"},
    {bFM, 98.8, false, "Traffic Info"},
    {bFM, 99.55, true, "Opera House"},
    {bFM, 100.3, true, "Top 100"},
    {bFM, 101.1, false, "Sports Call"},
    {bFM, 101.95, true, "Retro 80s"},
    {bFM, 102.7, true, "World Music"},
    {bFM, 103.5, false, "Weather Line"},
    {bFM, 104.3, true, "Blues Avenue"},
    {bFM, 105.05, true, "Kids Radio"},
    {bFM, 105.9, false, "Church Voice"},
    {bFM, 106.75, true, "Metro Mix"},
    {bFM, 107.5, true, "Night Owl"},
    {bFM, 108.0, false, "Edge of the Dial"},
    // AM band (0.531..1.62 MHz), on the 9 kHz grid.
    {bAM, 0.531, false, "Longwave Link"},
    {bAM, 0.594, false, "Voice of the Valley"},
    {bAM, 0.693, false, "Talk 693"},
    {bAM, 0.810, false, "Farm Report"},
    {bAM, 0.954, false, "News 954"},
    {bAM, 0.999, false, "Gold 999"},
    {bAM, 1.134, false, "Sea Shanty"},
    {bAM, 1.278, false, "Racing 1278"},
    {bAM, 1.440, false, "Mission Radio"},
    {bAM, 1.548, false, "Night Talk"},
    {bAM, 1.62, false, "Top of the Band"},
};

}  // namespace

StationLandscape::StationLandscape() : stations_(kStations) {}
StationLandscape::StationLandscape(std::span<const LandscapeStation> stations)
    : stations_(stations) {}

const LandscapeStation* StationLandscape::StationAt(tBand band, double frequency) const {
  const double capture = band == bFM ? kFMCapture : kAMCapture;
  const LandscapeStation* best = nullptr;
  double bestDistance = capture;
  for (const auto& station : stations_) {
    if (station.Band != band) continue;
    const double distance = std::fabs(station.Frequency - frequency);
    if (distance <= bestDistance + 1e-9) {
      best = &station;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace ondivo::sim
