#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdr/RdsCode.h"
#include "sim/StationLandscape.h"

namespace ondivo::sim {

using ondivo::RdsBlock;

// What a station sends: its PI code, an 8-character service name and a RadioText.
struct RdsStation {
  uint16_t PI = 0;
  std::string ProgramService;
  std::string RadioText;
};

// What a landscape station sends (the emulated receiver gives RDS to the FM stations in
// stereo): its name in capitals as the service name, a PI built from its frequency, and a
// RadioText naming it.
RdsStation LandscapeRds(const LandscapeStation& station);

// The endless block stream of a station: groups 0A (the name, four segments) and 2A (the
// text, up to sixteen segments ending in a carriage return), interleaved two to one as
// broadcasters do. Block N of the stream is BlockAt(N).
class RdsGenerator {
 public:
  explicit RdsGenerator(RdsStation station);
  const RdsStation& Station() const { return station_; }
  RdsBlock BlockAt(uint64_t n) const;
  // Bit N of the stream as it goes on air before differential coding: each block's 16
  // information bits and its checkword, most significant first.
  bool BitAt(uint64_t n) const;
  // The four blocks of one group, for tests that build their own sequences.
  static std::vector<RdsBlock> Group(uint16_t pi, uint16_t b, uint16_t c, uint16_t d);
  static std::vector<RdsBlock> ServiceGroup(uint16_t pi, int segment, const std::string& name);
  static std::vector<RdsBlock> TextGroup(uint16_t pi, int segment, bool abFlag,
                                         const std::string& text);

 private:
  RdsStation station_;
  std::vector<RdsBlock> cycle_;
};

}  // namespace ondivo::sim
