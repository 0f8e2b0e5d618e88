#include "panel/PanelCommand.h"

#include <cctype>

#include "panel/KeyString.h"

namespace ondivo {

std::optional<tCommandId> CommandForKey(std::string_view keys, char typed) {
  const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(typed)));
  const size_t found = keys.find(key);
  if (found == std::string_view::npos || found + 1 == kReservedKeyPosition) return std::nullopt;
  if (found >= kKeyStringLength) return std::nullopt;
  return static_cast<tCommandId>(found);
}

}  // namespace ondivo
