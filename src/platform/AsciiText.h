#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondivo {

// The ASCII text rules every file reader and writer shares. None of them looks at the process
// locale: a Turkish "i" or a Latin-1 byte never changes what a file means.

// Removes blanks and control characters (every byte up to and including ' ') at both ends.
std::string_view TrimText(std::string_view text);

// Upper-cases the ASCII letters only; other bytes are left alone.
char UpperCaseAscii(char c);
std::string UpperCaseAscii(std::string_view text);
// Lower-cases the ASCII letters only.
char LowerCaseAscii(char c);

// Equal, or ordered, with ASCII letters compared regardless of case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool LessIgnoringCase(std::string_view a, std::string_view b);

// Every control character (below ' ', and DEL) written as a blank, so a value cannot break the
// line it is written on.
std::string ScrubControlCharacters(std::string_view text);

// The value when it fits in 32 bits.
std::optional<int32_t> ToInt32(int64_t value);

}  // namespace ondivo
