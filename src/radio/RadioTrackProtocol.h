#pragma once

#include <cstdint>

#include "platform/Delay.h"
#include "radio/CardProtocol.h"
#include "radio/PortIo.h"

namespace ondivo {

// RadioTrack and RA300: one port carries the serially clocked 24-bit PLL word, the audio bit and
// the two push lines of the card's stepping volume control.
class RadioTrackProtocol final : public CardProtocol {
 public:
  RadioTrackProtocol(PortIo& io, Delay& waits) : io_(io), waits_(waits) {}

  // PLL control word for a frequency on the 25 kHz grid: the constant holds the upper control
  // bits and the 10.7 MHz intermediate-frequency offset.
  static uint32_t TuningWord(double frequency);

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

  // Port bytes.
  static constexpr uint8_t kIdleOn = 0xD8;
  static constexpr uint8_t kIdleMuted = 0xD0;
  static constexpr uint8_t kVolumeUpHeld = 0x88;
  static constexpr uint8_t kVolumeDownHeld = 0x48;
  static constexpr uint8_t kVolumeReleased = 0xC8;
  static constexpr uint8_t kQueryStart = 0xF8;
  static constexpr uint8_t kQueryEnd = 0xE8;
  static constexpr int kStepMs = 125;
  static constexpr int kSweepMs = 2000;

 private:
  void Out(const CardState& state, uint8_t value) { io_.PortOut(state.PortValue(), value); }
  void RestoreIdle(const CardState& state);
  void HoldLine(const CardState& state, uint8_t line, int ms);

  PortIo& io_;
  Delay& waits_;
};

}  // namespace ondivo
