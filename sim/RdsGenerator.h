#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ondivo::sim {

// One block as a V4L2 driver hands it out (struct v4l2_rds_data).
struct RdsBlock {
  uint8_t Lsb = 0;
  uint8_t Msb = 0;
  uint8_t Block = 0;  // block number in bits 0..2, V4L2_RDS_BLOCK_CORRECTED/ERROR flags
};

// What a station sends: its PI code, an 8-character service name and a RadioText.
struct RdsStation {
  uint16_t PI = 0;
  std::string ProgramService;
  std::string RadioText;
};

// The endless block stream of a station: groups 0A (the name, four segments) and 2A (the
// text, up to sixteen segments ending in a carriage return), interleaved two to one as
// broadcasters do. Block N of the stream is BlockAt(N).
class RdsGenerator {
 public:
  explicit RdsGenerator(RdsStation station);
  const RdsStation& Station() const { return station_; }
  RdsBlock BlockAt(uint64_t n) const;
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
