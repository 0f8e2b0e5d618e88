#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ondivo {

// The keyboard assignment: position p (1-based) holds the key of command p - 1.
inline constexpr size_t kKeyStringLength = 37;
// Position 33 is reserved: its key runs no command.
inline constexpr size_t kReservedKeyPosition = 33;

// The 37 default keys in command order.
std::string DefaultKeyString();

// Every character a key can be: codes 32 to 126 without the lower-case letters, blank first,
// in code order (69 characters).
std::string_view KeyAlphabet();

// True when the string can serve as the keyboard assignment: exactly 37 characters, none twice.
bool IsUsableKeyString(std::string_view keys);

// The stored string with its letters upper-cased when that is usable, else the default string.
std::string KeyStringOrDefault(std::string_view stored);

}  // namespace ondivo
