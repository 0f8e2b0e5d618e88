#include "radio/SerialRadioProtocol.h"

#include "radio/RadioErrors.h"

namespace ondivo {

// The serial line arrives with its own change; until then a serial radio cannot be opened.
SerialRadioProtocol::SerialRadioProtocol(Delay& waits, const ComPortPaths& paths)
    : waits_(waits), paths_(paths) {}
SerialRadioProtocol::~SerialRadioProtocol() = default;

void SerialRadioProtocol::SwitchOn(CardState&) {
  throw ePortAlreayOpen();
}
void SerialRadioProtocol::SwitchOff(CardState&) {}
void SerialRadioProtocol::Tune(CardState&, tBand, double) {}
tSignal SerialRadioProtocol::GetSignal(CardState&) {
  return sNone;
}
void SerialRadioProtocol::Mute(CardState& state) {
  state.Muted = true;
}
void SerialRadioProtocol::Unmute(CardState& state) {
  state.Muted = false;
  state.StartMuted = false;
}

}  // namespace ondivo
