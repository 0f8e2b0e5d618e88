#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace ondivo {

// What a reader of a user-chosen file (.ovp, .ovs) hands back; the codes are the ones the file
// dialogs know.
enum class tFileRead : uint8_t { Read = 0, Corrupt = 1, Unreadable = 2 };

// What the user is told when such a file could not be opened or read.
inline constexpr std::string_view kReadErrorMessage = "Read error or disk not ready";

// The text for a result: corruptMessage for Corrupt, kReadErrorMessage for Unreadable, nothing
// for Read.
constexpr std::string_view FileReadMessage(tFileRead result, std::string_view corruptMessage) {
  switch (result) {
    case tFileRead::Corrupt:
      return corruptMessage;
    case tFileRead::Unreadable:
      return kReadErrorMessage;
    case tFileRead::Read:
      break;
  }
  return {};
}

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
