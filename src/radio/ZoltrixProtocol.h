#pragma once

#include <cstdint>

#include "platform/Delay.h"
#include "radio/CardProtocol.h"
#include "radio/PortIo.h"

namespace ondivo {

// The Zoltrix card: a 45-bit tuning frame clocked through bits 6 and 7 of the base port, a
// 4-bit volume level written to the same port, audio switched by reading base + 2 (on) or
// base + 3 (off).
class ZoltrixProtocol final : public CardProtocol {
 public:
  ZoltrixProtocol(PortIo& io, Delay& waits) : io_(io), waits_(waits) {}

  static constexpr int kFrameBits = 45;
  // The 16-bit frequency value of the frame.
  static uint16_t FrequencyValue(double frequency);
  // The whole 64-bit frame, position 1 in the most significant bit; positions 1..45 are sent.
  static uint64_t Frame(double frequency, bool stereo);
  static constexpr int kMaxLevel = 15;
  // The level for the current volume on the current volume scale; -1 means audio off.
  static int Level(const CardState& state);
  // One step of the volume scale the level is counted in.
  static int32_t Step(const CardState& state);

  void SwitchOn(CardState& state) override;
  void SwitchOff(CardState& state) override;
  void Tune(CardState& state, tBand band, double frequency) override;
  tSignal GetSignal(CardState& state) override;
  void Mute(CardState& state) override;
  void Unmute(CardState& state) override;
  void VolumeUp(CardState& state) override;
  void VolumeDown(CardState& state) override;
  void SetVolume(CardState& state, int32_t value) override;
  void VolumeToZero(CardState& state) override;

 private:
  void Out(const CardState& state, uint8_t value) { io_.PortOut(state.PortValue(), value); }
  void In(const CardState& state, int offset) {
    io_.PortIn(static_cast<uint16_t>(state.PortValue() + offset));
  }
  void AudioOff(const CardState& state);
  // Writes the level and reads base + readOffset, or switches the audio off below level 0.
  void AudioOnAtLevel(const CardState& state, int readOffset);

  PortIo& io_;
  Delay& waits_;
};

}  // namespace ondivo
