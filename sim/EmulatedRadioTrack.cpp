#include "sim/EmulatedRadioTrack.h"

#include <algorithm>

namespace ondivo::sim {

namespace {

constexpr uint8_t kHold = 0x01;
constexpr uint8_t kClock = 0x02;
constexpr uint8_t kData = 0x04;
constexpr uint8_t kAudio = 0x08;
constexpr uint8_t kUpLine = 0x40;    // active low
constexpr uint8_t kDownLine = 0x80;  // active low
constexpr uint8_t kQuery = 0xF8;
constexpr uint32_t kWordBase = 0xA001AC;

}  // namespace

EmulatedRadioTrack::EmulatedRadioTrack(const StationLandscape& landscape, int initialLevel)
    : landscape_(landscape), level_(std::clamp(initialLevel, 0, kLevels)) {}

void EmulatedRadioTrack::ApplyHeldLine(int64_t nowMs) {
  if (heldDirection_ == 0) return;
  // The control repeats once per 125 ms the line stays low.
  const auto steps = static_cast<int>((nowMs - heldSince_) / kRepeatMs);
  level_ = std::clamp(level_ + heldDirection_ * steps, 0, kLevels);
  heldDirection_ = 0;
}

void EmulatedRadioTrack::Write(int, uint8_t value, int64_t nowMs) {
  // Volume push lines: only one line low at a time is a press; both low is the tuning pattern.
  const bool upLow = !(value & kUpLine);
  const bool downLow = !(value & kDownLine);
  const int direction = (upLow && !downLow) ? 1 : (downLow && !upLow) ? -1 : 0;
  if (direction != heldDirection_) {
    ApplyHeldLine(nowMs);
    heldDirection_ = direction;
    heldSince_ = nowMs;
  }

  // PLL word: bit 0 rising starts a word, clock rising edges shift the data bit in LSB first,
  // bit 0 falling latches a complete word.
  const bool hold = value & kHold;
  const bool wasHold = last_ & kHold;
  if (hold && !wasHold) {
    shift_ = 0;
    bits_ = 0;
  }
  if (hold && (value & kClock) && !(last_ & kClock) && bits_ < 24) {
    if (value & kData) shift_ |= 1u << bits_;
    ++bits_;
  }
  if (!hold && wasHold && bits_ == 24) {
    word_ = shift_;
    ++wordsLatched_;
    if ((word_ >> 16) == 0xA0 && word_ >= kWordBase) {
      tuned_ = static_cast<double>(word_ - kWordBase) / 40.0;
    } else {
      tuned_.reset();
    }
  }

  if (value == kQuery) queryAt_ = nowMs;
  audioOn_ = value & kAudio;
  last_ = value;
}

uint8_t EmulatedRadioTrack::Read(int, int64_t nowMs) {
  // The detector answers only after the query has had time to settle.
  if (!queryAt_ || nowMs - *queryAt_ < kSettleMs || !tuned_) return 0xFF;
  const LandscapeStation* station = landscape_.StationAt(bFM, *tuned_);
  if (!station) return 0xFF;
  return station->Stereo ? 0xFD : 0xFE;
}

}  // namespace ondivo::sim
