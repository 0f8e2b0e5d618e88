#include "radio/Platform.h"

namespace ondivo {

Platform CurrentPlatform() {
  return Platform{};
}

bool IsModelOnPort(int hardwareIndex) {
  return hardwareIndex == 1 || hardwareIndex == 2 || hardwareIndex == 7;
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
