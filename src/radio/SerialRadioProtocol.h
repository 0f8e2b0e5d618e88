#pragma once

#include "platform/Delay.h"
#include "radio/CardProtocol.h"
#include "radio/ComPortPaths.h"

namespace ondivo {

// The serial radios (Wizard, RadioMan, RadionMaru, Rajikoma): command frames on a serial line.
// Created with the card component and kept for its whole life, whatever the model.
class SerialRadioProtocol final : public CardProtocol {
 public:
  SerialRadioProtocol(Delay& waits, const ComPortPaths& paths);
  ~SerialRadioProtocol() override;

  void SwitchOn(CardState& state) override;
  void SwitchOff(CardState& state) override;
  void Tune(CardState& state, tBand band, double frequency) override;
  tSignal GetSignal(CardState& state) override;
  void Mute(CardState& state) override;
  void Unmute(CardState& state) override;

 private:
  Delay& waits_;
  const ComPortPaths& paths_;
};

}  // namespace ondivo
