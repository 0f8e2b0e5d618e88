#pragma once

#include <cstdint>
#include <optional>

#include "sim/EmulatedIsaBus.h"
#include "sim/StationLandscape.h"

namespace ondivo::sim {

// A RadioTrack-family card (RadioTrack, RA300) as its port sees it: a PLL word clocked in LSB
// first on rising clock edges while bit 0 is held, the audio bit, two active-low volume push
// lines stepping a 16-step control every 125 ms they are held, and the reception query.
class EmulatedRadioTrack final : public EmulatedIsaCard {
 public:
  static constexpr int kLevels = 16;  // volume positions above silence
  static constexpr int kRepeatMs = 125;
  static constexpr int kSettleMs = 150;

  explicit EmulatedRadioTrack(const StationLandscape& landscape, int initialLevel = 8);

  int PortSpan() const override { return 1; }
  void Write(int offset, uint8_t value, int64_t nowMs) override;
  uint8_t Read(int offset, int64_t nowMs) override;

  // What the card is doing, as someone listening to it would tell.
  std::optional<double> TunedFrequency() const { return tuned_; }
  uint32_t LastWord() const { return word_; }
  bool AudioOn() const { return audioOn_; }
  int Level() const { return level_; }        // 0..16
  int Volume() const { return level_ * 16; }  // on the 0..256 scale
  bool Audible() const { return audioOn_ && level_ > 0; }
  int WordsLatched() const { return wordsLatched_; }

 private:
  void ApplyHeldLine(int64_t nowMs);

  const StationLandscape& landscape_;
  uint8_t last_ = 0;
  uint32_t shift_ = 0;
  int bits_ = 0;
  uint32_t word_ = 0;
  int wordsLatched_ = 0;
  std::optional<double> tuned_;
  bool audioOn_ = false;
  int level_;
  int heldDirection_ = 0;  // +1 up line held, -1 down line held
  int64_t heldSince_ = 0;
  std::optional<int64_t> queryAt_;
};

}  // namespace ondivo::sim
