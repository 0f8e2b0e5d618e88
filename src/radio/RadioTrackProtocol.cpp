#include "radio/RadioTrackProtocol.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ondivo {

int32_t NearestMultiple(int32_t value, int32_t step) {
  if (step <= 0) return value;
  const int64_t quotient = value / step;
  const int64_t remainder = value % step;
  int64_t n = quotient;
  // Round the exact quotient value/step to nearest, ties to even, without floating point.
  const int64_t twice = 2 * std::llabs(remainder);
  if (twice > step || (twice == step && (quotient % 2 != 0))) n += (value < 0) ? -1 : 1;
  return static_cast<int32_t>(n * step);
}

uint32_t RadioTrackProtocol::TuningWord(double frequency) {
  const auto steps = static_cast<uint32_t>(std::llround(40.0L * frequency));
  return 0xA001ACu + steps;
}

void RadioTrackProtocol::RestoreIdle(const CardState& state) {
  Out(state, 0x00);
  Out(state, state.Muted ? kIdleMuted : kIdleOn);
}

void RadioTrackProtocol::HoldLine(const CardState& state, uint8_t line, int ms) {
  Out(state, line);
  waits_.Wait(ms);
  Out(state, kVolumeReleased);
}

void RadioTrackProtocol::SwitchOn(CardState& state) {
  state.Muted = state.StartMuted;
  RestoreIdle(state);
}

void RadioTrackProtocol::SwitchOff(CardState& state) {
  // The card is always left muted when the program lets it go.
  Out(state, 0x00);
  Out(state, kIdleMuted);
}

void RadioTrackProtocol::Tune(CardState& state, tBand, double frequency) {
  const uint32_t word = TuningWord(frequency);
  for (int bit = 0; bit < 24; ++bit) {
    // Bit 0 held high while clocking, bit 1 the clock, bit 2 the data; each phase is written
    // twice, which is all the pacing the PLL gets.
    const uint8_t data = ((word >> bit) & 1u) ? 0x04 : 0x00;
    Out(state, 0x01 | data);
    Out(state, 0x01 | data);
    Out(state, 0x03 | data);
    Out(state, 0x03 | data);
  }
  RestoreIdle(state);
}

tSignal RadioTrackProtocol::GetSignal(CardState& state) {
  Out(state, kQueryStart);
  RestoreIdle(state);
  waits_.Wait(150);
  const uint8_t reading = io_.PortIn(state.PortValue());
  waits_.Wait(10);
  Out(state, kQueryEnd);
  RestoreIdle(state);
  if (reading == 0xFF) return sNone;
  if (reading == 0xFD) return sStereo;
  return sMono;
}

void RadioTrackProtocol::Mute(CardState& state) {
  Out(state, 0x00);
  Out(state, kIdleMuted);
  state.Muted = true;
}

void RadioTrackProtocol::Unmute(CardState& state) {
  Out(state, 0x00);
  Out(state, kIdleOn);
  state.Muted = state.Volume == 0;
  state.StartMuted = false;
}

void RadioTrackProtocol::VolumeUp(CardState& state) {
  state.Muted = false;
  state.StartMuted = false;
  if (state.Volume >= state.MaxVolume) return;
  // Never past the top of the scale, even from a stored volume off the grid.
  state.Volume = std::min(NearestMultiple(state.Volume + 16, 16), state.MaxVolume);
  HoldLine(state, kVolumeUpHeld, kStepMs);
}

void RadioTrackProtocol::VolumeDown(CardState& state) {
  state.Muted = true;
  state.StartMuted = false;
  if (state.Volume <= 0) return;
  state.Volume = std::max(NearestMultiple(state.Volume - 16, 16), 0);
  HoldLine(state, kVolumeDownHeld, kStepMs);
  state.Muted = state.Volume == 0;
}

void RadioTrackProtocol::SetVolume(CardState& state, int32_t value) {
  const int32_t target = NearestMultiple(value, 16);
  const int32_t old = state.Volume;
  state.Volume = target;
  if (target != old) {
    const int steps = std::abs(old - target) / 16;
    HoldLine(state, target > old ? kVolumeUpHeld : kVolumeDownHeld, kStepMs * steps);
  }
  state.StartMuted = false;
  state.Muted = state.Volume == 0;
}

void RadioTrackProtocol::VolumeToZero(CardState& state) {
  // Two seconds of "down" reach the lowest step from any position.
  HoldLine(state, kVolumeDownHeld, kSweepMs);
  state.Volume = 0;
  state.Muted = true;
  state.StartMuted = false;
}

}  // namespace ondivo
