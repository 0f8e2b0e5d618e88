#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "panel/PanelCommand.h"

namespace ondivo {

// The keyboard assignment read both ways: which command a typed character runs, and which key
// a menu item shows for its command. It reads the caller's key string, which outlives it.
class KeyCommands {
 public:
  explicit KeyCommands(std::string_view keys) : keys_(keys) {}

  // The command a typed character runs: letters match either case; a character found nowhere,
  // only at the reserved position, or outside printable ASCII runs nothing.
  std::optional<tCommandId> CommandFor(char32_t typed) const;
  // The key of a command as the menus and the "Keys" page name it: "Space" for the blank,
  // else the character itself.
  std::string KeyName(tCommandId id) const;

 private:
  std::string_view keys_;
};

// How a key is named where the user reads it.
std::string KeyName(char key);

}  // namespace ondivo
