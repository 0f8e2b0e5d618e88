#include "panel/KeyCommands.h"

#include "panel/KeyString.h"

namespace ondivo {

std::optional<tCommandId> KeyCommands::CommandFor(char32_t typed) const {
  if (typed < U' ' || typed > U'~') return std::nullopt;
  char key = static_cast<char>(typed);
  if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
  const size_t found = keys_.find(key);
  if (found == std::string_view::npos || found >= kKeyStringLength) return std::nullopt;
  if (found + 1 == kReservedKeyPosition) return std::nullopt;
  return static_cast<tCommandId>(found);
}

std::string KeyCommands::KeyName(tCommandId id) const {
  const size_t index = KeyPosition(id) - 1;
  return index < keys_.size() ? ondivo::KeyName(keys_[index]) : std::string();
}

std::string KeyName(char key) {
  return key == ' ' ? "Space" : std::string(1, key);
}

}  // namespace ondivo
