#pragma once

#include <string>

#include "platform/Clock.h"
#include "platform/Delay.h"
#include "radio/CardProtocol.h"
#include "radio/ComPortPaths.h"
#include "radio/TCommPortDriver.h"

namespace ondivo {

// Channel numbers the serial radios are tuned with: FM counts 50 kHz steps from 76.0 MHz in
// both FM ranges, AM counts AM steps from 531 kHz. Always the nearest integer: the frequencies
// are already on the grid, and a truncated product is one channel short on many of them.
int SerialFMChannel(double frequency);
int SerialAMChannel(double frequency, double amStep);
// Three ASCII digits, zero-padded ("7" -> "007").
std::string SerialChannelDigits(int channel);

// The serial radios (Wizard, RadioMan, RadionMaru, Rajikoma): four-byte command frames on a
// serial line, a tuning frame followed by three channel digits. Created with the card component
// and kept for its whole life, whatever the model; it owns the card's one serial line.
class SerialRadioProtocol final : public CardProtocol {
 public:
  // The paths are copied: COMn opens paths.PathFor(n). The clock times the serial line.
  SerialRadioProtocol(Delay& waits, const ComPortPaths& paths,
                      const MonotonicClock& clock = SystemSteadyClock());

  // The most a reception query may take, however the far end answers: a normal reply is done
  // in its 200 ms of quiet after the last byte; this leaves room for five such gaps.
  static constexpr int kReplyDeadlineMs = 1000;
  ~SerialRadioProtocol() override;

  // Opens COM<state.PortValue()>; throws ePortAlreayOpen when it cannot be opened.
  void SwitchOn(CardState& state) override;
  // Closes the port; DTR and RTS fall with it.
  void SwitchOff(CardState& state) override;
  void Tune(CardState& state, tBand band, double frequency) override;
  tSignal GetSignal(CardState& state) override;
  void Mute(CardState& state) override;
  void Unmute(CardState& state) override;

  const TCommPortDriver& Line() const { return line_; }

 private:
  void SendCommand(uint8_t command);

  Delay& waits_;
  TCommPortDriver line_;
};

}  // namespace ondivo
