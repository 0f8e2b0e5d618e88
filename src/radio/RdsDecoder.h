#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace ondivo {

// RDS decoder for the blocks a V4L2 radio delivers (struct v4l2_rds_data: lsb, msb, block
// byte). It assembles groups from blocks in order, drops every group with an uncorrectable
// block, and decodes the PI code, the program service name (groups 0A/0B) and RadioText (2A/2B).
//
// The service name is shown only whole: each of its four segments has to arrive twice with the
// same characters after the last change of any segment, so a bit error that slipped through the
// checkword, or a station changing its name, never shows a mix of two names. RadioText starts
// again when the station toggles the A/B flag and is shown once every segment up to its end has
// arrived.
class RdsDecoder {
 public:
  // Flags of the block byte (the kernel's V4L2_RDS_BLOCK_*).
  static constexpr uint8_t kBlockMask = 0x07;
  static constexpr uint8_t kBlockCorrected = 0x40;
  static constexpr uint8_t kBlockError = 0x80;
  enum BlockId : uint8_t { kA = 0, kB = 1, kC = 2, kD = 3, kCAlt = 4 };

  // One block as read. True when PI, service name or RadioText changed.
  bool Feed(uint8_t lsb, uint8_t msb, uint8_t block);
  // Forgets the station (after tuning elsewhere).
  void Reset();

  bool HasPI() const { return hasPi_; }
  uint16_t PI() const { return pi_; }
  // The confirmed 8-character name as UTF-8 (trailing blanks kept), empty until one is complete.
  const std::string& ProgramService() const { return ps_; }
  // The complete RadioText as UTF-8 without its end marker, empty until one is complete.
  const std::string& RadioText() const { return rt_; }

 private:
  void ForgetStation();
  bool Group(uint16_t b, uint16_t c, uint16_t d);
  bool TakePI(uint16_t pi);
  bool ServiceSegment(int segment, uint8_t first, uint8_t second);
  bool TextSegment(bool abFlag, int segment, const uint8_t* chars, int count, int perSegment);

  // Group assembly: the next block expected, and what the group holds so far.
  int next_ = kA;
  uint16_t blockB_ = 0;
  uint16_t blockC_ = 0;

  uint16_t pi_ = 0;  // confirmed: heard twice in a row
  bool hasPi_ = false;
  uint16_t piCandidate_ = 0;
  int piCount_ = 0;

  std::array<uint8_t, 8> psCandidate_{};
  std::array<bool, 4> psKnown_{};
  std::array<int, 4> psHeard_{};  // times each segment arrived unchanged since the last change
  std::string ps_;

  std::array<uint8_t, 64> rtChars_{};
  uint64_t rtReceived_ = 0;  // one bit per segment
  int rtEnd_ = -1;           // position of the end marker, -1 while unknown
  int rtAB_ = -1;
  int rtPerSegment_ = 4;
  std::string rt_;
};

// One RDS character (basic code table) as UTF-8; control codes become a blank.
std::string RdsCharToUtf8(uint8_t c);

}  // namespace ondivo
