#include "radio/ZoltrixProtocol.h"

#include <algorithm>
#include <cmath>

#include "radio/DevCaps.h"

namespace ondivo {

namespace {

constexpr uint64_t kFrameTemplate = 0xC480402C10080000ull;
constexpr uint8_t kClock = 0x80;
constexpr uint8_t kDataInverted = 0x40;
constexpr uint8_t kTunedStereo = 0xEF;
constexpr uint8_t kTunedMono = 0xDF;

}  // namespace

uint16_t ZoltrixProtocol::FrequencyValue(double frequency) {
  // 88.05 MHz is value 19740; one unit is 5 kHz. Rounded to nearest, ties to even.
  const long double origin = static_cast<long double>(kFMMin) + 1.05L;
  const long double units = std::nearbyintl((static_cast<long double>(frequency) - origin) * 200);
  return static_cast<uint16_t>(static_cast<long>(units) + 19740);
}

uint64_t ZoltrixProtocol::Frame(double frequency, bool stereo) {
  const uint16_t value = FrequencyValue(frequency);
  uint64_t frame = kFrameTemplate;
  frame ^= static_cast<uint64_t>(value & 0xFF) << 47;  // positions 10..17
  frame ^= static_cast<uint64_t>(value >> 8) << 38;    // positions 19..26
  if (stereo) frame ^= uint64_t{1} << 31;              // position 33
  return frame;
}

int32_t ZoltrixProtocol::Step(const CardState& state) {
  // Without a volume line the scale has no step; the card's own register still counts in
  // native steps.
  return state.VolumeStep > 0 ? state.VolumeStep : std::max(state.Cap.VolumeStep, 1);
}

int ZoltrixProtocol::Level(const CardState& state) {
  const int level = state.Volume / Step(state) - 1;
  if (level < 0) return -1;
  // The card's register has four bits; a larger native level would also drive the clock and
  // data lines. On a mixer line the level follows the line's scale.
  return IsMixerLine(state.VolumeLine) ? std::min(level, 255) : std::min(level, kMaxLevel);
}

void ZoltrixProtocol::AudioOnAtLevel(const CardState& state, int readOffset) {
  const int level = Level(state);
  if (level < 0) {
    // Volume 0 is silence, not the card's quietest step.
    AudioOff(state);
    return;
  }
  Out(state, static_cast<uint8_t>(level));
  In(state, readOffset);
}

void ZoltrixProtocol::AudioOff(const CardState& state) {
  Out(state, 0x00);
  Out(state, 0x00);
  In(state, 3);
}

void ZoltrixProtocol::SwitchOn(CardState& state) {
  state.Muted = state.StartMuted;
  if (state.StartMuted) {
    AudioOff(state);
  } else {
    Out(state, 0x00);
    In(state, 2);
  }
}

void ZoltrixProtocol::SwitchOff(CardState& state) {
  AudioOff(state);
}

void ZoltrixProtocol::Tune(CardState& state, tBand, double frequency) {
  const uint64_t frame = Frame(frequency, state.Stereo);
  AudioOff(state);
  Out(state, kDataInverted);
  Out(state, kClock | kDataInverted);
  for (int position = 1; position <= kFrameBits; ++position) {
    const bool one = (frame >> (64 - position)) & 1u;
    // Clock idles high; each bit is a high-low-high pulse with the data line inverted.
    const uint8_t data = one ? 0x00 : kDataInverted;
    Out(state, kClock | data);
    Out(state, data);
    Out(state, kClock | data);
  }
  Out(state, kClock);
  Out(state, kClock | kDataInverted);
  Out(state, kDataInverted);
  if (!state.Muted) AudioOnAtLevel(state, 2);
}

tSignal ZoltrixProtocol::GetSignal(CardState& state) {
  Out(state, 0x00);
  Out(state, state.Muted ? 0x00 : static_cast<uint8_t>(std::max(Level(state), 0)));
  waits_.Wait(10);
  const uint8_t first = io_.PortIn(state.PortValue());
  waits_.Wait(1);
  const uint8_t second = io_.PortIn(state.PortValue());
  if (state.Muted) {
    AudioOff(state);
  } else {
    AudioOnAtLevel(state, 2);
  }
  const uint8_t expected = state.Stereo ? kTunedStereo : kTunedMono;
  return (first == expected && second == expected) ? sTuned : sNone;
}

void ZoltrixProtocol::Mute(CardState& state) {
  AudioOff(state);
  state.Muted = true;
}

void ZoltrixProtocol::Unmute(CardState& state) {
  state.StartMuted = false;
  if (state.Volume == 0) return;
  state.Volume = NearestMultiple(state.Volume, Step(state));
  Out(state, 0x00);
  AudioOnAtLevel(state, 2);
  state.Muted = state.Volume == 0;
}

void ZoltrixProtocol::VolumeUp(CardState& state) {
  if (state.Volume >= state.MaxVolume) return;
  state.Volume =
      std::min(NearestMultiple(state.Volume + Step(state), Step(state)), state.MaxVolume);
  AudioOnAtLevel(state, 0);
  state.Muted = false;
}

void ZoltrixProtocol::VolumeDown(CardState& state) {
  if (state.Volume <= 0) return;
  state.Muted = true;
  state.StartMuted = false;
  state.Volume = std::max(NearestMultiple(state.Volume - Step(state), Step(state)), 0);
  AudioOnAtLevel(state, 0);
  state.Muted = state.Volume == 0;
}

void ZoltrixProtocol::SetVolume(CardState& state, int32_t value) {
  state.Volume = NearestMultiple(value, Step(state));
  if (state.Volume == 0) {
    AudioOff(state);
  } else {
    if (state.Muted) {
      Out(state, 0x00);
      waits_.Wait(10);
      In(state, 2);
    }
    AudioOnAtLevel(state, 0);
  }
  state.StartMuted = false;
  state.Muted = state.Volume == 0;
}

void ZoltrixProtocol::VolumeToZero(CardState& state) {
  SetVolume(state, 0);
}

}  // namespace ondivo
