#include "radio/RadioTrackProtocol.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "radio/DevCaps.h"

namespace ondivo {

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
    // A full sweep reaches either end from anywhere: never hold longer, whatever the card
    // was told its volume was.
    const int64_t steps = std::llabs(int64_t{old} - target) / 16;
    const int ms = static_cast<int>(std::min<int64_t>(kStepMs * steps, kSweepMs));
    HoldLine(state, target > old ? kVolumeUpHeld : kVolumeDownHeld, ms);
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
