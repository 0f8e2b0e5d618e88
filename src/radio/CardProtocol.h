#pragma once

#include <cstdint>

#include "radio/RadioTypes.h"

namespace ondivo {

// The radio card's state that the family protocols read and update. TRadioCard owns it; the
// protocol of the current model's family works on it.
struct CardState {
  tModel Model = mRadioTrack;
  tDevCap Cap;       // the model's record, copied when the model is set
  int32_t Port = 0;  // index into Cap.Ports, 0 = no port
  bool JapaneseFM = false;
  bool Stereo = false;
  tVolumeLine VolumeLine = vlNone;
  bool Muted = true;        // current mute state
  bool StartMuted = false;  // mute state to apply at switch-on; cleared by unmute or volume
  int32_t Volume = 0;
  int32_t VolumeStep = 0;  // one step of the volume scale for the current volume line
  int32_t MaxVolume = 0;   // 0 or 256

  uint16_t PortValue() const { return Cap.Ports[static_cast<size_t>(Port)]; }
  bool HasPort() const { return Port > 0; }
  bool OnMixerLine() const { return IsMixerLine(VolumeLine); }
};

// One family of cards: the I/O-port RadioTrack/RA300 cards, the Zoltrix card or the serial
// radios. The card component checks the switched-on state, the port and the volume line before
// calling in; a protocol only talks to its hardware and keeps CardState in step.
class CardProtocol {
 public:
  virtual ~CardProtocol() = default;
  // Opens the hardware and applies StartMuted. May throw (serial: ePortAlreayOpen).
  virtual void SwitchOn(CardState& state) = 0;
  // Mutes and releases the hardware.
  virtual void SwitchOff(CardState& state) = 0;
  // Sends a frequency already snapped into the band's grid.
  virtual void Tune(CardState& state, tBand band, double frequency) = 0;
  // Reception state on the FM band.
  virtual tSignal GetSignal(CardState& state) = 0;
  virtual void Mute(CardState& state) = 0;
  virtual void Unmute(CardState& state) = 0;
  // Native volume; cards without a volume control keep these empty.
  virtual void VolumeUp(CardState&) {}
  virtual void VolumeDown(CardState&) {}
  virtual void SetVolume(CardState&, int32_t) {}
  virtual void VolumeToZero(CardState&) {}
};

}  // namespace ondivo
