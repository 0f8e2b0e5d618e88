#include "panel/KeyString.h"

#include <array>

#include "platform/AsciiText.h"

#include "panel/PanelCommand.h"

namespace ondivo {

std::string DefaultKeyString() {
  std::string keys(kKeyStringLength, kReservedDefaultKey);
  for (const tPanelCommand& command : kPanelCommands)
    keys[KeyPosition(command.Id) - 1] = command.DefaultKey;
  return keys;
}

std::string_view KeyAlphabet() {
  static const std::string alphabet = [] {
    std::string keys;
    for (char c = ' '; c <= '~'; ++c)
      if (c < 'a' || c > 'z') keys += c;
    return keys;
  }();
  return alphabet;
}

bool IsUsableKeyString(std::string_view keys) {
  if (keys.size() != kKeyStringLength) return false;
  std::array<bool, 256> seen{};
  for (const char key : keys) {
    const auto code = static_cast<unsigned char>(key);
    if (seen[code]) return false;
    seen[code] = true;
  }
  return true;
}

std::string KeyStringOrDefault(std::string_view stored) {
  // Letters are kept upper-case because typed keys are upper-cased before the look-up; a
  // hand-edited lower-case letter would otherwise never match.
  const std::string keys = UpperCaseAscii(stored);
  return IsUsableKeyString(keys) ? keys : DefaultKeyString();
}

}  // namespace ondivo
