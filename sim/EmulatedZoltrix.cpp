#include "sim/EmulatedZoltrix.h"

namespace ondivo::sim {

namespace {

constexpr uint8_t kClock = 0x80;
constexpr uint8_t kDataInverted = 0x40;
constexpr uint64_t kTemplate = 0xC480402C10080000ull;
// Positions 1..45 that carry the frequency value (10..17, 19..26) and the stereo bit (33).
constexpr uint64_t kValueMask = (0xFFull << 47) | (0xFFull << 38) | (1ull << 31);
constexpr uint64_t kSentMask = ~((1ull << 19) - 1);

}  // namespace

EmulatedZoltrix::EmulatedZoltrix(const StationLandscape& landscape) : landscape_(landscape) {}

void EmulatedZoltrix::Write(int offset, uint8_t value, int64_t nowMs) {
  if (offset != 0) return;
  if ((last_ & kClock) && !(value & kClock) && bits_ < kFrameBits) {
    const bool one = !(value & kDataInverted);
    if (one) shift_ |= 1ull << (63 - bits_);
    if (++bits_ == kFrameBits) Latch();
  }
  last_ = value;
  lastWriteAt_ = nowMs;
}

void EmulatedZoltrix::Latch() {
  const uint64_t frame = shift_;
  if ((frame & kSentMask & ~kValueMask) != (kTemplate & kSentMask & ~kValueMask)) {
    ++badFrames_;
    return;
  }
  frame_ = frame;
  ++framesLatched_;
  const auto low = static_cast<uint16_t>((frame >> 47) & 0xFF);
  const auto high = static_cast<uint16_t>((frame >> 38) & 0xFF);
  const int value = (high << 8) | low;
  stereo_ = (frame >> 31) & 1;
  // 19740 is 88.05 MHz, one unit 5 kHz.
  tuned_ = static_cast<double>(value - 19740 + 17610) / 200.0;
}

void EmulatedZoltrix::TakeLevel() {
  if ((last_ & (kClock | kDataInverted)) == 0) level_ = last_ & 0x0F;
}

uint8_t EmulatedZoltrix::Read(int offset, int64_t nowMs) {
  switch (offset) {
    case 3:  // audio off; the frame shift register starts over
      audioOn_ = false;
      shift_ = 0;
      bits_ = 0;
      return 0xFF;
    case 2:
      audioOn_ = true;
      TakeLevel();
      return 0xFF;
    case 0: {
      TakeLevel();
      if (nowMs - lastWriteAt_ < kSettleMs || !tuned_) return 0xFF;
      const LandscapeStation* station = landscape_.StationAt(bFM, *tuned_);
      if (!station) return 0xFF;
      return (stereo_ && station->Stereo) ? 0xEF : 0xDF;
    }
    default:
      return 0xFF;
  }
}

}  // namespace ondivo::sim
