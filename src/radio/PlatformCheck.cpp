#include "radio/PlatformCheck.h"

#include "radio/DevCaps.h"
#include "radio/HardwarePortIo.h"

namespace ondivo {

Platform CurrentPlatform() {
  return Platform{};
}

bool IsModelOnPort(int hardwareIndex) {
  return hardwareIndex == 1 || hardwareIndex == 2 || hardwareIndex == 7;
}

namespace {

struct tModelPorts {
  bool Needed = false;  // an I/O-port card on a real port
  bool Valid = true;    // the model has that port
  uint16_t Base = 0;
  int Count = 0;
};

tModelPorts ModelPorts(tModel model, int32_t portIndex) {
  const auto caps = DefaultDevCaps();
  const auto index = static_cast<size_t>(model);
  if (index >= caps.size()) return {true, false};
  const tDevCap& cap = caps[index];
  if (cap.Connection != kPortConnection || portIndex == 0) return {};
  if (portIndex < 0 || portIndex > cap.PortCount) return {true, false};
  return {true, true, cap.Ports[static_cast<size_t>(portIndex)], cap.PortSpan};
}

}  // namespace

bool PortAccessGrantable(tModel model, int32_t portIndex, const HardwarePortIo* held) {
  const tModelPorts ports = ModelPorts(model, portIndex);
  if (!ports.Needed) return true;
  if (!ports.Valid) return false;
  if (held && held->Holds(ports.Base, ports.Count)) return true;
  return HardwarePortIo::Probe(ports.Base, ports.Count);
}

bool GrantModelPorts(HardwarePortIo& io, tModel model, int32_t portIndex) {
  const tModelPorts ports = ModelPorts(model, portIndex);
  if (!ports.Needed) return true;
  return ports.Valid && io.Grant(ports.Base, ports.Count);
}

std::string CapabilityText(bool canVolume, bool canMute, bool soundCard) {
  std::string text;
  text += canVolume ? "Your radio card can control volume sound."
                    : "Your radio card can't control volume sound.";
  text += '\r';
  text += canMute ? "Your radio card can mute/unmute." : "Your radio card can't mute/unmute.";
  text += '\r';
  text += soundCard ? "A sound cards is installed in your computer."
                    : "In your computer no sound cards are installed.";
  text += '\r';
  if (canVolume || canMute) {
    text += soundCard ? "You can set volume sound with radio card or sound card."
                      : "You can set volume sound only through the radio card.";
  } else {
    text += soundCard ? "You can set volume sound only through the sound card."
                      : "You can set volume sound only through the speakers.";
  }
  return text;
}

}  // namespace ondivo
