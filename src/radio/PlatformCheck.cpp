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

bool PortAccessGrantable(tModel model, int32_t portIndex) {
  const auto caps = DefaultDevCaps();
  const auto index = static_cast<size_t>(model);
  if (index >= caps.size()) return false;
  const tDevCap& cap = caps[index];
  if (cap.Connection != kPortConnection || portIndex == 0) return true;
  if (portIndex < 0 || portIndex > cap.PortCount) return false;
  return HardwarePortIo::Probe(cap.Ports[static_cast<size_t>(portIndex)], cap.PortSpan);
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
