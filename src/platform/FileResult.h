#pragma once

#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace ondivo {

// What the user is told when a presets or script file could not be opened or read.
inline constexpr std::string_view kReadErrorMessage = "Read error or disk not ready";

// What every writer of the program's files (Ondivo.ini, Ondivo.db, .ovp, .ovs) hands back. On
// failure Message is the text to show the user ("Presets write error", ...) and the previous
// file is still in place. Notice, when not empty, is to be shown once even after a successful
// write: a file that could not be read was kept aside rather than replaced.
struct tWriteResult {
  std::string Message;
  std::error_code Error;
  std::string Notice;

  bool Ok() const { return Message.empty(); }
  explicit operator bool() const { return Ok(); }

  static tWriteResult Failed(std::string message, std::error_code error) {
    return {std::move(message), error, {}};
  }
};

}  // namespace ondivo
