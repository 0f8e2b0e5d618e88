#pragma once

#include <cstdint>
#include <optional>

#include "sim/EmulatedIsaBus.h"
#include "sim/StationLandscape.h"

namespace ondivo::sim {

// A Zoltrix card as its ports see it: a 45-bit frame sampled on falling clock edges (bit 7)
// from the inverted data line (bit 6), a reset and audio-off on reading base + 3, audio-on on
// reading base + 2, a 4-bit level taken from the last level byte written, and a status byte on
// base + 0 that shows the pilot (EFh) or a carrier (DFh) of the tuned station.
class EmulatedZoltrix final : public EmulatedIsaCard {
 public:
  static constexpr int kFrameBits = 45;
  static constexpr int kSettleMs = 10;

  explicit EmulatedZoltrix(const StationLandscape& landscape);

  int PortSpan() const override { return 4; }
  void Write(int offset, uint8_t value, int64_t nowMs) override;
  uint8_t Read(int offset, int64_t nowMs) override;

  std::optional<double> TunedFrequency() const { return tuned_; }
  uint64_t LastFrame() const { return frame_; }  // position 1 in the most significant bit
  bool StereoRequested() const { return stereo_; }
  bool AudioOn() const { return audioOn_; }
  int Level() const { return level_; }  // 0..15
  int Volume() const { return (level_ + 1) * 16; }
  int FramesLatched() const { return framesLatched_; }
  int BadFrames() const { return badFrames_; }

 private:
  void Latch();
  void TakeLevel();

  const StationLandscape& landscape_;
  uint8_t last_ = 0xC0;
  int64_t lastWriteAt_ = 0;
  uint64_t shift_ = 0;
  int bits_ = kFrameBits;  // no frame until the first reset
  uint64_t frame_ = 0;
  int framesLatched_ = 0;
  int badFrames_ = 0;
  std::optional<double> tuned_;
  bool stereo_ = false;
  bool audioOn_ = false;
  int level_ = 0;
};

}  // namespace ondivo::sim
